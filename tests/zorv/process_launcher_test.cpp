// Starting an external program: started only when its image replaced the child,
// otherwise false with the system's reason; also when the system refuses a new process.
#include <dlfcn.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "sdi/zorv/core/base/process_launcher.h"

namespace {
bool g_refuseFork = false;
}

// Stands in for the C library's fork in this program; forwards unless refusing.
extern "C" pid_t fork() {
  if (g_refuseFork) {
    errno = EAGAIN;
    return -1;
  }
  static auto* real = reinterpret_cast<pid_t (*)()>(dlsym(RTLD_NEXT, "fork"));
  return real();
}

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

// Each start closes both ends of its report pipe.
TEST(ProcessLauncher, StartsLeaveNoDescriptorOpen) {
  auto open_descriptors = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator());
  };
  const auto before = open_descriptors();
  std::string why;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(zorv::PosixProcessLauncher().StartDetached("/bin/true", {"true"}, why));
  EXPECT_EQ(open_descriptors(), before);
}

TEST(ProcessLauncher, AForkRefusedSaysWhy) {
  std::string why;
  g_refuseFork = true;
  const bool started = zorv::PosixProcessLauncher().StartDetached("/bin/true", {"true"}, why);
  g_refuseFork = false;
  EXPECT_FALSE(started);
  EXPECT_EQ(why, std::strerror(EAGAIN));
}

// The editor ignores SIGXFSZ; a program it starts has the signal at its default action
// (the kernel's list of ignored signals, read by the child itself, lacks it).
TEST(ProcessLauncher, TheChildHasSIGXFSZAtItsDefault) {
  TempDir dir;
  const std::string fifo = (dir.path() / "status").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto ignored = [](const std::string& status) {  // SigIgn: a hexadecimal mask, bit n-1 for signal n
    const std::size_t at = status.find("SigIgn:");
    return at != std::string::npos && (std::stoull(status.substr(at + 7), nullptr, 16) >> (SIGXFSZ - 1) & 1) == 1;
  };
  struct sigaction was {}, ignore {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &was);
  std::ifstream self("/proc/self/status");
  const bool editorIgnores = ignored(std::string(std::istreambuf_iterator<char>(self), {}));
  std::string why;
  const bool started = zorv::PosixProcessLauncher().StartDetached(
      "/bin/sh", {"sh", "-c", "exec cat /proc/self/status > \"$0\"", fifo}, why);
  sigaction(SIGXFSZ, &was, nullptr);
  EXPECT_TRUE(editorIgnores);
  ASSERT_TRUE(started) << why;
  ::alarm(60);  // a child that never wrote would end the test here
  std::ifstream child(fifo);  // opened once the child opens its end
  const std::string status(std::istreambuf_iterator<char>(child), {});
  ::alarm(0);
  ASSERT_NE(status.find("SigIgn:"), std::string::npos) << status;
  EXPECT_FALSE(ignored(status)) << status;
}
