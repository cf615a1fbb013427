// Small real matrices written out in a test: col({1, 2}) is a 2 x 1 column, row({1, 2})
// a 1 x 2 row, rows_of(2, 3, {...}) fills a 2 x 3 matrix row by row (as it reads on the
// page), mat({{1, 2}, {3, 4}}) takes its shape from the rows (cols widens it; elements no
// row gives are left unset), rows2(a, b, c, d) is [a b; c d], zeros(r, c) is all 0.0.
// Indexing is the library's, 1-based.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "matrix/dm.h"

inline DM col(std::initializer_list<double> v) {
  DM m(static_cast<int>(v.size()), 1);
  int i = 1;
  for (double x : v) m(i++) = x;
  return m;
}

inline DM row(std::initializer_list<double> v) {
  DM m(1, static_cast<int>(v.size()));
  int j = 1;
  for (double x : v) m(j++) = x;
  return m;
}

inline DM rows_of(int r, int c, std::initializer_list<double> v) {
  DM m(r, c);
  auto it = v.begin();
  for (int i = 1; i <= r; ++i)
    for (int j = 1; j <= c; ++j) m(i, j) = *it++;
  return m;
}

inline DM rows2(double a, double b, double c, double d) {
  const double v[] = {a, c, b, d};   // column-major
  return DM(2, 2, v);
}

inline DM mat(std::initializer_list<std::initializer_list<double>> rows, int cols = -1) {
  const int r = static_cast<int>(rows.size());
  const int c = cols >= 0 ? cols : static_cast<int>(rows.begin()->size());
  DM M(r, c);
  int i = 1;
  for (const auto& row : rows) {
    int j = 1;
    for (double v : row) M(i, j++) = v;
    ++i;
  }
  return M;
}

inline DM zeros(int r, int c) {
  DM m(r, c);
  for (uint32_t k = 1; k <= m.n; ++k) m(k) = 0.0;
  return m;
}
