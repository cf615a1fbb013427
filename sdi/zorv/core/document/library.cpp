#include "sdi/zorv/core/document/library.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <system_error>

#include "sdi/elements/sub_element.h"
#include "simu/base/regular_file.h"

namespace zorv {

std::string SymbolMenuText(const std::filesystem::path& file) {
  // The listing opens every ".sym" of the folder: one that is a pipe must not hang it.
  int fd = -1;
  std::FILE* f = open_regular_file(file.c_str(), sdi::max_symbol_file_bytes, fd) == file_check::ok
                     ? ::fdopen(fd, "r")
                     : nullptr;
  if (!f) {
    if (fd >= 0) ::close(fd);
    return {};
  }
  char line[80] = {};
  const bool read = std::fgets(line, sizeof line, f) != nullptr;
  std::fclose(f);
  if (!read) return {};
  std::string text;
  const char* c = line;
  while (*c == ' ' || *c == '\t') ++c;
  for (; *c && !std::isspace(static_cast<unsigned char>(*c)); ++c)
    text += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
  return text;
}

void InsertLibraryEntry(std::vector<LibraryEntry>& list, LibraryEntry entry) {
  for (char& c : entry.menuText) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto at = std::find_if(list.begin(), list.end(),
                               [&](const LibraryEntry& e) { return e.menuText >= entry.menuText; });
  list.insert(at, std::move(entry));
}

std::vector<LibraryEntry> LibraryEntries(const std::filesystem::path& folder) {
  const std::filesystem::path dir = folder.empty() ? std::filesystem::path(".") : folder;
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    if (it->path().extension() == ".sym" && it->is_regular_file(ec)) files.push_back(it->path());
  std::sort(files.begin(), files.end());
  std::vector<LibraryEntry> list;
  for (const auto& file : files) {
    const std::string name = file.stem().string();
    if (name.size() > kMaxSubcircuitName || !sdi::plain_file_name(name.c_str())) continue;
    std::string text = SymbolMenuText(file);
    if (!text.empty()) InsertLibraryEntry(list, {name, std::move(text)});
  }
  return list;
}

std::string MenuLabel(const std::string& text) {
  std::string label;
  for (char c : text) {
    if (c == '&') label += '&';
    label += c;
  }
  return label;
}

}  // namespace zorv
