// DM: the real dense matrix, and the library's single error path.
//
// Usage:
//     DM A(2, 3, 0.0);        // 2 x 3, every element 0.0
//     A(1, 2) = 5.0;          // element (row 1, column 2): 1-based, indices are doubles
//     A(4) = 1.0;             // 4th element in column-major order
//     DM B(A);                // B SHARES A's elements: B(1,1) = 9 is seen through A
//     DM C; C = A;            // assignment copies: C is independent of A
//     A.redim(3, 2, true);    // reshape in place, elements keep their linear positions
//
// Indexing is 1-based, storage is column-major (element (i, j) is data[(j-1)*rows + i-1]),
// elements are real doubles (the complex twin is CM in matrix/cm.h). Element access tests
// the double index itself: 2.5 is a valid row of a 3-row matrix (row 2), 1.5 is not a
// valid row of a 1-row matrix. Every failure calls the Fatal entry of
// matrix_error_handlers, which prints "Fatal Error : <msg> - <where>" on standard output
// and throws the same text as a char*.
//
// Include matrix/matrix.h to get the whole library (operators, views, complex, printing).
#pragma once
#include <cstdint>

class SDM;
class DM;
struct colon;

// Header of an element block; the n elements follow it in the same allocation.
template <class T>
struct element_block {
  uint32_t refs;
  T* data;
};
using DDB = element_block<double>;

// The shared block of every empty matrix: never freed, its count never read.
extern DDB empty_DDB;

DDB* new_DDB(uint64_t n);
void release_DDB(DDB* b);
void copy_DDB(DDB* target, const DDB* source, uint32_t n);

// Error handlers, in the order Fatal, Warning, Note. Every failure of the library goes
// through matrix_error_handlers[0].
typedef void (*matrix_error_handler)(const char*, const char*);
extern matrix_error_handler matrix_error_handlers[3];

[[noreturn]] void fatal_error(const char* a, const char* b);
void warning_msg(const char* a, const char* b);
void note_msg(const char* a, const char* b);
int mat_printf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Calls the Fatal entry of the table; never returns.
[[noreturn]] void matrix_fatal(const char* msg, const char* where);

class DM {
public:
  uint32_t n;     // rows * cols
  int32_t rows;
  int32_t cols;
  DDB* blk;       // shared by reference counting, no copy-on-write

  DM();
  DM(double v);
  DM(int r, int c);                    // 0..15000 each, elements not initialised
  DM(int r, int c, double fill);       // 1..15000 each
  DM(int r, int c, const double* v);   // 1..15000 each, r*c values in column-major order
  DM(const DM& other);                 // shares other's block
  DM(const SDM& view);                 // gathers the viewed elements into a new block
  ~DM();

  // Deep copy unless both already hold the same block; the result shares this block. A
  // block that only this matrix holds and that has other's element count is reused.
  DM operator=(const DM& other);
  // Shallow assignment: take other's block and shape.
  DM share(const DM& other);

  // Element access. Indexing is shallow-const: a const DM still shares writable elements.
  // Inline: the engine's per-step loops make millions of these calls.
  double& operator()(double i, double j) const;
  double& operator()(double k) const;
  // Unchecked, 1-based, integer indices: for hot paths whose sizes are already settled.
  double& at(int i, int j) const { return blk->data[static_cast<int64_t>(j - 1) * rows + i - 1]; }
  double& at(int k) const { return blk->data[k - 1]; }

  // Views (matrix/views.h).
  SDM operator()(const DM& I, const DM& J) const;
  SDM operator()(const DM& I) const;
  SDM operator()(const colon&, const DM& J) const;
  SDM operator()(const DM& I, const colon&) const;

  DM& redim(int r, int c, bool keep);

  DM operator-() const;
  DM operator!() const;
  DM transpose() const;
  DM& seqa(double start, int count, double inc);
  DM& fill(double v);
  void append_columns(const DM& B);
  void append_rows(const DM& B);

  // Printing and the matrix file (matrix/matrix_io.cpp).
  void print(const char* name, const char* fmt) const;
  void print(const char* name) const;
  DM& write(const char* file);
  DM& read(const char* file);
};

int length(const DM& A);

// The range tests are written so that a NaN index fails them.
inline double& DM::operator()(double i, double j) const {
  if (!(i >= 1 && i <= rows && j >= 1 && j <= cols)) [[unlikely]]
    matrix_fatal("Index out of range", "DM(i,j)");
  return blk->data[(static_cast<int64_t>(j) - 1) * rows + static_cast<int64_t>(i) - 1];
}

inline double& DM::operator()(double k) const {
  if (!(k >= 1 && k <= n)) [[unlikely]] matrix_fatal("Index out of range", "DM(i)");
  return blk->data[static_cast<int64_t>(k) - 1];
}
