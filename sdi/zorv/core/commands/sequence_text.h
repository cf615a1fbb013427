// The switching-sequence report as its window shows it. A text window slows down
// past a megabyte, and far more on one long line (a report of 64 MiB on one line
// froze the editor for a minute and took gigabytes), so it is shown in part: at most
// kMaxShownSequenceBytes of it, each line cut at kMaxSequenceLineBytes, and each cut
// said where it is. The file itself is untouched.
//
//     m_host.ShowSequence(path, SequenceShown(report, path));
#pragma once
#include <cstddef>
#include <string>

namespace zorv {

// A line of the engine's report holds a value (26 bytes) per interval of the cycle:
// 64 KiB is some 2500 intervals.
inline constexpr std::size_t kMaxShownSequenceBytes = std::size_t{1} << 20;
inline constexpr std::size_t kMaxSequenceLineBytes = std::size_t{64} << 10;

// The report unchanged when it is within both bounds; otherwise its first
// kMaxShownSequenceBytes, each longer line ending in " ... (line cut at 65536 bytes)",
// then a last line "... (only the first 1048576 bytes of <path> are shown)". Cuts
// fall between characters of UTF-8 text.
std::string SequenceShown(const std::string& report, const std::string& path);

}  // namespace zorv
