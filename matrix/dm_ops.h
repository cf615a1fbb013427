// Arithmetic, element-wise operations, reductions, builders and concatenation of DM.
//
// Usage:
//     DM C = A * B;            // matrix product; a 1 x 1 operand scales the other
//     DM S = A + DM(2.0);      // 1 x 1 operands combine with every element
//     DM M = A > DM(0.0);      // element-wise 1.0 / 0.0, 1 x 1 operands are expanded
//     DM k = find(M);          // 1-based linear positions of the true elements
//     DM H = hconcat(A, B);    // [A B]
//
// Indexing is 1-based, storage is column-major, elements are real doubles. Every operation
// takes its operands by const reference and returns a new DM (or changes the matrix it is
// called on); failures go through the Fatal handler (matrix/dm.h).
//
// Operand class of + - * and ediv (first test that holds): 1 A is 1 x 1; 2 B is 1 x 1;
// 6 same shape; 3 A is a row and B a column; 4 A is a column and B a row;
// 5 A.cols == B.rows; 0 none. The divisions / and % rest on LU (matrix/lu.h).
#pragma once
#include "matrix/dm.h"

int shape_class(const DM& A, const DM& B);

DM operator+(const DM& A, const DM& B);
DM operator-(const DM& A, const DM& B);
DM operator*(const DM& A, const DM& B);
DM ediv(const DM& A, const DM& B);   // element-wise A(k) / B(k)
DM emul(const DM& A, const DM& B);   // element-wise A(k) * B(k), same shapes only
DM scale(double s, const DM& B);
DM matmul(const DM& A, const DM& B);

// Element-wise comparisons and logic: 1.0 / 0.0 in the common shape.
DM operator==(const DM& A, const DM& B);
DM operator!=(const DM& A, const DM& B);
DM operator<(const DM& A, const DM& B);
DM operator>(const DM& A, const DM& B);
DM operator<=(const DM& A, const DM& B);
DM operator>=(const DM& A, const DM& B);
DM operator&&(const DM& A, const DM& B);   // values truncated toward zero first
DM operator||(const DM& A, const DM& B);

DM find(const DM& A);

// Reductions. Column and row forms read the first element of each column (row) through
// the checked access, so a matrix with no rows (columns) fails there.
double sum(const DM& A);
DM sumc(const DM& A);   // 1 x cols
DM sumr(const DM& A);   // rows x 1
double max(const DM& A);
double min(const DM& A);
DM maxc(const DM& A);
DM minc(const DM& A);
DM maxr(const DM& A);
DM minr(const DM& A);
DM any(const DM& A);
DM all(const DM& A);
double next_above(const DM& A, double x);

// Builders.
DM seqa(double start, int count, double inc);   // count x 1 column by repeated addition
DM eye(int r, int c);

// Concatenation. An empty operand makes the result share the other one.
DM hconcat(const DM& A, const DM& B);
DM vconcat(const DM& A, const DM& B);

// Element-wise maps: result element (i, j) = f(A(i, j)).
DM map(double (*f)(double), const DM& A);
DM map_ref(double (*f)(const double*), const DM& A);
DM abs(const DM& A);
DM floor(const DM& A);
DM log(const DM& A);
DM log10(const DM& A);
DM sin(const DM& A);
DM cos(const DM& A);
DM tan(const DM& A);
DM asin(const DM& A);
DM acos(const DM& A);
DM atan(const DM& A);

// Shape predicates: 1 or 0.
int is1x1(const DM& A);
int same_shape(const DM& A, const DM& B);
int isvector(const DM& A);
int isrow(const DM& A);
int iscol(const DM& A);
