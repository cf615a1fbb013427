// The plotting program on a table without rows, run as its own process on the X
// server: it says so in a box, and once the box is closed it has ended, with no
// gnuplot started.
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

namespace {

namespace fs = std::filesystem;

// The largest shown window in the tree whose name is `title` (the toolkit names
// its hidden helper windows after the program too).
Window FindShown(Display* d, Window w, const std::string& title, Window found = 0) {
  char* name = nullptr;
  const bool named = XFetchName(d, w, &name) && name && title == name;
  if (name) XFree(name);
  XWindowAttributes a{}, best{};
  if (named && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable &&
      (!found || (XGetWindowAttributes(d, found, &best) && a.width * a.height > best.width * best.height)))
    found = w;
  Window parent = 0, root = 0, *children = nullptr;
  unsigned int n = 0;
  if (!XQueryTree(d, w, &root, &parent, &children, &n)) return found;
  for (unsigned int i = 0; i < n; ++i) found = FindShown(d, children[i], title, found);
  if (children) XFree(children);
  return found;
}

}  // namespace

TEST(Smoke, ThePlotterSaysATableWithoutRowsHasNoneAndEnds) {
  TempDir dir;
  const fs::path table = dir.path() / "empty run.plt";
  write_text(table.string(), "Time Vout IL \n");
  // A gnuplot on the PATH that notes each start.
  const fs::path bin = dir.path() / "bin", started = dir.path() / "gnuplot-started";
  fs::create_directory(bin);
  write_text((bin / "gnuplot").string(), "#!/bin/sh\ntouch '" + started.string() + "'\nexec /usr/bin/gnuplot \"$@\"\n");
  fs::permissions(bin / "gnuplot", fs::perms::owner_all);
  Display* d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr) << "no X server";
  const std::string log = (dir.path() / "stderr.txt").string();
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    setenv("PATH", (bin.string() + ":" + std::getenv("PATH")).c_str(), 1);
    if (!freopen(log.c_str(), "w", stderr)) _exit(126);
    std::string argument = table.string();
    for (char& c : argument) c = c == ' ' ? '*' : c;  // as the editor passes it
    execl(ZORV_RUROZUZE, "rurozuze", argument.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  Window box = 0;
  // The box, once it is the size of one (not its first small frame).
  XWindowAttributes a{};
  for (int i = 0; i < 400 && !(box && XGetWindowAttributes(d, box, &a) && a.width > 100); ++i, usleep(25000))
    box = FindShown(d, DefaultRootWindow(d), "rurozuze");
  EXPECT_NE(box, 0u) << "no message box";
  // Closed as a window manager would, asked again until the program has ended
  // (a box that is not ready yet misses the request).
  int status = -1, exited = 0;
  for (int i = 0; i < 400 && exited != pid; ++i, usleep(25000)) {
    if (box && i % 8 == 0) {
      XEvent close{};
      close.xclient.type = ClientMessage;
      close.xclient.window = box;
      close.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
      close.xclient.format = 32;
      close.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
      close.xclient.data.l[1] = CurrentTime;
      XSendEvent(d, box, False, NoEventMask, &close);
      XFlush(d);
    }
    exited = waitpid(pid, &status, WNOHANG);
  }
  if (exited != pid) kill(pid, SIGKILL), waitpid(pid, &status, 0);
  EXPECT_EQ(exited, pid) << "still running after its box closed";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_FALSE(fs::exists(started)) << "gnuplot was started";
  EXPECT_NE(slurp(log).find("the table holds no rows"), std::string::npos) << slurp(log);
  XCloseDisplay(d);
}
