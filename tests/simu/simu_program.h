// Running the built simu program (ZORV_SIMU) in a child process, in the current folder,
// under optional resource limits; its exit code and what it printed (both streams).
// start_simu_program runs it in the background instead (its output to a file), for
// tests that act on a run in progress; wait_simu_program gives its exit code.
#pragma once
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

struct program_run {
  int exit_code = -1;   // 128 + the signal when it was killed
  std::string output;
};

struct program_limits {
  rlim_t address_space = 0;   // bytes of virtual memory; 0: no limit
  rlim_t file_size = 0;       // bytes per written file (a fuller disk); 0: no limit
  uid_t user = 0;             // the user it runs as (a test run as root); 0: this one
  bool errors_only = false;   // only the error stream is kept (standard output to /dev/null)
  const char* program = ZORV_SIMU;   // the program file run
};

// Whether this build runs under AddressSanitizer, whose shadow memory no address-space
// limit leaves room for.
constexpr bool address_sanitized =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

// The exit code of a program started in the background; 128 + the signal that ended it.
inline int wait_simu_program(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Starts the program with both streams on fd, which is closed here; its pid.
inline pid_t spawn_simu_program(const std::vector<std::string>& words, int fd, program_limits limits = {}) {
  std::vector<std::string> keep{"simu"};
  keep.insert(keep.end(), words.begin(), words.end());
  std::vector<char*> argv;
  for (std::string& w : keep) argv.push_back(w.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(limits.errors_only ? ::open("/dev/null", O_WRONLY) : fd, 1);
    ::dup2(fd, 2);
    // A shell without job control starts background jobs with SIGINT ignored.
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) ::signal(sig, SIG_DFL);
    if (limits.file_size) {
      ::signal(SIGXFSZ, SIG_DFL);   // the program itself must keep a write past the limit from killing it
      const rlimit r{limits.file_size, limits.file_size};
      ::setrlimit(RLIMIT_FSIZE, &r);
    }
    if (limits.user && (::setgroups(0, nullptr) != 0 || ::setgid(limits.user) != 0 || ::setuid(limits.user) != 0))
      ::_exit(126);
    ::alarm(300);   // a run that blocks (on a pipe, say) ends instead of the test hanging
    if (limits.address_space) {
      const rlimit r{limits.address_space, limits.address_space};
      ::setrlimit(RLIMIT_AS, &r);
    }
    ::execv(limits.program, argv.data());
    ::_exit(127);
  }
  ::close(fd);
  return pid;
}

inline program_run run_simu_program(const std::vector<std::string>& words, program_limits limits = {}) {
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return {};
  const pid_t pid = spawn_simu_program(words, pipe_fds[1], limits);
  program_run run;
  char buf[4096];
  for (ssize_t got; (got = ::read(pipe_fds[0], buf, sizeof buf)) != 0;) {
    if (got > 0) run.output.append(buf, static_cast<std::size_t>(got));
    else if (errno != EINTR) break;
  }
  ::close(pipe_fds[0]);
  run.exit_code = wait_simu_program(pid);
  return run;
}

// Starts the program in the background with both streams going to the file out; its pid.
inline pid_t start_simu_program(const std::vector<std::string>& words, const std::string& out = "/dev/null",
                                program_limits limits = {}) {
  return spawn_simu_program(words, ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644), limits);
}

// A copy of the program that any user may run, for runs as another user when the build
// lies in a folder only its owner enters (a clone under /root or in a mktemp -d folder):
// simu needs nothing beside it (it is linked statically). It lies in a fresh folder of the
// temporary folder, removed when this test program ends; empty when it cannot be made.
inline std::string simu_for_any_user() {
  static const struct copy {
    std::filesystem::path folder, program;
    copy() {
      std::string tmpl = (std::filesystem::temp_directory_path() / "zorv-simu-XXXXXX").string();
      if (!::mkdtemp(tmpl.data())) return;
      folder = tmpl;
      std::error_code ec;
      std::filesystem::copy_file(ZORV_SIMU, folder / "simu", ec);
      if (ec || ::chmod(folder.c_str(), 0755) != 0 || ::chmod((folder / "simu").c_str(), 0755) != 0) return;
      program = folder / "simu";
    }
    ~copy() {
      std::error_code ec;
      if (!folder.empty()) std::filesystem::remove_all(folder, ec);
    }
  } made;
  return made.program.string();
}

// Whether user may start program: false when the program's folders are closed to them.
inline bool runs_as(uid_t user, const std::string& program) {
  return !program.empty() && run_simu_program({}, {0, 0, user, true, program.c_str()}).exit_code != 127;
}
