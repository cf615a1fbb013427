// The editor's settings file (it keeps the recent-file list), which the toolkit reads
// whole at start-up: it is handed over only when it is a regular file of bounded size,
// so that a file of any size cannot fill the memory. The toolkit itself passes over a
// pipe or a device without a word; here the user is told why the list is gone.
//
//     const std::string refused = SettingsFileRefusal(path);
//     if (!refused.empty()) ShowMessage(refused);   // and start without the file
#pragma once
#include <cstddef>
#include <string>

namespace zorv {

// The largest settings file read (16 MiB): the list holds four names.
inline constexpr std::size_t kMaxSettingsFileBytes = std::size_t{16} << 20;

// Empty when the file may be read, also when there is none; otherwise "File <path>
// is not a regular file." or "File <path> is larger than 16777216 bytes.", each
// followed by "\nThe recent files are neither read nor kept.".
std::string SettingsFileRefusal(const std::string& path);

}  // namespace zorv
