// The states the steady-state methods solve for, and each sine generator's pair of states.
#include "simu/steady/pss_unknowns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(PssUnknowns, SineGeneratorsArePairedByTheirNumberAndLeftOut) {
  const struct { std::vector<std::string> names; std::vector<int> partners, unknowns; } rows[] = {
      {{"V_C1", "I_Ls12", "I_L1", "V_Cs12"}, {0, 4, 0, 2}, {1, 3}},
      {{"V_Cs3", "I_Ls31", "V_Cs31", "I_Ls3"}, {4, 3, 2, 1}, {}},
      {{"V_Cs7", "I_Ls8", "V_Csx"}, {-1, -1, -1}, {}},
      {{"V_Cx", "I_LS1"}, {0, 0}, {1, 2}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.names[0]);
    EXPECT_EQ(sine_partners(r.names), r.partners);
    EXPECT_EQ(pss_unknowns(r.names), r.unknowns);
  }
}
