// str: the engine's small owned string.
//
// One heap buffer or none: a default-constructed str is "null", which is not the
// same as the empty text "" (null == "" is false). Texts are copied on
// construction and assignment; c_str() of a null str is "".
//     str a("1.005"), b = a + str(" s");   // "1.005 s"
//     str n;                               // null; n.is_null() is true
#pragma once
#include <cstddef>

class str {
public:
  str() = default;
  str(const char* text);                 // heap copy; a null pointer gives a null str
  str(const str& other);                 // null stays null
  str(str&& other) noexcept;
  ~str();

  str& operator=(const str& other);
  str& operator=(str&& other) noexcept;
  str& operator=(const char* text);      // safe when text points into the own buffer

  bool is_null() const { return buf_ == nullptr; }
  const char* c_str() const { return buf_ ? buf_ : ""; }
  std::size_t size() const;

  friend bool operator==(const str& a, const str& b);
  friend str operator+(const str& a, const str& b);

private:
  char* buf_ = nullptr;
};

bool operator==(const str& a, const str& b);   // both null: true; one null: false; else the texts
str operator+(const str& a, const str& b);     // null when both are empty or null
