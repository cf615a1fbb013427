// Reduced row echelon form of a reduced incidence matrix, read off its graph.
//
//     SM R = incidence_rref(Ip);   // Ip: nt x nb, column k = +1 at node1's row, -1 at
//                                  // node2's row (node 0, the reference, has no row)
//     std::vector<int> piv = pivot_order(R, 0, nt, 0, nb);   // tree first, then links
//
// Elimination in column order makes each column a pivot when it joins two parts of the
// graph not yet joined by earlier columns: the pivot columns are the spanning forest
// taken greedily in column order (the normal tree when the columns are in priority
// order). Row i of R has 1 in the i-th tree column, and in each later link column the
// sign (+1 or -1) with which that tree branch lies on the link's tree path. The entries
// are 0 and +-1 exactly, as Gauss-Jordan elimination yields for such a matrix, but the
// cost follows the tree paths instead of the square of the graph. Parts of the graph
// not joined to node 0 leave zero rows at the bottom. 0-based.
#pragma once

#include "matrix/sparse.h"

SM incidence_rref(const SM& Ip);
