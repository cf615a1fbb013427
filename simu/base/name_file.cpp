#include "simu/base/name_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "simu/base/atomic_file.h"
#include "simu/base/console.h"
#include "simu/base/messages.h"
#include "simu/base/regular_file.h"

namespace {

// Whether the file is writable and holds exactly text. Read without blocking, and only
// a regular file of that size: a pipe or a device never holds it.
bool holds(const char* file, const std::string& text) {
  std::string have;
  return read_regular_file(file, text.size(), have) == file_check::ok && have == text && ::access(file, W_OK) == 0;
}

}  // namespace

std::string netlist_based_name(const char* netlist, const char* ext) {
  std::string name(netlist);
  if (name.size() >= 2 && name.compare(name.size() - 2, 2, ".m") == 0) name.erase(name.size() - 2);
  return name + ext;
}

void write_names(const char* file, const std::vector<std::string>& names, const char* message) {
  std::string text;
  for (const std::string& s : names) text.append(s).push_back('\n');
  if (holds(file, text)) return;
  atomic_file out;
  std::string reason;
  if (!out.open(file)) {
    reason = out.why();
  } else if (std::fwrite(text.data(), 1, text.size(), out.file()) != text.size()) {
    reason = write_failure_text(errno) + "!";
    out.discard();
  } else if (!out.commit()) {
    reason = out.failure_text() + "!";
  } else {
    return;
  }
  // The output store's last question ends without a line end.
  sim_fprintf(stderr, "\n");
  throw_text(std::string(message) + ": " + reason + "\n");
}
