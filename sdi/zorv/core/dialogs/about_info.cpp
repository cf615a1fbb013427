#include "sdi/zorv/core/dialogs/about_info.h"

#include <sys/statvfs.h>
#include <sys/sysinfo.h>

namespace zorv {

std::string MemoryText(std::uint64_t totalKb) { return std::to_string(totalKb) + " KB"; }

std::string DiskText(std::optional<std::uint64_t> freeKb, const std::string& folder) {
  if (!freeKb) return "Unavailable";
  return std::to_string(*freeKb) + " KB Free on " + folder;
}

std::optional<std::uint64_t> TotalMemoryKb() {
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.totalram) * info.mem_unit / 1024;
}

std::optional<std::uint64_t> FreeDiskKb(const std::string& folder) {
  struct statvfs fs {};
  if (statvfs(folder.c_str(), &fs) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize / 1024;
}

}  // namespace zorv
