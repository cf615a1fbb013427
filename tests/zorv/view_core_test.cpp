// The view's logic without a display (zoom commands and the grid) and the undo files'
// per-process folder.
#include "sdi/zorv/core/view/view_core.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "common/temp_dir.h"

namespace {

struct FakeView : zorv::ViewHost {
  zorv::ScrollState applied;
  int invalidations = 0, modifications = 0;
  zorv::Size ClientSize() const override { return {800, 600}; }
  zorv::Pos ScrollPosition() const override { return applied.pos; }
  void ApplyScroll(const zorv::ScrollState& s) override { applied = s; }
  void Invalidate() override { ++invalidations; }
  void SetDocumentModified() override { ++modifications; }
};

class ViewCoreTest : public ::testing::Test {
protected:
  TempDir dir;
  FakeView host;
  std::string circuit = "empty";  // what the model's save writes
  zorv::UndoFiles undo{dir.path() / "undo"};
  zorv::ViewCore view{host, undo, [this](const std::string& p) { return bool(std::ofstream(p, std::ios::binary) << circuit); }};
};

TEST_F(ViewCoreTest, ZoomCommands) {
  view.OnInitialUpdate();
  EXPECT_EQ(std::make_pair(host.applied.total.w, host.applied.total.h), std::make_pair(2600, 3900));
  host.applied.pos = {700, 900};
  view.OnViewZoomIn();  // keeps the centre (700 + 400) / 1.3 and repaints
  EXPECT_NEAR(view.Zoom(), 1.56, 1e-12);
  EXPECT_EQ(host.invalidations, 1);
  EXPECT_NEAR((host.applied.pos.x + 400) / 1.56, 1100 / 1.3, 1);
  EXPECT_NEAR((host.applied.pos.y + 300) / 1.56, 1200 / 1.3, 1);
  for (int i = 0; i < 7; ++i) view.OnViewZoomIn();
  const int resets = view.ScrollResetCount(), paints = host.invalidations;
  view.OnViewZoomIn();  // at the limit: nothing
  EXPECT_EQ(std::make_pair(view.ScrollResetCount(), host.invalidations), std::make_pair(resets, paints));
  view.OnViewZoomAll({0, 0, 0, 0});  // an empty circuit: the starting zoom at the origin
  EXPECT_DOUBLE_EQ(view.Zoom(), 1.3);
  EXPECT_EQ(host.applied.pos.x + host.applied.pos.y, 0);
  const int painted = host.invalidations;
  view.OnViewZoomAll({1000, 1200, 400, 300});  // 400 x 300 into 800 x 600: 0.9 x 2, repainted
  EXPECT_DOUBLE_EQ(view.Zoom(), 1.8);
  EXPECT_EQ(host.invalidations, painted + 1);
  EXPECT_EQ(std::make_pair(host.applied.pos.x, host.applied.pos.y), std::make_pair(920 * 18 / 10, 1170 * 18 / 10));
  const int before = host.invalidations;
  view.OnViewGrid();
  EXPECT_FALSE(view.GridShown());
  view.OnViewGrid();
  EXPECT_TRUE(view.GridShown());
  EXPECT_EQ(host.invalidations, before + 2);
}

// Sets an environment variable for one scope.
struct EnvScope {
  EnvScope(const char* name, const char* value) : name(name) {
    if (const char* old = std::getenv(name)) had = true, this->old = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~EnvScope() { had ? setenv(name, old.c_str(), 1) : unsetenv(name); }
  const char* name;
  std::string old;
  bool had = false;
};

TEST(UndoFiles, PrivatePerProcessFolderRemovedWithItsFiles) {
  TempDir dir;
  {
    EnvScope runtime("XDG_RUNTIME_DIR", dir.path().c_str());
    EXPECT_EQ(zorv::UndoFiles::DefaultFolder(), dir.path() / ("zorv-" + std::to_string(getpid())));
  }
  {
    EnvScope runtime("XDG_RUNTIME_DIR", nullptr);
    EnvScope tmp("TMPDIR", dir.path().c_str());
    EXPECT_EQ(zorv::UndoFiles::DefaultFolder(),
              dir.path() / ("zorv-" + std::to_string(getuid()) + "-" + std::to_string(getpid())));
  }
  const auto folder = dir.path() / "u";
  {
    zorv::UndoFiles undo(folder), other(dir.path() / "v");
    ASSERT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(std::filesystem::status(folder).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    EXPECT_NE(undo.Backup(), other.Backup());
    std::ofstream(undo.Backup()) << "a";
    std::ofstream(undo.Backup2()) << "b";
  }
  EXPECT_FALSE(std::filesystem::exists(folder));
}

}  // namespace
