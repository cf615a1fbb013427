#include "sdi/records.h"

#include <gtest/gtest.h>

#include <memory>

#include "capture.h"
#include "record_bytes.h"
#include "sdi/base_elements.h"
#include "sdi/bl_element.h"
#include "sdi/byte_io.h"

namespace {
using sdi::point;
}  // namespace

TEST(Records, ResistorByteForByte) {
  sdi::basic r(sdi::kind_resistor, 1);
  r.values[0] = 1000.0;
  r.flags.set_word(0x32);
  r.id = 4;
  r.set_name("R1");
  r.image->place_ref_at(point(200, 160));
  Bytes name = {'R', '1', 0, 0, 0, 0, 0, 0};
  Bytes expected = cat({le32(0), {0, 0, 0, 0, 0, 0x40, 0x8F, 0x40}, le32(0x32), le32(4), le32(1), le32(0), le32(0),
                        name, Bytes(8, 0), {0xC8, 0, 0, 0}, {0xA0, 0, 0, 0}, Bytes(8, 0)});
  Bytes got = written(r);
  EXPECT_EQ(got.size(), 64u);
  EXPECT_EQ(got, expected);
}

TEST(Records, WireByteForByte) {
  sdi::cline w;
  w.values[0] = 0.0;
  w.id = 7;
  w.shape.set(8, 16, 40, 24, 1, 1, 0, 0);
  Bytes expected = cat({le32(5), Bytes(8, 0), le32(0x90), le32(7), le32(8), le32(16), le32(40), le32(24), le32(1),
                        le32(0), le32(0), le32(1)});
  Bytes got = written(w);
  EXPECT_EQ(got.size(), 52u);
  EXPECT_EQ(got, expected);
  sdi::cline back;
  std::FILE* f = body_of(got);
  ASSERT_TRUE(back.read(f));
  std::fclose(f);
  EXPECT_EQ(written(back), got);
}

TEST(Records, OrientationZeroReadsWithThreeQuarterTurn) {
  sdi::basic r(sdi::kind_capacitor, 1);
  r.image->place_ref_at(point(200, 160));
  for (int i = 0; i < 3; ++i) r.rotate();
  r.flags.set(sdi::flag_on_sheet);  // as every placed element has it
  EXPECT_EQ(r.orientation, 0);
  point t0 = r.terminal_at(0);
  EXPECT_EQ(t0, point(176, 160));
  Bytes rec = written(r);
  EXPECT_EQ(Bytes(rec.begin() + 20, rec.begin() + 24), le32(0));
  sdi::basic back(sdi::kind_capacitor, 1);
  std::FILE* f = body_of(rec);
  ASSERT_TRUE(back.read(f));
  std::fclose(f);
  EXPECT_EQ(back.orientation, 0);
  EXPECT_EQ(back.terminal_at(0), t0);
  EXPECT_EQ(back.ref_point(), point(200, 160));
  EXPECT_EQ(back.image->w, 51);
  EXPECT_EQ(written(back), rec);
}

TEST(Records, CouplingNamesFollowTheStreamVersion) {
  sdi::cmutind m;
  m.id = 3;
  m.inductor1 = 1;
  m.inductor2 = 2;
  m.set_name("M1");
  Bytes rec = written(m);
  ASSERT_EQ(rec.size(), 52u + 8 + 16);
  // Current layout (circuit files of 105, and every headerless stream): names read.
  {
    std::FILE* f = body_of(cat({rec, le32(17)}));
    sdi::cmutind back;
    ASSERT_TRUE(back.read(f));
    EXPECT_STREQ(back.name(), "M1");
    std::int32_t next = 0;
    EXPECT_TRUE(sdi::read_int(f, next));
    EXPECT_EQ(next, 17);  // the stream stays aligned
    std::fclose(f);
    EXPECT_EQ(written(back), rec);
  }
  // A version-104 file has no name fields.
  {
    Bytes old(rec.begin(), rec.end() - 16);
    std::FILE* f = body_of(cat({old, le32(17)}));
    sdi::cmutind back;
    ASSERT_TRUE(back.read(f, 104));
    EXPECT_EQ(back.inductor2, 2);
    EXPECT_STREQ(back.name(), "");
    std::int32_t next = 0;
    EXPECT_TRUE(sdi::read_int(f, next));
    EXPECT_EQ(next, 17);
    std::fclose(f);
  }
}

TEST(Records, NameFieldsAreZeroPaddedAndTerminated) {
  sdi::basic r(sdi::kind_resistor, 1);
  r.set_name("ABCDEFGHIJ");
  Bytes rec = written(r);
  EXPECT_EQ(Bytes(rec.begin() + 32, rec.begin() + 40), (Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 0}));
  // A file whose name field has no terminator reads as at most 7 characters.
  for (int i = 32; i < 40; ++i) rec[i] = 'Z';
  sdi::basic back(sdi::kind_resistor, 1);
  std::FILE* f = body_of(rec);
  ASSERT_TRUE(back.read(f));
  std::fclose(f);
  EXPECT_STREQ(back.name(), "ZZZZZZZ");
}

TEST(Records, BadCountsAbortTheRead) {
  sdi::basic r(sdi::kind_resistor, 1);
  Bytes rec = written(r);
  // The largest count is taken (the links it promises are then missing).
  for (std::int32_t bad : {-1, sdi::max_record_count + 1, 0x7FFFFFFF, sdi::max_record_count}) {
    Bytes b = rec;
    Bytes c = le32(bad);
    std::copy(c.begin(), c.end(), b.begin() + 28);  // the link count
    sdi::basic back(sdi::kind_resistor, 1);
    std::FILE* f = body_of(b);
    EXPECT_FALSE(back.read(f));
    std::fclose(f);
    EXPECT_EQ(sdi::last_record_error(), bad == sdi::max_record_count
                                            ? "The file ends inside an element record"
                                            : "An element record holds a bad count (" + std::to_string(bad) + ")");
  }
}

