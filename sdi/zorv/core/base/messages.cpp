#include "sdi/zorv/core/base/messages.h"

#include <cstdio>
#include <utility>

namespace zorv {
namespace {
MessageSink& Sink() {
  static MessageSink sink;
  return sink;
}
}  // namespace

MessageSink SetMessageSink(MessageSink sink) { return std::exchange(Sink(), std::move(sink)); }

void ShowMessage(const std::string& text) {
  if (Sink())
    Sink()(text);
  else
    std::fprintf(stderr, "%s\n", text.c_str());
}

}  // namespace zorv
