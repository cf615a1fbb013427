// The plotting program: the result table it accepts, what it says about a bad
// one, and one plot through gnuplot's text terminal.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "common/temp_dir.h"
#include "common/text_file.h"
#include "sdi/zorv/rurozuze/plot_script.h"
#include "sdi/zorv/rurozuze/plt_table.h"

namespace {

const char* const kGoodTable =
    "Time Vout IL \n"
    " 0.00000000E+00  0.000000E+00  1.000000E+00\n"
    " 1.00000000E-05  4.833383E-01  2.000000E+00\n"
    " 2.00000000E-05  1.866899E+00 -1.000000E+00\n";

TEST(Rurozuze, AGoodTableIsPlottedWithOneCurvePerOutput) {
  TempDir dir;
  const std::string path = (dir.path() / "my run.plt").string();
  write_text(path, kGoodTable);
  rurozuze::PltTable table;
  std::string problem;
  int data = -1;
  ASSERT_TRUE(rurozuze::ReadPltTable(path, table, problem, &data)) << problem;
  EXPECT_EQ(table.labels, (std::vector<std::string>{"Vout", "IL"}));
  EXPECT_EQ(table.rows, 3);
  EXPECT_EQ(rurozuze::RestoredPath((dir.path() / "my*run.plt").string()), path);  // the editor's "*" is a blank
  write_text("x*y.plt", "");
  EXPECT_EQ(rurozuze::RestoredPath("x*y.plt"), "x*y.plt");  // unless the path as given exists
  write_text("x y.plt", "");
  EXPECT_EQ(rurozuze::RestoredPath("x*y.plt"), "x*y.plt");  // whatever else exists
  EXPECT_EQ(rurozuze::RestoredPath("no*such.plt"), "no*such.plt");  // a missing table is named as given

  const std::string script = rurozuze::PlotScript(table, path, rurozuze::DataName(data), rurozuze::Terminal::Text);
  ASSERT_EQ(rurozuze::RunGnuplot("set output 'plot.txt'\n" + script, data), 0);
  ::close(data);
  const std::string plot = slurp("plot.txt");
  EXPECT_NE(plot.find("Vout ****"), std::string::npos) << plot;
  EXPECT_NE(plot.find("IL ####"), std::string::npos) << plot;
}

// Any name is plotted but one holding a control character: that would end a line of
// gnuplot's script, and what follows would run as a command of its own.
TEST(Rurozuze, ATableIsPlottedWhateverItsNameUnlessAControlCharacterIsInIt) {
  TempDir dir;
  const std::string deep = std::string(200, 'd') + "/" + std::string(200, 'e') + "/" + std::string(200, 'f');
  std::filesystem::create_directories(deep);
  // shown: the name as the refusal gives it; empty when the table plots.
  const struct { std::string name, shown; } rows[] = {
      {"my run.plt", ""},
      {"it's \"quoted\" \\ too.plt", ""},
      {"Schaltung \u00e4.plt", ""},
      {deep + "/a long path.plt", ""},
      {"x\nsystem \"touch PWNED\"\n.plt", "x\\nsystem \"touch PWNED\"\\n.plt"},
      {"x\rsystem \"touch PWNED\"\r.plt", "x\\rsystem \"touch PWNED\"\\r.plt"},
      {"tab\there.plt", "tab\\there.plt"},
      {"esc\x1b.plt", "esc\\x1b.plt"},
      {"del\x7f.plt", "del\\x7f.plt"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = (dir.path() / row.name).string();
    write_text(path, kGoodTable);
    std::filesystem::remove("plot.txt");
    rurozuze::PltTable table;
    std::string problem;
    int data = -1;
    const bool read = rurozuze::ReadPltTable(path, table, problem, &data);
    if (row.shown.empty()) {
      ASSERT_TRUE(read) << problem;
      const std::string script = rurozuze::PlotScript(table, path, rurozuze::DataName(data), rurozuze::Terminal::Text);
      ASSERT_EQ(rurozuze::RunGnuplot("set output 'plot.txt'\n" + script, data), 0);
      ::close(data);
      EXPECT_NE(slurp("plot.txt").find("Vout ****"), std::string::npos) << slurp("plot.txt");
      continue;
    }
    EXPECT_FALSE(read);
    EXPECT_EQ(data, -1);
    EXPECT_EQ(problem, "The result table " + dir.path().string() + "/" + row.shown +
                           " has a control character in its name: it is not plotted");
    // Nor does a script made for it anyway hand gnuplot a command.
    table.labels = {"Vout", "IL"};
    rurozuze::RunGnuplot("set output 'plot.txt'\n" + rurozuze::PlotScript(table, path, path, rurozuze::Terminal::Text));
    EXPECT_FALSE(std::filesystem::exists("PWNED"));
  }
}

// The X11 window aborts on a text of about 1,000 bytes: a long path shows by its end;
// an output name longer than 40 bytes, which would take the plot's width in the key, by
// its start. Never cut inside a UTF-8 character.
TEST(Rurozuze, ALongPathOrNameIsCutInTheWindow) {
  const std::string a40(40, 'a'), a90(90, 'a'), uml = "\u00e4";  // two bytes
  std::string umls;
  for (int i = 0; i < 50; ++i) umls += uml;
  const struct { std::string text, path, label; } rows[] = {
      {a40, a40, a40},
      {a40 + "b", a40 + "b", std::string(37, 'a') + "..."},
      {a90, a90, std::string(37, 'a') + "..."},
      {a90 + "b", "..." + std::string(86, 'a') + "b", std::string(37, 'a') + "..."},
      // 102 bytes: the path's last 87 would start inside a character, the name's first 37 end inside one
      {"/x" + umls, "..." + umls.substr(14), "/x" + umls.substr(0, 34) + "..."},
      // 101 bytes: the name's cut falls between two characters
      {"/" + umls, "..." + umls.substr(14), "/" + umls.substr(0, 36) + "..."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    rurozuze::PltTable table;
    table.labels = {row.text};
    const std::string script = rurozuze::PlotScript(table, row.text, "/dev/fd/3", rurozuze::Terminal::Window);
    EXPECT_NE(script.find("set terminal x11 title 'rurozuze - " + row.path + "'\nset title '" + row.path +
                          "' noenhanced\n"), std::string::npos) << script;
    EXPECT_NE(script.find("plot '/dev/fd/3' skip 1 using 1:2 with lines title '" + row.label + "' noenhanced\n"),
              std::string::npos) << script;
  }
}

// gnuplot refuses a string literal that starts with a doubled quote: a title holding a
// quote is an expression of quoted pieces and "'" (never a double-quoted text, where
// gnuplot runs a `command`). The window's title starts with "rurozuze - ", so doubling does.
TEST(Rurozuze, ATextHoldingAQuoteIsWrittenAsGnuplotTakesIt) {
  const struct { std::string text, window, expression; } rows[] = {
      {"'q", "'rurozuze - ''q'", "(\"'\".'q')"},
      {"a'b c", "'rurozuze - a''b c'", "('a'.\"'\".'b c')"},
      {"''", "'rurozuze - '''''", "(\"'\".\"'\")"},
      {"x'", "'rurozuze - x'''", "('x'.\"'\")"},
      {"\"`touch PWNED`\"", "'rurozuze - \"`touch PWNED`\"'", "'\"`touch PWNED`\"'"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    rurozuze::PltTable table;
    table.labels = {row.text};
    const std::string script = rurozuze::PlotScript(table, row.text, "/dev/fd/3", rurozuze::Terminal::Window);
    EXPECT_NE(script.find("set terminal x11 title " + row.window + "\nset title " + row.expression + " noenhanced\n"),
              std::string::npos) << script;
    EXPECT_NE(script.find("with lines title " + row.expression + " noenhanced\n"), std::string::npos) << script;
  }
}

TEST(Rurozuze, EachBadTableHasItsOwnMessage) {
  TempDir dir;
  const std::string path = (dir.path() / "c.plt").string();
  // text null: no file, or made as odd says: 'p' a pipe, 'z' a link to /dev/zero, 'b' past the bound,
  // 'l' a last line (of zero bytes) one past the line bound, 'm' a link to a file that fails to read
  const std::string atBound = "Time Vout\n0 1\n" + std::string(rurozuze::kMaxLineBytes, ' ') + "\n1e-5 x\n";
  const struct { const char* text; std::string message; char odd = 0; } cases[] = {
      {nullptr, "Cannot open the result table " + path},
      // Refused before a byte is read (a pipe would block, /dev/zero never ends).
      {nullptr, "The result table " + path + " is not a regular file", 'p'},
      {nullptr, "The result table " + path + " is not a regular file", 'z'},
      {kGoodTable, "The result table " + path + " is larger than 2147483648 bytes", 'b'},
      {"Tim Vout\n0 1\n", path + ", line 1: the header does not start with \"Time\""},
      {"Time\n0\n", path + ", line 1: the header names no output"},
      {"Time \n0\n", path + ", line 1: the header names no output"},
      {"Time Vout IL\n0 1 2\n\n1e-5 3\n", path + ", line 4: 2 values where 3 are expected"},
      {"Time Vout\n0 1\n1e-5 x\n", path + ", line 3: \"x\" is not a number"},
      {"Time Vout IL \n\n", path + ": the table holds no rows (the save interval of Simulation > Parameters "
                                   "took in no time of the run)"},
      {"", path + ", line 1: the line is longer than 16777216 bytes", 'l'},
      {"Time Vout\n0 1\n", path + ", line 3: the line is longer than 16777216 bytes", 'l'},
      {atBound.c_str(), path + ", line 4: \"x\" is not a number"},  // a line at the bound is read
      {nullptr, "Cannot read the result table " + path + ": Input/output error", 'm'},
  };
  ::alarm(60);  // a reader that blocked would end the test here
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    std::filesystem::remove(path);
    if (c.text) write_text(path, c.text);
    ASSERT_TRUE(c.odd != 'p' || ::mkfifo(path.c_str(), 0600) == 0);
    if (c.odd == 'z') std::filesystem::create_symlink("/dev/zero", path);
    if (c.odd == 'b') std::filesystem::resize_file(path, rurozuze::kMaxTableBytes + 1);  // sparse: takes no room
    if (c.odd == 'l') std::filesystem::resize_file(path, std::strlen(c.text) + rurozuze::kMaxLineBytes + 1);
    if (c.odd == 'm') std::filesystem::create_symlink("/proc/self/mem", path);  // address 0 is never mapped
    rurozuze::PltTable table;
    std::string problem;
    EXPECT_FALSE(rurozuze::ReadPltTable(path, table, problem));
    EXPECT_EQ(problem, c.message);
  }
  ::alarm(0);
}

}  // namespace
