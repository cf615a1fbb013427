// The view's logic without a display (zoom commands and the grid), the undo files'
// private per-process folder, the undo point, and the folder's removal on a signal.
#include "sdi/zorv/core/view/view_core.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "sdi/zorv/core/base/messages.h"
#include "sdi/zorv/core/base/signal_cleanup.h"
#include "simu/base/atomic_file.h"

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
  zorv::ViewCore view{host, undo, [this](std::FILE* f) { std::fputs(circuit.c_str(), f); }};
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
    EXPECT_EQ(zorv::UndoFiles::DefaultBase(), dir.path());
  }
  EnvScope runtime("XDG_RUNTIME_DIR", nullptr);
  EnvScope tmp("TMPDIR", dir.path().c_str());
  EXPECT_EQ(zorv::UndoFiles::DefaultBase(), dir.path());
  std::filesystem::path folder;
  {
    zorv::UndoFiles undo, other;  // names made by mkdtemp: no one can make them ahead
    folder = undo.Folder();
    EXPECT_EQ(folder.parent_path(), dir.path());
    EXPECT_EQ(folder.filename().string().substr(0, 5), "zorv-");
    EXPECT_EQ(std::filesystem::status(folder).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    EXPECT_NE(undo.Backup(), other.Backup());
    std::ofstream(undo.Backup()) << "a";
    std::ofstream(undo.Backup2()) << "b";
  }
  EXPECT_FALSE(std::filesystem::exists(folder));
}

// A fixed folder is used only when it is ours alone; one made ahead by another
// user, open to others, or a link is left alone and a private folder made beside it.
TEST(UndoFiles, AFolderNotOursAloneIsNotUsed) {
  TempDir dir;
  std::filesystem::create_directory("mine");
  std::filesystem::create_symlink("mine", "link");
  const struct { const char* name; std::function<void(const char*)> prepare; bool used; } rows[] = {
      {"new", [](const char*) {}, true},
      {"ours", [](const char* p) { mkdir(p, 0700); }, true},
      {"another owner", [](const char* p) { mkdir(p, 0700); ASSERT_EQ(chown(p, 4242, 4242), 0); }, false},
      {"open to others", [](const char* p) { mkdir(p, 0700), chmod(p, 0777); }, false},
      {"link", [](const char*) {}, false},
      {"file", [](const char* p) { std::ofstream(p) << "x"; }, false},
  };
  for (const auto& row : rows) {
    // Only root makes a folder of another user.
    if (std::string(row.name) == "another owner" && ::geteuid() != 0) continue;
    const std::filesystem::path fixed = dir.path() / row.name;
    row.prepare(fixed.c_str());
    const auto before = std::filesystem::symlink_status(fixed);
    {
      zorv::UndoFiles undo(fixed);
      EXPECT_EQ(undo.Folder() == fixed, row.used) << row.name;
      EXPECT_EQ(undo.Folder().parent_path(), dir.path()) << row.name;
      EXPECT_TRUE(undo.Problem().empty()) << row.name;
      EXPECT_EQ(std::filesystem::status(undo.Folder()).permissions() & std::filesystem::perms::all,
                std::filesystem::perms::owner_all) << row.name;
    }
    if (!row.used) {  // left as it was, nothing written into it
      EXPECT_EQ(std::filesystem::symlink_status(fixed).type(), before.type()) << row.name;
      EXPECT_FALSE(std::filesystem::exists(fixed / "backup.ckt")) << row.name;
    }
  }
  EXPECT_TRUE(std::filesystem::is_empty("mine"));
}

// A link planted at an undo file's name is replaced, never written through.
TEST_F(ViewCoreTest, AnUndoPointNeverWritesThroughALink) {
  std::ofstream("victim") << "precious";
  std::filesystem::create_symlink(dir.path() / "victim", undo.Backup());
  circuit = "snapshot";
  view.SaveBackup();
  EXPECT_TRUE(view.UndoValid());
  EXPECT_EQ(slurp("victim"), "precious");
  EXPECT_EQ(slurp(undo.Backup()), "snapshot");
  EXPECT_TRUE(zorv::UndoFiles::IsPlainFile(undo.Backup()));
  std::filesystem::create_symlink(dir.path() / "victim", undo.Clipboard());
  undo.RemoveStrangers();
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(undo.Clipboard())));
  EXPECT_TRUE(std::filesystem::exists("victim"));
}

// Undo points that cannot be written are said once, with the reason, until one is
// written again; the edits still mark the document.
TEST_F(ViewCoreTest, AFailedUndoPointIsShownOnce) {
  std::vector<std::string> shown;
  const auto previous = zorv::SetMessageSink([&](const std::string& t) { shown.push_back(t); });
  std::filesystem::remove_all(undo.Folder());
  for (int i = 0; i < 3; ++i) view.SaveBackup();
  EXPECT_EQ(shown, std::vector<std::string>{"The undo point could not be saved: No such file or directory"});
  EXPECT_FALSE(view.UndoValid());
  EXPECT_EQ(host.modifications, 3);
  mkdir(undo.Folder().c_str(), 0700);
  view.SaveBackup();
  EXPECT_TRUE(view.UndoValid());
  std::filesystem::remove_all(undo.Folder());
  view.SaveBackup();
  EXPECT_EQ(shown.size(), 2u);
  zorv::SetMessageSink(previous);
}

// An ending signal removes the registered files and folder and the temporaries being
// written, then ends the process as usual; in a child forked before its exec (the
// plotter's start) it removes nothing of the parent's.
TEST(UndoFiles, RemovedWhenASignalEndsTheEditor) {
  const struct { int sig; bool to_child; } rows[] = {{SIGTERM, true}, {SIGINT, false}, {SIGTERM, false}};
  for (const auto& row : rows) {
    TempDir dir;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      struct sigaction now {};
      if (sigaction(row.sig, nullptr, &now) == 0 && now.sa_handler == SIG_IGN) signal(row.sig, SIG_DFL);
      auto* undo = new zorv::UndoFiles(dir.path() / "undo");  // never destroyed: the signal ends the process
      zorv::RemoveOnSignal(undo->Paths());
      std::ofstream(undo->Backup()) << "a";
      auto* table = new atomic_file;  // a result table half written when the signal comes
      if (!table->open(dir.path() / "t.plt")) _exit(3);
      if (row.to_child) {
        const pid_t grandchild = fork();
        if (grandchild == 0) {
          raise(row.sig);
          _exit(0);
        }
        int status = 0;
        waitpid(grandchild, &status, 0);
        _exit(WIFSIGNALED(status) && WTERMSIG(status) == row.sig ? 42 : 4);
      }
      raise(row.sig);
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WIFEXITED(status) && WEXITSTATUS(status) == 42, row.to_child) << row.sig;
    EXPECT_EQ(WIFSIGNALED(status) && WTERMSIG(status) == row.sig, !row.to_child) << row.sig;
    EXPECT_EQ(std::filesystem::exists(dir.path() / "undo"), row.to_child) << row.sig;
    int temporaries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
      temporaries += e.path().filename().string().find(".~zorv-tmp.") != std::string::npos;
    EXPECT_EQ(temporaries, row.to_child ? 1 : 0) << row.sig;
  }
}

}  // namespace
