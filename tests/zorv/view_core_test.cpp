#include "sdi/zorv/core/view_core.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "common/temp_dir.h"

namespace {

struct FakeView : zorv::ViewHost {
  zorv::Size client{800, 600};
  zorv::ScrollState applied;
  int invalidations = 0;
  int modifications = 0;
  zorv::Size ClientSize() const override { return client; }
  zorv::Pos ScrollPosition() const override { return applied.pos; }
  void ApplyScroll(const zorv::ScrollState& s) override { applied = s; }
  void Invalidate() override { ++invalidations; }
  void SetDocumentModified() override { ++modifications; }
};

// Writes the "circuit" (a text here) as the model's save would write a file.
struct FakeCircuit {
  std::string state = "empty";
  bool Save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out << state;
    return static_cast<bool>(out);
  }
};

class ViewCoreTest : public ::testing::Test {
protected:
  ViewCoreTest()
      : undo(dir.path() / "undo"),
        view(host, undo, [this](const std::string& p) { return circuit.Save(p); }) {}

  TempDir dir;
  FakeView host;
  FakeCircuit circuit;
  zorv::UndoFiles undo;
  zorv::ViewCore view;
};

}  // namespace

TEST_F(ViewCoreTest, InitialUpdateSetsTheScrollSizes) {
  view.OnInitialUpdate();
  EXPECT_EQ(view.ScrollResetCount(), 1);
  EXPECT_EQ(host.applied.total.w, 2600);
  EXPECT_EQ(host.applied.total.h, 3900);
  EXPECT_DOUBLE_EQ(view.Zoom(), 1.3);
}

TEST_F(ViewCoreTest, ZoomInKeepsTheCentreAndRepaints) {
  view.OnInitialUpdate();
  host.applied.pos = {700, 900};
  const double cx = (700 + 400) / 1.3, cy = (900 + 300) / 1.3;
  view.OnViewZoomIn();
  EXPECT_NEAR(view.Zoom(), 1.56, 1e-12);
  EXPECT_EQ(host.invalidations, 1);
  const double s = host.applied.total.w / 2000.0;
  EXPECT_NEAR((host.applied.pos.x + 400) / s, cx, 1 / s);
  EXPECT_NEAR((host.applied.pos.y + 300) / (host.applied.total.h / 3000.0), cy, 1 / s);
}

TEST_F(ViewCoreTest, ZoomAtItsLimitDoesNothing) {
  view.OnInitialUpdate();
  for (int i = 0; i < 8; ++i) view.OnViewZoomIn();
  const int resets = view.ScrollResetCount();
  const int paints = host.invalidations;
  view.OnViewZoomIn();
  EXPECT_EQ(view.ScrollResetCount(), resets);
  EXPECT_EQ(host.invalidations, paints);
}

TEST_F(ViewCoreTest, ZoomAllOnAnEmptyCircuit) {
  view.OnInitialUpdate();
  view.OnViewZoomIn();
  view.OnViewZoomAll({0, 0, 0, 0});
  EXPECT_DOUBLE_EQ(view.Zoom(), 1.3);
  EXPECT_EQ(host.applied.pos.x, 0);
  EXPECT_EQ(host.applied.pos.y, 0);
}

TEST_F(ViewCoreTest, ZoomAllScrollsToTheExtent) {
  view.OnInitialUpdate();
  // 400 x 300 units into 800 x 600 pixels: zoom 0.9 x 2 = 1.8.
  view.OnViewZoomAll({1000, 1200, 400, 300});
  EXPECT_DOUBLE_EQ(view.Zoom(), 1.8);
  const double s = host.applied.total.w / 2000.0;
  EXPECT_EQ(host.applied.pos.x, static_cast<int>((1000 - 80) * s));
  EXPECT_EQ(host.applied.pos.y, static_cast<int>((1200 - 30) * (host.applied.total.h / 3000.0)));
}

TEST_F(ViewCoreTest, GridTogglesAndRepaints) {
  EXPECT_TRUE(view.GridShown());
  view.OnViewGrid();
  EXPECT_FALSE(view.GridShown());
  view.OnViewGrid();
  EXPECT_TRUE(view.GridShown());
  EXPECT_EQ(host.invalidations, 2);
}

TEST_F(ViewCoreTest, UndoPointWritesTheCircuitAndMarksTheDocument) {
  circuit.state = "R1";
  view.SaveBackup();
  EXPECT_EQ(slurp(undo.Backup()), "R1");
  EXPECT_EQ(host.modifications, 1);
  EXPECT_EQ(undo.Backup().parent_path(), dir.path() / "undo");
  EXPECT_EQ(undo.Backup().filename(), "backup.ckt");
  EXPECT_EQ(undo.Backup2().filename(), "backup2.ckt");
}

TEST_F(ViewCoreTest, TwoUndoPointsKeepTheStateBeforeTheSecond) {
  circuit.state = "R1";
  view.SaveBackup();
  circuit.state = "R1 R2";
  view.SaveBackup();
  EXPECT_EQ(slurp(undo.Backup()), "R1 R2");
  EXPECT_EQ(host.modifications, 2);
}

TEST_F(ViewCoreTest, UndoPointDisablesRedo) {
  view.SetCanRedo(true);
  view.SaveBackup();
  EXPECT_FALSE(view.CanRedo());
}

TEST_F(ViewCoreTest, UndoPointThatCannotBeWrittenStillMarksTheDocument) {
  zorv::ViewCore failing(host, undo, [](const std::string&) { return false; });
  failing.SaveBackup();
  EXPECT_EQ(host.modifications, 1);
}

TEST(PrintGridGuard, HidesTheGridAndBringsItBack) {
  int grid = 1;
  {
    zorv::PrintGridGuard guard(grid);
    EXPECT_EQ(grid, 0);
    EXPECT_TRUE(guard.HidGrid());
  }
  EXPECT_EQ(grid, 1);
}

TEST(PrintGridGuard, LeavesAHiddenGridHidden) {
  int grid = 0;
  {
    zorv::PrintGridGuard guard(grid);
    EXPECT_FALSE(guard.HidGrid());
  }
  EXPECT_EQ(grid, 0);
}
