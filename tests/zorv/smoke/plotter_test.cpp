// The plotting program on a table it refuses, run as its own process on the X
// server: it says why in a box, and once the box is closed it has ended, with no
// gnuplot started. A table named with a line end and a gnuplot command after it is
// refused too: the command never runs. A table whose path is near PATH_MAX shows.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/temp_dir.h"
#include "common/text_file.h"
#include "sdi/zorv/rurozuze/plot_script.h"
#include "zorv/smoke/screen_grab.h"

namespace fs = std::filesystem;

namespace {

struct RefusedTable {
  const char* name;
  const char* text;
  const char* says;  // in the message
};

// rurozuze started in the folder (where a command in a name would leave its file), its
// errors to log.
pid_t StartPlotter(const fs::path& folder, const std::string& path, const std::string& argument,
                   const std::string& log) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  setenv("PATH", path.c_str(), 1);
  if (!freopen(log.c_str(), "w", stderr)) _exit(126);
  if (chdir(folder.c_str()) != 0) _exit(126);
  execl(ZORV_RUROZUZE, "rurozuze", argument.c_str(), static_cast<char*>(nullptr));
  _exit(127);
}

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
  const std::string argument = table.string();  // as the editor passes it
  const pid_t pid = StartPlotter(dir.path(), bin.string() + ":" + std::getenv("PATH"), argument, log);
  ASSERT_GE(pid, 0);
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

// The X11 window takes a text of about 1,000 bytes at most; with a longer title it
// aborted while gnuplot, and so the plotter, still ended with 0.
TEST(Smoke, ThePlotterShowsATableWhosePathIsNearPathMax) {
  TempDir dir;
  std::string table = dir.path().string();
  while (table.size() < PATH_MAX - 300) table += "/" + std::string(200, 'd');
  fs::create_directories(table);
  table += "/" + std::string(PATH_MAX - 20 - table.size(), 'f') + ".plt";
  write_text(table, "Time Vout IL \n 0 0 1\n 1e-5 0.48 2\n");
  Display* held = XOpenDisplay(nullptr);  // as above: the server must not reset meanwhile
  ASSERT_NE(held, nullptr) << "no X server";
  const std::string log = (dir.path() / "stderr.txt").string();
  const pid_t pid = StartPlotter(dir.path(), std::getenv("PATH"), table, log);
  ASSERT_GE(pid, 0);
  // The window names the table by the end of its path.
  const std::string title = "rurozuze - ..." + table.substr(table.size() - (rurozuze::kMaxShownBytes - 3));
  unsigned long window = 0;
  int status = -1, exited = 0;
  for (int i = 0; i < 400 && !window && exited != pid; ++i, usleep(25000)) {
    window = ShownWindowTitled(title, 100);
    exited = waitpid(pid, &status, WNOHANG);
  }
  EXPECT_NE(window, 0u) << "no plot window: " << slurp(log);
  EXPECT_EQ(exited, 0) << "ended with the window: " << slurp(log);
  for (int i = 0; i < 400 && exited != pid; ++i, usleep(25000)) {
    if (window && i % 8 == 0) CloseAsWindowManager(window);
    exited = waitpid(pid, &status, WNOHANG);
  }
  if (exited != pid) kill(pid, SIGKILL), waitpid(pid, &status, 0);
  EXPECT_EQ(exited, pid) << "still running after its window closed";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(slurp(log).find("X11 aborted"), std::string::npos) << slurp(log);
  XCloseDisplay(held);
}
