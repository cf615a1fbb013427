#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>

#include "capture.h"
#include "record_bytes.h"
#include "common/temp_dir.h"
#include "sdi/elements/base_elements.h"
#include "sdi/elements/bl_element.h"
#include "sdi/base/byte_io.h"
#include "sdi/elements/control_elements.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/factories.h"
#include "sdi/draw/frame_buffer.h"
#include "sdi/draw/drawing.h"
#include "sdi/elements/placement.h"
#include "sdi/elements/source_elements.h"
#include "sdi/elements/sub_element.h"

namespace {
using sdi::point;

// Creates an element of a kind through the factory, taking it from pending_element.
std::unique_ptr<sdi::element> make(int kind) {
  sdi::pending_element = nullptr;
  sdi::create_element(kind);
  std::unique_ptr<sdi::element> e(sdi::pending_element);
  sdi::pending_element = nullptr;
  sdi::previous_pending_element = nullptr;
  return e;
}

// Reads a whole record (kind first) back through the record reader.
std::unique_ptr<sdi::element> reread(const Bytes& rec, int version = sdi::circuit_version) {
  std::FILE* f = stream_of(rec);
  std::int32_t kind = 0;
  sdi::read_int(f, kind);
  bool ok = false;
  std::unique_ptr<sdi::element> e(sdi::read_element_record(kind, f, version, ok));
  EXPECT_TRUE(ok) << sdi::last_record_error();
  EXPECT_EQ(std::fgetc(f), EOF);  // the record was consumed exactly
  std::fclose(f);
  return e;
}

const int all_kinds[] = {0, 1, 2, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 20, 21, 22, 23,
                         24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36};

// Expected pin counts per kind.
int pins_of(int kind) {
  switch (kind) {
    case 20: case 26: case 27: case 36: return 3;
    case 21: case 24: case 28: case 31: return 1;
    case 30: return 4;
    case 35: return 0;
    default: return 2;
  }
}
}  // namespace

TEST(Factories, EveryKindHasItsClass) {
  Capture cap;
  for (int k : all_kinds) {
    auto e = make(k);
    ASSERT_NE(e, nullptr) << k;
    EXPECT_EQ(e->kind, k);
    EXPECT_EQ(e->selected, 1);
    EXPECT_EQ(e->id, 0);
    if (!sdi::is_line_element(k)) {
      auto* s = static_cast<sdi::i_element*>(e.get());
      EXPECT_EQ(s->orientation, 1);
      EXPECT_EQ(s->image->pin_count(), pins_of(k)) << k;
      EXPECT_EQ(e->nodes.count(), pins_of(k)) << k;
      for (int i = 0; i < e->nodes.count(); ++i) EXPECT_EQ(*e->nodes.list_value_at(i), -1);
    }
  }
  EXPECT_TRUE(cap.errors.empty());
}

// The checked casts refuse another kind (and null) rather than hand it on.
TEST(Factories, CastsRefuseOtherKinds) {
  Capture cap;
  sdi::basic r(sdi::kind_resistor, 1);
  EXPECT_EQ(sdi::as_diode(&r), nullptr);
  EXPECT_EQ(sdi::as_current_sense(&r), nullptr);
  EXPECT_EQ(sdi::as_limiter(&r), nullptr);
  EXPECT_EQ(sdi::as_diode(nullptr), nullptr);
  EXPECT_EQ(cap.errors.size(), 4u);
  sdi::diode d(1);
  EXPECT_EQ(sdi::as_diode(&d), &d);
}

TEST(Factories, OddKinds) {
  Capture cap;
  auto e = make(3);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->kind, 12);
  EXPECT_EQ(make(4)->kind, 12);
  EXPECT_EQ(make(11), nullptr);
  EXPECT_EQ(make(17), nullptr);
  EXPECT_EQ(make(99), nullptr);
  EXPECT_EQ(cap.errors, std::vector<std::string>(5, "sdi/elements/factories.cpp: Internal"));
}

TEST(Factories, OneProbeOneMultiplier) {
  Capture cap;
  EXPECT_EQ(sdi::probe_count, 0);
  {
    auto p = make(35);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(sdi::probe_count, 1);
    EXPECT_EQ(make(35), nullptr);
    EXPECT_EQ(cap.messages, std::vector<std::string>{"Only one probe allowed."});
    auto m = make(36);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(sdi::new_multiplier(), 0);
    EXPECT_EQ(cap.messages.back(), "Only one multiplier allowed.");
    EXPECT_EQ(sdi::multiplier_count, 1);
  }
  EXPECT_EQ(sdi::probe_count, 0);
  EXPECT_EQ(sdi::multiplier_count, 0);
  EXPECT_NE(make(35), nullptr);  // placeable again
}

TEST(Factories, UnknownKindInAStream) {
  Capture cap;
  std::FILE* f = std::tmpfile();
  bool ok = true;
  EXPECT_EQ(sdi::read_element_record(3, f, 105, ok), nullptr);
  EXPECT_FALSE(ok);
  EXPECT_EQ(sdi::last_record_error(), "Unknown element kind 3");
  EXPECT_EQ(sdi::read_element_record(-1, f, 105, ok), nullptr);
  EXPECT_EQ(sdi::last_record_error(), "Unknown element kind -1");
  std::fclose(f);
  // A record read while the user places an element leaves the placement state alone.
  const Bytes rec = written(*make(sdi::kind_resistor));
  sdi::basic placing(sdi::kind_inductor, 1), before(sdi::kind_capacitor, 1);
  sdi::pending_element = &placing;
  sdi::previous_pending_element = &before;
  EXPECT_NE(reread(rec), nullptr);
  EXPECT_EQ(sdi::pending_element, &placing);
  EXPECT_EQ(sdi::previous_pending_element, &before);
  sdi::pending_element = sdi::previous_pending_element = nullptr;
  EXPECT_TRUE(cap.errors.empty());
}

TEST(Factories, NextElementAndLabelLetters) {
  sdi::next_label_letter = 'y';
  for (char expect : {'y', 'z', 'a'}) {
    sdi::pending_element = nullptr;
    sdi::create_next_element(sdi::kind_label);
    std::unique_ptr<sdi::element> l(sdi::pending_element);
    EXPECT_EQ(l->values[0], static_cast<double>(expect));
  }
  sdi::pending_element = nullptr;
  sdi::create_next_element(35);  // a probe or the multiplier is placed once
  EXPECT_EQ(sdi::pending_element, nullptr);
  sdi::create_next_element(36);
  EXPECT_EQ(sdi::pending_element, nullptr);
  sdi::create_next_element(0);
  std::unique_ptr<sdi::element> r(sdi::pending_element);
  EXPECT_EQ(r->kind, 0);
  sdi::pending_element = sdi::previous_pending_element = nullptr;
  sdi::next_label_letter = 'a';
}

// Every pin of every kind, in every placement the editor can reach, lies on the grid.
TEST(Grid, EveryPinOnTheGrid) {
  for (int k : all_kinds) {
    if (sdi::is_line_element(k)) continue;
    auto e = make(k);
    auto* s = static_cast<sdi::i_element*>(e.get());
    s->image->place_ref_at(point(400, 400));
    for (int press = 0; press < 8; ++press) {
      for (int i = 0; i < s->image->pin_count(); ++i) {
        point p = s->terminal_at(i);
        EXPECT_EQ(p.x % 8, 0) << "kind " << k << " press " << press << " pin " << i;
        EXPECT_EQ(p.y % 8, 0) << "kind " << k << " press " << press << " pin " << i;
      }
      if (press == 4) s->mirror();
      else s->rotate();
    }
  }
}

TEST(Records, SourceWithTooManyPairsKeepsFiveAndStaysAligned) {
  Capture cap;
  sdi::source v(sdi::kind_current_source, 1);
  Bytes rec = written(v);
  rec.resize(rec.size() - 4);  // drop n = 0
  for (int b : {7, 0, 0, 0}) rec.push_back(static_cast<unsigned char>(b));
  for (int i = 0; i < 7; ++i) {
    std::FILE* f = std::tmpfile();
    sdi::write_double(f, i);
    sdi::write_double(f, 10.0 * i);
    Bytes pair = stream_bytes(f);
    std::fclose(f);
    rec.insert(rec.end(), pair.begin(), pair.end());
  }
  auto back = reread(rec);
  auto* b = static_cast<sdi::source*>(back.get());
  EXPECT_EQ(b->n, 5);
  EXPECT_EQ(b->pairs[4][1], 40.0);
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/elements/source_elements.cpp: Internal Assertion"});
}

TEST(Links, TransformerLinks) {
  auto* pri = new sdi::xform(6, 1);
  auto* sec = new sdi::xform(7, 1);
  auto* th = new sdi::threshold(1);
  pri->id = 1;
  sec->id = 2;
  th->id = 3;
  sec->partner = 1;
  sec->links.append(1);
  th->switch_id = 2;
  th->links.append(2);
  th->flags.set(sdi::flag_values_set);
  for (sdi::element* e : std::vector<sdi::element*>{pri, sec, th}) sdi::circuit.insert(e);
  sdi::link_transformer(pri, 2);
  EXPECT_EQ(pri->secondaries.count(), 1);
  EXPECT_EQ(*pri->links.list_value_at(0), 2);
  sdi::unlink_secondary(sec);
  EXPECT_EQ(pri->secondaries.count(), 0);
  EXPECT_EQ(pri->links.count(), 0);
  EXPECT_EQ(sec->links.count(), 0);
  sdi::link_transformer(pri, 2);
  sec->links.append(1);
  sdi::unlink_element(2);  // the secondary goes
  EXPECT_EQ(pri->secondaries.count(), 0);
  EXPECT_EQ(th->switch_id, 0);
  EXPECT_EQ(th->flags.test(sdi::flag_values_set), 0);
  sdi::unlink_element(1);  // the primary goes
  EXPECT_EQ(sec->partner, 0);
  sdi::circuit.list_clear();
  delete pri;
  delete sec;
  delete th;
}

TEST(Subcircuit, BuiltFromItsSymbolFile) {
  TempDir dir;
  std::ofstream("buck.sym") << "BUCK\n41,33,16,16\n2\n0,0,40,0\n0,32,40,32\n2\n0,16\n32,16\n1\nVin\n";
  Capture cap;
  sdi::pending_element = nullptr;
  sdi::new_subcircuit("buck");
  std::unique_ptr<sdi::element> e(sdi::pending_element);
  sdi::pending_element = sdi::previous_pending_element = nullptr;
  auto* s = static_cast<sdi::sub*>(e.get());
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(sdi::current_subcircuit_name, "buck");
  EXPECT_EQ(s->type_name, "BUCK");
  EXPECT_EQ(sdi::display_prefix(s), "BUCK");
  EXPECT_EQ(s->nodes.count(), 2);
  EXPECT_EQ(s->string_count, 1);
  EXPECT_EQ(s->strings[0], "Vin");
  EXPECT_EQ(s->image->w, 41);
  EXPECT_EQ(s->flags.test(sdi::flag_no_values), 1);
  s->image->place_ref_at(point(96, 96));
  s->flags.set(sdi::flag_on_sheet);
  EXPECT_EQ(s->terminal_at(1), point(112, 96));
  Bytes rec = written(*s);
  EXPECT_EQ(rec.size(), 20u + 35 + 36);
  EXPECT_EQ(std::string(rec.begin() + 20, rec.begin() + 24), "buck");
  auto back = reread(rec);
  EXPECT_EQ(written(*back), rec);
  EXPECT_EQ(back->terminal_at(1), point(112, 96));
  Bytes plain = rec;
  plain[12] &= 0x7F;  // the flags word without "no values": an instance never has values
  EXPECT_EQ(reread(plain)->flags.test(sdi::flag_no_values), 1);
}

TEST(Subcircuit, NameWithPathIsRefused) {
  TempDir dir;
  Capture cap;
  sdi::sub s(1);
  std::memcpy(s.sub_name, "../x", 5);
  Bytes rec = written(s);
  std::FILE* f = stream_of(rec);
  std::int32_t kind = 0;
  sdi::read_int(f, kind);
  bool ok = true;
  EXPECT_EQ(sdi::read_element_record(kind, f, 105, ok), nullptr);
  EXPECT_FALSE(ok);
  EXPECT_EQ(sdi::last_record_error(), "A subcircuit record names \"../x\", which is not a plain file name");
  std::fclose(f);
}

TEST(Subcircuit, MissingSymbolFileIsShownAndTheRecordStillReads) {
  TempDir dir;
  Capture cap;
  sdi::sub s(1);
  std::memcpy(s.sub_name, "nothere", 8);
  Bytes rec = written(s);
  auto back = reread(rec);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(cap.messages, std::vector<std::string>{"File nothere.sym couldn't be opened"});
}

// Every checked cast hands back each element of its kinds unchanged and quietly,
// and refuses (reported) every element of another kind.
TEST(Factories, EveryCastTakesItsKindsOnly) {
  using cast = std::function<void*(sdi::element*)>;
  const struct { const char* name; cast f; std::vector<int> kinds; } rows[] = {
      {"bl_element", [](sdi::element* e) -> void* { return sdi::as_bl_element(e); }, {5, 8}},
      {"cmutind", [](sdi::element* e) -> void* { return sdi::as_cmutind(e); }, {8}},
      {"xform", [](sdi::element* e) -> void* { return sdi::as_xform(e); }, {6, 7}},
      {"depsource", [](sdi::element* e) -> void* { return sdi::as_depsource(e); }, {12, 13, 14, 15}},
      {"current_sense", [](sdi::element* e) -> void* { return sdi::as_current_sense(e); }, {26}},
      {"diode", [](sdi::element* e) -> void* { return sdi::as_diode(e); }, {29}},
      {"limiter", [](sdi::element* e) -> void* { return sdi::as_limiter(e); }, {22, 23}},
      {"modulator", [](sdi::element* e) -> void* { return sdi::as_modulator(e); }, {20}},
      {"multiplier", [](sdi::element* e) -> void* { return sdi::as_multiplier(e); }, {36}},
      {"op_amp", [](sdi::element* e) -> void* { return sdi::as_op_amp(e); }, {27}},
      {"switch", [](sdi::element* e) -> void* { return sdi::as_switch(e); }, {30}},
      {"sine", [](sdi::element* e) -> void* { return sdi::as_sine(e); }, {34}},
      {"source", [](sdi::element* e) -> void* { return sdi::as_source(e); }, {32, 33}},
      {"threshold", [](sdi::element* e) -> void* { return sdi::as_threshold(e); }, {24}},
      {"vco", [](sdi::element* e) -> void* { return sdi::as_vco(e); }, {25}},
  };
  std::vector<std::unique_ptr<sdi::element>> all;
  for (int k : all_kinds) all.push_back(make(k));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    for (auto& e : all) {
      Capture cap;
      const bool mine = std::count(row.kinds.begin(), row.kinds.end(), e->kind) > 0;
      void* got = row.f(e.get());
      EXPECT_EQ(got != nullptr, mine) << e->kind;
      if (mine) {
        EXPECT_EQ(static_cast<sdi::element*>(got), e.get());
      }
      EXPECT_EQ(cap.errors.size(), mine ? 0u : 1u) << e->kind;
    }
  }
  Capture cap;
  for (auto* e : {all.front().get(), all[3].get()}) EXPECT_EQ(sdi::as_i_element(e) != nullptr, !sdi::is_line_element(e->kind));
  EXPECT_EQ(cap.errors.size(), 1u);  // the wire
}

// Each factory keeps the element it replaces as the previous pending element,
// so that the editor can erase and delete it.
TEST(Factories, EachFactoryRemembersTheElementItReplaces) {
  Capture cap;
  const std::function<void()> factories[] = {
      sdi::new_resistor, sdi::new_capacitor, sdi::new_inductor, sdi::new_primary, sdi::new_secondary,
      sdi::new_voltage_port, sdi::new_current_port, sdi::new_icis, sdi::new_icvs, sdi::new_vcis, sdi::new_vcvs,
      sdi::new_junction, sdi::new_wire, sdi::new_mutual, sdi::new_clock, sdi::new_modulator,
      sdi::new_upper_limiter, sdi::new_lower_limiter, sdi::new_threshold, sdi::new_vco, sdi::new_current_sense,
      sdi::new_op_amp, sdi::new_ground, sdi::new_diode, sdi::new_switch, sdi::new_label, sdi::new_voltage_source,
      sdi::new_current_source, sdi::new_sine, [] { sdi::new_multiplier(); }, [] { sdi::create_element(0); },
      [] { sdi::create_element(11); }};
  sdi::pending_element = nullptr;
  std::vector<std::unique_ptr<sdi::element>> made;
  for (const auto& f : factories) {
    sdi::element* before = sdi::pending_element;
    f();
    EXPECT_EQ(sdi::previous_pending_element, before) << made.size();
    made.emplace_back(sdi::pending_element);
  }
  EXPECT_EQ(made.back(), nullptr);  // kind 11 has no class
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/elements/factories.cpp: Internal"});
  sdi::pending_element = sdi::previous_pending_element = nullptr;
  sdi::next_label_letter = 'a';
}

// The flag word every class starts with, as records store it: 1 network branch,
// 2 output, 3 controlled source, 4 values set, 7 needs no values.
TEST(Factories, EveryClassStartsWithItsFlagBits) {
  const struct { std::vector<int> bits, kinds; } rows[] = {
      {{1}, {0, 1, 2, 6, 7, 8, 30, 32, 33, 34, 36}}, {{4, 7}, {5, 16, 28, 31}}, {{1, 2, 4}, {9, 10, 29}},
      {{1, 3}, {12, 13, 14, 15}}, {{7}, {20, 21, 22, 23, 24}}, {{}, {25, 35}}, {{1, 4, 7}, {26}}, {{1, 4}, {27}},
  };
  int seen = 0;
  for (const auto& row : rows) {
    std::uint32_t word = 0;
    for (int b : row.bits) word |= 1u << b;
    for (int k : row.kinds) {
      EXPECT_EQ(make(k)->flags.word(), word) << k;
      ++seen;
    }
  }
  EXPECT_EQ(seen, static_cast<int>(std::size(all_kinds)));
}

// The editor's repeat of a subcircuit instance makes another of the last one placed.
TEST(Factories, ASubcircuitRepeatsTheLastPlaced) {
  TempDir dir;
  std::ofstream("part.sym") << "PART\n17,17,8,8\n0\n2\n8,0\n8,16\n0\n";
  sdi::new_subcircuit("part");
  std::unique_ptr<sdi::element> first(sdi::pending_element);
  sdi::pending_element = nullptr;
  for (auto make : {+[] { sdi::create_element(sdi::kind_sub); }, +[] { sdi::create_next_element(sdi::kind_sub); }}) {
    make();
    std::unique_ptr<sdi::element> again(sdi::pending_element);
    sdi::pending_element = nullptr;
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(static_cast<sdi::sub*>(again.get())->type_name, "PART");
    EXPECT_EQ(again->nodes.count(), 2);
  }
  sdi::previous_pending_element = nullptr;
  sdi::current_subcircuit_name.clear();
}
