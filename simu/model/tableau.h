// Reduction of a circuit tableau to state equations.
//
//     std::vector<std::string> names = ...;          // the z unknowns, in column order
//     DM A, B, C, D;
//     tableau_reduce(T, nout, m, names, A, B, C, D); // names become the state names
//
// The tableau T has nout output rows on top and nd circuit rows below; its column
// blocks are y (nout), dz/dt (nd), z (nd), u (m):
//     [ I  0   -Q   0 ]      y = Q z
//     [ 0  H1  H0  -U ]      H1 dz/dt + H0 z = U u
// Algebraic unknowns are eliminated by substitution until the derivative block is
// regular; then dx/dt = A x + B u, y = C x + D u over the surviving unknowns. The
// derivative of u arising from a substitution is dropped (u is piecewise constant).
// The tableau is sparse (SM, 0-based: a circuit row has a few entries), the results
// are DM, 1-based.
#pragma once

#include <string>
#include <vector>

#include "matrix/dm.h"
#include "matrix/sparse.h"

// Reduced row echelon form whose zero test is scaled per column: an entry counts as
// zero when it is at most max(rows, cols) * 2.22e-16 * (largest |entry| of its column
// in the input). Small but real coefficients (a 1 nF capacitor beside a 1e6 ohm switch)
// survive, which a tolerance taken from the whole matrix would wipe out.
DM rref_cols(const DM& A);

// Pivot columns of a row-reduced matrix R (rows x cols): for each row its first non-zero
// column, then every other column ascending; a cols x 1 column of 1-based numbers.
// A row without a non-zero entry throws "rpac - Check your circuit".
DM rpac(const DM& R, int rows, int cols);
// The same over rows r0 .. r0+rows-1 and columns c0 .. c0+cols-1 of a sparse R, 0-based
// and relative to c0.
std::vector<int> pivot_order(const SM& R, int r0, int rows, int c0, int cols);

// The text thrown when a row of the reduced tableau relates sources alone.
extern const char* const sources_only_row;

// The reduction above. Throws "Warning this network has no unique solution\n Check your
// circuit" when the reduced tableau has an all-zero row and "Warning check the circuit.\n"
// when a row demands a relation between sources alone.
void tableau_reduce(SM T, int nout, int m, std::vector<std::string>& names, DM& A, DM& B, DM& C,
                    DM& D);
void tableau_reduce(const DM& T, int nout, int m, std::vector<std::string>& names, DM& A, DM& B,
                    DM& C, DM& D);
