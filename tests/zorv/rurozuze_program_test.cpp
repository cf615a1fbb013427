// The plotting program itself on tables named as gnuplot would read otherwise: a
// gnuplot on the PATH that turns the window into a table of the points it plots
// (and notes the script, and says the title it took), so what was read shows as numbers.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/temp_dir.h"
#include "common/text_file.h"
#include "sdi/zorv/core/commands/sim_commands.h"
#include "sdi/zorv/rurozuze/plot_script.h"

namespace fs = std::filesystem;

namespace {

// A table of two outputs so named.
std::string Table(const std::string& first, const std::string& second) {
  return "Time " + first + " " + second + " \n"
         " 0.00000000E+00  0.000000E+00  1.000000E+00\n"
         " 1.00000000E-05  4.833383E-01  2.000000E+00\n";
}
// What another file read in its place would show.
const char* const kDecoy = "Time Vout IL \n 0 7777 7777\n 1 7777 7777\n";

// Runs rurozuze in the folder with the argument; its exit status (-1 when it did not exit).
int RunPlotter(const fs::path& folder, const std::string& argument) {
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    const std::string path = (folder / "bin").string() + ":" + std::getenv("PATH");
    setenv("PATH", path.c_str(), 1);
    setenv("HOME", (folder / "home").c_str(), 1);
    setenv("DISPLAY", ":none", 1);  // never opened: the stand-in gnuplot draws no window
    if (chdir(folder.c_str()) != 0 || !freopen("stderr.txt", "w", stderr)) _exit(126);
    execl(ZORV_RUROZUZE, "rurozuze", argument.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(RurozuzeProgram, PlotsTheTableItselfWhateverItsName) {
  TempDir dir;
  fs::create_directories(dir.path() / "bin");
  write_text((dir.path() / "bin" / "gnuplot").string(),
             "#!/bin/sh\n[ $# -gt 0 ] && exit 0\n"  // the check for the X11 terminal
             "tee script.txt | sed -e \"1s/.*/set table 'points.txt'/\" -e 's/^pause.*/show title/' | exec /usr/bin/gnuplot\n");
  fs::permissions(dir.path() / "bin" / "gnuplot", fs::perms::owner_all);
  fs::create_directories(dir.path() / "home");
  write_text((dir.path() / "home" / "t.plt").string(), kDecoy);  // where "~/t.plt" would lead
  // A path near PATH_MAX: folders of 200 bytes down to about 4,000 bytes in all.
  std::string deep = dir.path().string();
  while (deep.size() < PATH_MAX - 300) deep += "/" + std::string(200, 'd');
  fs::create_directories(deep);
  deep += "/" + std::string(PATH_MAX - 20 - deep.size(), 'f') + ".plt";
  const std::string star = (dir.path() / "st*ar dir").string(), blank = (dir.path() / "my dir").string();
  fs::create_directories(star);
  fs::create_directories(blank);
  fs::create_directories(dir.path() / "~");
  const std::string editor;  // the argument: the editor's for the table's base path
  // decoy: a file gnuplot or a wrong reading of the argument would take instead
  const struct { std::string table, argument, decoy, first = "Vout", second = "IL"; } rows[] = {
      {"my run.plt", "my*run.plt", ""},  // typed by hand with its blanks as "*"
      {"<touch PIPED; cat x.plt", "<touch PIPED; cat x.plt", "x.plt"},
      {"-", "-", ""},
      {"+", "+", ""},
      {"++", "++", ""},
      {"$data", "$data", ""},
      {"~/t.plt", "~/t.plt", ""},
      {deep, deep, ""},
      {star + "/b.plt", editor, (dir.path() / "st ar dir" / "b.plt").string()},
      {blank + "/b.plt", editor, ""},
      {"a*b.plt", editor, "a b.plt"},
      {"a*b.plt", "a*b.plt", "a b.plt"},
      {"my run.plt", "my run.plt", "my*run.plt"},
      // gnuplot refuses a string literal that starts with a doubled quote
      {"'q run.plt", editor, "", "'q", "''"},
      {"''.plt", editor, "", "'", "a'b"},
      {"a'.plt", editor, "", "x'", "q''"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.table.substr(0, 100));
    std::string argument = row.argument;
    if (argument == editor)
      argument = zorv::SimCommands::PlotArgument(row.table.substr(0, row.table.size() - 4));
    fs::create_directories(fs::path(row.table).parent_path().empty() ? "." : fs::path(row.table).parent_path());
    write_text(row.table, Table(row.first, row.second));
    if (!row.decoy.empty()) {
      fs::create_directories(fs::path(row.decoy).parent_path().empty() ? "." : fs::path(row.decoy).parent_path());
      write_text(row.decoy, kDecoy);
    }
    fs::remove("points.txt");
    fs::remove("script.txt");
    EXPECT_EQ(RunPlotter(dir.path(), argument), 0) << slurp("stderr.txt");
    const std::string points = slurp("points.txt");
    EXPECT_NE(points.find("# Curve title: \"" + row.first + "\"\n# x y type\n 0  0  i\n 1e-05  0.483338  i\n"),
              std::string::npos)
        << points;
    EXPECT_NE(points.find("# Curve title: \"" + row.second + "\"\n# x y type\n 0  1  i\n 1e-05  2  i\n"),
              std::string::npos)
        << points;
    EXPECT_EQ(points.find("7777"), std::string::npos) << points;
    EXPECT_FALSE(fs::exists("PIPED")) << "a command in the name ran";
    // The title gnuplot took names the table, its end when that is long: the window has room
    // for about 1,000 bytes.
    const std::string said = slurp("stderr.txt");
    const std::string tail = row.table.substr(row.table.size() > 60 ? row.table.size() - 60 : 0);
    const std::size_t title = said.find("title is \""), end = said.find("\", offset", title);
    ASSERT_NE(end, std::string::npos) << said << slurp("script.txt");
    EXPECT_LE(end - title - 10, rurozuze::kMaxShownBytes) << said;
    EXPECT_EQ(said.substr(end - tail.size(), tail.size()), tail) << said;
    fs::remove(row.table);
    if (!row.decoy.empty()) fs::remove(row.decoy);
  }
}
