#include "sdi/zorv/core/commands/sequence_text.h"

#include <algorithm>

namespace zorv {

namespace {

// Appends report[at, at + n) with every byte the window does not show as it is replaced.
void AppendShown(std::string& shown, const std::string& report, std::size_t at, std::size_t n) {
  for (std::size_t i = at; i < at + n; ++i) {
    const char c = report[i];
    const bool lineEnd = c == '\r' && i + 1 < report.size() && report[i + 1] == '\n';
    shown += (c >= ' ' && c <= '~') || c == '\t' || lineEnd ? c : kUnshownByteMark;
  }
}

}  // namespace

std::string SequenceShown(const std::string& report, const std::string& path) {
  const bool whole = report.size() <= kMaxShownSequenceBytes;
  const std::size_t size = std::min(report.size(), kMaxShownSequenceBytes);
  std::string shown;
  shown.reserve(size);
  for (std::size_t at = 0; at < size;) {
    const std::size_t end = std::min(report.find('\n', at), size);
    AppendShown(shown, report, at, std::min(end - at, kMaxSequenceLineBytes));
    if (end - at > kMaxSequenceLineBytes)
      shown += " ... (line cut at " + std::to_string(kMaxSequenceLineBytes) + " bytes)";
    if (end < size) shown += '\n';
    at = end + 1;
  }
  if (!whole)
    shown += "\n... (only the first " + std::to_string(kMaxShownSequenceBytes) + " bytes of " + path + " are shown)\n";
  return shown;
}

}  // namespace zorv
