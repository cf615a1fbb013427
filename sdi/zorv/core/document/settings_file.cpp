#include "sdi/zorv/core/document/settings_file.h"

#include <sys/stat.h>

#include <cerrno>

#include "sdi/files/circuit_file_atomic.h"
#include "simu/base/regular_file.h"

namespace zorv {

namespace {

const char* const kNotKept = "\nThe recent files are neither read nor kept.";

// The refusal's words for the group header that starts at text[at] ('['), which ends at
// the first unescaped ']' or at the line's end; empty when it is within the bounds.
std::string GroupHeaderRefusal(const std::string& text, std::size_t at) {
  int depth = 0;
  std::size_t bytes = 0;
  bool inName = false;  // inside a level's name
  for (std::size_t i = at + 1; i < text.size() && text[i] != '\n' && text[i] != '\r' && text[i] != ']'; ++i) {
    if (text[i] == '\0') continue;  // the toolkit stops at a NUL: counting on is never less
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] != '\n' && text[i + 1] != '\r') ++i, ++bytes;
    ++bytes;
    if (text[i] == '/') {  // escaped or not: the toolkit splits the name once unescaped
      inName = false;
    } else if (!inName) {
      inName = true;
      ++depth;
    }
  }
  if (depth > kMaxSettingsGroupDepth)
    return "a group more than " + std::to_string(kMaxSettingsGroupDepth) + " levels deep.";
  if (bytes > kMaxSettingsGroupBytes)
    return "a group name longer than " + std::to_string(kMaxSettingsGroupBytes) + " bytes.";
  return {};
}

// Whether text is UTF-8: the editor writes nothing else (a file name the toolkit cannot
// convert is held in private-use characters), while the toolkit would read other bytes as
// Latin-1 and name other files.
bool IsUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    int more = 0;
    unsigned long point = c;
    if (c < 0x80) more = 0;
    else if (c >= 0xC2 && c <= 0xDF) more = 1, point = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF) more = 2, point = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4) more = 3, point = c & 0x07;
    else return false;
    if (text.size() - i <= static_cast<std::size_t>(more)) return false;
    for (int k = 1; k <= more; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      point = point << 6 | (next & 0x3F);
    }
    const unsigned long least[] = {0, 0x80, 0x800, 0x10000};
    if (point < least[more] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return false;
    i += 1 + more;
  }
  return true;
}

}  // namespace

std::string SettingsGroupRefusal(const std::string& text) {
  std::size_t line = 1;
  for (std::size_t start = 0; start < text.size(); ++line) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    // Blanks, NULs, a byte-order mark and any other byte that is no printable ASCII may
    // stand before a header: the toolkit skips blanks and marks, and decodes the rest.
    std::size_t first = start;
    while (first < end && (static_cast<unsigned char>(text[first]) <= ' ' || static_cast<unsigned char>(text[first]) >= 0x7F))
      ++first;
    if (first < end && text[first] == '[') {
      const std::string why = GroupHeaderRefusal(text, first);
      if (!why.empty()) return ", line " + std::to_string(line) + ": " + why;
    }
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return {};
}

SettingsFile ReadSettingsFile(const std::string& path) {
  SettingsFile file;
  file_check read = read_regular_file(path.c_str(), kMaxSettingsFileBytes, file.text);
  if (read == file_check::cannot_open && is_there_but_not_regular(path.c_str())) read = file_check::not_regular;
  if (read == file_check::cannot_open) {
    struct stat st;
    file.rewrite = ::stat(path.c_str(), &st) != 0 && errno == ENOENT;  // none yet: a first start
    return file;
  }
  file.refused = refusal_text(read, path, kMaxSettingsFileBytes);
  if (file.refused.empty()) {
    const std::string group = SettingsGroupRefusal(file.text);
    if (!group.empty()) file.refused = "File " + path + group;
  }
  if (file.refused.empty() && !IsUtf8(file.text)) file.refused = "File " + path + " cannot be read as text.";
  if (!file.refused.empty()) {
    file.refused += kNotKept;
    file.text.clear();
    return file;
  }
  file.rewrite = true;
  return file;
}

void RefuseUnreadableSettingsFile(SettingsFile& file, const std::string& path) {
  file.refused = "File " + path + " cannot be read as text." + kNotKept;
  file.text.clear();
  file.rewrite = false;
}

std::string SettingsFileRefusal(const std::string& path) { return ReadSettingsFile(path).refused; }

bool WriteSettingsFile(const std::string& path, const std::string& text) {
  if (text.size() > kMaxSettingsFileBytes) return false;
  return sdi::write_file_atomically(path, [&](std::FILE* f) { std::fwrite(text.data(), 1, text.size(), f); }) ==
         sdi::write_outcome::written;
}

}  // namespace zorv
