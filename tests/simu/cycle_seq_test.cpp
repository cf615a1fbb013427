// Switching-sequence report: exact text, mode numbers, shared equations, state groups.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "common/temp_dir.h"
#include "simu/cycle.h"
#include "simu/topology.h"
#include "common/dm_builders.h"
#include "common/fatal_of.h"

namespace {

topology model(double a, double b) {
  topology r;
  r.A = DM(a);
  r.B = DM(b);
  return r;
}

const DM tv0 = col({0, 0, 0, 0});

}  // namespace

TEST(CycleSeq, ReportOfFourTransitions) {
  TempDir dir;
  topology r1 = model(-1.0, 1.0), r2 = model(-1.00001, 1.0), r3 = model(-2.0, 1.0);
  CYCLE cyc(col({1, 0}));
  cyc.add_transition(tv0, 0.0, col({1, 0}), col({0.5, -1.25}), col({1}), &r1, 1);
  cyc.add_transition(tv0, 1e-6, col({0, 1}), col({2.0, 0.0}), col({1}), &r2, 1);
  cyc.add_transition(tv0, 3e-6, col({0, 0}), col({-3.0, 1e-300}), col({1}), &r3, 1);
  cyc.add_transition(tv0, 1e-5, col({1, 0}), col({0.5, -1.25}), col({1}), &r1, 1);
  ASSERT_EQ(cyc.count, 4);
  cyc.write_seq_file("b.m", 1e-6, {"S1", "D2"});
  EXPECT_EQ(slurp("b.seq"),
            "Switching sequence file for:  b.m\n\n\n"
            "period = 1.000000e-05\n"
            "Steady state tolerance = 1.000000e-06\n"
            "\nSwitches: S1 D2 "
            "\nMode\t sw_setting\t\t\t intervals\n"
            "1\t  10\t\t\t\t1.000000e-06\n"
            "1\t  01\t\t\t\t2.000000e-06\n"
            "2\t  00\t\t\t\t7.000000e-06\n"
            "Intervals 1 and 2 have the same equations.\n"
            "\nState at beginning of intervals:\n"
            " X1\t\t\t     X2\t\t\t     X3\t\t\t    \n"
            "  5.0000000000000000e-01    2.0000000000000000e+00   -3.0000000000000000e+00  \n"
            " -1.2500000000000000e+00    0.0000000000000000e+00   1.0000000000000000e-300  \n"
            " X4\t\t    \n"
            "  5.0000000000000000e-01\t\n"
            " -1.2500000000000000e+00\t\n"
            "\n");
}

TEST(CycleSeq, UnwritableAndFullFiles) {
  TempDir dir;
  CYCLE cyc(col({1}));
  EXPECT_EQ(fatal_of([&] { cyc.write_seq_file("no/dir/x.m", 1e-6, {}); }),
            "Fatal Error : write_seq_file() - can't write to disk file!\n");
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::filesystem::create_symlink("/dev/full", "f.seq");
  EXPECT_EQ(fatal_of([&] { cyc.write_seq_file("f.m", 1e-6, {"S1"}); }),
            "Fatal Error : write_seq_file(  ) - disk full!\n");
}

