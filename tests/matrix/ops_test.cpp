// Arithmetic, comparison, logic, reductions, builders and maps of DM and CM, each family
// one table of named rows against results worked out by hand.
#include <cmath>
#include <limits>
#include <vector>

#include "common/dm_builders.h"
#include "matrix/expect_matrix.h"
#include "matrix/matrix.h"

namespace {

const double qnan = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

struct DRow {
  const char* label;
  DM got;
  int r, c;
  std::vector<double> want;
};

void check(const std::vector<DRow>& rows) {
  for (const DRow& row : rows) {
    SCOPED_TRACE(row.label);
    ASSERT_EQ(row.got.rows, row.r);
    ASSERT_EQ(row.got.cols, row.c);
    for (size_t k = 0; k < row.want.size(); ++k) {
      const double got = row.got(k / row.c + 1, k % row.c + 1), want = row.want[k];
      if (std::isnan(want))
        EXPECT_TRUE(std::isnan(got)) << "element " << k;
      else
        EXPECT_EQ(got, want) << "element " << k;
    }
  }
}

TEST(DMOps, ShapeClasses) {
  struct { int ar, ac, br, bc, want; } rows[] = {
      {1, 1, 1, 1, 1}, {1, 1, 2, 3, 1}, {2, 3, 1, 1, 2}, {2, 3, 2, 3, 6}, {1, 3, 3, 1, 3},
      {1, 3, 4, 1, 3}, {3, 1, 1, 3, 4}, {2, 3, 3, 4, 5}, {2, 3, 4, 5, 0}, {2, 2, 2, 2, 6}};
  for (auto& s : rows) {
    SCOPED_TRACE(testing::Message() << s.ar << "x" << s.ac << " and " << s.br << "x" << s.bc);
    EXPECT_EQ(shape_class(DM(s.ar, s.ac), DM(s.br, s.bc)), s.want);
    EXPECT_EQ(shape_class(CM(s.ar, s.ac), CM(s.br, s.bc)), s.want);
  }
}

TEST(DMOps, Arithmetic) {
  const DM A = rows_of(2, 3, {1, 3, 5, 2, 4, 6});
  check({
      {"1x1 + A", DM(10.0) + A, 2, 3, {11, 13, 15, 12, 14, 16}},
      {"A - 1x1", A - DM(1.0), 2, 3, {0, 2, 4, 1, 3, 5}},
      {"1x1 - A", DM(1.0) - A, 2, 3, {0, -2, -4, -1, -3, -5}},
      {"A + A", A + A, 2, 3, {2, 6, 10, 4, 8, 12}},
      {"A - ones", A - rows_of(2, 3, {1, 1, 1, 1, 1, 1}), 2, 3, {0, 2, 4, 1, 3, 5}},
      {"ediv", ediv(row({1, -1, 0, 6}), row({0, 0, 0, 4})), 1, 4, {inf, -inf, qnan, 1.5}},
      {"1x1 ediv", ediv(DM(1.0), row({1, 2, 4})), 1, 3, {1, 0.5, 0.25}},
      {"ediv 1x1", ediv(row({1, 2, 8}), DM(2.0)), 1, 3, {0.5, 1, 4}},
      {"row * col", row({1, 2, 3}) * col({1, 2, 3}), 1, 1, {14}},
      {"col * row", col({1, 2, 3}) * row({1, 2}), 3, 2, {1, 2, 2, 4, 3, 6}},
      {"1x1 * A", DM(2.0) * A, 2, 3, {2, 6, 10, 4, 8, 12}},
      {"A * 1x1", A * DM(0.5), 2, 3, {0.5, 1.5, 2.5, 1, 2, 3}},
      {"2x2 * 2x2", rows2(1, 2, 3, 4) * rows2(5, 6, 7, 8), 2, 2, {19, 22, 43, 50}},
      {"A * A'", A * A.transpose(), 2, 2, {35, 44, 44, 56}},
      {"increasing k", row({1e16, 1, -1e16}) * col({1, 1, 1}), 1, 1, {0}},
      {"empty inner", matmul(DM(2, 0), DM(0, 3)), 2, 3, {0, 0, 0, 0, 0, 0}},
      {"emul", emul(A, A), 2, 3, {1, 9, 25, 4, 16, 36}},
      {"scale", scale(-2.0, A), 2, 3, {-2, -6, -10, -4, -8, -12}},
      {"negate", -col({1, -2}), 2, 1, {-1, 2}},
      {"transpose", A.transpose(), 3, 2, {1, 2, 3, 4, 5, 6}},
      {"transpose empty", DM(0, 4).transpose(), 4, 0, {}},
      {"not", !row({0.0, -0.0, 2.0, qnan}), 1, 4, {1, 1, 0, 0}},
  });
  EXPECT_TRUE(std::signbit((-DM(0.0))(1)));
}

TEST(DMOps, ComparisonAndLogic) {
  const DM A = row({1, 2, 1, 0});
  const DM x(qnan);
  check({
      {"1x1 == A", DM(1.0) == A, 1, 4, {1, 0, 1, 0}},
      {"A != 1x1", A != DM(1.0), 1, 4, {0, 1, 0, 1}},
      {"A > 0.5", A > DM(0.5), 1, 4, {1, 1, 1, 0}},
      {"A >= 1", A >= DM(1.0), 1, 4, {1, 1, 1, 0}},
      {"A < 1", A < DM(1.0), 1, 4, {0, 0, 0, 1}},
      {"A <= 1", A <= DM(1.0), 1, 4, {1, 0, 1, 1}},
      {"A >= A", A >= A, 1, 4, {1, 1, 1, 1}},
      {"A < A", A < A, 1, 4, {0, 0, 0, 0}},
      {"1 < A", DM(1.0) < A, 1, 4, {0, 1, 0, 0}},
      {"empty == empty", DM(0, 3) == DM(0, 3), 0, 3, {}},
      {"NaN ==", x == x, 1, 1, {0}},
      {"NaN !=", x != x, 1, 1, {1}},
      {"NaN <", x < DM(1.0), 1, 1, {0}},
      {"NaN >=", x >= DM(1.0), 1, 1, {0}},
      {"&& truncates", row({0.7, 1.2, 0, 1}) && row({1, -3, 1, 0}), 1, 4, {0, 1, 0, 0}},
      {"|| truncates", row({-0.7, 0, 0, 1}) || row({0, 2, 0, 0}), 1, 4, {0, 1, 0, 1}},
      {"&& 1x1", DM(1.0) && row({0, 2}), 1, 2, {0, 1}},
      {"|| 1x1", row({0, 2}) || DM(0.0), 1, 2, {0, 1}},
      {"huge and NaN true", row({qnan, 1e300, inf, 4294967296.0}) && DM(-1e20), 1, 4, {1, 1, 1, 1}},
      {"find row", find(row({0, 3, 0, 5})), 1, 2, {2, 4}},
      {"find column", find(col({0, 3})), 1, 1, {2}},
      {"find none", find(DM(2, 2, 0.0)), 0, 0, {}},
      {"find matrix", find(rows2(1, qnan, 0, 2)), 3, 1, {1, 3, 4}},
  });
  const complex z[] = {complex(0), complex(0, 1), complex(0), complex(2)};
  check({
      {"CM ==", CM(1.0, 2.0) == CM(2, 1, 1.0, 2.0), 2, 1, {1, 1}},
      {"CM == differs in im", CM(1.0, 2.0) == CM(1.0, 3.0), 1, 1, {0}},
      {"CM !=", CM(1, 2, z) != CM(0.0), 1, 2, {0, 1}},
      {"CM && no truncation", CM(0.0, 0.5) && CM(1, 2, z + 2), 1, 2, {0, 1}},
      {"CM ||", CM(1, 2, z) || CM(0.0), 1, 2, {0, 1}},
      {"CM not", !CM(1, 4, z), 1, 4, {1, 0, 1, 0}},
      {"CM find row", find(CM(1, 4, z)), 1, 2, {2, 4}},
      {"CM find col", find(CM(4, 1, z)), 2, 1, {2, 4}},
      {"CM find from the first", find(CM(2, 1, 1.0)), 2, 1, {1, 2}},
      {"real", CM(1, 4, z).real(), 1, 4, {0, 0, 0, 2}},
      {"imag", CM(1, 4, z).imag(), 1, 4, {0, 1, 0, 0}},
  });
}

TEST(DMOps, Reductions) {
  const DM A = rows_of(2, 3, {1, 3, -5, -2, 4, 6});
  check({
      {"sumc", sumc(A), 1, 3, {-1, 7, 1}},
      {"sumr", sumr(A), 2, 1, {-1, 8}},
      {"sumc no cols", sumc(DM(3, 0)), 1, 0, {}},
      {"maxc", maxc(A), 1, 3, {1, 4, 6}},
      {"minc", minc(A), 1, 3, {-2, 3, -5}},
      {"maxr", maxr(A), 2, 1, {3, 6}},
      {"minr", minr(A), 2, 1, {-5, -2}},
      {"any columns", any(rows2(0, 0, 0, 1)), 1, 2, {0, 1}},
      {"any of a row", any(row({0, 0, 2})), 1, 1, {1}},
      {"all columns", all(rows2(1, 2, 0, 3)), 1, 2, {0, 1}},
      {"all of a row", all(row({0, 0, 2})), 1, 1, {0}},
  });
  EXPECT_EQ(sum(A), 7.0);
  EXPECT_EQ(sum(DM()), 0.0);
  EXPECT_EQ(max(A), 6.0);
  EXPECT_EQ(min(A), -5.0);
  // A NaN replaces the running extremum; a later number replaces the NaN.
  EXPECT_EQ(max(row({1, qnan, 2})), 2.0);
  EXPECT_EQ(min(row({1, qnan, 2})), 2.0);
  EXPECT_TRUE(std::isnan(max(row({1, 3, qnan}))));
  EXPECT_TRUE(std::isnan(min(DM(qnan))));
  const DM B = row({5, 1, 3, 7});
  const double next[][2] = {{2, 3}, {3, 5}, {7, -1}, {9, 7}, {0, 1}};
  for (auto& n : next) EXPECT_EQ(next_above(B, n[0]), n[1]) << n[0];
  const complex z[] = {complex(1, 1), complex(2), complex(0, 3), complex(4, -1)};
  const CM Z(2, 2, z);  // [(1,1) (0,3); (2,0) (4,-1)]
  EXPECT_EQ(sum(Z), complex(7, 3));
  expect_cm(sumc(Z), 1, 2, {complex(3, 1), complex(4, 2)});
  expect_cm(sumr(Z), 2, 1, {complex(1, 4), complex(6, -1)});
}

TEST(CMOps, Arithmetic) {
  const complex z[] = {complex(1, 1), complex(2), complex(0, 3), complex(4, -1)};
  const CM A(2, 2, z);  // [(1,1) (0,3); (2,0) (4,-1)]
  struct { const char* label; CM got; std::vector<complex> want; } rows[] = {
      {"A + 1x1", A + CM(1.0, 1.0), {complex(2, 2), complex(1, 4), complex(3, 1), complex(5, 0)}},
      {"1x1 - A", CM(1.0) - A, {complex(0, -1), complex(1, -3), complex(-1), complex(-3, 1)}},
      {"A - A", A - A, {0, 0, 0, 0}},
      {"A + real", A + CM(DM(2, 2, 1.0)), {complex(2, 1), complex(1, 3), complex(3), complex(5, -1)}},
      {"A * A", A * A, {complex(0, 8), complex(0, 15), complex(10), complex(15, -2)}},
      {"i * A", CM(0.0, 1.0) * A, {complex(-1, 1), complex(-3), complex(0, 2), complex(1, 4)}},
      {"A * 2", A * CM(2.0), {complex(2, 2), complex(0, 6), complex(4), complex(8, -2)}},
      {"emul", emul(A, A), {complex(0, 2), complex(-9), complex(4), complex(15, -8)}},
      {"scale", scale(complex(0, -1), A), {complex(1, -1), complex(3), complex(0, -2), complex(-1, -4)}},
      {"ediv Smith", ediv(A, CM(0.0, 2.0)), {complex(0.5, -0.5), complex(1.5), complex(0, -1), complex(-0.5, -2)}},
      {"1x1 ediv", ediv(CM(1.0), CM(2, 2, 0.0, 2.0)), {complex(0, -0.5), complex(0, -0.5), complex(0, -0.5), complex(0, -0.5)}},
      {"negate", -A, {complex(-1, -1), complex(0, -3), complex(-2), complex(-4, 1)}},
      {"transpose, no conjugate", A.transpose(), {complex(1, 1), complex(2), complex(0, 3), complex(4, -1)}},
  };
  for (auto& r : rows) {
    SCOPED_TRACE(r.label);
    ASSERT_EQ(r.got.n, 4u);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(r.got(k / 2 + 1, k % 2 + 1), r.want[k]) << k;
  }
  CM rowv = CM(1, 2, 1.0, 2.0);
  expect_cm(rowv.transpose(), 2, 1, {complex(1, 2), complex(1, 2)});
}

TEST(DMOps, BuildersAndMaps) {
  const DM t = seqa(0.0, 11, 0.1);  // repeated addition: 10 * 0.1 would be 1.0
  EXPECT_EQ(t.cols, 1);
  EXPECT_EQ(t(11), 0.9999999999999999);
  EXPECT_EQ(t(5), 0.1 + 0.1 + 0.1 + 0.1);
  EXPECT_EQ(seqa(1.0, 0, 1.0).n, 0u);
  DM S(2, 2);
  EXPECT_EQ(&S.seqa(1.0, 4, 1.0), &S);
  const DM v = row({-1.5, 0.25});
  check({
      {"member seqa", S, 2, 2, {1, 3, 2, 4}},
      {"fill", DM(1, 3).fill(2.5), 1, 3, {2.5, 2.5, 2.5}},
      {"eye 2x3", eye(2, 3), 2, 3, {1, 0, 0, 0, 1, 0}},
      {"eye 3x2", eye(3, 2), 3, 2, {1, 0, 0, 1, 0, 0}},
      {"hconcat", hconcat(rows2(1, 3, 2, 4), col({5, 6})), 2, 3, {1, 3, 5, 2, 4, 6}},
      {"vconcat", vconcat(rows2(1, 3, 2, 4), row({5, 6})), 3, 2, {1, 3, 2, 4, 5, 6}},
      {"abs", abs(v), 1, 2, {1.5, 0.25}},
      {"floor", floor(v), 1, 2, {-2, 0}},
      {"log", log(row({1, 2})), 1, 2, {0, std::log(2.0)}},
      {"log10", log10(row({1000, 1})), 1, 2, {3, 0}},
      {"sin", sin(v), 1, 2, {std::sin(-1.5), std::sin(0.25)}},
      {"cos", cos(v), 1, 2, {std::cos(-1.5), std::cos(0.25)}},
      {"tan", tan(v), 1, 2, {std::tan(-1.5), std::tan(0.25)}},
      {"asin", asin(DM(0.25)), 1, 1, {std::asin(0.25)}},
      {"acos", acos(DM(0.25)), 1, 1, {std::acos(0.25)}},
      {"atan", atan(v), 1, 2, {std::atan(-1.5), std::atan(0.25)}},
      {"map", map([](double x) { return 2 * x; }, v), 1, 2, {-3, 0.5}},
      {"map_ref", map_ref([](const double* p) { return *p + 1; }, v), 1, 2, {-0.5, 1.25}},
      {"pow10", pow10(row({0, 3, -1})), 1, 3, {1, 1000, 0.1}},
      {"CM map", map([](complex z) { return z.re + z.im; }, CM(1, 2, 1.0, 2.0)), 1, 2, {3, 3}},
      {"CM map_ref", map_ref([](const complex* z) { return z->im; }, CM(2, 1, 1.0, 2.0)), 2, 1, {2, 2}},
  });
  const DM B(2, 2, 1.0);  // an empty operand makes the result share the other one
  for (const DM& c : {hconcat(DM(), B), hconcat(B, DM(0, 5)), vconcat(DM(3, 0), B), vconcat(B, DM())})
    EXPECT_EQ(c.blk, B.blk);
  EXPECT_EQ(hconcat(CM(), CM(B)).rows, 2);
  expect_cm(hconcat(CM(2, 1, 0.0, 1.0), CM(2, 1, 9.0)), 2, 2, {complex(0, 1), 9, complex(0, 1), 9});
  expect_cm(seqa(complex(0, 1), 3, complex(0.5, -1)), 3, 1, {complex(0, 1), complex(0.5, 0), complex(1, -1)});
  expect_cm(ceye(2, 3), 2, 3, {1, 0, 0, 0, 1, 0});
  expect_cm(CM(1, 2).fill(complex(3, 4)), 1, 2, {complex(3, 4), complex(3, 4)});
  expect_cm(log(CM(1, 2, -1.0)), 1, 2, {complex(0, M_PI), complex(0, M_PI)}, 1e-15);
  expect_cm(log10(CM(100.0)), 1, 1, {2}, 1e-15);
  expect_cm(sin(CM(0.0, 1.0)), 1, 1, {complex(0, std::sinh(1.0))}, 1e-15);
  expect_cm(cos(CM(0.0, 1.0)), 1, 1, {complex(std::cosh(1.0), 0)}, 1e-15);
  expect_cm(tan(CM(0.0, 1.0)), 1, 1, {complex(0, std::tanh(1.0))}, 1e-15);
  expect_cm(asin(CM(1.0)), 1, 1, {complex(M_PI / 2)}, 1e-14);
  expect_cm(acos(CM(1.0)), 1, 1, {complex(0)}, 1e-14);
  expect_cm(atan(CM(1.0)), 1, 1, {complex(M_PI / 4)}, 1e-14);
  EXPECT_TRUE(std::isnan(log(DM(-1.0))(1)));
}

TEST(DMOps, ShapePredicates) {
  struct { const char* label; int got, want; } rows[] = {
      {"is1x1", is1x1(DM(1.0)), 1},           {"is1x1 1x2", is1x1(DM(1, 2)), 0},
      {"same", same_shape(DM(2, 3), DM(2, 3)), 1}, {"not same", same_shape(DM(2, 3), DM(3, 2)), 0},
      {"row vector", isvector(DM(1, 4)), 1},  {"col vector", isvector(DM(4, 1)), 1},
      {"empty row", isvector(DM(1, 0)), 0},   {"square", isvector(DM(2, 2)), 0},
      {"isrow", isrow(DM(1, 3)), 1},          {"isrow col", isrow(DM(3, 1)), 0},
      {"iscol", iscol(DM(3, 1)), 1},          {"iscol empty", iscol(DM(0, 1)), 0},
      {"CM is1x1", is1x1(CM(1.0)), 1},        {"CM is1x1 1x2", is1x1(CM(1, 2)), 0},
      {"CM isrow", isrow(CM(1, 3)), 1},       {"CM iscol", iscol(CM(1, 3)), 0},
      {"CM iscol", iscol(CM(3, 1)), 1},       {"CM isvector", isvector(CM(0, 3)), 0},
      {"CM isvector", isvector(CM(3, 1)), 1}, {"CM same", same_shape(CM(2, 3), CM(2, 3)), 1},
      {"CM not same", same_shape(CM(2, 3), CM(3, 2)), 0},
      {"identical", identical(rows2(1, 0, 2, 4), rows2(1, -0.0, 2, 4)), 1},
      {"identical shapes", identical(DM(2, 2, 1.0), DM(1, 4, 1.0)), 0},
      {"identical NaN", identical(DM(qnan), DM(qnan)), 0},
      {"identical empties", identical(DM(0, 3), DM(0, 3)), 1},
      {"identical empty shapes", identical(DM(0, 3), DM(3, 0)), 0},
  };
  for (auto& r : rows) EXPECT_EQ(r.got, r.want) << r.label;
}

}  // namespace
