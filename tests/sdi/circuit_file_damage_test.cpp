// A real circuit file cut at every byte: every damaged file gives a message,
// never a crash or a hang, and the open circuit and its settings stay as they were.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "capture.h"
#include "record_bytes.h"
#include "ckt_builder.h"
#include "common/temp_dir.h"
#include "sdi/files/circuit_file.h"
#include "sdi/elements/sub_element.h"
#include "simu/input/run_settings.h"
#include <chrono>
#include "common/text_file.h"
#include "sdi/elements/base_elements.h"
#include "sdi/files/record_stream.h"

namespace {
using sdi::point;

void write_file(const char* name, const Bytes& b, std::size_t n) {
  std::FILE* f = std::fopen(name, "wb");
  ASSERT_NE(f, nullptr);
  if (n) {
    ASSERT_EQ(std::fwrite(b.data(), 1, n, f), n);
  }
  std::fclose(f);
}

// Elements of several record shapes: symbols with links, windings with lists,
// a coupling, wires.
void build_real_circuit() {
  auto* r = add_symbol(new sdi::basic(sdi::kind_resistor, 1), point(200, 160), "R1");
  r->values[0] = 10.0;
  auto* l1 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(296, 160), "L1");
  auto* l2 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(400, 160), "L2");
  auto* m = add_coupling(point(296, 160), point(400, 160));
  m->inductor1 = l1->id;
  m->inductor2 = l2->id;
  auto* pri = add_symbol(new sdi::xform(sdi::kind_primary, 1), point(496, 160), "PRI1");
  auto* sec = add_symbol(new sdi::xform(sdi::kind_secondary, 1), point(576, 160), "SEC1");
  sec->partner = pri->id;
  pri->secondaries.append(sec->id);
  pri->links.append(sec->id);
  auto* d = add_symbol(new sdi::depsource(sdi::kind_vcvs, 1), point(200, 320), "VCVS1");
  d->control = r->id;
  d->links.append(r->id);
  add_symbol(new sdi::port(sdi::kind_voltage_port, 1), point(296, 320), "VP1");
  add_wire(point(200, 184), point(296, 136));
  add_wire(point(296, 184), point(400, 136), 1);
  add_control_and_sources();
  // A subcircuit instance reads its symbol file in the middle of its record.
  {
    std::ofstream sym("part.sym");
    sym << "PART\n17,17,8,8\n1\n0,0,16,16\n2\n8,0\n8,16\n0\n";
  }
  sdi::symbol_folder = std::filesystem::current_path().string();
  add_symbol(new sdi::sub("part", 1), point(1000, 1000), "PART1");
}

// What the open circuit is, to compare before and after a failed read.
struct Snapshot {
  Bytes file = circuit_file_bytes();
  double tsim = run_tsim;
  int points = run_points;
};

// Descriptors this process holds open.
std::size_t open_descriptors() {
  std::size_t n = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

void expect_unchanged(const Snapshot& s, const char* what, std::size_t at) {
  EXPECT_EQ(circuit_file_bytes(), s.file) << what << " " << at;
  EXPECT_EQ(run_tsim, s.tsim) << what << " " << at;
  EXPECT_EQ(run_points, s.points) << what << " " << at;
}

}  // namespace

TEST(CircuitFileDamage, TruncatedAtEveryByte) {
  TempDir dir;
  CircuitGuard guard;
  build_real_circuit();
  const Bytes full = circuit_file_bytes();
  ASSERT_GT(full.size(), 1500u);
  // Where each record starts (and the end code), to name the byte a cut falls after.
  std::vector<std::size_t> starts{100};
  for (sdi::enode* e = sdi::circuit.head; e; e = static_cast<sdi::enode*>(e->next))
    starts.push_back(starts.back() + written(*e->value).size());
  ASSERT_EQ(starts.back() + 4, full.size());
  auto why = [&](std::size_t n) -> std::string {
    if (n < 100) return n < 4 ? "byte 0: the file ends inside its header" : "byte 4: the file ends inside its header";
    std::size_t b = starts.front();
    for (std::size_t s : starts)
      if (s <= n) b = s;
    const bool in_kind = n < b + 4 || b == starts.back();
    return "byte " + std::to_string(b) + ": " +
           (in_kind ? "the file ends before its end code" : "The file ends inside an element record");
  };
  // The open circuit is another one, with other settings.
  CircuitGuard::clear();
  add_symbol(new sdi::basic(sdi::kind_capacitor, 1), point(800, 800), "C9");
  run_tsim = 7.0;
  run_points = 12;
  const Snapshot before;
  const std::size_t descriptors = open_descriptors();
  for (std::size_t n = 0; n < full.size(); ++n) {
    write_file("cut.ckt", full, n);
    Capture cap;
    EXPECT_EQ(sdi::open_circuit_file("cut.ckt"), sdi::circuit_damaged) << n;
    ASSERT_EQ(cap.messages.size(), 1u) << n;
    EXPECT_EQ(cap.messages[0].rfind("File cut.ckt is damaged or truncated (", 0), 0u) << cap.messages[0];
    EXPECT_EQ(cap.messages[0], "File cut.ckt is damaged or truncated (" + why(n) + ")");
    expect_unchanged(before, "cut at", n);
  }
  write_file("whole.ckt", full, full.size());
  Capture cap;
  EXPECT_EQ(sdi::open_circuit_file("whole.ckt"), sdi::circuit_read);
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(circuit_file_bytes(), full);
  EXPECT_EQ(open_descriptors(), descriptors);  // every file read is closed again
  sdi::symbol_folder.clear();
}

// Files that are not circuits at all, and the temporaries of a killed save.
TEST(CircuitFileHostile, AFileThatIsNoCircuitSaysSoAndLeavesTheOpenCircuit) {
  const struct { std::string bytes, message; } rows[] = {
      {"tsim = 1.0000e-03\n", "File t.ckt is not a circuit file."},
      {std::string("\x6a\0\0\0", 4), "File t.ckt is not a circuit file."},   // 106
      {std::string("\x67\0\0\0", 4), "(105, 103) Can't read circuit with older version stamp."},
  };
  for (const auto& k : rows) {
    SCOPED_TRACE(k.message);
    TempDir dir;
    write_text("t.ckt", k.bytes + std::string(200, '\0'));
    auto* kept = new sdi::basic(sdi::kind_resistor, 1);
    sdi::circuit.insert(kept);
    Capture cap;
    EXPECT_EQ(sdi::open_circuit_file("t.ckt"), sdi::circuit_stamp_refused);
    EXPECT_EQ(cap.messages, std::vector<std::string>{k.message});
    EXPECT_TRUE(sdi::circuit.head->value == kept && !sdi::circuit.head->next);
    sdi::delete_list_elements(sdi::circuit);
  }
}

TEST(CircuitFileHostile, ASaveRemovesOnlyItsOwnAbandonedTemporaries) {
  TempDir dir;
  Capture cap;
  // An abandoned temporary of a.ckt (its lock free), one being written (its lock held
  // here), another target's, and a user's own hidden files without the marker.
  const std::string abandoned = ".a.ckt.~zorv-tmp.Ab12Cd";
  const std::set<std::string> kept = {".a.ckt.~zorv-tmp.Xy34Zw", ".b.ckt.~zorv-tmp.Ab12Cd", ".a.ckt.Ab12Cd",
                                      ".a.ckt.backup"};
  write_text(abandoned, "partial");
  for (const std::string& f : kept) write_text(f, "partial");
  const int busy = ::open(".a.ckt.~zorv-tmp.Xy34Zw", O_RDONLY);
  ASSERT_EQ(::flock(busy, LOCK_EX), 0);
  ASSERT_EQ(sdi::save_circuit("a.ckt"), 1);
  ::close(busy);
  std::set<std::string> left, want = kept;
  for (const auto& e : std::filesystem::directory_iterator(".")) left.insert(e.path().filename().string());
  want.insert("a.ckt");
  EXPECT_EQ(left, want);
  EXPECT_EQ(sdi::open_circuit_file("a.ckt"), sdi::circuit_read);
  EXPECT_TRUE(cap.messages.empty());
}

// Files that are no circuit file to read or write: a pipe, a device, a file too large
// are refused at once (a pipe never blocks), the open circuit stays; a 255-byte name
// is saved like any other.
TEST(CircuitFileHostile, PipesDevicesHugeFilesAndLongNames) {
  TempDir dir;
  ::alarm(60);   // a pipe that blocked would end the test here
  ASSERT_EQ(::mkfifo("pipe.ckt", 0600), 0);
  write_text("big.ckt", "");
  std::filesystem::resize_file("big.ckt", sdi::max_circuit_file_bytes + 1);
  auto* kept = new sdi::basic(sdi::kind_resistor, 1);
  sdi::circuit.insert(kept);
  const std::pair<const char*, std::string> opens[] = {
      {"pipe.ckt", "File pipe.ckt is not a regular file."},
      {"/dev/zero", "File /dev/zero is not a regular file."},
      {"big.ckt", "File big.ckt is larger than 16777216 bytes."},
  };
  for (const auto& [file, message] : opens) {
    Capture cap;
    EXPECT_EQ(sdi::open_circuit_file(file), sdi::circuit_damaged) << file;
    EXPECT_EQ(cap.messages, std::vector<std::string>{message});
    EXPECT_TRUE(sdi::circuit.head->value == kept && !sdi::circuit.head->next);
  }
  sdi::delete_list_elements(sdi::circuit);
  Capture cap;
  EXPECT_EQ(sdi::save_circuit("pipe.ckt"), 0);
  const std::string long_name = std::string(251, 'c') + ".ckt";
  EXPECT_EQ(sdi::save_circuit(long_name), 1);
  EXPECT_EQ(cap.messages, std::vector<std::string>{"Couldn't Open File! \"pipe.ckt\" is a pipe that no process reads"});
  EXPECT_EQ(sdi::open_circuit_file(long_name), sdi::circuit_read);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 3);   // no temporary left
  ::alarm(0);
}
