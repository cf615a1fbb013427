// Internal-error and user-message hooks of the circuit model.
//
// Every internal check calls error_hook with one of three formats, the source
// file where the check failed (its path from the project's root) and the line:
//     SDI_ASSERT_FAIL();    // "sdi/elements/elist.cpp, 40: Internal Assertion"
//     SDI_INTERNAL();       // "%s, %d: Internal"
//     SDI_INTERNAL_CASE();  // "%s, %d: Internal Case"
// then goes on with a neutral result. The default hook formats the text into
// 80 characters and hands it to message_box_hook, as does show_message for the
// texts meant for the user. The editor installs a real OK-only box; tests
// install capturing hooks.
#pragma once

#include <string>

namespace sdi {

using error_fn = void (*)(const char* format, ...);
using message_fn = void (*)(const char* text);

extern error_fn error_hook;
extern message_fn message_box_hook;

void default_error_hook(const char* format, ...);
void default_message_box(const char* text);  // writes the text to standard error
void show_message(const char* text);
inline void show_message(const std::string& text) { show_message(text.c_str()); }

// A compiled file's path from the project's root: what follows the last "/sdi/"
// in it ("sdi/netlist/netlist_writer.cpp"); the path itself when it has none.
constexpr const char* source_name(const char* file) {
  const char* name = file;
  for (const char* p = file; *p; ++p)
    if (p[0] == '/' && p[1] == 's' && p[2] == 'd' && p[3] == 'i' && p[4] == '/') name = p + 1;
  return name;
}

}  // namespace sdi

#define SDI_ASSERT_FAIL() ::sdi::error_hook("%s, %d: Internal Assertion", ::sdi::source_name(__FILE__), __LINE__)
#define SDI_INTERNAL() ::sdi::error_hook("%s, %d: Internal", ::sdi::source_name(__FILE__), __LINE__)
#define SDI_INTERNAL_CASE() ::sdi::error_hook("%s, %d: Internal Case", ::sdi::source_name(__FILE__), __LINE__)

namespace sdi {
// The downcast of an element whose kind was checked (ok); a null or wrong element
// is reported at the caller's file and line and gives null.
template <class T, class E>
T* checked_cast(E* e, bool ok, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
  // The builtins rather than std::source_location, which not every compiler of the
  // fuzzing build has.
  if (!e || !ok) {
    error_hook("%s, %d: Internal Assertion", source_name(file), line);
    return nullptr;
  }
  return static_cast<T*>(e);
}
}  // namespace sdi
