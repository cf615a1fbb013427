#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <set>
#include <functional>
#include <limits>

#include "capture.h"
#include "netlist_writer_circuits.h"
#include "sdi/elements/base_elements.h"
#include "sdi/elements/control_elements.h"
#include "sdi/netlist/netlist_writer.h"
#include "sdi/elements/source_elements.h"
#include "simu/input/netlist.h"
#include "simu/input/sim_params.h"
#include "sdi/elements/simrec.h"

namespace {
struct ReadBackSettings {
  sim_params p;
  explicit ReadBackSettings(const std::string& file) {
    try {
      read_netlist(file.c_str(), &p);
    } catch (const char* text) {
      ADD_FAILURE() << text;
    }
  }
  ~ReadBackSettings() { free_netlist(); }
};
}  // namespace

TEST(NameElements, SharedCountersAndWindings) {
  WriterCircuit c;
  auto* r1 = c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 0});
  auto* f = c.add(new sdi::depsource(sdi::kind_icis, 1), {1, 0});
  auto* pri = c.add(new sdi::xform(sdi::kind_primary, 1), {1, 0});
  auto* e = c.add(new sdi::depsource(sdi::kind_vcvs, 1), {1, 0});
  auto* sin = c.add(new sdi::sine(1), {1, 0});
  auto* sec1 = c.add(new sdi::xform(sdi::kind_secondary, 1), {2, 0});
  auto* sec2 = c.add(new sdi::xform(sdi::kind_secondary, 1), {3, 0});
  auto* r2 = c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 0});
  auto* vp = c.add(new sdi::port(sdi::kind_voltage_port, 1), {1, 0});
  auto* cp = c.add(new sdi::port(sdi::kind_current_port, 1), {1, 0});
  auto* d = c.add(new sdi::diode(1), {1, 0});
  auto* clk = c.add(new sdi::clockx(1), {1000});
  auto* oa = c.add(new sdi::op_amp(1), {1, 0, 2});
  // Windings follow the primary's list, not circuit order.
  pri->secondaries.append(sec2->id);
  pri->secondaries.append(sec1->id);
  sdi::name_elements();
  std::vector<std::string> names;
  for (sdi::element* x : std::initializer_list<sdi::element*>{r1, f, pri, e, sin, sec1, sec2, r2, vp, cp, d, clk, oa})
    names.push_back(x->netname());
  // The clock is no network branch.
  EXPECT_EQ(names, (std::vector<std::string>{"R1", "F1", "F2", "E1", "E2", "E3", "E4", "R2", "I01", "V01", "D1", "", "X1"}));
  EXPECT_EQ(sec2->winding, 1);
  EXPECT_EQ(sec1->winding, 2);
}

// A primary's list entry that is no secondary (gone, or another element) is
// reported and numbers no winding; the windings after it count on.
TEST(NameElements, WindingsSkipEntriesThatAreNoSecondary) {
  WriterCircuit c;
  auto* pri = c.add(new sdi::xform(sdi::kind_primary, 1), {1, 0});
  auto* r = c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 0});
  auto* sec = c.add(new sdi::xform(sdi::kind_secondary, 1), {2, 0});
  for (int id : {99, r->id, sec->id}) pri->secondaries.append(id);
  Capture cap;
  sdi::name_elements();
  EXPECT_EQ(cap.errors, (std::vector<std::string>(2, "sdi/netlist/netlist_writer.cpp: Internal")));
  EXPECT_EQ(sec->winding, 1);
  EXPECT_STREQ(r->netname(), "R1");
}

TEST(NetlistWriterEdges, BreakpointsBeyondFiftyPairsAreAllKept) {
  TempDir dir;
  WriterCircuit c;
  for (int k = 0; k < 11; ++k) {
    auto* v = c.add(new sdi::source(sdi::kind_voltage_source, 1), {k + 1, 0}, "V", 1.0);
    c.add(new sdi::basic(sdi::kind_resistor, 1), {k + 1, 0}, "R", 1.0);
    v->n = 5;
    for (int i = 0; i < 5; ++i) {
      v->pairs[i][0] = 1e-6 * (k * 5 + i + 1);
      v->pairs[i][1] = k + i;
    }
  }
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {1, 0}, "Vo");
  c.write("many", 12);
  EXPECT_EQ(c.errors, 0);
  ReadBackSettings r("many.m");
  EXPECT_EQ(r.p.tmd.rows, 55);
  EXPECT_EQ(r.p.vgs.rows, 11);
  EXPECT_EQ(r.p.vgs.cols, 55);
  EXPECT_EQ(r.p.tmd(55, 1), 1e-6 * 55);  // as the source holds it
  EXPECT_EQ(r.p.tmd(55, 4), 55.0);
  EXPECT_EQ(r.p.vgs(11, 55), 14.0);  // the last source's last value
  EXPECT_EQ(r.p.vgs(1, 55), 4.0);    // the first source keeps its last value
}

// The thousandth source or op-amp: its six-character reference to the internal
// branch fills the field, takes one blank more and widens the row by one. (The
// sine's 1/(2 pi f) takes all its digits: the double column is 8 wider.)
TEST(NetlistWriterEdges, FourDigitNumbersFillTheReferenceFields) {
  TempDir dir;
  WriterCircuit c;
  auto* sine = c.add(new sdi::sine(1), {1, 0}, "SIN1", 1.0);
  sine->frequency = 50.0;
  auto* oa = c.add(new sdi::op_amp(1), {1, 0, 2}, "OA1", 1e5);
  c.add(new sdi::basic(sdi::kind_resistor, 1), {2, 0}, "R1", 1.0);
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {2, 0}, "Vo");
  sdi::name_elements();
  sine->set_netname("E1000");
  oa->set_netname("X1000");
  int nodes = 3;
  EXPECT_EQ(sdi::write_netlist_file("big.m", "big", nodes), 0);
  const std::string text = slurp("big.m");
  EXPECT_NE(text.find("\n      'E1000     1   0   1.0000e+00             Cs1000       '   % SIN1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n      'Eo1000    4   0   1.0000e+05             Ri1000       '  \n"), std::string::npos) << text;
  ReadBackSettings read_back("big.m");  // the wider row still reads
}

// A netlist that cannot be written is named with the system's reason, counted as
// an error (the run does not start) and is no internal fault. A name holding a control
// character is never written: its line end would add lines to the netlist.
TEST(NetlistWriterEdges, AFileThatCannotBeWrittenIsNamedWithItsReason) {
  TempDir dir;
  using namespace std::string_literals;
  const struct { std::string path, name; const char* message; } rows[] = {
      {"missing/c.m", "c", "Couldn't write missing/c.m: No such file or directory"},
      {"/dev/full", "c", "Couldn't write /dev/full: No space left on device"},
      {"c\nnumn = 1;\n.m", "c", "Couldn't write c\\nnumn = 1;\\n.m: its name has a control character"},
      {"c\x7f.m", "c\x7f", "Couldn't write c\\x7f.m: its name has a control character"},
      {"c.m", "c\nnumn = 1;", "Couldn't write c.m: the circuit name c\\nnumn = 1; has a control character"},
      {"c\0.m"s, "c", "Couldn't write c\\x00.m: its name has a control character"},  // would write "c"
      {"c.m", "r\0c"s, "Couldn't write c.m: the circuit name r\\x00c has a control character"},
  };
  WriterCircuit c;
  c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 0}, "R1", 1.0);
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {1, 0}, "Vo");
  sdi::name_elements();
  for (const auto& row : rows) {
    if (row.path[0] == '/' && !std::filesystem::exists(row.path)) continue;  // no such device here
    Capture cap;
    int nodes = 2;
    EXPECT_EQ(sdi::write_netlist_file(row.path, row.name, nodes), 1) << row.path;
    EXPECT_EQ(cap.messages, std::vector<std::string>{row.message});
    EXPECT_TRUE(cap.errors.empty()) << row.path;
  }
  EXPECT_FALSE(std::filesystem::exists("c\nnumn = 1;\n.m"));
  EXPECT_FALSE(std::filesystem::exists("c\x7f.m"));
  EXPECT_FALSE(std::filesystem::exists("c.m"));
  EXPECT_FALSE(std::filesystem::exists("c"));
}

// Blanks, quotes, backslashes, UTF-8 and long paths are written as they are, and read back.
TEST(NetlistWriterEdges, AnyNameWithoutAControlCharacterIsWrittenAsItIs) {
  TempDir dir;
  const std::string folder = std::string(200, 'f') + "/" + std::string(200, 'g');
  std::filesystem::create_directories(folder);
  const std::string names[] = {"Schaltung \u00e4", "it's \"quoted\" \\ [x] % y", folder + "/" + std::string(200, 'n')};
  WriterCircuit c;
  c.add(new sdi::basic(sdi::kind_resistor, 1), {1, 0}, "R1", 1.0);
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {1, 0}, "Vo");
  sdi::name_elements();
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    Capture cap;
    int nodes = 2;
    ASSERT_EQ(sdi::write_netlist_file(name + ".m", name, nodes), 0);
    EXPECT_TRUE(cap.messages.empty());
    EXPECT_NE(slurp(name + ".m").find("\n% Circuit name : " + name + "\n\n% Circuit Description\n"), std::string::npos);
    ReadBackSettings read_back(name + ".m");
    EXPECT_EQ(sim_netlist.numn, 2u);
    EXPECT_EQ(sim_netlist.outputs.size(), 1u);
  }
}

// The engine reads back exactly the doubles the editor holds, however many digits
// they take, with the columns of each matrix still aligned; a 1 kHz sine's
// oscillator then runs at 1 kHz to the last digits.
TEST(NetlistWriterEdges, ValuesReachTheEngineBitForBit) {
  TempDir dir;
  WriterCircuit c;
  const double values[] = {1234.56789, 1.23456789e-6, 0.1, 1.0 / 3.0, -2.5e-300, 6.02214076e23, 5.0, 1e-3 / 7};
  int node = 1;
  for (double v : values) c.add(new sdi::basic(sdi::kind_resistor, 1), {node++, 0}, "R", v);
  auto* sine = c.add(new sdi::sine(1), {node, 0}, "SIN1", 1.0);
  sine->frequency = 1000.0;
  c.add(new sdi::port(sdi::kind_voltage_port, 1), {1, 0}, "Vo");
  run_tsim = 1.23456789e-3;
  run_td = 1e-7 / 3;
  const std::string text = c.write("exact", node + 1);
  EXPECT_EQ(c.errors, 0);
  ReadBackSettings r("exact.m");
  EXPECT_EQ(std::make_pair(r.p.tsim, r.p.td), std::make_pair(run_tsim, run_td));
  ASSERT_GE(sim_netlist.elements.size(), std::size(values) + 3);
  for (std::size_t i = 0; i < std::size(values); ++i) EXPECT_EQ(sim_netlist.elements[i].value, values[i]) << i;
  const double x = sim_netlist.elements[std::size(values)].value;  // the oscillator's L (and C): 1/(2 pi f)
  EXPECT_EQ(sim_netlist.elements[std::size(values)].kind, 'L');
  EXPECT_NEAR(8.0 * std::atan(1.0) * x, 1e-3, 1e-15);
  // Every row of "X" closes its quote in the same column.
  const std::size_t begin = text.find("X = [ "), end = text.find(" ]", begin);
  std::set<std::size_t> closing;
  for (std::size_t at = begin; at < end; at = text.find('\n', at) + 1)
    closing.insert(text.find('\'', text.find('\'', at) + 1) - at);
  EXPECT_EQ(closing.size(), 1u) << text;
  EXPECT_NE(text.find("1.23456789e+03"), std::string::npos) << text;
}

TEST(Simrec, CommentTextDropsReaderTriggers) {
  EXPECT_EQ(sdi::comment_text("Vo]ut"), "Vout");
  EXPECT_EQ(sdi::comment_text("a[b'c%d\te\n"), "abcde");
  EXPECT_EQ(sdi::comment_text("V_out 2"), "V_out 2");
  sdi::simrec r;
  r.set_name("x]y");
  EXPECT_EQ(r.name, "xy");
}

// One row as the matrices print it: each field left-aligned in its width, one
// blank more when it fills it, and the row padded on the declared widths.
TEST(Simrec, FieldsPrintInTheirWidths) {
  const struct {
    const char* label;
    std::function<void(sdi::simrec&)> fill;
    int row_width;
    std::string text;
  } rows[] = {
      {"empty row, padded", [](sdi::simrec&) {}, 5, "     "},
      {"empty row, no width", [](sdi::simrec&) {}, 0, ""},
      {"short fields padded to the row", [](sdi::simrec& r) { r.add_string("R1", 10); r.add_int(7); }, 20,
       "R1        7         "},
      {"an int filling its width", [](sdi::simrec& r) { r.add_int(-123); r.add_int(12345); }, 2, "-123 12345 "},
      {"doubles", [](sdi::simrec& r) { r.add_double(-1.5e-300); r.add_double(0.5); }, 2,
       "-1.5000e-300   5.0000e-01     "},
      {"doubles with all the digits that read back", [](sdi::simrec& r) { r.add_double(0.1 + 0.2); r.add_double(-1234.5678); }, 2,
       "3.0000000000000004e-01 -1.2345678e+03 "},
      {"a string filling its width", [](sdi::simrec& r) { r.add_string("ABCD", 4); r.add_string("ABCDEF", 4); }, 2,
       "ABCD ABCDEF "},
      {"width counted on the declared widths", [](sdi::simrec& r) { r.add_string("LONGNAME", 4); }, 6, "LONGNAME   "},
  };
  for (const auto& row : rows) {
    sdi::simrec r;
    row.fill(r);
    std::string out = "|";
    r.print(out, row.row_width);
    EXPECT_EQ(out, "|" + row.text) << row.label;
  }
  Capture cap;
  sdi::simrec bad;
  bad.add_double(std::numeric_limits<double>::infinity());
  std::string out;
  bad.print(out, 0);
  EXPECT_EQ(cap.errors, std::vector<std::string>{"sdi/elements/simrec.cpp: Internal"});
  bad.clear();
  EXPECT_EQ(bad.n(), 0);
}
