// A file written whole or not at all: the text goes to a hidden temporary in the
// target's folder, which replaces the target only once every write, the flush, the sync
// and the rename succeeded. Until then, and after any failure, the previous file stays.
//
//     atomic_file f;
//     if (!f.open("a.ini")) ... f.why() ...       // no such folder, a folder, a read-only
//                                                 // file, a link refused (see below)
//     std::fprintf(f.file(), ...);
//     if (!f.commit()) ... f.failure_text() ...   // temporary removed
//
//     if (!f.check("a.ini")) ... f.why() ...      // before a run: what open would refuse,
//                                                 // without creating anything
//
// Temporaries are named ".<name>.~zorv-tmp.XXXXXX" (the name cut short when the whole
// would pass the folder's longest file name) and hold an exclusive flock from their
// creation until they are renamed or removed. Opening removes this target's temporaries
// whose lock is free: left by a process that was killed while writing. A file without
// the marker, or one that another process is writing, is never touched, so two runs
// that write one target both end whole, and the last to finish wins.
//
// Links: writing through a symbolic link replaces the file it names and keeps the link.
// In a world-writable sticky folder (a shared /tmp) a link is followed only when it
// belongs to this user or to the folder's owner, the rule the kernel applies to opens
// there; otherwise open refuses it and why() names the link. A name found absent is
// made through the temporary and the rename whatever appears there meanwhile; only a
// link of the kernel's whose text names no file ("/dev/stdout" to a pipe) is left to
// the kernel to follow. A replaced file of this user keeps its permission bits (never
// setuid, setgid or sticky); a new one, or one replacing another user's, gets the mode
// that creating it would give. A target that exists but is no regular file (a device,
// a pipe) is written in place, and only while it is what was checked (opened without
// following a link, the same file, still no regular file); a pipe that no process
// reads is refused at once instead of waited for, and so is, for root too, a pipe or
// device of another user (not the folder owner) in a world-writable sticky folder. In
// a sticky folder that is not ours, a file of another user (or a hard link to one)
// cannot be replaced: open refuses it, and why() names it.
//
// Signals: SIGINT, SIGTERM and SIGHUP remove every temporary this process is writing,
// then end it with the signal's usual status. The first open installs the handlers,
// for each of the three signals still at its default action (a SIGHUP ignored under
// nohup stays ignored).
#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>

// Installs the signal handlers now (a program with more to clean up on a signal, such
// as the editor's undo folder, calls this with its hook). hook, unless null, runs in the
// handler after the temporaries are removed and before the process ends: it must be
// async-signal-safe (unlink, rmdir; no allocation, no stdio, no locks). A later call
// replaces the hook. Both the temporaries and the hook belong to the process that made
// them: in a child forked before its exec a signal removes nothing of the parent's.
void cleanup_on_signals(void (*hook)() = nullptr);

// A failed write's reason for a message: "disk full" when the write said so (ENOSPC),
// else the system's reason ("File too large", "Input/output error").
std::string write_failure_text(int err);

// Every open of a target's own name goes through this function (the C library's open),
// which a test may replace to act between the checks and the open.
extern "C" int zorv_open_result_name(const char* path, int flags);

class atomic_file;
// Why the file could not be opened for writing, after the engine's "can't write to disk
// file!": the link or pipe refused, else the file's name and the system's reason.
std::string open_failure_text(const atomic_file& f, const std::string& name);

class atomic_file {
public:
  atomic_file() = default;
  atomic_file(const atomic_file&) = delete;
  atomic_file& operator=(const atomic_file&) = delete;
  ~atomic_file() { discard(); }

  // Creates the temporary; false when the target could not be written (see why()).
  bool open(const std::filesystem::path& path);
  // open's checks alone, creating and opening nothing (like open, it first discards what
  // this object had open): false when open would refuse the target now, for the same
  // reason (see why()). A pipe is not opened, so one that no process reads passes.
  bool check(const std::filesystem::path& path);
  std::FILE* file() const { return f_; }
  // Renames the complete temporary over the target; false when anything failed (see
  // error()), and the temporary is gone.
  bool commit();
  // Closes and removes the temporary, if any.
  void discard();

  // The errno of the last failed open or commit; 0 after a success.
  int error() const { return error_; }
  // Why the last commit failed, for a message: the rename that failed, with the target's
  // name, else write_failure_text(error()).
  std::string failure_text() const;
  // Why the last open failed: the refusal below, or the system's reason.
  std::string why() const;
  // Whether the last open refused the target for a reason of its own, which why() gives
  // with the file's name: a link, a file, a pipe or a device of another user in a shared
  // folder, a pipe that no process reads, a name replaced while it was opened.
  bool refused() const { return !why_.empty(); }

private:
  bool fail(int err);
  bool check_target(const std::filesystem::path& path, struct stat& st, bool& exists, bool& in_place,
                    bool& kernel_follows);
  bool resolve_links(const std::filesystem::path& path, struct stat& found, bool& exists, bool& via_kernel_link);
  bool open_in_place(const struct stat& checked, bool kernel_follows);
  bool create_temporary(mode_t mode);

  std::FILE* f_ = nullptr;
  bool in_place_ = false;
  std::string temp_;
  std::filesystem::path target_;
  int error_ = 0;
  bool rename_failed_ = false;
  std::string why_;
};
