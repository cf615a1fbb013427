#include "sdi/files/circuit_file.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fstream>

#include "capture.h"
#include "record_bytes.h"
#include "ckt_builder.h"
#include "common/temp_dir.h"
#include "sdi/base/byte_io.h"
#include "sdi/elements/sub_element.h"
#include "simu/input/run_settings.h"

namespace {
using sdi::point;

int read_bytes_as_circuit(const Bytes& b) {
  std::FILE* f = stream_of(b);
  int r = sdi::read_circuit(f, "t.ckt");
  std::fclose(f);
  return r;
}

// The header of the defaults, written out by hand.
const Bytes default_header = cat({le32(105), le64(0x3F50624DD2F1A9FCull), le64(0x3EB0C6F7A0B5ED8Dull), le64(0),
                                  le32(0), le32(0), le32(9999999), le64(0), le64(0x3F50624DD2F1A9FCull),
                                  le64(0x3EB0C6F7A0B5ED8Dull), le64(0x3FF0000000000000ull), le64(0), le32(0),
                                  le32(25), le32(1), le32(0), le32(0)});

// Writes the circuit, reads the bytes into the emptied circuit without a word,
// and checks that it holds the same kinds and writes the same bytes again.
void expect_rereads_the_same(const std::vector<int>& kinds) {
  const Bytes first = circuit_file_bytes();
  CircuitGuard::clear();
  Capture cap;
  ASSERT_EQ(read_bytes_as_circuit(first), sdi::circuit_read);
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_TRUE(cap.errors.empty());
  EXPECT_EQ(circuit_kinds(), kinds);
  EXPECT_EQ(circuit_file_bytes(), first);
}

class CircuitFile : public ::testing::Test {
protected:
  CircuitGuard guard;
};

}  // namespace

TEST_F(CircuitFile, EmptyCircuitIsTheHeaderAndTheEndCode) {
  Bytes b = circuit_file_bytes();
  ASSERT_EQ(b.size(), 104u);
  EXPECT_EQ(b, cat({default_header, le32(17)}));
}

TEST_F(CircuitFile, HeaderFieldsStandAtTheirOffsets) {
  run_tsim = 2.0;        // 0x4000000000000000
  run_td = 0.5;          // 0x3FE0000000000000
  run_points = 0x0102;
  run_start_si = 0.25;   // 0x3FD0000000000000
  run_finish_si = -2.0;  // 0xC000000000000000
  run_sstol_f = 4.0;     // 0x4010000000000000
  run_sstol_c = 8.0;     // 0x4020000000000000
  run_ss = 3;
  run_nclkss = 4;
  run_sv = 5;
  run_ld = 6;
  run_stop_close = 7;
  Bytes b = circuit_file_bytes();
  Bytes expected = cat({le32(105), le64(0x4000000000000000ull), le64(0x3FE0000000000000ull), le64(0), le32(0),
                        le32(0), le32(0x0102), le64(0x3FD0000000000000ull), le64(0xC000000000000000ull),
                        le64(0x4010000000000000ull), le64(0x4020000000000000ull), le64(0), le32(3), le32(4), le32(5),
                        le32(6), le32(7), le32(17)});
  EXPECT_EQ(b, expected);
}

TEST_F(CircuitFile, IgnoredHeaderFieldsMayHoldAnything) {
  Bytes file = cat({default_header, le32(17)});
  for (int off : {20, 28, 32, 72})
    for (int i = 0; i < 4; ++i) file[static_cast<std::size_t>(off + i)] = 0xA5;
  run_tsim = 9.0;
  Capture cap;
  ASSERT_EQ(read_bytes_as_circuit(file), sdi::circuit_read);
  EXPECT_EQ(run_tsim, 0.001);
  EXPECT_EQ(run_td, 1e-6);
  EXPECT_EQ(run_points, 9999999);
  EXPECT_EQ(circuit_file_bytes(), cat({default_header, le32(17)}));
}

TEST_F(CircuitFile, EveryConcreteKindWritesReadsAndWritesTheSameBytes) {
  TempDir dir;
  sdi::set_circuit_folder_from(dir.path() / "a.ckt");
  {
    std::ofstream sym("half.sym");
    sym << "HALF\n33,49,16,24\n2\n0,0,32,0\n32,0,32,48\n2\n0,8\n32,40\n1\nnote\n";
  }
  add_network_elements();
  add_control_and_sources();
  auto* s = add_symbol(new sdi::sub("half", 1), point(960, 800), "HALF1");
  ASSERT_EQ(s->nodes.count(), 2);
  std::vector<int> kinds = circuit_kinds();
  for (int k = 0; k <= 37; ++k) {
    if (k == 3 || k == 4 || k == 11 || (k >= 17 && k <= 19)) continue;
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), k), kinds.end()) << "kind " << k;
  }
  ASSERT_NO_FATAL_FAILURE(expect_rereads_the_same(kinds));
  // The label's letter comes back from its value; the instance's pins from its symbol file.
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) {
    if (n->value->kind == sdi::kind_label) {
      EXPECT_EQ(n->value->values[0], 'q');
    }
    if (n->value->kind == sdi::kind_sub) {
      EXPECT_EQ(n->value->nodes.count(), 2);
    }
  }
  sdi::symbol_folder.clear();
}

TEST_F(CircuitFile, ASecondProbeInAFileIsDropped) {
  add_symbol(new sdi::probe(1), point(200, 200));
  add_symbol(new sdi::basic(sdi::kind_resistor, 1), point(296, 200), "R1");
  add_symbol(new sdi::probe(1), point(400, 200));
  const Bytes b = circuit_file_bytes();
  // The open circuit holds a probe too: the file's first one is still kept.
  CircuitGuard::clear();
  add_symbol(new sdi::probe(1), point(800, 800));
  Capture cap;
  ASSERT_EQ(read_bytes_as_circuit(b), sdi::circuit_read);
  EXPECT_EQ(cap.messages, (std::vector<std::string>{"Only one probe allowed."}));
  EXPECT_EQ(circuit_kinds(), (std::vector<int>{35, 0}));
  EXPECT_EQ(sdi::probe_count, 1);
}

TEST_F(CircuitFile, ReadElementsComeUnselectedInFileOrder) {
  add_network_elements();
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) n->value->selected = 2;
  const std::vector<int> ids = circuit_ids();
  const Bytes b = circuit_file_bytes();
  ASSERT_EQ(read_bytes_as_circuit(b), sdi::circuit_read);
  EXPECT_EQ(circuit_ids(), ids);
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) EXPECT_EQ(n->value->selected, 0);
  // The cursor is on the last element read, so the next placement goes at the end.
  ASSERT_NE(sdi::circuit.current_, nullptr);
  EXPECT_EQ(sdi::circuit.current_->next, nullptr);
}

TEST_F(CircuitFile, Version104FileReadsWithoutCouplingNames) {
  Bytes header = default_header;
  header[0] = 104;
  auto inductor = [](std::int32_t id, std::int32_t x) {
    return cat({le32(2), le64(0x3F50624DD2F1A9FCull), le32(0x32), le32(id), le32(1), le32(0), le32(0), Bytes(8, 0),
                Bytes(8, 0), le32(x), le32(160), le64(0)});
  };
  // A coupling of a version-104 file ends after its two inductor ids.
  Bytes coupling = cat({le32(8), le64(0x3FE0000000000000ull), le32(0x02), le32(3), le32(400), le32(160), le32(480),
                        le32(160), le32(1), le32(0), le32(0), le32(0), le32(1), le32(2)});
  Bytes file = cat({header, inductor(1, 400), inductor(2, 480), coupling, le32(17)});
  Capture cap;
  ASSERT_EQ(read_bytes_as_circuit(file), sdi::circuit_read);
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(sdi::loaded_version, 104);
  ASSERT_EQ(circuit_kinds(), (std::vector<int>{2, 2, 8}));
  auto* m = static_cast<sdi::cmutind*>(sdi::circuit.get(3));
  EXPECT_EQ(m->inductor1, 1);
  EXPECT_EQ(m->inductor2, 2);
  EXPECT_EQ(m->values[0], 0.5);
  // Written back in the current layout: stamp 105 and the two empty name fields.
  Bytes again = circuit_file_bytes();
  Bytes expected = cat({default_header, inductor(1, 400), inductor(2, 480), coupling, Bytes(16, 0), le32(17)});
  EXPECT_EQ(again, expected);
}

TEST_F(CircuitFile, SaveWritesTheFileAndClearsTheChangedMark) {
  TempDir dir;
  add_network_elements();
  sdi::circuit_modified = 1;
  Capture cap;
  EXPECT_EQ(sdi::save_circuit("a.ckt"), 1);
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(sdi::circuit_modified, 0);
  const Bytes expected = circuit_file_bytes();
  const std::string got = slurp("a.ckt");
  EXPECT_EQ(Bytes(got.begin(), got.end()), expected);
  // Nothing but the file is left in the folder.
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1);
  CircuitGuard::clear();
  EXPECT_EQ(sdi::open_circuit_file("a.ckt"), sdi::circuit_read);
  EXPECT_EQ(circuit_file_bytes(), expected);
}

TEST_F(CircuitFile, FailedWriteKeepsThePreviousFile) {
  TempDir dir;
  {
    std::ofstream old("a.ckt", std::ios::binary);
    old << "previous";
  }
  add_network_elements();
  sdi::circuit_modified = 1;
  // Files may grow to 64 bytes only: the write fails part way, as on a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old_limit;
  getrlimit(RLIMIT_FSIZE, &old_limit);
  rlimit small = old_limit;
  small.rlim_cur = 64;
  setrlimit(RLIMIT_FSIZE, &small);
  Capture cap;
  const int saved = sdi::save_circuit("a.ckt");
  setrlimit(RLIMIT_FSIZE, &old_limit);
  EXPECT_EQ(saved, 0);
  EXPECT_EQ(cap.messages, (std::vector<std::string>{"Couldn't write file a.ckt: File too large"}));
  EXPECT_EQ(sdi::circuit_modified, 1);
  EXPECT_EQ(slurp("a.ckt"), "previous");
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1);
}

// Reading while the user places an element: reported, and the placement
// state is neither used nor changed by the reader.
TEST_F(CircuitFile, APendingElementIsReportedAndLeftAlone) {
  add_symbol(new sdi::basic(sdi::kind_resistor, 1), point(200, 160), "R1");
  add_symbol(new sdi::probe(1), point(296, 160));
  add_symbol(new sdi::multiplier(1), point(400, 160));
  add_symbol(new sdi::basic(sdi::kind_capacitor, 1), point(496, 160), "C1");
  const Bytes b = circuit_file_bytes();
  CircuitGuard::clear();
  auto* pending = new sdi::basic(sdi::kind_inductor, 1);
  sdi::pending_element = pending;
  sdi::previous_pending_element = nullptr;
  Capture cap;
  ASSERT_EQ(read_bytes_as_circuit(b), sdi::circuit_read);
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/files/circuit_file.cpp: Internal Assertion"}));
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(sdi::pending_element, pending);
  EXPECT_EQ(sdi::previous_pending_element, nullptr);
  EXPECT_EQ(circuit_kinds(), (std::vector<int>{0, 35, 36, 1}));
  EXPECT_EQ(circuit_file_bytes(), b);
}

// Files that cannot be opened or written: the message, nothing changed.
TEST_F(CircuitFile, UnopenablePathsShowTheOpenMessage) {
  TempDir dir;
  std::filesystem::create_directory("dir.ckt");
  add_symbol(new sdi::basic(sdi::kind_resistor, 1), point(200, 160), "R1");
  for (const char* file : {"none.ckt", "dir.ckt"}) {
    Capture cap;
    EXPECT_EQ(sdi::open_circuit_file(file), sdi::circuit_damaged) << file;
    EXPECT_EQ(cap.messages, (std::vector<std::string>{"Couldn't Open File!"})) << file;
    EXPECT_EQ(circuit_kinds(), (std::vector<int>{0}));
  }
  for (const char* file : {"no/such/folder/a.ckt", "dir.ckt"}) {
    sdi::circuit_modified = 1;
    Capture cap;
    EXPECT_EQ(sdi::save_circuit(file), 0) << file;
    EXPECT_EQ(cap.messages, (std::vector<std::string>{"Couldn't Open File!"})) << file;
    EXPECT_EQ(sdi::circuit_modified, 1);
  }
  EXPECT_TRUE(std::filesystem::is_directory("dir.ckt"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// Damaged files: the message names the fault; the open circuit and its settings stay.
TEST_F(CircuitFile, DamageIsNamedAndKeepsTheOpenCircuit) {
  auto two_resistors = [] {
    CircuitGuard::clear();
    add_symbol(new sdi::basic(sdi::kind_resistor, 1), point(200, 160), "R1");
    add_symbol(new sdi::basic(sdi::kind_resistor, 1), point(296, 160), "R2");
    Bytes b = circuit_file_bytes();
    b[100 + 16] = 2;  // the first record's id (after kind, value, flags) becomes the second's
    return b;
  };
  auto far_wire = [](std::int32_t x) {
    CircuitGuard::clear();
    add_wire(point(8, 8), point(40, 8));
    Bytes b = circuit_file_bytes();
    const Bytes far = le32(x);  // the wire's first x
    std::copy(far.begin(), far.end(), b.begin() + 100 + 20);
    return b;
  };
  Bytes unknown = cat({default_header, le32(99), le32(17)});
  unknown[4] = 0x11;  // another final time: must not be taken
  const std::pair<Bytes, const char*> rows[] = {
      {unknown, "byte 100: no element has the kind 99"},
      {default_header, "byte 100: the file ends before its end code"},
      {two_resistors(), "element id 2 is used twice"},
      {far_wire(2000000), "element id 1 lies far outside the sheet"},
      {far_wire(-1000001), "element id 1 lies far outside the sheet"},
  };
  for (const auto& [file, why] : rows) {
    SCOPED_TRACE(why);
    CircuitGuard::clear();
    add_symbol(new sdi::basic(sdi::kind_capacitor, 1), point(200, 160), "C1");
    Capture cap;
    EXPECT_EQ(read_bytes_as_circuit(file), sdi::circuit_damaged);
    EXPECT_EQ(cap.messages, (std::vector<std::string>{"File t.ckt is damaged or truncated (" + std::string(why) + ")"}));
    EXPECT_EQ(circuit_kinds(), (std::vector<int>{1}));
    EXPECT_EQ(run_tsim, 0.001);
  }
  EXPECT_EQ(read_bytes_as_circuit(far_wire(-1000000)), sdi::circuit_read);  // the farthest a file may place it
}

// A save through a symbolic link replaces the file it names and keeps the
// link; a replaced file keeps its permissions; no file is left open.
TEST_F(CircuitFile, SaveKeepsLinksAndPermissions) {
  TempDir dir;
  add_symbol(new sdi::basic(sdi::kind_resistor, 1), point(200, 160), "R1");
  const Bytes want = circuit_file_bytes();
  std::filesystem::create_directory("lib");
  std::ofstream("lib/real.ckt") << "previous";
  std::filesystem::permissions("lib/real.ckt", std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                                   std::filesystem::perms::others_read);
  std::filesystem::create_symlink("lib/real.ckt", "link.ckt");
  auto open_files = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
  const auto files_before = open_files();
  Capture cap;
  ASSERT_EQ(sdi::save_circuit("link.ckt"), 1);
  EXPECT_EQ(open_files(), files_before);  // nothing left open
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_TRUE(std::filesystem::is_symlink("link.ckt"));
  const std::string got = slurp("lib/real.ckt");
  EXPECT_EQ(Bytes(got.begin(), got.end()), want);
  EXPECT_EQ(std::filesystem::status("lib/real.ckt").permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::others_read);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("lib"), {}), 1);  // no temporary left
}
