#include "simu/sim_params.h"

#include <gtest/gtest.h>

TEST(SimParams, ConstructorDefaults) {
  sim_params p;
  EXPECT_EQ(p.tsim, 9999.0);
  EXPECT_EQ(p.td, 1.0);
  EXPECT_EQ(p.start_si, 0.0);
  EXPECT_EQ(p.finish_si, 0.0);
  EXPECT_EQ(p.points, 500);
  EXPECT_EQ(p.sstol_f, 1e-6);
  EXPECT_EQ(p.sstol_c, 0.01);
  EXPECT_EQ(p.steady, 0);
  EXPECT_EQ(p.nclkss, 25);
  EXPECT_EQ(p.stop_close, 0);
  EXPECT_EQ(p.one_c, 0);
  EXPECT_EQ(p.none_c, 2);
  EXPECT_EQ(p.sv, 1);
  EXPECT_EQ(p.ld, 0);
  EXPECT_EQ(p.ssmethod, 1);
  EXPECT_EQ(p.Cycles_togo, 0);
  EXPECT_EQ(p.start_freq, 100.0);
  EXPECT_EQ(p.end_freq, 1e5);
  EXPECT_EQ(p.npts, 100);
  EXPECT_EQ(p.outplot, 0);
  EXPECT_EQ(p.nss, 4);
  EXPECT_EQ(p.var_freq, 0);
  EXPECT_EQ(p.stflg, 0);
  EXPECT_EQ(p.pi, 30);
  EXPECT_EQ(p.n, 20);
  EXPECT_EQ(p.nclk, 1e10);
  EXPECT_EQ(p.mn, -1e30);
  EXPECT_EQ(p.mx, 1e30);
  EXPECT_EQ(p.tdisp, 1e10);
  EXPECT_EQ(p.dts, 0.0);
  for (const DM* m : {&p.tmd, &p.vgs, &p.thoff, &p.thon, &p.swinit, &p.x0, &p.Cy, &p.Ct,
                      &p.Csw, &p.Cc}) {
    EXPECT_EQ(m->rows, 0);
    EXPECT_EQ(m->cols, 0);
  }
  ASSERT_EQ(p.xmin.rows, 1);
  ASSERT_EQ(p.xmin.cols, 1);
  EXPECT_EQ(p.xmin(1, 1), -1e30);
  ASSERT_EQ(p.xmax.rows, 1);
  EXPECT_EQ(p.xmax(1, 1), 1e30);
  EXPECT_TRUE(p.stmin.empty());
  EXPECT_TRUE(p.stmax.empty());
}

TEST(SimParams, NoCurrentRecordBetweenRuns) { EXPECT_EQ(current_params, nullptr); }
