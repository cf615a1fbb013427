// Files beside the netlist: their names, and the name lists a derivation leaves there
// ("src.dat": the sources in u, "states.dat": the states in x), one name a line.
//
//     write_names("states.dat", names, "Can't open states.dat file");
//
// A file that already holds exactly that text is left alone (neither rewritten nor its
// time stamp moved): runs of an unchanged circuit then touch no file. A new text replaces
// the old one whole (see atomic_file.h); the old one is read without blocking, and a pipe
// or a device is written in place, never read. A file that cannot be written ends the
// run with the message, ": " and the reason ("disk full!" only when the disk is full);
// the old file stays.
#pragma once
#include <string>
#include <vector>

void write_names(const char* file, const std::vector<std::string>& names, const char* message);

// The netlist name less ".m", when it ends so, plus ext (".ini", ".seq"): "a.m" gives
// "a.ini", "proj/a" gives "proj/a.ini".
std::string netlist_based_name(const char* netlist, const char* ext);
