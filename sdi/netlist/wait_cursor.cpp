#include "sdi/netlist/wait_cursor.h"

namespace sdi {

wait_cursor_fn wait_cursor_hook = nullptr;

namespace {
int depth = 0;
}

int wait_cursor_depth() { return depth; }

wait_cursor::wait_cursor() {
  if (depth++ == 0 && wait_cursor_hook) wait_cursor_hook(true);
}

wait_cursor::~wait_cursor() {
  if (--depth == 0 && wait_cursor_hook) wait_cursor_hook(false);
}

}  // namespace sdi
