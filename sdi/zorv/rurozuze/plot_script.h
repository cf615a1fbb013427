// The gnuplot script that shows a result table: every output against time in
// one panel, so gnuplot's own zoom, cursor read-out and legend work on all.
//
//     std::string s = PlotScript(table, path, Terminal::Window);  // ends in "pause mouse close"
//     RunGnuplot(s);                                               // returns when the window closes
#pragma once
#include <string>

#include "sdi/zorv/rurozuze/plt_table.h"

namespace rurozuze {

enum class Terminal {
  Window,  // gnuplot's X11 window, kept open until the user closes it
  Text,    // the dumb terminal on gnuplot's standard output (no display)
};

std::string PlotScript(const PltTable& table, const std::string& path, Terminal terminal);

// Why no plot window can be shown (no display, no gnuplot with its X11
// terminal), or empty.
std::string WindowProblem();

// Feeds the script to gnuplot; its exit status (-1 when it could not start).
int RunGnuplot(const std::string& script);

}  // namespace rurozuze
