#include "simu/base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

mode_t target_mode(const std::filesystem::path& target) {
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

std::filesystem::path folder_of(const std::filesystem::path& target) {
  std::filesystem::path folder = target.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace

bool atomic_file::open(const std::filesystem::path& path) {
  discard();
  std::error_code ec;
  target_ = path;
  if (std::filesystem::is_symlink(path, ec)) {
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    if (!ec) target_ = resolved;
  }
  // What could not be opened for writing in place is not replaced either: a folder,
  // or a file its owner made read-only.
  if (std::filesystem::exists(target_, ec) &&
      (std::filesystem::is_directory(target_, ec) || ::access(target_.c_str(), W_OK) != 0))
    return false;
  // A device or a pipe ("/dev/stdout") is written in place: it has no old content to
  // keep, and a file renamed over it would replace the device.
  if (std::filesystem::exists(target_, ec) && !std::filesystem::is_regular_file(target_, ec)) {
    f_ = std::fopen(target_.c_str(), "wb");
    in_place_ = f_ != nullptr;
    return in_place_;
  }
  const std::filesystem::path folder = folder_of(target_);
  if (!std::filesystem::is_directory(folder, ec)) return false;
  remove_stale_temporaries(folder, target_.filename().string());
  temp_ = (folder / ("." + target_.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp_.data());
  if (fd < 0) {
    temp_.clear();
    return false;
  }
  ::fchmod(fd, target_mode(target_));
  f_ = ::fdopen(fd, "wb");
  if (!f_) {
    ::close(fd);
    discard();
    return false;
  }
  return true;
}

bool atomic_file::commit() {
  if (!f_) return false;
  bool ok = std::fflush(f_) == 0 && !std::ferror(f_);
  if (in_place_) {
    ok = std::fclose(f_) == 0 && ok;
    f_ = nullptr;
    in_place_ = false;
    return ok;
  }
  ok = ::fsync(::fileno(f_)) == 0 && ok;
  ok = std::fclose(f_) == 0 && ok;
  f_ = nullptr;
  if (!ok || ::rename(temp_.c_str(), target_.c_str()) != 0) {
    discard();
    return false;
  }
  temp_.clear();
  sync_folder(folder_of(target_));
  return true;
}

void atomic_file::discard() {
  if (f_) std::fclose(f_);
  f_ = nullptr;
  in_place_ = false;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}
