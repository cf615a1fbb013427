#include "sdi/zorv/core/document/shell_registration.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "simu/base/regular_file.h"
#include "zorv_shell_files.h"  // generated from res/: kDesktopEntryTemplate, kMimePackage

namespace zorv {
namespace {

bool WriteIfDifferent(const std::filesystem::path& file, const std::string& text) {
  std::error_code ec;
  // Read only up to the size it must have; a pipe or a device there is neither read
  // nor opened for writing (either would block the editor's start).
  std::string have;
  const file_check read = read_regular_file(file.c_str(), text.size(), have);
  if (read == file_check::ok && have == text) return true;
  if (read == file_check::not_regular) return false;
  std::filesystem::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
}

}  // namespace

std::filesystem::path UserDataHome() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return data;
  if (const char* home = std::getenv("HOME"); home && *home)
    return std::filesystem::path(home) / ".local" / "share";
  return {};
}

std::string DesktopEntry(const std::string& exePath) {
  std::string text = kDesktopEntryTemplate;
  const std::string key = "@EXE@";
  if (const auto at = text.find(key); at != std::string::npos) text.replace(at, key.size(), exePath);
  return text;
}

std::string MimePackage() { return kMimePackage; }

bool RegisterShellFileTypes(const std::filesystem::path& dataHome, const std::string& exePath) {
  if (dataHome.empty()) return false;
  const bool entry = WriteIfDifferent(dataHome / "applications" / "zorv.desktop", DesktopEntry(exePath));
  const bool mime = WriteIfDifferent(dataHome / "mime" / "packages" / "zorv.xml", MimePackage());
  return entry && mime;
}

}  // namespace zorv
