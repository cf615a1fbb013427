// The Library menu's entries: the subcircuit symbols (".sym" files) of a folder.
//
// An entry's menu text is the first blank-separated word of the symbol file's
// first line, lower-cased; entries are kept in ascending order of it, a new one
// going before the first entry whose text is greater or equal (so files are
// listed sorted first, and equal texts come out reversed). Entry i is command
// kLibraryFirstId + i.
//     for (const LibraryEntry& e : LibraryEntries("/home/j/circuits")) ...
//     // Buck.sym ("BUCK ...") and boost.sym ("Boost ...") give boost, buck
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace zorv {

inline constexpr int kLibraryFirstId = 2024;
// The longest subcircuit name a record holds.
inline constexpr std::size_t kMaxSubcircuitName = 34;

struct LibraryEntry {
  std::string fileName;  // the symbol file's name without ".sym", case kept
  std::string menuText;  // lower case
};

// The menu text of a symbol file; empty when it cannot be read or its first line
// (read as 80 characters at most) has no word, and for a file that is not regular
// (a pipe, a device) or larger than a symbol file may be.
std::string SymbolMenuText(const std::filesystem::path& file);

void InsertLibraryEntry(std::vector<LibraryEntry>& list, LibraryEntry entry);

// The entries of the folder's ".sym" files (the current folder when empty). Files
// without a menu text, and names a subcircuit record cannot hold, are left out.
std::vector<LibraryEntry> LibraryEntries(const std::filesystem::path& folder);

// A menu item's label for a text: "&" doubled, so it is shown, not a mnemonic.
std::string MenuLabel(const std::string& text);

}  // namespace zorv
