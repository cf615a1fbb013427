// Output store: sample step, window cutting, sampling rules and the result table bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <unistd.h>

#include "common/temp_dir.h"
#include "simu/console.h"
#include "simu/netlist.h"
#include "simu/output_store.h"
#include "common/dm_builders.h"
#include "common/fatal_of.h"

TEST(OutputStore, QuestionsGoToTheErrorFileAndNothingIsRead) {
  TempDir dir;
  {
    std::FILE* in = std::fopen("answers.txt", "w");
    std::fputs("ny\n", in);
    std::fclose(in);
  }
  ASSERT_NE(std::freopen("answers.txt", "r", stdin), nullptr);
  redirect_stdio();
  output_store out(0.0, 1.0, 0.0, 1.0, 0.1, 10, false);
  flush_console();
  std::string err = slurp("stderr.out");
  close_stdio_redirection();
  EXPECT_EQ(err,
            "\nDo you need outputs at all the simulated points? (y/n) "
            "\nDo you need outputs at evenly spaced instants? (y/n) ");
  EXPECT_EQ(std::fgetc(stdin), 'n');  // the answers are still unread
}

TEST(OutputStore, SampleStepFromPointsAndTd) {
  output_store a(0.0, 1.0, 0.0, 1e-3, 1e-7, 100, false);
  EXPECT_DOUBLE_EQ(a.sample_step, 1e-5);
  EXPECT_EQ(a.next_instant, a.sample_step);
  output_store b(0.0, 1.0, 0.0, 1e-3, 1e-4, 100, false);  // td larger than tsim/points
  EXPECT_EQ(b.sample_step, 1e-4);
  output_store c(0.0, 1.0, 0.0, 1e-3, 1e-7, 0, false);  // points 0 becomes 1
  EXPECT_EQ(c.points, 1);
  EXPECT_EQ(c.sample_step, 1e-3);
  EXPECT_EQ(c.evenly_spaced_mode, 1);
  EXPECT_EQ(c.all_points_mode, 0);
}

TEST(OutputStore, WindowFromSettings) {
  output_store a(-1.0, 5.0, 0.0, 2.0, 0.1, 10, false);
  EXPECT_EQ(a.window_start, 0.0);
  EXPECT_EQ(a.window_end, 2.0);
  output_store b(0.5, 1.5, 0.0, 2.0, 0.1, 10, true);  // steady runs keep samples from 0
  EXPECT_EQ(b.window_start, 0.0);
  EXPECT_EQ(b.window_end, 1.5);
}

TEST(OutputStore, WindowStartAtZeroCutsFirstStepToZero) {
  output_store out(0.0, 1.0, 0.0, 1.0, 0.1, 10, false);
  double dt = 0.1;
  out.clamp_step(0.0, dt);
  EXPECT_EQ(dt, 0.0);
  EXPECT_EQ(out.window_started, 1);
  dt = 0.1;
  out.clamp_step(0.0, dt);
  EXPECT_EQ(dt, 0.1);
}

TEST(OutputStore, StepsLandOnWindowStartAndEnd) {
  output_store out(0.25, 0.55, 0.0, 1.0, 0.1, 10, false);
  double dt = 0.1;
  out.clamp_step(0.2, dt);
  EXPECT_NEAR(dt, 0.05, 1e-16);
  EXPECT_EQ(out.window_started, 1);
  dt = 0.1;
  out.clamp_step(0.5, dt);
  EXPECT_NEAR(dt, 0.05, 1e-16);
  EXPECT_EQ(out.window_open, 0);
  dt = 0.1;
  out.clamp_step(0.55, dt);  // after the window: no more cuts
  EXPECT_EQ(dt, 0.1);
}

TEST(OutputStore, WindowEndingBeforeItStartsNeverCutsBackwards) {
  // Save interval from 0.5 to 0.2: the start still lands a step on 0.5, and the end, then
  // behind, closes the window without a negative step.
  output_store out(0.5, 0.2, 0.0, 1.0, 0.1, 10, false);
  double dt = 0.1;
  out.clamp_step(0.45, dt);
  EXPECT_NEAR(dt, 0.05, 1e-16);
  EXPECT_EQ(out.window_started, 1);
  dt = 0.1;
  out.clamp_step(0.5, dt);
  EXPECT_EQ(dt, 0.1);
  EXPECT_EQ(out.window_open, 0);
  out.sample(0.6, col({1.0}));
  EXPECT_EQ(out.samples(), 0);

  // An end before 0: the start cut at 0, then no cut at all.
  output_store early(0.0, -1.0, 0.0, 1.0, 0.1, 10, false);
  dt = 0.1;
  early.clamp_step(0.0, dt);
  EXPECT_EQ(dt, 0.0);
  dt = 0.1;
  early.clamp_step(0.0, dt);
  EXPECT_EQ(dt, 0.1);
  EXPECT_EQ(early.window_open, 0);
}

TEST(OutputStore, SamplesInsideWindowOnly) {
  output_store out(0.25, 0.55, 0.0, 1.0, 0.1, 8, false);  // sample step 0.125
  for (int k = 1; k <= 8; ++k) out.sample(k * 0.125, col({double(k)}));
  // Instants 0.25, 0.375 and 0.5 lie inside [0.25, 0.55].
  ASSERT_EQ(out.samples(), 3);
  DM T = out.T(), Y = out.Y();
  EXPECT_EQ(T.rows, 1);
  EXPECT_EQ(T(1), 0.25);
  EXPECT_EQ(T(3), 0.5);
  EXPECT_EQ(Y(1, 1), 2.0);
  EXPECT_EQ(Y(1, 3), 4.0);
}

TEST(OutputStore, SampleFirstKeepsInstantBeforeASwitchingUnlessJustStored) {
  output_store out(0.0, 1.0, 0.0, 1.0, 0.01, 10, false);
  out.sample(0.05, col({1}));        // before the next instant: nothing
  EXPECT_EQ(out.just_stored, 0);
  out.sample_first(0.05, col({2}));  // kept
  out.sample_first(0.05, col({3}));  // kept too: nothing stored in between
  out.sample(0.1, col({4}));         // the instant 0.1
  EXPECT_EQ(out.just_stored, 1);
  EXPECT_EQ(out.sample_first(0.1, col({5})), 0);  // same instant already stored
  EXPECT_EQ(out.just_stored, 0);
  ASSERT_EQ(out.samples(), 3);
  DM Y = out.Y();
  EXPECT_EQ(Y(1), 2.0);
  EXPECT_EQ(Y(2), 3.0);
  EXPECT_EQ(Y(3), 4.0);
}

TEST(OutputStore, ResultTableLayout) {
  TempDir dir;
  output_store out(0.0, 1.0, 0.0, 1.0, 0.5, 2, false);
  out.sample(0.5, col({1.5, -2.0, 1e-20}));
  out.sample(1.0, col({-0.25, 3.0, 0.0}));
  out.write_all("r.plt", {"Vout", "", "IL1"});
  EXPECT_EQ(slurp("r.plt"),
            "Time Vout IL1 \n"
            " 5.00000000E-01  1.500000E+00  1.000000E-20\n"
            " 1.00000000E+00 -2.500000E-01  0.000000E+00\n");
}

TEST(OutputStore, LabelsFromTheNetlistOutputs) {
  TempDir dir;
  sim_netlist.outputs = {{'V', "C1", "Vc"}, {'I', "D1", ""}, {'I', "L1", "iL"}};
  output_store out(0.0, 1.0, 0.0, 1.0, 1.0, 1, false);
  out.sample(1.0, col({2.0, 3.0, -4.0}));
  out.write_all("n.plt");
  sim_netlist.outputs.clear();
  EXPECT_EQ(slurp("n.plt"), "Time Vc iL \n 1.00000000E+00  2.000000E+00 -4.000000E+00\n");
}

TEST(OutputStore, EmptyTableHasHeaderOnly) {
  TempDir dir;
  output_store out(0.0, 1.0, 0.0, 1.0, 0.5, 2, false);
  out.write_all("e.plt", {"a"});
  EXPECT_EQ(slurp("e.plt"), "Time a \n");
}

TEST(OutputStore, WriteRefusesDifferentLengths) {
  TempDir dir;
  DM T(1, 2, 0.0), Y(1, 3, 0.0);
  EXPECT_EQ(fatal_of([&] { write(T, Y, "x.plt", {"a"}); }),
            "Fatal Error : write() - T and Y are not of the same length!\n");
}

TEST(OutputStore, WriteReportsUnopenableFile) {
  TempDir dir;
  DM T(1, 1, 0.0), Y(1, 1, 0.0);
  EXPECT_EQ(fatal_of([&] { write(T, Y, "no/such/folder/x.plt", {"a"}); }),
            "Fatal Error : write() - can't write to disk file!\n");
}

TEST(OutputStore, WriteReportsFullDisk) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  DM T(1, 1, 0.0), Y(1, 1, 0.0);
  EXPECT_EQ(fatal_of([&] { write(T, Y, "/dev/full", {"a"}); }),
            "Fatal Error : write() - disk full!\n");
}

TEST(OutputStore, ManySamplesKeepOrder) {
  output_store out(0.0, 1e9, 0.0, 2.0, 1e-6, 2000000, false);
  for (int k = 1; k <= 1000000; ++k) out.sample(out.next_instant, col({double(k)}));
  ASSERT_EQ(out.samples(), 1000000);
  DM Y = out.Y();
  EXPECT_EQ(Y(1, 1), 1.0);
  EXPECT_EQ(Y(1, 1000000), 1e6);
}
