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

// The largest settings file read (64 KiB): the list holds four names, each at most a
// path's 4096 bytes. The toolkit's reading costs far more than the bytes (16 MiB of
// short entries take minutes and gigabytes); this much takes a moment.
inline constexpr std::size_t kMaxSettingsFileBytes = std::size_t{64} << 10;

// Empty when the file may be read, also when there is none; otherwise "File <path>
// is not a regular file." or "File <path> is larger than 65536 bytes.", each
// followed by "\nThe recent files are neither read nor kept.".
std::string SettingsFileRefusal(const std::string& path);

}  // namespace zorv
