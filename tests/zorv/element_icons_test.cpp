#include "sdi/zorv/core/element_icons.h"

#include <gtest/gtest.h>

#include "sdi/element.h"
#include "sdi/placement.h"
#include "sdi/zorv/core/command_ids.h"
#include "sdi/zorv/core/command_table.h"

namespace {

int Count(const std::vector<std::uint32_t>& px, std::uint32_t colour) {
  int n = 0;
  for (std::uint32_t c : px) n += c == colour;
  return n;
}

}  // namespace

TEST(ElementIcon, ResistorDrawnInBlueOnWhite) {
  const auto px = zorv::ElementIcon(sdi::kind_resistor);
  ASSERT_EQ(px.size(), 16u * 15u);
  const int blue = Count(px, 0xFF0000), white = Count(px, 0xFFFFFF);
  EXPECT_GT(blue, 10);
  EXPECT_EQ(blue + white, 16 * 15);
}

TEST(ElementIcon, LineElementsHaveNone) {
  EXPECT_TRUE(zorv::ElementIcon(sdi::kind_wire).empty());
  EXPECT_TRUE(zorv::ElementIcon(sdi::kind_mutual).empty());
  EXPECT_TRUE(zorv::ElementIcon(-1).empty());
}

TEST(ElementIcon, LeavesThePlacementAlone) {
  sdi::element* const pending = sdi::pending_element;
  sdi::element* const previous = sdi::previous_pending_element;
  zorv::ElementIcon(sdi::kind_capacitor);
  EXPECT_EQ(sdi::pending_element, pending);
  EXPECT_EQ(sdi::previous_pending_element, previous);
}

TEST(ElementIcon, EveryElementButtonHasArtwork) {
  for (int id : zorv::ElementToolbarButtons()) {
    const int kind = zorv::ElementKindOfCommand(id);
    ASSERT_GE(kind, 0) << id;
    if (sdi::is_line_element(kind)) continue;
    EXPECT_GT(Count(zorv::ElementIcon(kind), 0xFF0000), 3) << "kind " << kind;
  }
}

TEST(ElementKindOfCommand, MapsTheElementCommands) {
  EXPECT_EQ(zorv::ElementKindOfCommand(zorv::cmd::VDC), 32);
  EXPECT_EQ(zorv::ElementKindOfCommand(zorv::cmd::Ground), 28);
  EXPECT_EQ(zorv::ElementKindOfCommand(zorv::cmd::ICIS), 12);
  EXPECT_EQ(zorv::ElementKindOfCommand(zorv::cmd::ZoomIn), -1);
}
