// The circuit files' value writers and readers against bytes written out by hand.
#include <gtest/gtest.h>

#include "record_bytes.h"
#include "sdi/base/byte_io.h"

TEST(ByteIo, ValuesGoLowestByteFirstAndReadersTakeOnlyWhatTheyAskFor) {
  std::FILE* f = std::tmpfile();
  const double two[] = {1.5, -2.0};
  sdi::write_int(f, 0x01020304);
  sdi::write_doubles(f, two, 2);
  sdi::write_bytes(f, "ab", 2);
  sdi::write_int(f, -2);
  EXPECT_EQ(stream_bytes(f), cat({{4, 3, 2, 1}, le64(0x3FF8000000000000), le64(0xC000000000000000), {'a', 'b'},
                                  {0xFE, 0xFF, 0xFF, 0xFF}}));
  std::rewind(f);
  std::int32_t i = 0;
  double d[] = {0, 0, 7};
  char b[2] = {};
  EXPECT_TRUE(sdi::read_int(f, i) && i == 0x01020304);
  EXPECT_TRUE(sdi::read_doubles(f, d, 2));
  EXPECT_TRUE(d[0] == 1.5 && d[1] == -2.0 && d[2] == 7);
  EXPECT_TRUE(sdi::read_bytes(f, b, 2) && b[0] == 'a' && b[1] == 'b');
  EXPECT_TRUE(sdi::read_int(f, i) && i == -2);
  // Past the end: missing bytes read as 0xFF and the reader says so.
  EXPECT_FALSE(sdi::read_int(f, i));
  EXPECT_EQ(i, -1);
  EXPECT_FALSE(sdi::read_doubles(f, d, 1));
  std::fclose(f);
}
