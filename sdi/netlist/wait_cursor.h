// The wait cursor shown while the engine runs. Counted and scoped: every
// begin has its end, also when the scope is left by an exception.
//
//     { wait_cursor busy;  simu(argc, argv); }   // depth 1 inside, 0 after
//
// The editor installs wait_cursor_hook to show (true) and restore (false) the
// real cursor; it is called on the outermost begin and end only.
#pragma once

namespace sdi {

using wait_cursor_fn = void (*)(bool on);
extern wait_cursor_fn wait_cursor_hook;  // null: nothing shown (no window)

int wait_cursor_depth();

class wait_cursor {
public:
  wait_cursor();
  ~wait_cursor();
  wait_cursor(const wait_cursor&) = delete;
  wait_cursor& operator=(const wait_cursor&) = delete;
};

}  // namespace sdi
