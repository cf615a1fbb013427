// CM: the complex dense matrix, twin of DM (matrix/dm.h).
//
// Usage:
//     CM Z(2, 2, 1.0, -1.0);    // 2 x 2, every element (1, -1)
//     Z(1, 2) = complex(0, 3);  // 1-based (row, column), indices are doubles
//     CM C = A;                 // a real DM converts: (A(k), 0)
//     DM re = Z.real();         // real parts, same shape
//     CM Y(Z);                  // shares Z's elements; Y = Z copies them
//
// Indexing is 1-based, storage is column-major, elements are `complex` (matrix/complex.h).
// Copying, assignment, resizing and every message follow DM with "CM" in place of "DM".
// Index matrices of CM views and the results of comparisons, !, find, real and imag are
// real DMs. Include matrix/matrix.h to get the whole library.
#pragma once
#include <cstdint>

#include "matrix/complex.h"
#include "matrix/dm.h"

class SCM;

using CDB = element_block<complex>;

extern CDB empty_CDB;

CDB* new_CDB(uint64_t n);
void release_CDB(CDB* b);
void copy_CDB(CDB* target, const CDB* source, uint32_t n);

class CM {
public:
  uint32_t n;     // rows * cols
  int32_t rows;
  int32_t cols;
  CDB* blk;       // shared by reference counting, no copy-on-write

  CM();
  CM(double re);
  CM(double re, double im);
  CM(const DM& A);                                // (A(k), 0), A's shape
  CM(int r, int c);                               // 0..15000 each, not initialised
  CM(int r, int c, double re);                    // 1..15000 each
  CM(int r, int c, double re, double im);         // 1..15000 each
  CM(int r, int c, const complex* v);             // 1..15000 each, column-major values
  CM(const CM& other);                            // shares other's block
  CM(const SCM& view);                            // gathers the viewed elements
  ~CM();

  CM operator=(const CM& other);   // deep copy unless the same block
  CM share(const CM& other);       // shallow assignment

  complex& operator()(double i, double j) const;
  complex& operator()(double k) const;

  SCM operator()(const DM& I, const DM& J) const;
  SCM operator()(const DM& I) const;
  SCM operator()(const colon&, const DM& J) const;
  SCM operator()(const DM& I, const colon&) const;

  CM& redim(int r, int c, bool keep);

  CM operator-() const;
  DM operator!() const;        // 1.0 where re == 0 and im == 0
  CM transpose() const;        // no conjugation
  DM real() const;
  DM imag() const;
  CM& seqa(complex start, int count, complex inc);
  CM& fill(complex v);
  void append_columns(const CM& B);
  void append_rows(const CM& B);
};

int length(const CM& A);
