// The folder that holds this process's undo files "backup.ckt" and "backup2.ckt"
// (and the clipboard file).
//
// Each running editor gets its own private folder (mode 0700, a name made by
// mkdtemp that no one can guess or make ahead), so two instances never undo into
// each other's circuits, other users can neither read the snapshots nor plant
// links in it, and the program's own folder may stay read-only:
//     $XDG_RUNTIME_DIR/zorv-XXXXXX/   when XDG_RUNTIME_DIR names a folder
//     <temp folder>/zorv-XXXXXX/      otherwise
// A fixed folder (tests) is used only when this process makes it, or when it is
// a real folder (not a link) of this user with mode 0700; otherwise a private
// folder is made beside it. The folder is removed with its files on destruction.
//
//     UndoFiles undo;
//     std::string why;
//     if (!undo.Store(undo.Backup(), sdi::write_circuit, why)) ...  // why: the system's reason
#pragma once
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "sdi/files/record_stream.h"

namespace zorv {

class UndoFiles {
public:
  using Writer = std::function<void(std::FILE*)>;

  UndoFiles();                                       // a private folder in DefaultBase()
  explicit UndoFiles(std::filesystem::path folder);  // a fixed folder, checked as above
  ~UndoFiles();
  UndoFiles(const UndoFiles&) = delete;
  UndoFiles& operator=(const UndoFiles&) = delete;

  // Where the private folders are made.
  static std::filesystem::path DefaultBase();

  // Empty when no folder could be made; Problem() then says why.
  const std::filesystem::path& Folder() const { return m_folder; }
  const std::string& Problem() const { return m_problem; }
  std::filesystem::path Backup() const { return m_folder / "backup.ckt"; }
  std::filesystem::path Backup2() const { return m_folder / "backup2.ckt"; }
  std::filesystem::path Clipboard() const { return m_folder / sdi::clipboard_file_name; }
  // Every path the folder may hold, the folder itself last (for removal on a signal).
  std::vector<std::filesystem::path> Paths() const;

  // Writes one of the files above whole through a new temporary in the folder,
  // renamed over it: a link or anything else at that name is replaced, never
  // followed, and a failed write leaves the previous file. False with the
  // system's reason in `why`.
  bool Store(const std::filesystem::path& target, const Writer& write, std::string& why) const;
  // True when `file` is a regular file in the folder (a link is not).
  static bool IsPlainFile(const std::filesystem::path& file);
  // Removes whatever at the known names is not a regular file (a link, a pipe),
  // so that readers and writers that follow links never leave the folder.
  void RemoveStrangers() const;

private:
  std::filesystem::path Temporary() const { return m_folder / ".undo-write"; }
  void MakePrivate(const std::filesystem::path& base);

  std::filesystem::path m_folder;
  std::string m_problem;
};

}  // namespace zorv
