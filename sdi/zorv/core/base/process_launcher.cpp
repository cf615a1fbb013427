#include "sdi/zorv/core/base/process_launcher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zorv {

bool PosixProcessLauncher::StartDetached(const std::string& program, const std::vector<std::string>& argv,
                                         std::string& why) {
  // Everything the children need is made before fork: after it, only
  // async-signal-safe calls (the editor has the toolkit's threads).
  std::vector<std::string> args = argv;
  std::vector<char*> cargv;
  for (std::string& a : args) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    why = std::strerror(errno);
    return false;
  }
  const pid_t middle = fork();
  if (middle < 0) {
    why = std::strerror(errno);
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (middle == 0) {
    close(report[0]);
    setsid();
    const pid_t child = fork();
    if (child == 0) {
      // The editor ignores SIGXFSZ for its own writes; an ignored signal survives
      // exec, and the programs it starts expect the usual one.
      struct sigaction usual {};
      usual.sa_handler = SIG_DFL;
      sigaction(SIGXFSZ, &usual, nullptr);
      execv(program.c_str(), cargv.data());
      const int err = errno;  // the exec failed: say why through the pipe
      (void)!write(report[1], &err, sizeof err);
      _exit(127);
    }
    if (child < 0) {
      const int err = errno;
      (void)!write(report[1], &err, sizeof err);
    }
    _exit(0);
  }
  close(report[1]);
  int err = 0;
  ssize_t got;
  do got = read(report[0], &err, sizeof err);
  while (got < 0 && errno == EINTR);
  close(report[0]);
  while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
  }
  // The pipe closed on a successful exec without a word.
  if (got == 0) return true;
  why = got == static_cast<ssize_t>(sizeof err) ? std::strerror(err) : "the program could not be started";
  return false;
}

std::string ExecutableFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : exe.parent_path().string();
}

}  // namespace zorv
