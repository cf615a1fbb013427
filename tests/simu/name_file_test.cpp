// src.dat / states.dat: rewritten only when their text changes.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/temp_dir.h"
#include "common/text_file.h"
#include "simu/name_file.h"

namespace {

TEST(WriteNames, RewritesOnlyAChangedFile) {
  namespace fs = std::filesystem;
  struct row { const char* label; const char* before; bool rewritten; };
  const row rows[] = {
      {"no file", nullptr, true},
      {"same text", "V_C1\nI_L1\n", false},
      {"other text", "V_C1\nI_L2\n", true},
      {"a prefix", "V_C1\n", true},
      {"longer", "V_C1\nI_L1\nx\n", true},
      {"empty", "", true},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.label);
    TempDir dir;
    const fs::file_time_type old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    if (r.before) {
      write_text("states.dat", r.before);
      fs::last_write_time("states.dat", old);
    }
    write_names("states.dat", {"V_C1", "I_L1"}, "Can't open states.dat file");
    EXPECT_EQ(slurp("states.dat"), "V_C1\nI_L1\n");
    EXPECT_EQ(fs::last_write_time("states.dat") != old, r.rewritten);
  }
}

}  // namespace
