// Starting an external program: started only when its image replaced the child,
// otherwise false with the system's reason.
#include <gtest/gtest.h>

#include <fstream>

#include "common/temp_dir.h"
#include "sdi/zorv/core/base/process_launcher.h"

TEST(ProcessLauncher, StartedOrTheReasonWhyNot) {
  TempDir dir;
  std::ofstream("plain.txt") << "not a program\n";
  const std::string here = dir.path().string();
  const struct { std::string program; bool started; const char* why; } rows[] = {
      {"/bin/true", true, ""},
      {here + "/missing", false, "No such file or directory"},
      {here + "/plain.txt", false, "Permission denied"},
      {here, false, "Permission denied"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.program);
    std::string why;
    EXPECT_EQ(zorv::PosixProcessLauncher().StartDetached(r.program, {"p", "x"}, why), r.started);
    EXPECT_EQ(why, r.why);
  }
}
