// The gnuplot script that shows a result table: every output against time in
// one panel, so gnuplot's own zoom, cursor read-out and legend work on all.
//
//     int fd;  ReadPltTable(path, table, problem, &fd);
//     std::string s = PlotScript(table, path, DataName(fd), Terminal::Window);  // ends in "pause mouse close"
//     RunGnuplot(s, fd);                                                         // returns when the window closes
#pragma once
#include <cstddef>
#include <string>

#include "sdi/zorv/rurozuze/plt_table.h"

namespace rurozuze {

enum class Terminal {
  Window,  // gnuplot's X11 window, kept open until the user closes it
  Text,    // the dumb terminal on gnuplot's standard output (no display)
};

// The longest path or output name drawn as it is. The X11 window takes one text of
// about 1,000 bytes at most and aborts on a longer one (gnuplot still exits with 0);
// a path is cut to "..." and its end, a name (at kMaxLabelBytes) to its start and "...".
inline constexpr std::size_t kMaxShownBytes = 90;
// The longest output name the key shows as it is: a longer one would take the plot's width.
inline constexpr std::size_t kMaxLabelBytes = 40;

// The name under which gnuplot reads the table open at fd (it inherits the descriptor).
// gnuplot gives names of its own a meaning ("<cmd" runs cmd, "-", "+", "++", "$block",
// "~/"), and the X11 window has no room for a long path: the table's path is shown,
// never read by gnuplot.
std::string DataName(int fd);

// path: the table as the window's title shows it; data: the name gnuplot reads it by.
std::string PlotScript(const PltTable& table, const std::string& path, const std::string& data, Terminal terminal);

// Why no plot window can be shown (no display, no gnuplot with its X11
// terminal), or empty.
std::string WindowProblem();

// Feeds the script to gnuplot, which inherits the descriptor shared (none when -1);
// its exit status (-1 when it could not start).
int RunGnuplot(const std::string& script, int shared = -1);

}  // namespace rurozuze
