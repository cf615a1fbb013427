// The launcher when the system refuses a new process: false, and why.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

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

TEST(ProcessLauncher, AForkRefusedSaysWhy) {
  std::string why;
  g_refuseFork = true;
  const bool started = zorv::PosixProcessLauncher().StartDetached("/bin/true", {"true"}, why);
  g_refuseFork = false;
  EXPECT_FALSE(started);
  EXPECT_EQ(why, std::strerror(EAGAIN));
}
