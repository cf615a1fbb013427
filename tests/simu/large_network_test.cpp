// A network of thousands of branches: the model of a resistor chain into one capacitor
// against its closed form.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/temp_dir.h"
#include "simu/model_circuits.h"
#include "simu/model_expect.h"

namespace {

TEST(LargeNetwork, ResistorChainIntoOneCapacitorFollowsItsTimeConstant) {
  TempDir dir;
  const int n = 3000;
  const double tau = n * 1e-6, h = tau / 50;   // N resistors of 1 ohm, 1 uF
  circuit c;
  c.add("V1", 1, 0, 10.0);
  for (int k = 1; k <= n; ++k) c.add("R" + std::to_string(k), k, k + 1, 1.0);
  c.add("C1", n + 1, 0, 1e-6).out('V', "C1").out('I', "R1");
  derived d = derive(c.done(), DM(), h);
  ASSERT_EQ(d.rec->A.rows, 1);
  EXPECT_EQ(slurp("states.dat"), "V_C1\n");
  // Vout = 10 (1 - e^(-t/tau)) from x = 0, stepped with the discretised model; the
  // chain current is (10 - Vout) / N ohm.
  double x = 0.0;
  for (int k = 1; k <= 100; ++k) {
    x = d.rec->Phi(1, 1) * x + d.rec->Gamma(1, 1) * 10.0;
    const double v = 10.0 * (1.0 - std::exp(-k * h / tau));
    ASSERT_NEAR(d.rec->C(1, 1) * x + d.rec->D(1, 1) * 10.0, v, 1e-9) << "step " << k;
    ASSERT_NEAR(d.rec->C(2, 1) * x + d.rec->D(2, 1) * 10.0, (10.0 - v) / n, 1e-12) << "step " << k;
  }
}

}  // namespace
