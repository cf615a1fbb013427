#include "sdi/circuit_file_atomic.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace sdi {

namespace {

// The mode a plainly created file would get, or the mode of the file replaced.
mode_t target_mode(const std::filesystem::path& target) {
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

write_outcome write_file_atomically(const std::filesystem::path& path, const std::function<void(std::FILE*)>& body) {
  std::error_code ec;
  // Saving through a symbolic link replaces the file it names, not the link.
  std::filesystem::path target = path;
  if (std::filesystem::is_symlink(path, ec)) {
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    if (!ec) target = resolved;
  }
  // What could not be opened for writing in place is not replaced either: a
  // folder, or a file its owner made read-only.
  if (std::filesystem::exists(target, ec) &&
      (std::filesystem::is_directory(target, ec) || ::access(target.c_str(), W_OK) != 0))
    return write_outcome::not_created;
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  if (!std::filesystem::is_directory(folder, ec)) return write_outcome::not_created;
  std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return write_outcome::not_created;
  ::fchmod(fd, target_mode(target));
  std::FILE* f = ::fdopen(fd, "wb");
  if (!f) {
    ::close(fd);
    ::unlink(temp.c_str());
    return write_outcome::not_created;
  }
  body(f);
  bool ok = std::fflush(f) == 0 && !std::ferror(f);
  ok = ::fsync(::fileno(f)) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    return write_outcome::not_written;
  }
  return write_outcome::written;
}

}  // namespace sdi
