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

