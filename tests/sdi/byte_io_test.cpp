#include "sdi/byte_io.h"

#include <gtest/gtest.h>

#include <cmath>

#include "capture.h"
#include "record_bytes.h"

TEST(ByteIo, WriteInt) {
  std::FILE* f = std::tmpfile();
  sdi::write_int(f, 17);
  sdi::write_int(f, -1);
  sdi::write_int(f, 0x12345678);
  EXPECT_EQ(stream_bytes(f), (Bytes{0x11, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}));
  std::fclose(f);
}

TEST(ByteIo, WriteDouble) {
  std::FILE* f = std::tmpfile();
  sdi::write_double(f, 1.0);
  sdi::write_double(f, 1000.0);
  EXPECT_EQ(stream_bytes(f), (Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0, 0, 0, 0, 0x40, 0x8F, 0x40}));
  std::fclose(f);
}

TEST(ByteIo, RoundTrip) {
  std::FILE* f = std::tmpfile();
  const double d[3] = {-2.5, 1e-300, std::nextafter(1.0, 2.0)};
  sdi::write_doubles(f, d, 3);
  sdi::write_int(f, -123456789);
  sdi::write_bytes(f, "R1\0\0\0\0\0\0", 8);
  std::rewind(f);
  double back[3];
  std::int32_t i = 0;
  char name[8];
  EXPECT_TRUE(sdi::read_doubles(f, back, 3));
  EXPECT_TRUE(sdi::read_int(f, i));
  EXPECT_TRUE(sdi::read_bytes(f, name, 8));
  EXPECT_EQ(back[0], -2.5);
  EXPECT_EQ(back[1], 1e-300);
  EXPECT_EQ(back[2], std::nextafter(1.0, 2.0));
  EXPECT_EQ(i, -123456789);
  EXPECT_EQ(std::string(name), "R1");
  std::fclose(f);
}

TEST(ByteIo, MissingBytesReadAsFFAndReport) {
  std::FILE* f = stream_of({0x05, 0x00});
  std::int32_t v = 0;
  EXPECT_FALSE(sdi::read_int(f, v));
  EXPECT_EQ(v, static_cast<std::int32_t>(0xFFFF0005u));
  EXPECT_FALSE(sdi::read_int(f, v));
  EXPECT_EQ(v, -1);
  double d = 0;
  EXPECT_FALSE(sdi::read_double(f, d));
  EXPECT_TRUE(std::isnan(d));
  std::fclose(f);
}
