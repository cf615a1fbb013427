// A file written whole or not at all: the text goes to a hidden temporary in the
// target's folder (".<name>.XXXXXX"), which replaces the target only once every write,
// the flush, the sync and the close succeeded. Until then, and after any failure, the
// previous file stays as it was.
//
//     atomic_file f;
//     if (!f.open("a.ini")) ...           // a folder, a read-only file, no such folder
//     std::fprintf(f.file(), ...);
//     if (!f.commit()) ...                // disk full: temporary removed, old file kept
//
// An atomic_file destroyed before commit (a throw on the way) removes its temporary.
// Writing through a symbolic link replaces the file it names; a replaced file keeps its
// mode, a new one gets the mode that creating it would give. Temporaries of the same
// target older than this process (left by a process killed while writing) are removed.
// A target that exists but is no regular file (a device, a pipe) is written in place.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

class atomic_file {
public:
  atomic_file() = default;
  atomic_file(const atomic_file&) = delete;
  atomic_file& operator=(const atomic_file&) = delete;
  ~atomic_file() { discard(); }

  // Creates the temporary; false when the target could not be written in place.
  bool open(const std::filesystem::path& path);
  std::FILE* file() const { return f_; }
  // Renames the complete temporary over the target; false when anything failed.
  bool commit();
  // Closes and removes the temporary, if any.
  void discard();

private:
  std::FILE* f_ = nullptr;
  bool in_place_ = false;
  std::string temp_;
  std::filesystem::path target_;
};
