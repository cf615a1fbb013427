// The plotting program on a table it refuses, run as its own process on the X
// server: it says why in a box, and once the box is closed it has ended, with no
// gnuplot started. A table named with a line end and a gnuplot command after it is
// refused too: the command never runs.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/temp_dir.h"
#include "common/text_file.h"
#include "zorv/smoke/screen_grab.h"

namespace fs = std::filesystem;

namespace {

struct RefusedTable {
  const char* name;
  const char* text;
  const char* says;  // in the message
};

void ShowsWhyAndEnds(const RefusedTable& row) {
  SCOPED_TRACE(row.says);
  TempDir dir;
  const fs::path table = dir.path() / row.name;
  write_text(table.string(), row.text);
  // A gnuplot on the PATH that notes each start.
  const fs::path bin = dir.path() / "bin", started = dir.path() / "gnuplot-started";
  fs::create_directory(bin);
  write_text((bin / "gnuplot").string(), "#!/bin/sh\ntouch '" + started.string() + "'\nexec /usr/bin/gnuplot \"$@\"\n");
  fs::permissions(bin / "gnuplot", fs::perms::owner_all);
  // Held open throughout: a server left without clients resets, and the program could
  // connect during the reset.
  Display* held = XOpenDisplay(nullptr);
  ASSERT_NE(held, nullptr) << "no X server";
  const std::string log = (dir.path() / "stderr.txt").string();
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    setenv("PATH", (bin.string() + ":" + std::getenv("PATH")).c_str(), 1);
    if (!freopen(log.c_str(), "w", stderr)) _exit(126);
    if (chdir(dir.path().c_str()) != 0) _exit(126);  // where a command in the name would leave its file
    std::string argument = table.string();
    for (char& c : argument) c = c == ' ' ? '*' : c;  // as the editor passes it
    execl(ZORV_RUROZUZE, "rurozuze", argument.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  // The box, once it is the size of one (not its first small frame).
  unsigned long box = 0;
  for (int i = 0; i < 400 && !box; ++i, usleep(25000)) box = ShownWindowTitled("rurozuze", 100);
  EXPECT_NE(box, 0u) << "no message box";
  // Closed as a window manager would, asked again until the program has ended
  // (a box that is not ready yet misses the request).
  int status = -1, exited = 0;
  for (int i = 0; i < 400 && exited != pid; ++i, usleep(25000)) {
    if (box && i % 8 == 0) CloseAsWindowManager(box);
    exited = waitpid(pid, &status, WNOHANG);
  }
  if (exited != pid) kill(pid, SIGKILL), waitpid(pid, &status, 0);
  EXPECT_EQ(exited, pid) << "still running after its box closed";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_FALSE(fs::exists(started)) << "gnuplot was started";
  EXPECT_FALSE(fs::exists(dir.path() / "PWNED")) << "a command in the name ran";
  EXPECT_NE(slurp(log).find(row.says), std::string::npos) << slurp(log);
  XCloseDisplay(held);
}

}  // namespace

TEST(Smoke, ThePlotterSaysWhyItRefusesATableAndEnds) {
  const RefusedTable rows[] = {
      {"empty run.plt", "Time Vout IL \n", "the table holds no rows"},
      {"x\nsystem \"touch PWNED\"\n.plt", "Time Vout\n0 1\n1e-5 2\n",
       "/x\\nsystem \"touch PWNED\"\\n.plt has a control character in its name: it is not plotted"},
  };
  for (const RefusedTable& row : rows) ShowsWhyAndEnds(row);
}
