// Test helpers for record and file layouts: expected bytes built value by
// value (little-endian), and records or whole circuits as their writers give them.
//
//     const Bytes rec = written(r);                // the record, kind first
//     std::FILE* f = body_of(rec);                 // read back from after the kind
//     EXPECT_EQ(circuit_file_bytes(), cat({le32(105), le64(0)}));
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <vector>

#include "capture.h"
#include "sdi/files/circuit_file.h"
#include "sdi/elements/element.h"

using Bytes = std::vector<unsigned char>;

inline Bytes le32(std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  return {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8), static_cast<unsigned char>(u >> 16),
          static_cast<unsigned char>(u >> 24)};
}

inline Bytes le64(std::uint64_t u) {
  Bytes b;
  for (int i = 0; i < 8; ++i) b.push_back(static_cast<unsigned char>(u >> (8 * i)));
  return b;
}

inline Bytes cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// One element's record, kind first.
inline Bytes written(sdi::element& e) {
  std::FILE* f = std::tmpfile();
  e.write(f);
  Bytes b = stream_bytes(f);
  std::fclose(f);
  return b;
}

// The circuit as its file holds it (header and records).
inline Bytes circuit_file_bytes() {
  std::FILE* f = std::tmpfile();
  sdi::write_circuit(f);
  Bytes b = stream_bytes(f);
  std::fclose(f);
  return b;
}

// A temporary stream holding the bytes from the given offset on, positioned at its start.
inline std::FILE* stream_of(const Bytes& b, std::size_t from = 0) {
  std::FILE* f = std::tmpfile();
  for (std::size_t i = from; i < b.size(); ++i) std::fputc(b[i], f);
  std::rewind(f);
  return f;
}

// A stream positioned after the kind of a record.
inline std::FILE* body_of(const Bytes& record) { return stream_of(record, 4); }
