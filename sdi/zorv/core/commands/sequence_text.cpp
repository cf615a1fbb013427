#include "sdi/zorv/core/commands/sequence_text.h"

#include <algorithm>

namespace zorv {

namespace {

// Appends the line report[at, end) (end at its '\n' or at the end of what is read) as the
// window shows it: each tab expanded to blanks up to the next tab stop, each byte the
// window does not show replaced, at most `columns` columns (a tab that passes them gives
// its blanks up to there). Returns where it stopped: end when the whole line fitted.
std::size_t AppendLine(std::string& shown, const std::string& report, std::size_t at, std::size_t end,
                       std::size_t columns) {
  std::size_t column = 0;
  for (std::size_t i = at; i < end; ++i) {
    const char c = report[i];
    if (c == '\r' && i + 1 == end && end < report.size() && report[end] == '\n') {
      shown += c;  // the line's end, no column
      continue;
    }
    const std::size_t next = c == '\t' ? (column / kSequenceTabStop + 1) * kSequenceTabStop : column + 1;
    if (next > columns) {
      if (c == '\t') shown.append(columns - column, ' ');
      return i;
    }
    if (c == '\t')
      shown.append(next - column, ' ');
    else
      shown += c >= ' ' && c <= '~' ? c : kUnshownByteMark;
    column = next;
  }
  return end;
}

// Ends the shown text with a note on a line of its own.
std::string WithNote(std::string shown, const std::string& note) {
  if (!shown.empty() && shown.back() != '\n') shown += '\n';
  return shown + "... (" + note + ")\n";
}

std::string BytesNote(std::size_t bytes, const std::string& path) {
  return "only the first " + std::to_string(bytes) + " bytes of " + path + " are shown";
}

}  // namespace

std::string SequenceShown(const std::string& report, const std::string& path) {
  const std::size_t size = std::min(report.size(), kMaxShownSequenceBytes);
  std::string shown;
  shown.reserve(size);
  std::size_t columns = 0;  // bytes of all lines shown
  std::size_t lines = 0;
  for (std::size_t at = 0; at < size; ++lines) {
    if (lines == kMaxShownSequenceLines)
      return WithNote(shown, "only the first " + std::to_string(lines) + " lines of " + path + " are shown");
    const std::size_t end = std::min(report.find('\n', at), size);
    const std::size_t room = kMaxSequenceTextBytes - columns;
    if (room == 0) return WithNote(shown, BytesNote(at, path));
    const std::size_t before = shown.size();
    const std::size_t stop = AppendLine(shown, report, at, end, std::min(kMaxSequenceLineBytes, room));
    columns += shown.size() - before;
    if (stop < end && room < kMaxSequenceLineBytes) return WithNote(shown, BytesNote(stop, path));
    if (stop < end) shown += " ... (line cut at " + std::to_string(kMaxSequenceLineBytes) + " bytes)";
    if (end < size) shown += '\n';
    at = end + 1;
  }
  if (report.size() > size) return WithNote(shown, BytesNote(size, path));
  return shown;
}

}  // namespace zorv
