// Starting an external program without waiting for it.
//
//     PosixProcessLauncher launcher;
//     std::string why;
//     if (!launcher.StartDetached("/opt/zorv/rurozuze", {"rurozuze", "/tmp/c.plt"}, why))
//       status(why);   // "No such file or directory", ...
//
// Started means the program's image replaced the child: a missing or
// non-executable program is a failure, not a process id. The child is never
// left as a zombie: it runs as a grandchild that init reaps. It starts with
// SIGXFSZ at its default action, whatever the editor set for itself.
#pragma once
#include <string>
#include <vector>

namespace zorv {

class ProcessLauncher {
public:
  virtual ~ProcessLauncher() = default;
  // argv[0] is the name the program sees. False, with the reason, when it did not start.
  virtual bool StartDetached(const std::string& program, const std::vector<std::string>& argv,
                             std::string& why) = 0;
};

class PosixProcessLauncher : public ProcessLauncher {
public:
  bool StartDetached(const std::string& program, const std::vector<std::string>& argv, std::string& why) override;
};

// The folder of the running program's own executable (no trailing "/").
std::string ExecutableFolder();

}  // namespace zorv
