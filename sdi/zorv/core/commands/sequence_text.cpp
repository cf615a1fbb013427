#include "sdi/zorv/core/commands/sequence_text.h"

#include <algorithm>

namespace zorv {

namespace {

// At most n bytes of s from at, shortened so as not to end inside a UTF-8 character.
std::size_t WholeCharacters(const std::string& s, std::size_t at, std::size_t n) {
  while (n > 0 && at + n < s.size() && (static_cast<unsigned char>(s[at + n]) & 0xC0) == 0x80) --n;
  return n;
}

}  // namespace

std::string SequenceShown(const std::string& report, const std::string& path) {
  const bool whole = report.size() <= kMaxShownSequenceBytes;
  const std::size_t size = whole ? report.size() : WholeCharacters(report, 0, kMaxShownSequenceBytes);
  std::string shown;
  shown.reserve(size);
  for (std::size_t at = 0; at < size;) {
    const std::size_t end = std::min(report.find('\n', at), size);
    const std::size_t take = WholeCharacters(report, at, std::min(end - at, kMaxSequenceLineBytes));
    shown.append(report, at, take);
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
