// Little-endian value readers and writers of the binary circuit files.
//
// Values go one byte at a time through a C stdio stream: int32 as 4 bytes,
// double as the 8 bytes of IEEE 754 binary64, lowest byte first; character
// fields at their full fixed width. A missing byte reads as 0xFF (a missing
// int32 reads as -1), and the reader returns false: callers that must not go
// on with such a value check the result (or feof/ferror of the stream).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace sdi {

void write_int(std::FILE* f, std::int32_t v);
void write_double(std::FILE* f, double v);
void write_doubles(std::FILE* f, const double* v, int n);
void write_bytes(std::FILE* f, const void* bytes, std::size_t n);

bool read_int(std::FILE* f, std::int32_t& v);
bool read_double(std::FILE* f, double& v);
bool read_doubles(std::FILE* f, double* v, int n);
bool read_bytes(std::FILE* f, void* buffer, std::size_t n);

}  // namespace sdi
