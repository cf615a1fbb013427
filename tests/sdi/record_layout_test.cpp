// Whole records of every element class, byte for byte: field order, sizes and
// the shared pieces (common head, symbol part) laid out as the file format has them.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <limits>

#include "capture.h"
#include "record_bytes.h"
#include "common/temp_dir.h"
#include "sdi/elements/base_elements.h"
#include "sdi/elements/bl_element.h"
#include "sdi/base/byte_io.h"
#include "sdi/elements/control_elements.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/records.h"
#include "sdi/elements/source_elements.h"
#include "sdi/elements/sub_element.h"

namespace {
using sdi::point;

// Expected bytes, little-endian, value by value.
struct Rec {
  Bytes b;
  Rec& raw(Bytes more) {
    b.insert(b.end(), more.begin(), more.end());
    return *this;
  }
  Rec& i(std::int32_t v) { return raw(le32(v)); }
  Rec& d(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    return raw(le64(u));
  }
  // A fixed character field: the text, then zeros up to the width.
  Rec& s(const char* text, std::size_t width) {
    Bytes f(width, 0);
    std::memcpy(f.data(), text, std::strlen(text));
    return raw(f);
  }
  // Kind, value, flags word, id.
  Rec& head(int kind, double value, std::uint32_t flags, int id) {
    return i(kind).d(value).i(static_cast<std::int32_t>(flags)).i(id);
  }
  // Orientation 1, not mirrored, the links, name, empty netname, reference point.
  Rec& symbol(std::initializer_list<int> links, const char* name, point ref) {
    i(1).i(0).i(static_cast<int>(links.size()));
    for (int l : links) i(l);
    return s(name, 8).s("", 8).i(ref.x).i(ref.y);
  }
};

// Sets what every symbol record below shares: value 2.5, id 11, links 3 and 4, name "X1", ref (200, 160).
void prepare(sdi::i_element& e) {
  e.values[0] = 2.5;
  e.id = 11;
  e.links.append(3);
  e.links.append(4);
  e.set_name("X1");
  e.image->place_ref_at(point(200, 160));
}

Rec common(sdi::i_element& e) {
  Rec r;
  r.head(e.kind, 2.5, e.flags.word(), 11).symbol({3, 4}, "X1", point(200, 160));
  return r;
}

constexpr std::uint32_t bit(int n) { return 1u << n; }
}  // namespace

// Every symbol class: the shared head and symbol part, then its own fields.
TEST(RecordLayout, EachClassAfterTheSymbolPart) {
  struct Row {
    const char* label;
    std::function<sdi::i_element*()> make;
    std::function<void(Rec&)> body;  // the fields after the symbol part
  };
  auto plain = [](auto* e) { return [e] { return static_cast<sdi::i_element*>(e); }; };
  const Row rows[] = {
      {"port", plain(new sdi::port(sdi::kind_current_port, 1)), [](Rec&) {}},
      {"junction", plain(new sdi::nodec(1)), [](Rec&) {}},
      {"current sense", plain(new sdi::current_sense(1)), [](Rec&) {}},
      {"diode", plain(new sdi::diode(1)), [](Rec&) {}},
      {"ground", plain(new sdi::ground(1)), [](Rec&) {}},
      {"limiter", plain(new sdi::limiter(sdi::kind_lower_limiter, 1)), [](Rec&) {}},
      {"multiplier", plain(new sdi::multiplier(1)), [](Rec&) {}},
      {"label", plain(new sdi::llabel(1)), [](Rec&) {}},
      {"capacitor", [] { auto* c = new sdi::basic(sdi::kind_capacitor, 1); c->initial = -3.0; return c; },
       [](Rec& r) { r.d(-3.0); }},
      {"controlled source", [] { auto* d = new sdi::depsource(sdi::kind_icvs, 1); d->control = 3; return d; },
       [](Rec& r) { r.i(3); }},
      {"secondary: partner, its own list; no winding",
       [] { auto* x = new sdi::xform(sdi::kind_secondary, 1); x->partner = 3; x->winding = 2; return x; },
       [](Rec& r) { r.i(3).i(0); }},
      {"primary", [] { auto* x = new sdi::xform(sdi::kind_primary, 1); x->secondaries.append(7); x->secondaries.append(9); return x; },
       [](Rec& r) { r.i(0).i(2).i(7).i(9); }},
      {"clock: delay, period", [] { auto* c = new sdi::clockx(1); c->values[1] = 1e-6; c->values[2] = 2e-5; return c; },
       [](Rec& r) { r.d(1e-6).d(2e-5); }},
      {"modulator", [] { auto* m = new sdi::modulator(1); for (int k = 1; k <= 5; ++k) m->values[k] = 10.0 * k; return m; },
       [](Rec& r) { r.d(10).d(20).d(30).d(40).d(50); }},
      {"op-amp: Ri, Ro", plain(new sdi::op_amp(1)), [](Rec& r) { r.d(1e6).d(50.0); }},
      {"sine: frequency, phase; no derived terms",
       [] { auto* s = new sdi::sine(1); s->frequency = 50.0; s->phase = 90.0; s->a_sin = 7.0; return s; },
       [](Rec& r) { r.d(50.0).d(90.0); }},
      {"switch", [] { auto* w = new sdi::switch2(1); w->initial_state = 1; return w; }, [](Rec& r) { r.i(1); }},
      {"vco: constant; no port", [] { auto* v = new sdi::vco(1); v->constant = 0.25; v->port = 9; return v; },
       [](Rec& r) { r.d(0.25); }},
      {"probe", [] { auto* p = new sdi::probe(1); p->extra = -1.5; return p; }, [](Rec& r) { r.d(-1.5); }},
      {"source: count, pairs",
       [] {
         auto* v = new sdi::source(sdi::kind_voltage_source, 1);
         v->n = 2;
         v->pairs[1][0] = 1e-3;
         v->pairs[1][1] = -5.0;
         return v;
       },
       [](Rec& r) { r.i(2).d(0.0).d(0.0).d(1e-3).d(-5.0); }},
      {"threshold: three counted lists, switch",
       [] {
         auto* t = new sdi::threshold(1);
         t->coefficients.resize(1);
         *t->coefficients.list_value_at(0) = 0.5;
         for (int k = 0; k < 4; ++k) *t->table.list_value_at(k) = k + 1.0;
         t->outputs.append(3);
         t->outputs.append(4);
         t->switch_id = 12;
         return t;
       },
       [](Rec& r) { r.i(1).d(0.5).i(4).d(1).d(2).d(3).d(4).i(2).i(3).i(4).i(12); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    std::unique_ptr<sdi::i_element> e(row.make());
    prepare(*e);
    Rec want = common(*e);
    row.body(want);
    EXPECT_EQ(written(*e), want.b);
  }
}

TEST(RecordLayout, CouplingIdsBeforeNames) {
  sdi::cmutind m;
  m.values[0] = 0.9;
  m.id = 6;
  m.shape.set(10, 20, 30, 40, 0, 1, 0, 2);
  m.inductor1 = 4;
  m.inductor2 = 5;
  m.set_name("M1");
  m.set_netname("M_1");
  Rec r;
  r.head(8, 0.9, bit(1), 6).i(10).i(20).i(30).i(40).i(1).i(2).i(0).i(0).i(4).i(5).s("M1", 8).s("M_1", 8);
  EXPECT_EQ(written(m), r.b);
  EXPECT_EQ(r.b.size(), 52u + 8 + 16);
}

// A count that the five pairs cannot back is never written: the record would
// promise pairs it does not hold and every record after it would be misread.
TEST(RecordLayout, SourceCountMatchesThePairsWritten) {
  sdi::source v(sdi::kind_current_source, 1);
  prepare(v);
  for (int k = 0; k < 5; ++k) {
    v.pairs[k][0] = k;
    v.pairs[k][1] = 10.0 * k;
  }
  v.n = 7;
  EXPECT_EQ(written(v), common(v).i(5).d(0).d(0).d(1).d(10).d(2).d(20).d(3).d(30).d(4).d(40).b);
  v.n = -2;
  EXPECT_EQ(written(v), common(v).i(0).b);
}

// One field of a record damaged: refused with its message before the image
// arithmetic could overflow or a turn be tried, or read if still in range.
TEST(RecordLayout, DamagedFieldsFailTheRecord) {
  using make_fn = std::function<sdi::element*()>;
  const make_fn resistor = [] {
    auto* r = new sdi::basic(sdi::kind_resistor, 1);
    r->image->place_ref_at(point(200, 160));
    return r;
  };
  const make_fn inductor = [] {
    auto* l = new sdi::basic(sdi::kind_inductor, 1);
    l->image->place_ref_at(point(200, 160));
    return l;
  };
  const make_fn wire = [] {
    auto* w = new sdi::cline;
    w->shape.set(8, 16, 40, 24, 0, 1, 0, 0);
    return w;
  };
  const std::int32_t lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
  const int far = sdi::max_record_position, many = sdi::max_record_count;
  const std::string sym = "An element record places its symbol far outside the sheet (";
  const std::string line = "An element record places its line far outside the sheet (";
  const std::string count = "An element record holds a bad count (";
  const std::string turn = "An element record holds a bad orientation (";
  const struct {
    const char* label;
    make_fn make;
    std::size_t at;
    std::int32_t value;
    std::string error;  // empty: the record reads
  } rows[] = {
      {"ref x", resistor, 48, lo, sym + "-2147483648, 160)"},
      {"ref y", resistor, 52, hi, sym + "200, 2147483647)"},
      {"ref x past the bound", resistor, 48, far + 1, sym + std::to_string(far + 1) + ", 160)"},
      {"ref x at the bound", resistor, 48, far, ""},
      {"ref y at the bound", resistor, 52, -far, ""},
      {"line x1", wire, 20, lo, line + "-2147483648, 16, 40, 24)"},
      {"line y2 past the bound", wire, 32, far + 1, line + "8, 16, 40, " + std::to_string(far + 1) + ")"},
      {"line y1 at the bound", wire, 24, -far, ""},
      {"line x2 at the bound", wire, 28, far, ""},
      {"orientation 0", inductor, 20, 0, ""},
      {"orientation 3", inductor, 20, 3, ""},
      {"orientation 4", inductor, 20, 4, turn + "4)"},
      {"orientation -1", inductor, 20, -1, turn + "-1)"},
      {"orientation max", inductor, 20, hi, turn + "2147483647)"},
      {"link count -1", resistor, 28, -1, count + "-1)"},
      {"link count past the bound", resistor, 28, many + 1, count + std::to_string(many + 1) + ")"},
      {"link count max", resistor, 28, hi, count + "2147483647)"},
      {"largest link count: the links it promises are missing", resistor, 28, many,
       "The file ends inside an element record"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    std::unique_ptr<sdi::element> e(row.make()), back(row.make());
    Bytes b = written(*e);
    const Bytes v = le32(row.value);
    std::copy(v.begin(), v.end(), b.begin() + static_cast<long>(row.at));
    Capture cap;
    std::FILE* f = body_of(b);
    EXPECT_EQ(back->read(f), row.error.empty());
    std::fclose(f);
    if (!row.error.empty()) {
      EXPECT_EQ(sdi::last_record_error(), row.error);
    }
    EXPECT_TRUE(cap.errors.empty());
  }
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

