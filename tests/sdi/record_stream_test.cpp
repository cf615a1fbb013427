#include "sdi/files/record_stream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <functional>

#include "capture.h"
#include "ckt_builder.h"
#include "common/temp_dir.h"
#include "sdi/base/byte_io.h"
#include "sdi/files/circuit_file.h"
#include "sdi/elements/sub_element.h"

namespace {
using sdi::point;

struct FolderGuard {
  ~FolderGuard() { sdi::symbol_folder.clear(); }
};

std::vector<int> kinds_of(sdi::elist& l) {
  std::vector<int> out;
  for (sdi::enode* n = l.head; n; n = static_cast<sdi::enode*>(n->next)) out.push_back(n->value->kind);
  return out;
}

// Two inductors and their coupling, then a wire: the coupling's names are the
// record part that depends on the layout version.
void build_coupled_pair() {
  auto* l1 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(200, 160), "L1");
  auto* l2 = add_symbol(new sdi::basic(sdi::kind_inductor, 1), point(296, 160), "L2");
  auto* m = add_coupling(point(200, 160), point(296, 160));
  m->inductor1 = l1->id;
  m->inductor2 = l2->id;
  std::strcpy(m->name_, "M1");
  add_wire(point(200, 184), point(296, 184));
}

}  // namespace

TEST(RecordStream, FileRoundTripInTheCircuitFolder) {
  TempDir dir;
  FolderGuard folder;
  CircuitGuard guard;
  std::filesystem::create_directory("lib");
  sdi::set_circuit_folder_from(dir.path() / "lib" / "main.ckt");
  build_coupled_pair();
  ASSERT_EQ(sdi::write_element_file("part.sct", sdi::circuit), 1);
  EXPECT_TRUE(std::filesystem::exists("lib/part.sct"));
  const std::vector<int> kinds = circuit_kinds();

  sdi::elist got;
  got.insert(new sdi::basic(sdi::kind_resistor, 1));  // replaced by the read
  Capture cap;
  ASSERT_EQ(sdi::read_element_file("part.sct", got), 1);
  EXPECT_TRUE(cap.messages.empty());
  EXPECT_EQ(kinds_of(got), kinds);
  EXPECT_EQ(got.current_, static_cast<sdi::enode*>(sdi::list_last(got.head)));  // the cursor on the last read
  // Pasted and merged elements come selected; the circuit is untouched.
  for (sdi::enode* n = got.head; n; n = static_cast<sdi::enode*>(n->next)) EXPECT_EQ(n->value->selected, 1);
  EXPECT_EQ(circuit_kinds(), kinds);
  std::FILE* a = std::tmpfile();
  std::FILE* b = std::tmpfile();
  sdi::write_records(a, got);
  sdi::write_records(b, sdi::circuit);
  EXPECT_EQ(stream_bytes(a), stream_bytes(b));
  std::fclose(a);
  std::fclose(b);
  sdi::delete_list_elements(got);
}

TEST(RecordStream, StreamsKeepTheCurrentLayoutAfterAnOldCircuit) {
  TempDir dir;
  CircuitGuard guard;
  build_coupled_pair();
  ASSERT_EQ(sdi::write_element_file("copyele.dat", sdi::circuit), 1);
  sdi::loaded_version = 104;  // as after opening a version-104 circuit file
  sdi::elist got;
  Capture cap;
  ASSERT_EQ(sdi::read_element_file(sdi::clipboard_file_name, got), 1);
  EXPECT_TRUE(cap.messages.empty());
  ASSERT_EQ(kinds_of(got), (std::vector<int>{2, 2, 8, 5}));
  EXPECT_STREQ(static_cast<sdi::cmutind*>(static_cast<sdi::enode*>(got.head->next->next)->value)->name_, "M1");
  sdi::delete_list_elements(got);
  sdi::loaded_version = 0;
}

namespace {

// Two resistors written as a stream file; the second record's id (after its
// kind, value and flags) is then set to id.
void write_two_resistors_with_second_id(const char* file, std::int32_t id) {
  CircuitGuard guard;
  add_symbol(new sdi::basic(sdi::kind_resistor, 1), point(200, 160), "R1");
  add_symbol(new sdi::basic(sdi::kind_resistor, 1), point(296, 160), "R2");
  ASSERT_EQ(sdi::write_element_file(file, sdi::circuit), 1);
  std::FILE* f = std::fopen(file, "r+b");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(std::fseek(f, 64 + 16, SEEK_SET), 0);
  sdi::write_int(f, id);
  std::fclose(f);
}

}  // namespace

// Pasted and merged elements are found by id: a stream whose records share an
// id, or carry none, would put two elements under one id into the circuit.
// A stream that cannot be read leaves the list it was to fill as it was.
TEST(RecordStream, UnreadableStreamsAreRefusedWithTheirMessage) {
  const struct {
    const char* file;
    std::function<void()> make;
    std::string message;
  } rows[] = {
      {"gone.sct", [] {}, "File gone.sct couldn't be opened"},
      {"part.sct", [] { std::filesystem::create_directory("part.sct"); }, "File part.sct couldn't be opened"},
      {"two.sct", [] { write_two_resistors_with_second_id("two.sct", 1); },
       "File two.sct is damaged or truncated (element id 1 is used twice)"},
      {sdi::clipboard_file_name, [] { write_two_resistors_with_second_id("copyele.dat", 0); },
       "File copyele.dat is damaged or truncated (element id 0 is not valid)"},
      // Refused at once, never read: a pipe without a writer would block for ever.
      {"pipe.sct", [] { ASSERT_EQ(::mkfifo("pipe.sct", 0600), 0); }, "File pipe.sct is not a regular file."},
      {sdi::clipboard_file_name, [] { std::filesystem::create_symlink("/dev/zero", "copyele.dat"); },
       "File copyele.dat is not a regular file."},
      {"big.sct", [] { std::ofstream("big.sct").close(); std::filesystem::resize_file("big.sct", (16 << 20) + 1); },
       "File big.sct is larger than 16777216 bytes."},
  };
  ::alarm(60);  // a reader that blocked would end the test here
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    TempDir dir;
    row.make();
    sdi::elist got;
    auto* keep = new sdi::basic(sdi::kind_resistor, 1);
    got.insert(keep);
    Capture cap;
    EXPECT_EQ(sdi::read_element_file(row.file, got), 0);
    EXPECT_EQ(cap.messages, std::vector<std::string>{row.message});
    ASSERT_NE(got.head, nullptr);
    EXPECT_EQ(got.head->value, keep);
    EXPECT_EQ(got.head->next, nullptr);
    sdi::delete_list_elements(got);
  }
  ::alarm(0);
}

// A stream may hold one probe and one multiplier beside what the list already
// has; the others are read past and dropped, said once per kind with their count,
// and the rest still reads.
TEST(RecordStream, ASecondProbeOrMultiplierIsDropped) {
  CircuitGuard guard;
  for (int k : {35, 36, 35, 36, 0}) {
    sdi::element* e = k == 35 ? static_cast<sdi::element*>(new sdi::probe(1))
                     : k == 36 ? static_cast<sdi::element*>(new sdi::multiplier(1))
                               : new sdi::basic(sdi::kind_resistor, 1);
    add_symbol(static_cast<sdi::i_element*>(e), point(100 + 80 * static_cast<int>(circuit_ids().size()), 160));
  }
  std::FILE* f = std::tmpfile();
  sdi::write_records(f, sdi::circuit);
  const struct { bool probe_there; std::vector<int> kinds; std::vector<std::string> messages; } rows[] = {
      {false, {35, 36, 0}, {"Only one probe allowed.", "Only one multiplier allowed."}},
      {true, {36, 0}, {"Only one probe allowed. 2 extra probes were not read.", "Only one multiplier allowed."}},
  };
  sdi::basic placing(sdi::kind_resistor, 1), before(sdi::kind_capacitor, 1);
  sdi::pending_element = &placing;  // reading leaves the placement state alone
  sdi::previous_pending_element = &before;
  for (const auto& row : rows) {
    sdi::elist got;
    if (row.probe_there) got.insert(new sdi::probe(1));
    std::rewind(f);
    Capture cap;
    std::string error;
    ASSERT_TRUE(sdi::read_records(f, got, sdi::circuit_version, error)) << error;
    EXPECT_EQ(cap.messages, row.messages);
    std::vector<int> kinds = kinds_of(got);
    if (row.probe_there) kinds.erase(kinds.begin());
    EXPECT_EQ(kinds, row.kinds);
    sdi::delete_list_elements(got);
    EXPECT_EQ(sdi::pending_element, &placing);
    EXPECT_EQ(sdi::previous_pending_element, &before);
  }
  sdi::pending_element = sdi::previous_pending_element = nullptr;
  std::fclose(f);
}

// A stream that cannot be written says so, and leaves nothing behind.
TEST(RecordStream, AStreamThatCannotBeWrittenIsNoSuccess) {
  TempDir dir;
  CircuitGuard guard;
  build_coupled_pair();
  std::filesystem::create_directory("dir.sct");
  EXPECT_EQ(sdi::write_element_file("no/such/folder/part.sct", sdi::circuit), 0);
  EXPECT_EQ(sdi::write_element_file("dir.sct", sdi::circuit), 0);
  EXPECT_TRUE(std::filesystem::is_directory("dir.sct"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1);
}
