#include "sdi/zorv/core/undo_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "common/temp_dir.h"

namespace {

// Sets an environment variable for one scope.
class EnvScope {
public:
  EnvScope(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old, m_had = true;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~EnvScope() {
    if (m_had)
      setenv(m_name, m_old.c_str(), 1);
    else
      unsetenv(m_name);
  }

private:
  const char* m_name;
  std::string m_old;
  bool m_had = false;
};

}  // namespace

TEST(UndoFiles, FolderIsPerProcessUnderTheRuntimeFolder) {
  TempDir dir;
  EnvScope runtime("XDG_RUNTIME_DIR", dir.path().c_str());
  EXPECT_EQ(zorv::UndoFiles::DefaultFolder(), dir.path() / ("zorv-" + std::to_string(getpid())));
}

TEST(UndoFiles, FolderFallsBackToTheTemporaryFolder) {
  TempDir dir;
  EnvScope runtime("XDG_RUNTIME_DIR", nullptr);
  EnvScope tmp("TMPDIR", dir.path().c_str());
  EXPECT_EQ(zorv::UndoFiles::DefaultFolder(),
            dir.path() / ("zorv-" + std::to_string(getuid()) + "-" + std::to_string(getpid())));
}

TEST(UndoFiles, MadePrivateAndRemovedWithItsFiles) {
  TempDir dir;
  const auto folder = dir.path() / "u";
  {
    zorv::UndoFiles undo(folder);
    ASSERT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(std::filesystem::status(folder).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    std::ofstream(undo.Backup()) << "a";
    std::ofstream(undo.Backup2()) << "b";
  }
  EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST(UndoFiles, TwoInstancesDoNotShareFiles) {
  TempDir dir;
  zorv::UndoFiles a(dir.path() / "zorv-1");
  zorv::UndoFiles b(dir.path() / "zorv-2");
  EXPECT_NE(a.Backup(), b.Backup());
}
