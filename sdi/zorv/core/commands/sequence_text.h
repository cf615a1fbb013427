// The switching-sequence report as its window shows it. A text window slows down
// past a megabyte, and far more on one long line (a report of 64 MiB on one line
// froze the editor for a minute and took gigabytes), so it is shown in part: at most
// kMaxShownSequenceBytes of it, each line cut at kMaxSequenceLineBytes, and each cut
// said where it is. The engine writes plain ASCII, and the window shows nothing else:
// every other byte (a combining accent laid out by the tens of thousands kept the
// editor busy for minutes) is shown as '?'. The file itself is untouched.
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

// The mark shown for each byte that is neither printable ASCII, a tab nor a line end
// ("\n", or "\r\n").
inline constexpr char kUnshownByteMark = '?';

// The report with each byte that is not printable ASCII, a tab or a line end shown as
// kUnshownByteMark, unchanged otherwise when it is within both bounds; else its first
// kMaxShownSequenceBytes, each longer line ending in " ... (line cut at 65536 bytes)",
// then a last line "... (only the first 1048576 bytes of <path> are shown)".
std::string SequenceShown(const std::string& report, const std::string& path);

}  // namespace zorv
