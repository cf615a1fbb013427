// Editing the sheet with the mouse and keys, on the real model.
#include <filesystem>

#include "sdi/elements/i_element.h"
#include "sdi/capture.h"
#include "sdi/zorv/core/view/wire_merge.h"
#include "zorv/edit_fixture.h"
#include "zorv/render_pixels.h"

namespace {

using zorv::Pos;

TEST_F(EditTest, PlacingTwoResistorsThenEscOrTheRightButtonLeavesNothingPending) {
  for (bool esc : {true, false}) {
    SCOPED_TRACE(esc ? "Esc" : "right button");
    sdi::delete_all_elements();
    Arm(sdi::kind_resistor);
    Click({200, 160});
    Click({296, 160});
    ASSERT_NE(sdi::pending_element, nullptr);  // the next resistor follows the cursor
    esc ? (void)Edit().OnKeyDown(zorv::kKeyEscape) : Edit().OnRButtonDown();
    EXPECT_EQ(sdi::pending_element, nullptr);
    EXPECT_FALSE(Edit().Placing());
    ASSERT_EQ(CircuitCount(), 2);
    EXPECT_EQ(Find("R2")->terminal_at(0), sdi::point(296, 136));
  }
}

TEST(BendRule, SignChangesAndTheFirstStep) {
  struct { sdi::point a, b; int before, after; } rows[] = {
      {{0, 0}, {3, 5}, 0, 1},     {{0, 0}, {5, 3}, 1, 0},     {{0, 0}, {4, -4}, 0, 1},
      {{9, 9}, {-9, 9}, 0, 1},    {{-9, -9}, {9, -9}, 0, 1},  {{-9, 9}, {9, 9}, 0, 1},
      {{9, -9}, {-9, -9}, 0, 1},  {{-9, 9}, {-9, -9}, 1, 0},  {{9, -9}, {9, 9}, 1, 0},
      {{-9, -9}, {-9, 9}, 1, 0},  {{9, 9}, {9, -9}, 1, 0},    {{9, 9}, {-9, -9}, 1, 1},
      {{0, 9}, {-9, 9}, 0, 0},    {{9, 9}, {16, 9}, 1, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.a.x << "," << r.a.y << " -> " << r.b.x << "," << r.b.y);
    EXPECT_EQ(zorv::BendAfterMove(r.a, r.b, r.before), r.after);
  }
}

TEST_F(EditTest, AnLWireBecomesTwoStraightWiresAndSpaceFlipsTheBend) {
  Edit().OnWire();
  Drag({16, 16}, {64, 40});
  EXPECT_EQ(Wires(), (std::vector<sdi::line>{{16, 16, 64, 16}, {64, 16, 64, 40}}));
  EXPECT_TRUE(Edit().WireMode());  // armed again
  Edit().OnLButtonDown({100, 100});
  Edit().OnKeyDown(zorv::kKeySpace);
  Edit().OnMouseMove({148, 124}, true);
  Edit().OnLButtonUp({148, 124}, false);
  EXPECT_EQ(Wires().size(), 4u);
  EXPECT_EQ(Wires()[2], sdi::line(104, 104, 104, 128));
  EXPECT_EQ(Wires()[3], sdi::line(104, 128, 152, 128));
  // A click without movement draws nothing.
  Click({200, 200});
  EXPECT_EQ(Wires().size(), 4u);
  // Out to the lower right, then across the start's horizontal line: horizontal leg first.
  Edit().OnLButtonDown({296, 96});
  Edit().OnMouseMove({336, 112}, true);
  Edit().OnMouseMove({336, 80}, true);
  Edit().OnLButtonUp({336, 80}, false);
  ASSERT_EQ(Wires().size(), 6u);
  EXPECT_EQ(Wires()[4], sdi::line(296, 96, 336, 96));
  EXPECT_EQ(Wires()[5], sdi::line(336, 80, 336, 96));
}

TEST_F(EditTest, ACollinearContinuationMergesUnlessATerminalSitsAtItsFirstEnd) {
  for (bool terminal : {false, true}) {
    SCOPED_TRACE(terminal);
    sdi::delete_all_elements();
    AddWire({16, 16}, {48, 16})->selected = 0;
    if (terminal) AddResistor({48, 40})->selected = 0;  // terminals (48, 16), (48, 64)
    Edit().OnWire();
    Drag({48, 16}, {96, 16});
    Edit().OnKeyDown(zorv::kKeyEscape);
    if (terminal)
      EXPECT_EQ(Wires(), (std::vector<sdi::line>{{16, 16, 48, 16}, {48, 16, 96, 16}}));
    else
      EXPECT_EQ(Wires(), (std::vector<sdi::line>{{16, 16, 96, 16}}));
  }
  sdi::delete_all_elements();  // drawn leftwards from the end of a wire
  AddWire({48, 16}, {96, 16})->selected = 0;
  Edit().OnWire();
  Drag({48, 16}, {16, 16});
  Edit().OnKeyDown(zorv::kKeyEscape);
  EXPECT_EQ(Wires(), (std::vector<sdi::line>{{16, 16, 96, 16}}));
  sdi::delete_all_elements();  // and upwards from the top of a vertical one
  AddWire({16, 48}, {16, 96})->selected = 0;
  Edit().OnWire();
  Drag({16, 48}, {16, 16});
  Edit().OnKeyDown(zorv::kKeyEscape);
  EXPECT_EQ(Wires(), (std::vector<sdi::line>{{16, 16, 16, 96}}));
}

// A dragged selection joins and splits wires once it is let go (at the next press outside it).
TEST_F(EditTest, AMovedWireJoinsItsNeighbourAndAMovedResistorSplitsAWire) {
  AddWire({16, 16}, {48, 16})->selected = 0;
  AddWire({80, 16}, {128, 16})->selected = 0;
  Drag({72, 8}, {136, 24});  // the right wire alone
  Drag({96, 16}, {64, 16});  // left by 32: now (48, 16)-(96, 16)
  EXPECT_EQ(Wires().size(), 2u);
  Click({300, 250});
  EXPECT_EQ(Wires(), (std::vector<sdi::line>{{16, 16, 96, 16}}));
  AddWire({200, 200}, {200, 264})->selected = 0;
  AddResistor({296, 160})->selected = 0;  // terminals (296, 136), (296, 184)
  Drag({280, 120}, {312, 200});
  Drag({296, 160}, {200, 200});  // to terminals (200, 176) and (200, 224): the lower one on the wire
  Click({360, 280});
  EXPECT_EQ(Wires(), (std::vector<sdi::line>{{16, 16, 96, 16}, {200, 200, 200, 224}, {200, 224, 200, 264}}));
}

TEST_F(EditTest, ATerminalPlacedOnAWireSplitsIt) {
  AddWire({152, 136}, {248, 136})->selected = 0;
  Arm(sdi::kind_resistor);
  Click({200, 160});  // upper terminal (200, 136)
  Edit().OnKeyDown(zorv::kKeyEscape);
  EXPECT_EQ(Wires(), (std::vector<sdi::line>{{152, 136, 200, 136}, {200, 136, 248, 136}}));
}

TEST_F(EditTest, BandSelectsAndShiftAdds) {
  sdi::element* r1 = AddResistor({200, 160});
  sdi::element* r2 = AddResistor({296, 160});
  r1->selected = r2->selected = 0;
  Drag({180, 120}, {220, 200});
  EXPECT_TRUE(r1->selected && !r2->selected);
  // The extent (174, 115)-(231, 195) grown by 3.
  EXPECT_EQ(Edit().SelectionRect(), sdi::rect(171, 112, 63, 86));
  Edit().OnMouseMove({200, 140}, false);  // the move cursor and the capture over the selection only
  EXPECT_EQ(host.cursor, zorv::EditCursor::Move);
  EXPECT_TRUE(host.captured);
  Edit().OnMouseMove({296, 140}, false);
  EXPECT_EQ(host.cursor, zorv::EditCursor::Arrow);
  EXPECT_FALSE(host.captured);
  Drag({276, 120}, {316, 200}, true);
  EXPECT_TRUE(r1->selected && r2->selected);
  Drag({332, 205}, {276, 120});  // from outside the selection: a new band
  EXPECT_TRUE(!r1->selected && r2->selected);
  // The band, from the snapped press (24, 24), is drawn inverted while dragged
  // and gone after the release.
  Edit().OnLButtonDown({20, 20});
  Edit().OnMouseMove({60, 50}, true);
  EXPECT_NE(host.fb.pixel(44, 24), kWhite);
  Edit().OnLButtonUp({60, 50}, false);
  host.ClientBuffer();
  EXPECT_EQ(host.fb.pixel(44, 24), kWhite);
  Edit().OnWire();  // in wire mode the client captures the mouse until placing ends
  Edit().OnMouseMove({100, 100}, false);
  EXPECT_TRUE(host.captured);
  view.EndPlacing();
  EXPECT_FALSE(host.captured);
}

TEST_F(EditTest, AClickSelectsADragLandsOnTheGridAndSelectAllFollows) {
  sdi::element* r = AddResistor({200, 160});
  sdi::element* r2 = AddResistor({296, 160});
  r->selected = r2->selected = 0;
  Click({200, 150});
  EXPECT_TRUE(r->selected && !r2->selected);
  EXPECT_FALSE(host.modified);

  Drag({200, 150}, {243, 171});
  EXPECT_EQ(r->terminal_at(0), sdi::point(240, 152));  // moved by (40, 16)
  EXPECT_EQ(r2->terminal_at(0), sdi::point(296, 136));
  EXPECT_TRUE(host.modified);
  EXPECT_TRUE(std::filesystem::exists(undo.Backup()));
  edit.OnEditSelectAll();
  Drag({250, 160}, {266, 176});
  EXPECT_EQ(r->terminal_at(0), sdi::point(256, 168));
  EXPECT_EQ(r2->terminal_at(0), sdi::point(312, 152));
  ASSERT_TRUE(edit.CanCopy());
  edit.OnEditUndo();  // the circuit read back has no selection
  EXPECT_FALSE(edit.CanCopy());
}

TEST_F(EditTest, KeysOnASelection) {
  struct { int key; bool undoPoint; int count, orientation; bool selected; } rows[] = {
      {zorv::kKeyDelete, true, 0, 1, false},
      {zorv::kKeySpace, true, 1, 2, true},
      {zorv::kKeyEscape, false, 1, 1, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.key);
    sdi::delete_all_elements();
    std::filesystem::remove(undo.Backup());
    host.modified = false;
    Edit().Reset();
    AddResistor({200, 160})->selected = 0;
    Drag({180, 120}, {220, 200});
    Edit().OnKeyDown(row.key);
    EXPECT_EQ(std::filesystem::exists(undo.Backup()), row.undoPoint);
    ASSERT_EQ(CircuitCount(), row.count);
    if (row.count) {
      EXPECT_EQ(static_cast<sdi::i_element*>(sdi::circuit.head->value)->orientation, row.orientation);
      EXPECT_EQ(sdi::circuit.head->value->selected != 0, row.selected);
    }
  }
}

TEST_F(EditTest, KeysScrollTheSheet) {
  // At zoom 1 the sheet is 2000 x 3000 pixels in a 400 x 300 client: a page is a
  // tenth of the sheet, a line a tenth of a page.
  struct { int key; zorv::Pos from, to; } rows[] = {
      {zorv::kKeyPageDown, {0, 0}, {0, 300}},    {zorv::kKeyPageUp, {0, 200}, {0, 0}},
      {zorv::kKeyRight, {0, 0}, {20, 0}},        {zorv::kKeyDown, {0, 0}, {0, 30}},
      {zorv::kKeyLeft, {40, 0}, {20, 0}},        {zorv::kKeyUp, {0, 90}, {0, 60}},
      {zorv::kKeyEnd, {0, 0}, {1600, 2700}},     {zorv::kKeyHome, {500, 500}, {0, 0}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.key);
    host.scroll.pos = row.from;
    EXPECT_TRUE(Edit().OnKeyDown(row.key));
    EXPECT_EQ(std::make_pair(host.scroll.pos.x, host.scroll.pos.y), std::make_pair(row.to.x, row.to.y));
  }
  EXPECT_FALSE(Edit().OnKeyDown('A'));
}

// Select All with nothing selected before: a drag inside moves everything.
TEST_F(EditTest, SelectAllFromNothingThenADragMovesAll) {
  sdi::element* r = AddResistor({200, 160});
  sdi::element* r2 = AddResistor({296, 160});
  r->selected = r2->selected = 0;
  Edit().SelectAll();
  Drag({200, 160}, {216, 176});
  EXPECT_EQ(std::make_pair(r->terminal_at(0), r2->terminal_at(0)), std::make_pair(sdi::point(216, 152), sdi::point(312, 152)));
}

// A wire drawn across the gap of two collinear wires joins all three into one,
// without an internal error; a span given backwards is refused.
TEST_F(EditTest, AWireBridgingTwoWiresJoinsAllThree) {
  Capture cap;
  AddWire({16, 16}, {64, 16})->selected = 0;
  AddWire({128, 16}, {176, 16})->selected = 0;
  Edit().OnWire();
  Drag({48, 16}, {144, 16});
  Edit().OnKeyDown(zorv::kKeyEscape);
  EXPECT_EQ(Wires(), (std::vector<sdi::line>{{16, 16, 176, 16}}));
  EXPECT_TRUE(cap.errors.empty());
  EXPECT_EQ(zorv::MergeWireSpans(64, 16, 0, 80, static_cast<sdi::cline*>(sdi::circuit.head->value), true), 0);
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/zorv/core/view/wire_merge.cpp: Internal Assertion"});
}

TEST_F(EditTest, AWireDrawnOverALongerOneIsTakenIn) {
  AddWire({16, 16}, {176, 16})->selected = 0;
  Edit().OnWire();
  Drag({48, 16}, {144, 16});
  Edit().OnKeyDown(zorv::kKeyEscape);
  EXPECT_EQ(Wires(), (std::vector<sdi::line>{{16, 16, 176, 16}}));
}

}  // namespace
