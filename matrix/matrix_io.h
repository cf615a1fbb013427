// Printing a DM and the matrix file; the operations are members of DM (matrix/dm.h):
//     A.print("A");              // "A = " then the rows, each element "%6.4g" and a blank
//     A.print("A", "%10.3e");    // the same with another element format
//     A.write("a.dm");           // the matrix file
//     B.read("a.dm");            // B becomes the matrix in the file
//
// The matrix file, little-endian, no magic number:
//     offset 0  u32 n, the number of elements (always rows * cols)
//     offset 4  i32 rows
//     offset 8  i32 cols
//     offset 12 u32 reserved, written as 0 and ignored on reading
//     offset 16 n IEEE 754 binary64 values in column-major order
// Indexing is 1-based, storage column-major, elements real. Output goes to standard
// output; failures go through the Fatal handler with the file name as the second text.
#pragma once
#include "matrix/dm.h"
