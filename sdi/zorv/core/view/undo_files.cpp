#include "sdi/zorv/core/view/undo_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <utility>

namespace zorv {

namespace {

std::string Reason(int error) { return std::strerror(error); }

// A folder that is ours alone: a real folder (lstat: a link is not one), owned by
// this user, with no access for anyone else.
bool PrivateFolder(const std::filesystem::path& folder) {
  struct stat st {};
  return lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
         (st.st_mode & 0777) == 0700;
}

}  // namespace

std::filesystem::path UndoFiles::DefaultBase() {
  std::error_code ec;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
      runtime && *runtime && std::filesystem::is_directory(runtime, ec))
    return runtime;
  return std::filesystem::temp_directory_path(ec);
}

UndoFiles::UndoFiles() { MakePrivate(DefaultBase()); }

UndoFiles::UndoFiles(std::filesystem::path folder) {
  if (mkdir(folder.c_str(), 0700) == 0) {
    chmod(folder.c_str(), 0700);  // whatever the umask took away
    if (PrivateFolder(folder)) {
      m_folder = std::move(folder);
      return;
    }
    rmdir(folder.c_str());
  } else if (errno == EEXIST && PrivateFolder(folder)) {
    m_folder = std::move(folder);
    return;
  }
  // Made ahead by someone else, or not a folder: not used.
  MakePrivate(folder.parent_path().empty() ? std::filesystem::path(".") : folder.parent_path());
}

void UndoFiles::MakePrivate(const std::filesystem::path& base) {
  std::string name = (base / "zorv-XXXXXX").string();
  if (mkdtemp(name.data())) {
    m_folder = name;
    return;
  }
  m_problem = "no folder for the undo files could be made in " + base.string() + ": " + Reason(errno);
}

UndoFiles::~UndoFiles() {
  if (m_folder.empty()) return;
  for (const std::filesystem::path& p : Paths()) {
    if (p == m_folder) rmdir(p.c_str());  // only when nothing else was put there
    else unlink(p.c_str());
  }
}

std::vector<std::filesystem::path> UndoFiles::Paths() const {
  if (m_folder.empty()) return {};
  return {Backup(), Backup2(), Clipboard(), Temporary(), m_folder};
}

bool UndoFiles::Store(const std::filesystem::path& target, const Writer& write, std::string& why) const {
  if (m_folder.empty()) {
    why = m_problem;
    return false;
  }
  const std::filesystem::path temp = Temporary();
  unlink(temp.c_str());  // left by a failed write; a link there is removed, not followed
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  std::FILE* f = fd < 0 ? nullptr : fdopen(fd, "wb");
  if (!f) {
    why = Reason(errno);
    if (fd >= 0) close(fd);
    unlink(temp.c_str());
    return false;
  }
  errno = 0;  // the first failing write's reason survives to the check below
  if (write) write(f);
  bool ok = std::fflush(f) == 0 && !std::ferror(f);
  int error = ok ? 0 : (errno ? errno : EIO);
  if (std::fclose(f) != 0 && ok) ok = false, error = errno ? errno : EIO;
  // rename replaces whatever is at the target, a link included, without following it.
  if (ok && std::rename(temp.c_str(), target.c_str()) != 0) ok = false, error = errno;
  if (!ok) {
    why = Reason(error);
    unlink(temp.c_str());
  }
  return ok;
}

bool UndoFiles::IsPlainFile(const std::filesystem::path& file) {
  std::error_code ec;
  return std::filesystem::symlink_status(file, ec).type() == std::filesystem::file_type::regular;
}

void UndoFiles::RemoveStrangers() const {
  if (m_folder.empty()) return;
  std::error_code ec;
  for (const std::filesystem::path& p : {Backup(), Backup2(), Clipboard()}) {
    const auto type = std::filesystem::symlink_status(p, ec).type();
    // unlink removes a link itself; a folder there stays, and its writers and readers fail.
    if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular &&
        type != std::filesystem::file_type::directory)
      unlink(p.c_str());
  }
}

}  // namespace zorv
