// Printing a netlist matrix from a list of rows (simrec.h).
//
//     rlist rows;
//     rows.append(new simrec(...)); ...
//     write_matrix(out, "X", rows, true, 45);   // "X = [ '...'   % R1\n      '...' ]\n"
//     free_rows(rows);                          // the rows are owned by the writer
//
// Only rows with at least one field count: a matrix without such rows prints
// nothing at all. Later rows are indented under the first by the name's length
// plus five blanks; the last counted row ends with " ]", the others with two
// blanks; a row's name follows as " % name". The doubles of all rows share one
// column width: 15, or the longest number's length and a blank when more; a row
// width of 15 or more grows by as much.
#pragma once

#include <string>

#include "sdi/base/ilist.h"

namespace sdi {

void write_matrix(std::string& out, const std::string& name, rlist& rows, bool quoted, int row_width);

// Deletes every row of the list and empties it.
void free_rows(rlist& rows);

}  // namespace sdi
