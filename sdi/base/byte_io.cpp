#include "sdi/base/byte_io.h"

#include <cstring>

namespace sdi {

namespace {
bool read_raw(std::FILE* f, unsigned char* out, std::size_t n) {
  bool whole = true;
  for (std::size_t i = 0; i < n; ++i) {
    int c = f ? std::fgetc(f) : EOF;
    if (c == EOF) {
      whole = false;
      c = 0xFF;
    }
    out[i] = static_cast<unsigned char>(c);
  }
  return whole;
}
}  // namespace

void write_int(std::FILE* f, std::int32_t v) {
  std::uint32_t u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) std::fputc(static_cast<int>((u >> (8 * i)) & 0xFFu), f);
}

void write_double(std::FILE* f, double v) {
  std::uint64_t u;
  std::memcpy(&u, &v, sizeof u);
  for (int i = 0; i < 8; ++i) std::fputc(static_cast<int>((u >> (8 * i)) & 0xFFu), f);
}

void write_doubles(std::FILE* f, const double* v, int n) {
  for (int i = 0; i < n; ++i) write_double(f, v[i]);
}

void write_bytes(std::FILE* f, const void* bytes, std::size_t n) {
  const unsigned char* b = static_cast<const unsigned char*>(bytes);
  for (std::size_t i = 0; i < n; ++i) std::fputc(b[i], f);
}

bool read_int(std::FILE* f, std::int32_t& v) {
  unsigned char b[4];
  bool whole = read_raw(f, b, 4);
  std::uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = (u << 8) | b[i];
  v = static_cast<std::int32_t>(u);
  return whole;
}

bool read_double(std::FILE* f, double& v) {
  unsigned char b[8];
  bool whole = read_raw(f, b, 8);
  std::uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = (u << 8) | b[i];
  std::memcpy(&v, &u, sizeof v);
  return whole;
}

bool read_doubles(std::FILE* f, double* v, int n) {
  bool whole = true;
  for (int i = 0; i < n; ++i) whole = read_double(f, v[i]) && whole;
  return whole;
}

bool read_bytes(std::FILE* f, void* buffer, std::size_t n) {
  return read_raw(f, static_cast<unsigned char*>(buffer), n);
}

}  // namespace sdi
