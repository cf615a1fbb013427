// The result table the engine writes ("<base>.plt"), as the plotting program
// checks it: a header "Time" followed by one name per output, then rows of
// numbers, one column more than there are names; at least one row.
//
//     PltTable t;
//     std::string problem;
//     if (!ReadPltTable(path, t, problem)) Say(problem);   // names file and line
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace rurozuze {

struct PltTable {
  std::vector<std::string> labels;  // the outputs' names, in column order from column 2
  long rows = 0;
};

// The largest table read: the engine stops a table before it passes 2 GiB.
inline constexpr unsigned long long kMaxTableBytes = 1ULL << 31;
// The longest line read: a row of the engine is 15 bytes an output, so this holds
// a million outputs, far more than a circuit of the largest file read has ports.
inline constexpr std::size_t kMaxLineBytes = std::size_t{16} << 20;

// The table is opened without blocking and read a line at a time, up to the limits
// above. A path holding a control character (bytes 0x01-0x1f, 0x7f), which would end
// a line of gnuplot's script, is refused before it is opened: "The result table <path,
// each such character as an escape> has a control character in its name: it is not
// plotted". Besides the checks above: "Cannot open the result table <path>", "The
// result table <path> is not a regular file" (a pipe, a device), "The result table
// <path> is larger than 2147483648 bytes" (also when it grew past that while read),
// "<path>, line <n>: the line is longer than 16777216 bytes", "Cannot read the result
// table <path>: <reason>".
//
// With kept, a table that passed is left open there (close-on-exec; -1 otherwise),
// the caller closing it: gnuplot then reads the very file that was checked, under a
// name of the plotter's own (DataName), not whatever the path names by then.
bool ReadPltTable(const std::string& path, PltTable& table, std::string& problem, int* kept = nullptr);

// The table's path from the argument: the argument itself when it names a file (the
// editor passes the exact path), else the argument with every "*" as a blank when that
// names one (a path typed with its blanks as "*"), else the argument as given.
std::string RestoredPath(const std::string& argument);

}  // namespace rurozuze
