// The folder that holds this process's undo files "backup.ckt" and "backup2.ckt".
//
// Each running editor gets its own folder, so two instances never undo into each
// other's circuits, and the program's own folder may stay read-only:
//     $XDG_RUNTIME_DIR/zorv-<pid>/      when XDG_RUNTIME_DIR names a folder
//     <temp folder>/zorv-<uid>-<pid>/   otherwise
// The folder is made (mode 0700) on construction and removed with its files on
// destruction.
#pragma once
#include <filesystem>

namespace zorv {

class UndoFiles {
public:
  UndoFiles();                                      // the default folder above
  explicit UndoFiles(std::filesystem::path folder);  // a given folder (tests)
  ~UndoFiles();
  UndoFiles(const UndoFiles&) = delete;
  UndoFiles& operator=(const UndoFiles&) = delete;

  static std::filesystem::path DefaultFolder();

  const std::filesystem::path& Folder() const { return m_folder; }
  std::filesystem::path Backup() const { return m_folder / "backup.ckt"; }
  std::filesystem::path Backup2() const { return m_folder / "backup2.ckt"; }

private:
  std::filesystem::path m_folder;
};

}  // namespace zorv
