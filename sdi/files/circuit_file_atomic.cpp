#include "sdi/files/circuit_file_atomic.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace sdi {

namespace {

// Taken when the program starts: a temporary older than this was left by a process
// that ended before it could rename or remove it.
const std::filesystem::file_time_type process_start = std::filesystem::file_time_type::clock::now();

// ".<name>.XXXXXX", the temporaries mkstemp makes for the target name.
bool is_temporary_of(const std::string& file, const std::string& name) {
  const std::string prefix = "." + name + ".";
  if (file.size() != prefix.size() + 6 || file.compare(0, prefix.size(), prefix) != 0) return false;
  for (std::size_t i = prefix.size(); i < file.size(); ++i) {
    const char c = file[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

// A save killed between creating its temporary and renaming it leaves the temporary
// behind, hidden; the next save of the same target removes it.
void remove_stale_temporaries(const std::filesystem::path& folder, const std::string& name) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fe;
    if (!is_temporary_of(it->path().filename().string(), name) || !it->is_regular_file(fe) ||
        it->is_symlink(fe))
      continue;
    const auto written = std::filesystem::last_write_time(it->path(), fe);
    if (!fe && written < process_start) std::filesystem::remove(it->path(), fe);
  }
}

// The rename is durable only once the folder itself is on disk.
void sync_folder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

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
  remove_stale_temporaries(folder, target.filename().string());
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
  sync_folder(folder);
  return write_outcome::written;
}

}  // namespace sdi
