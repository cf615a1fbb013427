// Internal-error and user-message hooks of the circuit model.
//
// Every internal check calls error_hook with one of three formats, a source
// tag such as "sdi/Elist" and the line:
//     SDI_ASSERT_FAIL("sdi/Elist");   // "%s, %d: Internal Assertion"
//     SDI_INTERNAL("sdi/Element");    // "%s, %d: Internal"
//     SDI_INTERNAL_CASE("sdi/Image"); // "%s, %d: Internal Case"
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

}  // namespace sdi

#define SDI_ASSERT_FAIL(tag) ::sdi::error_hook("%s, %d: Internal Assertion", tag, __LINE__)
#define SDI_INTERNAL(tag) ::sdi::error_hook("%s, %d: Internal", tag, __LINE__)
#define SDI_INTERNAL_CASE(tag) ::sdi::error_hook("%s, %d: Internal Case", tag, __LINE__)

namespace sdi {
// The downcast of an element whose kind was checked (ok); a null or wrong element
// is reported under the caller's tag and gives null.
template <class T, class E>
T* checked_cast(E* e, bool ok, const char* tag) {
  if (!e || !ok) {
    SDI_ASSERT_FAIL(tag);
    return nullptr;
  }
  return static_cast<T*>(e);
}
}  // namespace sdi
