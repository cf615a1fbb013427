// Index views SDM (over a DM) and SCM (over a CM): A(I, J), A(I), A(:, J), A(I, :).
//
// Usage:
//     DM S = A(I, J);          // gather rows I, columns J into a new numel(I) x numel(J)
//     A(I, J) = B;             // scatter B (numel(I) x numel(J)) into A in place
//     A(I) = v;                // linear view: elements I(1), I(2), ... in column-major order
//     A(colon(), J) = 0.0;     // all rows of the columns J
//     X(I) = Y(J);             // gathers first, so overlapping views copy old values
//
// Indices are 1-based doubles, used truncated toward zero (2.7 is 2); index matrices may
// have any shape, only their elements in linear order count; repeats are allowed and the
// last write wins. Storage is column-major. A view is a temporary of one expression: it
// refers to its target without owning it, and shares the caller's index blocks. Writing
// through a view changes the target's block, so every matrix sharing it sees the change.
#pragma once
#include "matrix/cm.h"
#include "matrix/dm.h"

// Stands for ":" in A(:, J) and A(I, :).
struct colon {};

class SDM {
public:
  DM* target;
  DM I;          // row indices, or the linear indices
  DM J;          // column indices; unused in a linear view
  bool linear;

  SDM(DM& target, const DM& I, const DM& J);
  SDM(DM& target, const DM& I);
  SDM(const SDM&) = default;      // shares the index blocks

  void operator=(const DM& B);    // scatter
  void operator=(const SDM& V);   // gather V, then scatter
  void operator=(double v);       // every addressed element, through the checked access
};

class SCM {
public:
  CM* target;
  DM I;
  DM J;
  bool linear;

  SCM(CM& target, const DM& I, const DM& J);
  SCM(CM& target, const DM& I);
  SCM(const SCM&) = default;

  void operator=(const CM& B);
  void operator=(const SCM& V);
  void operator=(complex v);
};
