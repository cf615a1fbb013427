#include "simu/base/str.h"

#include <cstring>
#include <utility>

namespace {

char* dup_text(const char* text) {
  std::size_t n = std::strlen(text);
  char* p = new char[n + 1];
  std::memcpy(p, text, n + 1);
  return p;
}

}  // namespace

str::str(const char* text) : buf_(text ? dup_text(text) : nullptr) {}

str::str(const str& other) : buf_(other.buf_ ? dup_text(other.buf_) : nullptr) {}

str::str(str&& other) noexcept : buf_(std::exchange(other.buf_, nullptr)) {}

str::~str() { delete[] buf_; }

str& str::operator=(const str& other) {
  if (this != &other) {
    if (other.buf_)
      *this = other.buf_;
    else {
      delete[] buf_;
      buf_ = nullptr;
    }
  }
  return *this;
}

str& str::operator=(str&& other) noexcept {
  if (this != &other) {
    delete[] buf_;
    buf_ = std::exchange(other.buf_, nullptr);
  }
  return *this;
}

str& str::operator=(const char* text) {
  if (text == buf_) return *this;
  // Copy before freeing: text may point into the middle of the own buffer.
  char* copy = text ? dup_text(text) : nullptr;
  delete[] buf_;
  buf_ = copy;
  return *this;
}

std::size_t str::size() const { return buf_ ? std::strlen(buf_) : 0; }

bool operator==(const str& a, const str& b) {
  if (!a.buf_ || !b.buf_) return !a.buf_ && !b.buf_;
  return std::strcmp(a.buf_, b.buf_) == 0;
}

str operator+(const str& a, const str& b) {
  std::size_t na = a.size(), nb = b.size();
  str r;
  if (na + nb == 0) return r;
  r.buf_ = new char[na + nb + 1];
  if (na) std::memcpy(r.buf_, a.buf_, na);
  if (nb) std::memcpy(r.buf_ + na, b.buf_, nb);
  r.buf_[na + nb] = '\0';
  return r;
}

