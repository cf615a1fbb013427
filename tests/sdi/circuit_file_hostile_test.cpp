// Circuit files against what a crash or a wrong file leaves: the temporaries of a
// killed save, and files that are not circuits at all.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "capture.h"
#include "common/temp_dir.h"
#include "common/text_file.h"
#include "sdi/base_elements.h"
#include "sdi/circuit_file.h"
#include "sdi/record_stream.h"

namespace fs = std::filesystem;

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

TEST(CircuitFileHostile, ASaveRemovesOnlyItsOwnTemporariesLeftBeforeTheProgramStarted) {
  TempDir dir;
  Capture cap;
  // A killed save's temporary, a save in progress (newer than this program), another
  // target's temporary, a name that is no temporary.
  const char* names[] = {".a.ckt.Ab12Cd", ".a.ckt.Xy34Zw", ".b.ckt.Ab12Cd", ".a.ckt.Ab12Cd7"};
  for (const char* f : names) {
    write_text(f, "partial");
    fs::last_write_time(f, fs::file_time_type::clock::now() + std::chrono::hours(f == names[1] ? 1 : -1));
  }
  ASSERT_EQ(sdi::save_circuit("a.ckt"), 1);
  int left = 0;
  for (const auto& e : fs::directory_iterator(".")) left += e.path().filename() != "a.ckt";
  EXPECT_EQ(left, 3);
  EXPECT_FALSE(fs::exists(names[0]));
  EXPECT_EQ(sdi::open_circuit_file("a.ckt"), sdi::circuit_read);
  EXPECT_TRUE(cap.messages.empty());
}
