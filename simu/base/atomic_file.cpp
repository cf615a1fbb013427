#include "simu/base/atomic_file.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>

// The C library's open, behind a name of this program's own (weak, so never inlined).
extern "C" __attribute__((weak)) int zorv_open_result_name(const char* path, int flags) {
  return ::open(path, flags);
}

namespace {

// What no user names a file: temporaries carry it, the sweep looks for nothing else.
const char marker[] = ".~zorv-tmp.";
constexpr std::size_t random_part = 6;   // mkstemp's XXXXXX

// The temporaries being written, for the signal handler: their names, or null, and the
// process that writes each (a child forked before its exec cleans up nothing of its
// parent's). A name lives in its atomic_file's temp_ and stays put while it is listed.
constexpr int live_slots = 64;
std::atomic<const char*> live[live_slots];
std::atomic<pid_t> live_writer[live_slots];
std::atomic<void (*)()> signal_hook{nullptr};
std::atomic<pid_t> hook_owner{0};
const int cleaned_signals[] = {SIGINT, SIGTERM, SIGHUP};
// The handler reads these: a lock inside an atomic could be held by the code it interrupted.
static_assert(std::atomic<const char*>::is_always_lock_free && std::atomic<pid_t>::is_always_lock_free &&
              std::atomic<void (*)()>::is_always_lock_free);

// The umask, read once before any thread exists: learning it later means setting it,
// which another thread creating a file at that moment would see.
mode_t read_umask() {
  if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status)) found = std::sscanf(line, "Umask: %o", &mask) == 1;
    std::fclose(status);
    if (found) return static_cast<mode_t>(mask);
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}
const mode_t start_umask = read_umask();

bool list_live(const char* name) {
  for (int i = 0; i < live_slots; ++i) {
    const char* empty = nullptr;
    if (live[i].compare_exchange_strong(empty, name)) {
      live_writer[i].store(::getpid());
      return true;
    }
  }
  return false;   // then only a later sweep removes it, once it is abandoned
}

void unlist_live(const char* name) {
  for (std::atomic<const char*>& slot : live) {
    const char* here = name;
    slot.compare_exchange_strong(here, nullptr);
  }
}

void on_signal(int sig) {
  const pid_t self = ::getpid();
  for (int i = 0; i < live_slots; ++i) {
    const char* name = live[i].load();
    if (name && live_writer[i].load() == self) ::unlink(name);
  }
  if (void (*hook)() = signal_hook.load(); hook && hook_owner.load() == self) hook();
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  sigemptyset(&dfl.sa_mask);
  ::sigaction(sig, &dfl, nullptr);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, sig);
  ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
  ::raise(sig);
}

void install_handlers() {
  static std::atomic<bool> installed{false};
  if (installed.exchange(true)) return;
  struct sigaction act {};
  act.sa_handler = on_signal;
  sigemptyset(&act.sa_mask);
  for (int sig : cleaned_signals) sigaddset(&act.sa_mask, sig);
  for (int sig : cleaned_signals) {
    struct sigaction old {};
    if (::sigaction(sig, nullptr, &old) == 0 && !(old.sa_flags & SA_SIGINFO) && old.sa_handler == SIG_DFL)
      ::sigaction(sig, &act, nullptr);
  }
}

// Holds the three signals back while a temporary is made and listed, so that none is
// left between the two.
class signals_held {
public:
  signals_held() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : cleaned_signals) sigaddset(&set, sig);
    ::pthread_sigmask(SIG_BLOCK, &set, &old_);
  }
  ~signals_held() { ::pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
  signals_held(const signals_held&) = delete;
  signals_held& operator=(const signals_held&) = delete;

private:
  sigset_t old_;
};

std::filesystem::path folder_of(const std::filesystem::path& target) {
  std::filesystem::path folder = target.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

// The longest file name the folder takes.
std::size_t name_max(const std::filesystem::path& folder) {
  const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

// ".<name>" + marker, with name cut (never inside a UTF-8 character) so that the
// temporary's name fits the folder's limit: a valid 255-byte name still gets one.
std::string temporary_prefix(std::size_t limit, const std::string& name) {
  const std::size_t fixed = 1 + (sizeof marker - 1) + random_part;
  std::size_t room = limit > fixed ? limit - fixed : 0;
  if (name.size() > room) {
    while (room > 0 && (static_cast<unsigned char>(name[room]) & 0xC0) == 0x80) --room;
  } else {
    room = name.size();
  }
  return "." + name.substr(0, room) + marker;
}

bool is_temporary(const std::string& file, const std::string& prefix) {
  if (file.size() != prefix.size() + random_part || file.compare(0, prefix.size(), prefix) != 0) return false;
  for (std::size_t i = prefix.size(); i < file.size(); ++i) {
    const char c = file[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

// Removes the temporaries of this prefix that are ours and whose lock is free. The lock
// is held while the name is removed, and the name must still be the locked file.
void remove_abandoned(const std::filesystem::path& folder, const std::string& prefix) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!is_temporary(it->path().filename().string(), prefix)) continue;
    const std::string file = it->path().string();
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st, now;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(file.c_str(), &now) == 0 && now.st_dev == st.st_dev &&
        now.st_ino == st.st_ino)
      ::unlink(file.c_str());
    ::close(fd);
  }
}

// The rename is durable only once the folder itself is on disk.
void sync_folder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The mode of the file that replaces target (exists: what lstat found there). Only the
// permission bits, never setuid, setgid or sticky, and only from a file of this user:
// another user's choice of who may rewrite it is not carried over to ours.
mode_t replacement_mode(bool exists, const struct stat& target) {
  if (exists && target.st_uid == ::geteuid()) return target.st_mode & 0777;
  return 0666 & ~start_umask;
}

// Whether the kernel would refuse the rename over this file: another user's file in a
// folder with the sticky bit that is not ours either (root may replace it).
bool sticky_refuses(const struct stat& file, const std::filesystem::path& folder) {
  struct stat f;
  const uid_t me = ::geteuid();
  return me != 0 && file.st_uid != me && ::stat(folder.c_str(), &f) == 0 && (f.st_mode & S_ISVTX) && f.st_uid != me;
}

// Whether a name owned by owner is another user's in a world-writable sticky folder
// (a shared /tmp): neither ours nor the folder owner's, so someone who may have put it
// there to catch what we write, the rule the kernel applies to links there.
bool foreign_in_shared_folder(uid_t owner, const std::filesystem::path& folder) {
  struct stat f;
  return owner != ::geteuid() && ::stat(folder.c_str(), &f) == 0 && (f.st_mode & S_ISVTX) && (f.st_mode & S_IWOTH) &&
         owner != f.st_uid;
}

// What a file that is neither regular nor a folder is, for a message.
const char* special_kind(const struct stat& st) {
  if (S_ISFIFO(st.st_mode)) return "pipe";
  if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "device";
  return "special file";
}

// A link whose text names no file, such as /proc/self/fd/1 to "pipe:[…]": only the
// kernel's own links in /proc, which no other user can make or change.
bool kernel_link(const std::filesystem::path& link, const std::filesystem::path& text) {
  struct statfs fs;
  return !text.is_absolute() && ::statfs(folder_of(link).c_str(), &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
}

}  // namespace

void cleanup_on_signals(void (*hook)()) {
  hook_owner.store(::getpid());
  signal_hook.store(hook);
  install_handlers();
}

std::string write_failure_text(int err) {
  if (err == ENOSPC) return "disk full";
  if (err == 0) return "write error";
  return std::strerror(err);
}

std::string open_failure_text(const atomic_file& f, const std::string& name) {
  return "can't write to disk file! " + (f.refused() ? f.why() : "\"" + name + "\": " + f.why());
}

std::string atomic_file::why() const {
  if (!why_.empty()) return why_;
  return std::strerror(error_ ? error_ : EIO);
}

bool atomic_file::fail(int err) {
  error_ = err ? err : EIO;
  return false;
}

// Follows the target's links one at a time, each under the sticky-folder rule; the
// folders on the way are the kernel's to resolve (and to protect). found is what lstat
// gave for the last name, when it exists; via_kernel_link tells that the last hop was
// a link of the kernel's whose text names no file.
bool atomic_file::resolve_links(const std::filesystem::path& path, struct stat& found, bool& exists,
                                bool& via_kernel_link) {
  target_ = path;
  via_kernel_link = false;
  for (int hops = 0;; ++hops) {
    exists = ::lstat(target_.c_str(), &found) == 0;
    // A name that cannot even be looked at (too long, a file on the way) is no absent one.
    if (!exists && errno != ENOENT) return fail(errno);
    if (!exists || !S_ISLNK(found.st_mode)) return true;
    if (hops == 40) return fail(ELOOP);
    if (foreign_in_shared_folder(found.st_uid, folder_of(target_))) {
      why_ = "\"" + target_.string() +
             "\" is a link of another user in a shared folder (not yours, not the folder owner's); not followed";
      return fail(EACCES);
    }
    std::error_code ec;
    const std::filesystem::path to = std::filesystem::read_symlink(target_, ec);
    if (ec) return fail(ec.value());
    via_kernel_link = kernel_link(target_, to);
    target_ = to.is_absolute() ? to : target_.parent_path() / to;
  }
}

// Opens what open() checked, and only that: a name swapped meanwhile (for a link to a
// file of someone else's, say) is refused, never written from its start.
bool atomic_file::open_in_place(const struct stat& checked, bool kernel_follows) {
  const int flags = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (kernel_follows ? 0 : O_NOFOLLOW);
  const std::string replaced = "\"" + target_.string() + "\" was replaced while it was opened; not written";
  const int fd = zorv_open_result_name(target_.c_str(), flags);
  if (fd < 0) {
    const int e = errno;
    if (e == ELOOP && !kernel_follows) {
      why_ = replaced;
    } else if (e == ENXIO && S_ISFIFO(checked.st_mode)) {
      why_ = "\"" + target_.string() + "\" is a pipe that no process reads";
    }
    return fail(e);
  }
  struct stat now;
  if (::fstat(fd, &now) != 0 || now.st_dev != checked.st_dev || now.st_ino != checked.st_ino || S_ISREG(now.st_mode)) {
    ::close(fd);
    why_ = replaced;
    return fail(EAGAIN);
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  f_ = ::fdopen(fd, "wb");
  if (!f_) {
    const int e = errno;
    ::close(fd);
    return fail(e);
  }
  in_place_ = true;
  return true;
}

bool atomic_file::create_temporary(mode_t mode) {
  const std::filesystem::path folder = folder_of(target_);
  const std::string name = target_.filename().string();
  const std::size_t limit = name_max(folder);
  const std::string prefix = temporary_prefix(limit, name);
  remove_abandoned(folder, prefix);
  for (int attempt = 0; attempt < 16; ++attempt) {
    int fd;
    {
      signals_held held;
      temp_ = (folder / (prefix + "XXXXXX")).string();
      fd = ::mkostemp(temp_.data(), O_CLOEXEC);
      if (fd < 0) {
        const int e = errno;
        temp_.clear();
        return fail(e);
      }
      list_live(temp_.c_str());
    }
    // Another process's sweep may have locked and removed the new name before this lock:
    // then the file is made anew.
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat st;
    if (::fstat(fd, &st) == 0 && st.st_nlink > 0) {
      ::fchmod(fd, mode);
      f_ = ::fdopen(fd, "wb");
      if (f_) return true;
      const int e = errno;
      ::close(fd);
      discard();
      return fail(e);
    }
    unlist_live(temp_.c_str());
    temp_.clear();
    ::close(fd);
  }
  return fail(EAGAIN);
}

// open's checks of the target, in its order; false when the target is refused (see
// why()). in_place: a pipe or a device, written where it is (kernel_follows: through a
// link of the kernel's); else a temporary in its folder replaces it.
bool atomic_file::check_target(const std::filesystem::path& path, struct stat& st, bool& exists, bool& in_place,
                               bool& kernel_follows) {
  discard();
  error_ = 0;
  why_.clear();
  rename_failed_ = false;
  exists = in_place = kernel_follows = false;
  bool via_kernel_link = false;
  if (!resolve_links(path, st, exists, via_kernel_link)) return false;
  // A link the walk cannot follow ("/dev/stdout" to "pipe:[…]") is the kernel's to open.
  // Any other name found absent is made through the temporary and the rename, which
  // replaces whatever appears there meanwhile and writes through nothing.
  if (!exists && via_kernel_link && ::stat(path.c_str(), &st) == 0) {
    target_ = path;
    exists = kernel_follows = true;
  }
  // What could not be opened for writing in place is not replaced either: a folder,
  // or a file its owner made read-only.
  if (exists && S_ISDIR(st.st_mode)) return fail(EISDIR);
  if (exists && S_ISSOCK(st.st_mode)) {
    why_ = "\"" + target_.string() + "\" is a socket, which takes no file; not written";
    return fail(ENXIO);
  }
  // Another user's pipe or device in a shared folder may be there to catch, or to
  // block, what we write: refused, for root too.
  if (exists && !S_ISREG(st.st_mode) && !kernel_follows && foreign_in_shared_folder(st.st_uid, folder_of(target_))) {
    why_ = "\"" + target_.string() + "\" is a " + special_kind(st) +
           " of another user in a shared folder (not yours, not the folder owner's); not written";
    return fail(EPERM);
  }
  if (exists && ::access(target_.c_str(), W_OK) != 0) return fail(errno);
  // A device or a pipe is written in place: it has no old content to keep, and a file
  // renamed over it would replace the device.
  if (exists && !S_ISREG(st.st_mode)) {
    in_place = true;
    return true;
  }
  // Known now, not at the rename after a whole run.
  const std::filesystem::path folder = folder_of(target_);
  if (exists && sticky_refuses(st, folder)) {
    why_ = "\"" + target_.string() +
           "\" is a file of another user in a shared folder (not yours, not the folder owner's); not replaced";
    return fail(EPERM);
  }
  const std::size_t limit = name_max(folder);
  if (target_.filename().string().size() > limit) return fail(ENAMETOOLONG);
  // The temporary's path is longer than the target's: it must still fit.
  const std::string temporary = (folder / temporary_prefix(limit, target_.filename().string())).string();
  if (temporary.size() + random_part >= PATH_MAX) return fail(ENAMETOOLONG);
  // The temporary is made in the folder.
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return fail(errno);
  return true;
}

bool atomic_file::check(const std::filesystem::path& path) {
  struct stat st;
  bool exists, in_place, kernel_follows;
  return check_target(path, st, exists, in_place, kernel_follows);
}

bool atomic_file::open(const std::filesystem::path& path) {
  install_handlers();
  struct stat st;
  bool exists, in_place, kernel_follows;
  if (!check_target(path, st, exists, in_place, kernel_follows)) return false;
  if (in_place) return open_in_place(st, kernel_follows);
  return create_temporary(replacement_mode(exists, st));
}

bool atomic_file::commit() {
  if (!f_) return false;
  rename_failed_ = false;
  errno = 0;
  if (std::fflush(f_) != 0 || std::ferror(f_)) {
    const int e = errno;
    discard();
    return fail(e);
  }
  if (in_place_) {
    const bool closed = std::fclose(f_) == 0;
    const int e = errno;
    f_ = nullptr;
    in_place_ = false;
    return closed || fail(e);
  }
  // Renamed while still open and locked: no sweep can take it before.
  if (::fsync(::fileno(f_)) != 0) {
    const int e = errno;
    discard();
    return fail(e);
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int e = errno;
    discard();
    rename_failed_ = true;
    return fail(e);
  }
  unlist_live(temp_.c_str());
  temp_.clear();
  std::fclose(f_);
  f_ = nullptr;
  sync_folder(folder_of(target_));
  return true;
}

std::string atomic_file::failure_text() const {
  if (!rename_failed_) return write_failure_text(error_);
  return "can't rename the finished file to \"" + target_.string() + "\": " + std::strerror(error_);
}

void atomic_file::discard() {
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    unlist_live(temp_.c_str());
    temp_.clear();
  }
  if (f_) std::fclose(f_);
  f_ = nullptr;
  in_place_ = false;
}
