// The zorv program itself, started as a separate process on the X server and watched
// from outside: its window, its picture, and closing it as a window manager would.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/temp_dir.h"
#include "zorv/smoke/gui_session.h"
#include "zorv/smoke/buck_circuit.h"
#include "zorv/smoke/screen_grab.h"

namespace {

// How many pixels of the window are the elements' blue.
int BluePixels(Display* d, Window w) {
  XWindowAttributes a{};
  if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable) return 0;
  XImage* shot = XGetImage(d, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
  int blue = 0;
  for (int y = 0; shot && y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) blue += (XGetPixel(shot, x, y) & 0xFFFFFF) == 0x0000FF;
  if (shot) XDestroyImage(shot);
  return blue;
}

// Starts the editor on `path`; its pid, and in *w its main window once shown (0 when
// none showed within 10 s).
pid_t StartZorvShowing(const std::string& path, Window* w) {
  // Held open until the window shows: a server left without clients resets, and the
  // program could connect during the reset.
  Display* held = XOpenDisplay(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    execl(ZORV_PROGRAM, "zorv", "--nosplash", path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  *w = 0;
  for (int i = 0; pid > 0 && i < 400 && !*w; ++i, usleep(25000)) *w = WindowTitled("ZORV - " + path);
  if (held) XCloseDisplay(held);
  return pid;
}

}  // namespace

TEST(Smoke, TheProgramShowsTheFileAndClosesOnRequest) {
  TempDir dir;
  const std::string path = (dir.path() / "buck.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  UseFreshHome(dir.path());
  Display* d = XOpenDisplay(nullptr);
  ASSERT_NE(d, nullptr) << "no X server";
  Window w = 0;
  const pid_t pid = StartZorvShowing(path, &w);
  ASSERT_GE(pid, 0);
  EXPECT_NE(w, 0u) << "no window titled ZORV - " << path;
  if (w) {
    int blue = 0;  // the circuit is drawn: blue strokes of its elements and wires
    for (int i = 0; i < 200 && blue < 200; ++i, usleep(25000)) blue = BluePixels(d, w);
    EXPECT_GE(blue, 200);
    EXPECT_TRUE(CloseAsWindowManager("ZORV - " + path));
  }
  int status = -1, exited = 0;  // the program ends by itself, with status 0
  for (int i = 0; i < 400 && exited != pid; ++i, usleep(25000)) exited = waitpid(pid, &status, WNOHANG);
  if (exited != pid) kill(pid, SIGKILL), waitpid(pid, &status, 0);
  EXPECT_EQ(exited, pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  XCloseDisplay(d);
}

// SIGINT, SIGTERM and SIGHUP end the program as usual for the signal and leave no
// undo folder with snapshots of the circuit behind.
TEST(Smoke, ASignalEndingTheProgramRemovesItsUndoFolder) {
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    TempDir dir;
    const std::string path = (dir.path() / "buck.ckt").string();
    ASSERT_TRUE(WriteBuckCircuit(path));
    UseFreshHome(dir.path());  // the undo folder goes into XDG_RUNTIME_DIR, the test's folder
    Window w = 0;
    const pid_t pid = StartZorvShowing(path, &w);
    ASSERT_GE(pid, 0);
    EXPECT_NE(w, 0u) << "no window titled ZORV - " << path;
    auto undoFolders = [&] {
      int n = 0;
      for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        n += e.path().filename().string().rfind("zorv-", 0) == 0;
      return n;
    };
    EXPECT_EQ(undoFolders(), 1) << sig;
    kill(pid, sig);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << sig << " " << status;
    EXPECT_EQ(undoFolders(), 0) << sig;
  }
}
