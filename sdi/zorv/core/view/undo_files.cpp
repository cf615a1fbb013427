#include "sdi/zorv/core/view/undo_files.h"

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>

namespace zorv {

std::filesystem::path UndoFiles::DefaultFolder() {
  const std::string pid = std::to_string(static_cast<long>(getpid()));
  std::error_code ec;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
      runtime && *runtime && std::filesystem::is_directory(runtime, ec))
    return std::filesystem::path(runtime) / ("zorv-" + pid);
  return std::filesystem::temp_directory_path(ec) /
         ("zorv-" + std::to_string(static_cast<long>(getuid())) + "-" + pid);
}

UndoFiles::UndoFiles() : UndoFiles(DefaultFolder()) {}

UndoFiles::UndoFiles(std::filesystem::path folder) : m_folder(std::move(folder)) {
  std::error_code ec;
  std::filesystem::create_directories(m_folder, ec);
  std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::replace, ec);
}

UndoFiles::~UndoFiles() {
  std::error_code ec;
  std::filesystem::remove(Backup(), ec);
  std::filesystem::remove(Backup2(), ec);
  std::filesystem::remove(m_folder / "copyele.dat", ec);  // the clipboard file lives here too
  std::filesystem::remove(m_folder, ec);  // only when nothing else was put there
}

}  // namespace zorv
