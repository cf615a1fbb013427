// The editor's settings file (it keeps the recent-file list). It is read here, once, at
// start-up, and the toolkit's store is made from the bytes read: only a regular file of
// bounded size whose groups the toolkit can hold, so that no file can fill the memory or
// overflow the stack. The toolkit itself passes over a pipe or a device without a word;
// here the user is told why the list is gone. At exit the file is written anew, whole or
// not at all, from the recent files alone (WriteSettingsFile).
//
//     const SettingsFile file = ReadSettingsFile(path);
//     if (!file.refused.empty()) ShowMessage(file.refused);   // and start without the file
//     ...
//     if (file.rewrite) WriteSettingsFile(path, text);       // at exit
#pragma once
#include <cstddef>
#include <string>

namespace zorv {

// The largest settings file read (64 KiB). The editor writes four entries "fileN=" with a
// path each: a path has at most 4095 bytes, and the toolkit's escapes (two bytes for a
// backslash, tab or line end; quotes around a value that starts with a blank or a quote,
// whose quotes are then escaped too) at most double them and add two, so the largest file
// it writes has 4 x (6 + 2 + 2 x 4095 + 1) = 32,796 bytes. The toolkit's reading costs far
// more than the bytes (16 MiB of short entries take minutes and gigabytes); this much
// takes a moment.
inline constexpr std::size_t kMaxSettingsFileBytes = std::size_t{64} << 10;

// The deepest group path ("[a/b/c]" is 3 levels) and the longest one (bytes between the
// brackets) that a settings file may hold. The editor writes no group; the toolkit's own
// groups are a few levels of short names. Tens of thousands of levels crash the toolkit
// (it recurses once per level).
inline constexpr int kMaxSettingsGroupDepth = 64;
inline constexpr std::size_t kMaxSettingsGroupBytes = 4096;

struct SettingsFile {
  std::string text;      // the file's bytes; empty when it is refused or there is none
  std::string refused;   // why it is refused, for the box; empty when it may be used
  bool rewrite = false;  // the recent files go back to it at exit: it was read, or there was none
};

// Reads the file at path. Refused, with its message followed by "\nThe recent files are
// neither read nor kept.": "File <path> is not a regular file." (a folder too), "File <path> is larger
// than 65536 bytes.", "File <path>, line <n>: a group more than 64 levels deep.",
// "File <path>, line <n>: a group name longer than 4096 bytes." or, for bytes that are no
// UTF-8 (a byte-order mark of UTF-8 may lead), "File <path> cannot be read as text.". A file that exists but
// cannot be read is not refused, and not rewritten either.
SettingsFile ReadSettingsFile(const std::string& path);

// Refuses file, read from path, when the toolkit reports an error reading its text (UTF-16
// without a byte-order mark, a line that is neither a group nor "key=value"):
// "File <path> cannot be read as text." and the words above; it is then not rewritten.
void RefuseUnreadableSettingsFile(SettingsFile& file, const std::string& path);

// ReadSettingsFile(path).refused.
std::string SettingsFileRefusal(const std::string& path);

// The first group path in text beyond the bounds above, as the refusal's words after the
// file's name (", line 3: a group more than 64 levels deep."); empty when there is none.
// A group header is a line (ended by "\n", "\r\n" or a lone "\r") whose first printable
// ASCII character is '['; its levels are the names between '/', escaped or not, up to the
// first ']' not escaped by '\'. The count is never below the toolkit's, which cancels
// "..", skips ".", and stops at a NUL.
std::string SettingsGroupRefusal(const std::string& text);

// Replaces the file at path with text, whole or not at all: on any failure the previous
// file stays and false is returned. Text beyond kMaxSettingsFileBytes is not written.
bool WriteSettingsFile(const std::string& path, const std::string& text);

}  // namespace zorv
