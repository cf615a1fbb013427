#include "sdi/zorv/core/document/doc_names.h"

#include "simu/base/control_characters.h"

namespace zorv {

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string BaseNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  // Skip the name's first character so that ".hidden" is not cut to nothing.
  const auto dot = path.find('.', nameStart + 1);
  if (dot == std::string::npos || nameStart >= path.size()) return path;
  return path.substr(0, dot);
}

std::string UntitledBaseAfter(const std::string& basePath) {
  return FolderOf(basePath) + "Untitled";
}

std::string MainTitle(const std::string& fileName) { return "ZORV - " + fileName; }

std::string SavePrompt(const std::string& name) { return "Save changes to " + name + "?"; }

std::string NameRefusal(const std::string& path, const std::string& outcome) {
  if (!has_control_character(path)) return std::string();
  return "File " + shown_name(path) + " has a control character in its name: " + outcome;
}

}  // namespace zorv
