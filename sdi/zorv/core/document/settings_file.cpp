#include "sdi/zorv/core/document/settings_file.h"

#include <unistd.h>

#include "simu/base/regular_file.h"

namespace zorv {

std::string SettingsFileRefusal(const std::string& path) {
  int fd = -1;
  const file_check opened = open_regular_file(path.c_str(), kMaxSettingsFileBytes, fd);
  if (fd >= 0) ::close(fd);
  const std::string refused = refusal_text(opened, path, kMaxSettingsFileBytes);
  return refused.empty() ? refused : refused + "\nThe recent files are neither read nor kept.";
}

}  // namespace zorv
