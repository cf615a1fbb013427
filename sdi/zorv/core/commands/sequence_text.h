// The switching-sequence report as its window shows it. A text window slows down
// past a megabyte, and far more on one long line (a report of 64 MiB on one line
// froze the editor for a minute and took gigabytes), so it is shown in part: at most
// kMaxShownSequenceBytes of it, each line cut at kMaxSequenceLineBytes, and each cut
// said where it is. The engine writes plain ASCII, and the window shows nothing else:
// every other byte (a combining accent laid out by the tens of thousands kept the
// editor busy for minutes) is shown as '?'. Tabs are expanded to blanks here: the
// toolkit lays out a line of tens of thousands of tabs for half a minute, and the lines
// shown are bounded too (a megabyte of empty lines took seconds). The file itself is
// untouched.
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
// The engine's lines hold 20 to 80 bytes, but for a few empty ones: its report reaches
// the megabyte in some 50,000 lines, before this bound.
inline constexpr std::size_t kMaxShownSequenceLines = std::size_t{64} << 10;
inline constexpr std::size_t kSequenceTabStop = 8;
// The most bytes the lines shown hold once their tabs are expanded (a megabyte of tabs
// is 8 MiB of blanks, which took the window three seconds). The engine's lines at most
// double (an interval's line of 24 bytes takes 52 columns): a report of 900 KB fits.
inline constexpr std::size_t kMaxSequenceTextBytes = std::size_t{2} << 20;

// The mark shown for each byte that is neither printable ASCII, a tab nor a line end
// ("\n", or "\r\n").
inline constexpr char kUnshownByteMark = '?';

// The report with each tab expanded to blanks up to the next multiple of
// kSequenceTabStop columns and each byte that is not printable ASCII, a tab or a line end
// shown as kUnshownByteMark, unchanged otherwise when it is within the bounds. Else each
// line longer than kMaxSequenceLineBytes once expanded is cut there and ends in
// " ... (line cut at 65536 bytes)", and the text ends with a line that says where it
// stops: "... (only the first <n> bytes of <path> are shown)" after the first 1048576
// bytes, or sooner where the lines shown reach kMaxSequenceTextBytes; "... (only the
// first 65536 lines of <path> are shown)" after kMaxShownSequenceLines lines.
std::string SequenceShown(const std::string& report, const std::string& path);

}  // namespace zorv
