// Output store: the console questions, the result table bytes and the write refusals;
// src.dat and states.dat, rewritten only when their text changes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "common/temp_dir.h"
#include "simu/base/console.h"
#include "simu/driver/output_store.h"
#include "common/dm_builders.h"
#include "common/fatal_of.h"
#include "common/text_file.h"
#include "simu/base/name_file.h"

TEST(OutputStore, QuestionsGoToTheErrorFileAndNothingIsRead) {
  TempDir dir;
  write_text("answers.txt", "ny\n");
  ASSERT_NE(std::freopen("answers.txt", "r", stdin), nullptr);
  redirect_stdio();
  output_store out(0.0, 1.0, 0.0, 1.0, 0.1, 10, false);
  sim_printf("%d\n", 42);
  flush_console();  // both files complete while still open
  std::string err = slurp("stderr.out");
  EXPECT_EQ(slurp("stdout.out"), "42\n");
  close_stdio_redirection();
  EXPECT_TRUE(redirected_stream(stdout) == nullptr && redirected_stream(stderr) == nullptr);  // closed, not left dangling
  EXPECT_EQ(err,
            "\nDo you need outputs at all the simulated points? (y/n) "
            "\nDo you need outputs at evenly spaced instants? (y/n) ");
  EXPECT_EQ(std::fgetc(stdin), 'n');  // the answers are still unread
}

TEST(OutputStore, ALogThatIsAPipeNoProcessReadsIsNotWaitedOn) {
  TempDir dir;
  ASSERT_EQ(::mkfifo("stdout.out", 0600), 0);
  ::alarm(60);  // a blocking open ends the test instead of hanging it
  redirect_stdio();
  ::alarm(0);
  EXPECT_EQ(redirected_stream(stdout), nullptr);
  sim_fprintf(stderr, "%d\n", 7);
  flush_console();
  EXPECT_EQ(slurp("stderr.out"), "7\n");
  close_stdio_redirection();
}

TEST(OutputStore, ResultTableLayout) {
  TempDir dir;
  output_store out(0.0, 1.0, 0.0, 1.0, 0.5, 2, false);
  out.sample(0.5, col({1.5, -2.0, 1e-20}));
  out.sample(1.0, col({-0.25, 3.0, 0.0}));
  out.write_all("r.plt", {"Vout", "", "IL1"});
  EXPECT_EQ(slurp("r.plt"),
            "Time Vout IL1 \n"
            " 5.00000000E-01  1.500000E+00  1.000000E-20\n"
            " 1.00000000E+00 -2.500000E-01  0.000000E+00\n");
}

TEST(OutputStore, WriteRefusals) {
  TempDir dir;
  DM T(1, 2, 0.0), Y(1, 3, 0.0), one(1, 1, 0.0);
  EXPECT_EQ(fatal_of([&] { write(T, Y, "x.plt", {"a"}); }),
            "Fatal Error : write() - T and Y are not of the same length!\n");
  EXPECT_EQ(fatal_of([&] { write(one, one, "no/such/folder/x.plt", {"a"}); }),
            "Fatal Error : write() - can't write to disk file! \"no/such/folder/x.plt\": No such file or directory\n");
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  EXPECT_EQ(fatal_of([&] { write(one, one, "/dev/full", {"a"}); }), "Fatal Error : write() - disk full!\n");
  DM many(1, 5000, 0.0);  // more than a buffer: the write itself fails, before the close
  EXPECT_EQ(fatal_of([&] { write(many, many, "/dev/full", {"a"}); }), "Fatal Error : write() - disk full!\n");
}

namespace {

TEST(WriteNames, RewritesOnlyAChangedFile) {
  namespace fs = std::filesystem;
  struct row { const char* label; const char* before; bool rewritten; };
  const row rows[] = {
      {"no file", nullptr, true},
      {"same text", "V_C1\nI_L1\n", false},
      {"other text", "V_C1\nI_L2\n", true},
      {"a prefix", "V_C1\n", true},
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
