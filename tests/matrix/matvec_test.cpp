// The blocked product keeps the plain column loop's summation order: the same bits,
// signed zeros and infinities included, for every remainder of the blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "matrix/matvec.h"

namespace {

// The reference: o = 0, then o += column j * coefficient j for each non-zero coefficient.
void plain(const std::vector<double>& A, const std::vector<double>& a, const std::vector<double>& B,
           const std::vector<double>& b, int r, std::vector<double>& o) {
  o.assign(r, 0.0);
  for (size_t j = 0; j < a.size(); ++j)
    if (a[j] != 0.0)
      for (int i = 0; i < r; ++i) o[i] += A[j * r + i] * a[j];
  for (size_t j = 0; j < b.size(); ++j)
    if (b[j] != 0.0)
      for (int i = 0; i < r; ++i) o[i] += B[j * r + i] * b[j];
}

TEST(MatVec2, SameBitsAsThePlainColumnLoop) {
  const double inf = std::numeric_limits<double>::infinity();
  const double specials[] = {0.0, -0.0, 0.0, 1e-300, -1e300, inf, std::nan("")};
  std::mt19937_64 gen(21);
  std::uniform_real_distribution<double> val(-1.0, 1.0);
  struct shape { int r, na, nb; };
  for (shape s : {shape{1, 1, 0}, {2, 2, 1}, {2, 2, 2}, {3, 5, 2}, {3, 1, 4}, {4, 8, 0}, {5, 9, 3}, {7, 16, 1},
                  {9, 17, 7}, {33, 32, 2}, {64, 64, 2}, {65, 70, 9}, {6, 0, 0}}) {
    for (int trial = 0; trial < 20; ++trial) {
      SCOPED_TRACE(testing::Message() << s.r << " x (" << s.na << " + " << s.nb << "), trial " << trial);
      auto fill = [&](std::vector<double>& v, size_t n, int special_every) {
        v.resize(n);
        for (double& e : v) e = gen() % special_every == 0 ? specials[gen() % 7] : val(gen);
      };
      std::vector<double> A, a, B, b, want, got(s.r, 123.0);
      fill(A, static_cast<size_t>(s.r) * s.na, trial < 10 ? 1000 : 9);
      fill(B, static_cast<size_t>(s.r) * s.nb, trial < 10 ? 1000 : 9);
      fill(a, s.na, 3);
      fill(b, s.nb, 3);
      plain(A, a, B, b, s.r, want);
      mat_vec2(A.data(), a.data(), s.na, B.data(), b.data(), s.nb, s.r, got.data());
      // Which NaN an addition of two NaNs returns is the compiler's choice of operand
      // order: a NaN only has to stay a NaN.
      for (int i = 0; i < s.r; ++i) {
        if (std::isnan(want[i]) && std::isnan(got[i])) continue;
        EXPECT_EQ(std::memcmp(&want[i], &got[i], sizeof(double)), 0) << "row " << i;
      }
    }
  }
}

}  // namespace
