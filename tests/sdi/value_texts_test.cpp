// The texts a symbol element draws beside its image: which, where and with what prefix.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sdi/base_elements.h"
#include "sdi/control_elements.h"
#include "sdi/frame_buffer.h"
#include "sdi/source_elements.h"

namespace {
using sdi::point;
using Text = std::pair<point, std::string>;  // offset from the image position, text

struct OnBuffer {
  sdi::frame_buffer fb{400, 400};
  OnBuffer() { sdi::pDC = &fb; }
  ~OnBuffer() { sdi::pDC = nullptr; }
};

// Draws the element unselected with name "N1" and returns its texts relative to its image.
std::vector<Text> texts_of(sdi::i_element& e) {
  OnBuffer b;
  e.deselect();
  e.set_name("N1");
  e.image->place_ref_at(point(200, 200));
  e.draw();
  std::vector<Text> out;
  for (const auto& t : b.fb.texts()) {
    EXPECT_EQ(t.colour, 0x0000C8u);
    out.push_back({point(t.x - e.image->x, t.y - e.image->y), t.text});
  }
  return out;
}

void turn_to(sdi::i_element& e, int orientation) {
  while (e.orientation != orientation) e.rotate();
}
}  // namespace

TEST(ValueTexts, NameAndValueNeedFlagFour) {
  sdi::source v(sdi::kind_voltage_source, 1);
  v.values[0] = 12.0;
  EXPECT_TRUE(texts_of(v).empty());
  v.flags.set(sdi::flag_values_set);
  EXPECT_EQ(texts_of(v), (std::vector<Text>{{point(12, 6), "N1"}, {point(8, 37), " 12 "}}));
  turn_to(v, 2);
  EXPECT_EQ(texts_of(v), (std::vector<Text>{{point(3, -10), "N1"}, {point(3, 12), " 12 "}}));
  turn_to(v, 3);  // vertical again
  EXPECT_EQ(texts_of(v), (std::vector<Text>{{point(12, 6), "N1"}, {point(8, 37), " 12 "}}));
}

TEST(ValueTexts, DiodeAndPortsShowTheirNameOnly) {
  sdi::diode d(1);
  EXPECT_EQ(texts_of(d), (std::vector<Text>{{point(12, 5), "N1"}}));
  turn_to(d, 0);
  EXPECT_EQ(texts_of(d), (std::vector<Text>{{point(3, -12), "N1"}}));
  sdi::port p(sdi::kind_current_port, 1);
  p.flags.clear(sdi::flag_values_set);  // the name does not depend on it
  EXPECT_EQ(texts_of(p), (std::vector<Text>{{point(12, 5), "N1"}}));
}

TEST(ValueTexts, SwitchNameByOrientation) {
  sdi::switch2 s(1);
  s.flags.set(sdi::flag_values_set);  // no value text for a switch
  EXPECT_EQ(texts_of(s), (std::vector<Text>{{point(-11, 3), "N1"}}));
  turn_to(s, 2);
  EXPECT_EQ(texts_of(s), (std::vector<Text>{{point(30, 22), "N1"}}));
  turn_to(s, 3);
  EXPECT_EQ(texts_of(s), (std::vector<Text>{{point(24, 38), "N1"}}));
  turn_to(s, 0);
  EXPECT_EQ(texts_of(s), (std::vector<Text>{{point(0, 3), "N1"}}));
}

TEST(ValueTexts, ModulatorFiveValues) {
  sdi::modulator m(1);
  m.values[1] = 2.0;
  m.values[2] = 0.5;
  m.values[3] = 0.0;
  m.values[4] = 10.0;
  m.values[5] = 1e-5;
  EXPECT_EQ(texts_of(m), (std::vector<Text>{{point(12, 105), "k1 =  2.0 "},
                                             {point(12, 117), "k2 =  500 m"},
                                             {point(12, 129), "k3 =  0.0 "},
                                             {point(12, 141), "Vpk =  10 "},
                                             {point(12, 153), "Period =  10 u"}}));
}

TEST(ValueTexts, ClockDelayAndPeriod) {
  sdi::clockx c(1);
  c.values[1] = 0.0;
  c.values[2] = 2e-5;
  EXPECT_EQ(texts_of(c), (std::vector<Text>{{point(20, 3), "Del =  0.0 "}, {point(20, 15), "Per =  20 u"}}));
  turn_to(c, 2);
  EXPECT_EQ(texts_of(c), (std::vector<Text>{{point(3, 18), "Del =  0.0 "}, {point(3, 30), "Per =  20 u"}}));
}

TEST(ValueTexts, MultiplierGain) {
  sdi::multiplier m(1);
  EXPECT_EQ(texts_of(m), (std::vector<Text>{{point(0, -15), " 1.0 "}}));
  turn_to(m, 2);
  EXPECT_EQ(texts_of(m), (std::vector<Text>{{point(20, -15), " 1.0 "}}));
}

TEST(ValueTexts, LimiterNameAndLimit) {
  sdi::limiter l(sdi::kind_upper_limiter, 1);
  l.values[0] = -4.7;
  EXPECT_EQ(texts_of(l), (std::vector<Text>{{point(15, 3), "N1"}, {point(12, 38), "-4.7 "}}));
  turn_to(l, 0);
  EXPECT_EQ(texts_of(l), (std::vector<Text>{{point(3, -12), "N1"}, {point(4, 22), "-4.7 "}}));
}

TEST(ValueTexts, ElementsWithoutTexts) {
  sdi::op_amp o(1);  // flag 4 set, but its kind has no text rule
  sdi::ground g(1);
  sdi::vco v(1);
  v.flags.set(sdi::flag_values_set);
  sdi::current_sense cs(1);
  EXPECT_TRUE(texts_of(o).empty());
  EXPECT_TRUE(texts_of(g).empty());
  EXPECT_TRUE(texts_of(v).empty());
  EXPECT_TRUE(texts_of(cs).empty());
}

TEST(ValueTexts, RotationDrawsTheImageAloneAndSelectionHidesTexts) {
  OnBuffer b;
  sdi::basic r(sdi::kind_resistor, 1);
  r.flags.set(sdi::flag_values_set);
  r.set_name("R1");
  r.deselect();
  r.image->place_ref_at(point(200, 200));
  r.rotate();
  r.mirror();
  EXPECT_TRUE(b.fb.texts().empty());
  r.select();
  r.draw();
  EXPECT_TRUE(b.fb.texts().empty());
}
