#include "simu/console.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/temp_dir.h"

namespace {

// Every test leaves the process with the real streams again.
struct ConsoleTest : ::testing::Test {
  void TearDown() override { close_stdio_redirection(); }
};

}  // namespace

TEST_F(ConsoleTest, WithoutRedirectionNothingIsCreated) {
  TempDir dir;
  testing::internal::CaptureStdout();
  sim_printf("x=%d\n", 5);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "x=5\n");
  EXPECT_FALSE(std::filesystem::exists("stdout.out"));
  EXPECT_EQ(redirected_stream(stdout), nullptr);
}

TEST_F(ConsoleTest, RedirectedOutputGoesToTheTwoFiles) {
  TempDir dir;
  redirect_stdio();
  EXPECT_NE(redirected_stream(stdout), nullptr);
  EXPECT_NE(redirected_stream(stderr), nullptr);
  EXPECT_EQ(redirected_stream(stdin), nullptr);
  sim_printf("Final simulation time = %.8e.\n", 0.001);
  sim_fprintf(stderr, "\nJob completed!");
  sim_fprintf(stdout, "%s", "more\n");
  flush_console();
  EXPECT_EQ(slurp("stdout.out"), "Final simulation time = 1.00000000e-03.\nmore\n");
  EXPECT_EQ(slurp("stderr.out"), "\nJob completed!");
}

TEST_F(ConsoleTest, OtherStreamsAreWrittenDirectly) {
  TempDir dir;
  redirect_stdio();
  std::FILE* f = std::fopen("other.txt", "w");
  ASSERT_NE(f, nullptr);
  sim_fprintf(f, "%d %s", 7, "seven");
  std::fclose(f);
  flush_console();
  EXPECT_EQ(slurp("other.txt"), "7 seven");
  EXPECT_EQ(slurp("stdout.out"), "");
}

TEST_F(ConsoleTest, SecondRedirectOpensOnceAndAppends) {
  TempDir dir;
  redirect_stdio();
  sim_printf("first run\n");
  redirect_stdio();
  sim_printf("second run\n");
  flush_console();
  EXPECT_EQ(slurp("stdout.out"), "first run\nsecond run\n");
}

TEST_F(ConsoleTest, OpeningTruncatesOldLogs) {
  TempDir dir;
  {
    std::FILE* f = std::fopen("stdout.out", "w");
    std::fputs("old contents\n", f);
    std::fclose(f);
  }
  redirect_stdio();
  sim_printf("new\n");
  flush_console();
  EXPECT_EQ(slurp("stdout.out"), "new\n");
}

TEST_F(ConsoleTest, UnopenableFileFallsBackToTheRealStream) {
  TempDir dir;
  // A folder in the way: "stdout.out" cannot be opened for writing.
  std::filesystem::create_directory("stdout.out");
  redirect_stdio();
  EXPECT_EQ(redirected_stream(stdout), nullptr);
  testing::internal::CaptureStdout();
  sim_printf("still shown %d\n", 3);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "still shown 3\n");
  sim_fprintf(stderr, "to the log");
  flush_console();
  EXPECT_EQ(slurp("stderr.out"), "to the log");
}

TEST_F(ConsoleTest, VprintfPassesThroughTheTable) {
  TempDir dir;
  redirect_stdio();
  auto call = [](const char* fmt, ...) {
    std::va_list args;
    va_start(args, fmt);
    sim_vprintf(fmt, args);
    va_end(args);
  };
  call("%s-%d\n", "v", 9);
  flush_console();
  EXPECT_EQ(slurp("stdout.out"), "v-9\n");
}

namespace {
std::string captured;
int capture_vfprintf(std::FILE*, const char* format, std::va_list args) {
  char buf[256];
  int n = std::vsnprintf(buf, sizeof buf, format, args);
  captured += buf;
  return n;
}
}  // namespace

TEST_F(ConsoleTest, PrintFunctionsUseTheTablesFirstEntry) {
  sim_print_table saved = sim_print;
  sim_print.vfprintf_fn = capture_vfprintf;
  captured.clear();
  sim_printf("a%d", 1);
  sim_fprintf(stderr, "b%d", 2);
  sim_print.printf_fn("c%d", 3);
  sim_print = saved;
  EXPECT_EQ(captured, "a1b2c3");
}
