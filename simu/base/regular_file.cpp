#include "simu/base/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

file_check open_regular_file(const char* path, std::size_t max_bytes, int& fd) {
  fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return file_check::cannot_open;
  struct stat st;
  file_check result = file_check::ok;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    result = file_check::cannot_open;
  } else if (!S_ISREG(st.st_mode)) {
    result = file_check::not_regular;
  } else if (static_cast<unsigned long long>(st.st_size) > max_bytes) {
    result = file_check::too_large;
  }
  if (result != file_check::ok) {
    ::close(fd);
    fd = -1;
    return result;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return result;
}

namespace {

// Reads fd to its end, or until text would pass max_bytes: too_large then, unless
// stop_at_max, which keeps the first max_bytes and says ok. Closes fd.
file_check read_into(int fd, std::size_t max_bytes, bool stop_at_max, std::string& text) {
  file_check result = file_check::ok;
  char buf[65536];
  for (;;) {
    const std::size_t room = max_bytes - text.size();
    const std::size_t want = stop_at_max ? std::min(room, sizeof buf) : sizeof buf;
    if (want == 0) break;
    const ssize_t got = ::read(fd, buf, want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result = file_check::cannot_open;
      break;
    }
    if (got == 0) break;
    if (static_cast<std::size_t>(got) > room) {  // grown since it was measured
      result = file_check::too_large;
      break;
    }
    text.append(buf, static_cast<std::size_t>(got));
  }
  ::close(fd);
  if (result != file_check::ok) text.clear();
  return result;
}

}  // namespace

file_check read_regular_file(const char* path, std::size_t max_bytes, std::string& text) {
  text.clear();
  int fd;
  const file_check opened = open_regular_file(path, max_bytes, fd);
  if (opened != file_check::ok) return opened;
  return read_into(fd, max_bytes, false, text);
}

file_check read_regular_file_head(const char* path, std::size_t max_bytes, std::string& text) {
  text.clear();
  int fd;
  const file_check opened = open_regular_file(path, static_cast<std::size_t>(-1), fd);
  if (opened != file_check::ok) return opened;
  return read_into(fd, max_bytes, true, text);
}

bool is_there_but_not_regular(const char* path) {
  struct stat st;
  return ::stat(path, &st) == 0 && !S_ISREG(st.st_mode);
}

std::string refusal_text(file_check result, const std::string& name, std::size_t max_bytes) {
  switch (result) {
    case file_check::not_regular:
      return "File " + name + " is not a regular file.";
    case file_check::too_large:
      return "File " + name + " is larger than " + std::to_string(max_bytes) + " bytes.";
    case file_check::ok:
    case file_check::cannot_open:
      break;
  }
  return {};
}
