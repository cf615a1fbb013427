// Circuit files against what a crash or a wrong file leaves: the temporaries of a
// killed save, and files that are not circuits at all.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "capture.h"
#include "common/temp_dir.h"
#include "common/text_file.h"
#include "sdi/base_elements.h"
#include "sdi/circuit_file.h"
#include "sdi/elist.h"
#include "sdi/record_stream.h"

namespace fs = std::filesystem;

namespace {

// The open circuit: one resistor, deleted at the end of the test.
struct one_resistor {
  sdi::element* kept = new sdi::basic(sdi::kind_resistor, 1);
  one_resistor() {
    kept->id = 1;
    sdi::circuit.insert(kept);
  }
  ~one_resistor() { sdi::delete_list_elements(sdi::circuit); }
  bool alone() const { return sdi::circuit.head && sdi::circuit.head->value == kept && !sdi::circuit.head->next; }
};

std::string stamp_bytes(std::int32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[static_cast<std::size_t>(i)] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xff);
  return s + std::string(200, '\0');
}

void set_age(const fs::path& p, std::chrono::hours by) {
  fs::last_write_time(p, fs::file_time_type::clock::now() + by);
}

}  // namespace

TEST(CircuitFileHostile, AFileThatIsNoCircuitSaysSoAndAnOlderStampKeepsItsText) {
  struct row {
    const char* label;
    std::string bytes;
    std::string message;
  };
  const row rows[] = {
      {"text", "tsim = 1.0000e-03\ntd = 1.0000e-06\n", "File t.ckt is not a circuit file."},
      {"stamp 0", stamp_bytes(0), "File t.ckt is not a circuit file."},
      {"stamp -105", stamp_bytes(-105), "File t.ckt is not a circuit file."},
      {"stamp 106", stamp_bytes(106), "File t.ckt is not a circuit file."},
      {"stamp 103", stamp_bytes(103), "(105, 103) Can't read circuit with older version stamp."},
      {"stamp 1", stamp_bytes(1), "(105, 1) Can't read circuit with older version stamp."},
  };
  for (const row& k : rows) {
    SCOPED_TRACE(k.label);
    TempDir dir;
    write_text("t.ckt", k.bytes);
    one_resistor open;
    Capture cap;
    EXPECT_EQ(sdi::open_circuit_file("t.ckt"), sdi::circuit_stamp_refused);
    EXPECT_EQ(cap.messages, std::vector<std::string>{k.message});
    EXPECT_TRUE(open.alone());
  }
}

TEST(CircuitFileHostile, ASaveRemovesOnlyItsOwnTemporariesLeftBeforeTheProgramStarted) {
  TempDir dir;
  one_resistor open;
  Capture cap;
  const char* stale = ".a.ckt.Ab12Cd";
  const char* in_progress = ".a.ckt.Xy34Zw";   // newer than this program: another save
  const char* other_target = ".b.ckt.Ab12Cd";
  const char* not_a_temporary = ".a.ckt.Ab12Cd7";
  for (const char* f : {stale, in_progress, other_target, not_a_temporary}) write_text(f, "partial");
  for (const char* f : {stale, other_target, not_a_temporary}) set_age(f, std::chrono::hours(-1));
  set_age(in_progress, std::chrono::hours(1));

  ASSERT_EQ(sdi::save_circuit("a.ckt"), 1);
  EXPECT_FALSE(fs::exists(stale));
  for (const char* f : {in_progress, other_target, not_a_temporary}) EXPECT_TRUE(fs::exists(f)) << f;
  // The save itself left no temporary and wrote a circuit that reads back.
  int hidden = 0;
  for (const auto& e : fs::directory_iterator(".")) hidden += e.path().filename().string()[0] == '.';
  EXPECT_EQ(hidden, 3);
  EXPECT_EQ(sdi::open_circuit_file("a.ckt"), sdi::circuit_read);
  EXPECT_TRUE(cap.messages.empty());
}
