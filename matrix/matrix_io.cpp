// DM printing and the matrix file.
#include "matrix/matrix_io.h"

#include <cstdio>
#include <cstring>

void DM::print(const char* name, const char* fmt) const {
  mat_printf("%s = ", name);
  if (n == 0) {
    mat_printf("[]\n");
    return;
  }
  const size_t indent = std::strlen(name);
  for (int i = 1; i <= rows; ++i) {
    for (int j = 1; j <= cols; ++j) {
      mat_printf(fmt, (*this)(i, j));
      mat_printf(" ");
    }
    mat_printf("\n");
    if (i < rows) {
      mat_printf("   ");
      for (size_t k = 0; k < indent; ++k) mat_printf(" ");
    }
  }
}

void DM::print(const char* name) const { print(name, "%6.4g"); }

namespace {

// Closes the file on every path, the fatal ones included.
struct File {
  std::FILE* f;
  File(const char* name, const char* mode) : f(std::fopen(name, mode)) {}
  ~File() {
    if (f) std::fclose(f);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
};

void put_u32(unsigned char* p, uint32_t v) {
  for (int b = 0; b < 4; ++b) p[b] = static_cast<unsigned char>(v >> (8 * b));
}

uint32_t get_u32(const unsigned char* p) {
  uint32_t v = 0;
  for (int b = 0; b < 4; ++b) v |= static_cast<uint32_t>(p[b]) << (8 * b);
  return v;
}

void put_f64(unsigned char* p, double d) {
  uint64_t v;
  std::memcpy(&v, &d, 8);
  for (int b = 0; b < 8; ++b) p[b] = static_cast<unsigned char>(v >> (8 * b));
}

double get_f64(const unsigned char* p) {
  uint64_t v = 0;
  for (int b = 0; b < 8; ++b) v |= static_cast<uint64_t>(p[b]) << (8 * b);
  double d;
  std::memcpy(&d, &v, 8);
  return d;
}

constexpr uint32_t chunk = 512;   // elements converted per write or read

}  // namespace

DM& DM::write(const char* file) {
  File out(file, "wb");
  if (!out.f) matrix_fatal("Unable to create DM file", file);
  unsigned char head[16];
  put_u32(head, n);
  put_u32(head + 4, static_cast<uint32_t>(rows));
  put_u32(head + 8, static_cast<uint32_t>(cols));
  put_u32(head + 12, 0);
  if (std::fwrite(head, 16, 1, out.f) != 1) matrix_fatal("Error writing DM file", file);
  unsigned char buf[8 * chunk];
  size_t written = 0;
  for (uint32_t k = 0; k < n; k += chunk) {
    uint32_t m = n - k < chunk ? n - k : chunk;
    for (uint32_t e = 0; e < m; ++e) put_f64(buf + 8 * e, blk->data[k + e]);
    written += std::fwrite(buf, 8, m, out.f);
  }
  if (written != n) matrix_fatal("Error writing DM file", file);
  if (std::fclose(out.f) != 0) {
    out.f = nullptr;
    matrix_fatal("Error writing DM file", file);
  }
  out.f = nullptr;
  return *this;
}

DM& DM::read(const char* file) {
  File in(file, "rb");
  if (!in.f) matrix_fatal("Unable to read DM file", file);
  unsigned char head[16];
  if (std::fread(head, 16, 1, in.f) != 1) matrix_fatal("Error reading DM file", file);
  const uint32_t fn = get_u32(head);
  const int32_t fr = static_cast<int32_t>(get_u32(head + 4));
  const int32_t fc = static_cast<int32_t>(get_u32(head + 8));
  // The header must describe a matrix, and the file must hold its elements, before
  // anything is allocated.
  if (fr < 0 || fc < 0 || static_cast<uint64_t>(fr) * static_cast<uint64_t>(fc) != fn)
    matrix_fatal("Error reading DM file", file);
  if (std::fseek(in.f, 0, SEEK_END) != 0) matrix_fatal("Error reading DM file", file);
  long size = std::ftell(in.f);
  if (size < 0 || static_cast<uint64_t>(size) < 16 + 8 * static_cast<uint64_t>(fn) ||
      std::fseek(in.f, 16, SEEK_SET) != 0)
    matrix_fatal("Error reading DM file", file);

  // The new block is filled completely before it replaces the old one: a failed read
  // leaves this matrix as it was.
  DM fresh;
  fresh.redim(fr, fc, false);
  unsigned char buf[8 * chunk];
  for (uint32_t k = 0; k < fn; k += chunk) {
    uint32_t m = fn - k < chunk ? fn - k : chunk;
    if (std::fread(buf, 8, m, in.f) != m) matrix_fatal("Error reading DM file", file);
    for (uint32_t e = 0; e < m; ++e) fresh.blk->data[k + e] = get_f64(buf + 8 * e);
  }
  share(fresh);
  return *this;
}
