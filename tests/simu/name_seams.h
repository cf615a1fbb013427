// Stand-ins, for this test program, for the calls through which atomic_file looks at
// and opens a target's name: a test acts between its checks and its open, as another
// user racing the program would. Unarmed, each forwards to the C library.
//
//     swap_at_open("a.plt", "swap");   // the next open of a.plt for writing first
//                                      // renames swap over it
//     link_at_lookup("a.plt", "victim", lookup::after_absent_lstat);
//                                      // a link to victim appears at a.plt once an
//                                      // lstat has found the name absent
// Both hold until they act or disarm_name_seams() is called.
#pragma once
#include <string>

enum class lookup {
  after_absent_lstat,   // right after an lstat of the name found nothing there
  before_stat,          // right before a stat of the name (one that follows links)
};

void swap_at_open(const std::string& name, const std::string& from);
void link_at_lookup(const std::string& name, const std::string& to, lookup when);
void disarm_name_seams();
