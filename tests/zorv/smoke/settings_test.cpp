// The settings file (~/.ZORV) through the editor's start and File > Exit: each start of
// the application runs in a child process of its own (the toolkit starts once a process),
// with HOME in a folder of the test's, which outlives it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>

#include <X11/Xlib.h>

#include <wx/filehistory.h>

#include "sdi/zorv/core/document/settings_file.h"
#include "sdi/zorv/settings_store.h"
#include "sdi/zorv/toolkit_ids.h"
#include "zorv/smoke/buck_circuit.h"
#include "zorv/smoke/gui_session.h"

namespace {

namespace fs = std::filesystem;

// What one start of the editor showed and held, up to its File > Exit.
struct Start {
  int status = -1;                    // the child's wait status: 0 when it ended normally
  std::vector<std::string> messages;  // the boxes shown
  std::vector<std::string> recent;    // the recent files at start
};

// Starts the editor with HOME at `home` and args on its command line, then chooses
// File > Exit.
Start StartAndExit(const fs::path& home, const std::vector<std::string>& args) {
  const fs::path report = home.parent_path() / "start-report";
  fs::remove(report);
  const pid_t pid = fork();
  if (pid == 0) {
    int code = 1;
    {
      GuiSession s(args, [&](const fs::path&) { setenv("HOME", home.c_str(), 1); });
      if (s.Started() && s.WaitFor([&] { return Shown(s); })) {
        std::ofstream out(report, std::ios::binary);
        for (const std::string& m : s.Messages()) out << 'M' << m << '\0';
        wxFileHistory* history = s.App().DocManager()->GetFileHistory();
        for (size_t i = 0; i < history->GetCount(); ++i) out << 'R' << history->GetHistoryFile(i).utf8_string() << '\0';
        s.Command(ZORV_ID(AppExit));
        if (s.WaitFor([&] { return s.Frame() == nullptr; })) code = 0;
      }
    }  // the application's exit
    _exit(code);
  }
  Start start;
  if (pid < 0 || waitpid(pid, &start.status, 0) != pid) return start;
  const std::string said = slurp(report);
  for (std::size_t at = 0; at < said.size();) {
    const std::size_t end = said.find('\0', at);
    (said[at] == 'M' ? start.messages : start.recent).push_back(said.substr(at + 1, end - at - 1));
    at = end + 1;
  }
  return start;
}

// A file's bytes for a message: whole when short, else the start, the size and a hash.
std::string Bytes(const std::string& s) {
  if (s.size() <= 300) return s;
  return s.substr(0, 100) + "... (" + std::to_string(s.size()) + " bytes, hash " +
         std::to_string(std::hash<std::string>{}(s)) + ")";
}

}  // namespace

// File > Exit writes the recent files alone back to the settings file, whatever it held,
// and the next start reads them; a file the toolkit could not hold or decode is refused
// at every start and kept as it is.
TEST(Smoke, FileExitWritesTheRecentFilesBackForTheNextStart) {
  TempDir dir;
  const fs::path home = dir.path() / "home", settings = home / ".ZORV";
  fs::create_directories(home);
  const fs::path circuit = dir.path() / "buck.ckt";
  ASSERT_TRUE(WriteBuckCircuit(circuit.string()));
  // A circuit whose path is 250 bytes long.
  const fs::path far = dir.path() / (std::string(250 - dir.path().string().size() - 5, 'c') + ".ckt");
  ASSERT_EQ(far.string().size(), 250u);
  fs::copy_file(circuit, far);
  std::string deep = "file1=/a/x.ckt\n[";
  for (int i = 0; i < 32000; ++i) deep += "a/";
  deep += "]\nk=1\n";
  std::string padded = "file1=/a/x.ckt\n" + std::string(30000, '\n');
  padded += std::string(65500 - padded.size(), '\0');
  const std::string refusal = "File " + settings.string() +
                              ", line 2: a group more than 64 levels deep.\nThe recent files are neither read nor kept.";
  std::string utf16 = "\xff\xfe";  // little-endian, with its byte-order mark
  for (const char c : std::string("file1=/a/x.ckt\nfile2=\nfile3=\nfile4=\n")) utf16 += std::string{c, '\0'};
  std::string utf16bare;  // little-endian, without a mark
  for (const char c : std::string("file1=/a/x.ckt\nfile2=/c.ckt\n")) utf16bare += std::string{c, '\0'};
  const std::string undecoded =
      "File " + settings.string() + " cannot be read as text.\nThe recent files are neither read nor kept.";
  const struct {
    const char* what;
    std::optional<std::string> before;  // the file before the start; none when empty
    std::vector<std::string> args;
    std::string after;                      // the file after File > Exit
    std::vector<std::string> said, recent;  // at the next start
  } rows[] = {
      {"the recent files as written", "file1=/a/x.ckt\nfile2=/b/y.ckt\nfile3=\nfile4=\n", {"--nosplash"},
       "file1=/a/x.ckt\nfile2=/b/y.ckt\nfile3=\nfile4=\n", {}, {"/a/x.ckt", "/b/y.ckt"}},
      {"other groups", "file1=/a/x.ckt\n[Other]\nx=1\n[Other/Sub]\nfile2=/b/y.ckt\n", {"--nosplash", circuit.string()},
       "file1=" + circuit.string() + "\nfile2=/a/x.ckt\nfile3=\nfile4=\n", {}, {circuit.string(), "/a/x.ckt"}},
      {"none", std::nullopt, {"--nosplash"}, "file1=\nfile2=\nfile3=\nfile4=\n", {}, {}},
      {"a group 32000 levels deep", deep, {"--nosplash"}, deep, {refusal}, {}},
      {"UTF-16", utf16, {"--nosplash"}, utf16, {undecoded}, {}},
      {"UTF-8 after a byte-order mark", "\xef\xbb\xbf" "file1=/a/x.ckt\n", {"--nosplash"},
       "file1=/a/x.ckt\nfile2=\nfile3=\nfile4=\n", {}, {"/a/x.ckt"}},
      {"UTF-16 without a byte-order mark", utf16bare, {"--nosplash"}, utf16bare, {undecoded}, {}},
      {"a line with no '='", "file1=/a/x.ckt\nfile2 /b/y.ckt\n", {"--nosplash"}, "file1=/a/x.ckt\nfile2 /b/y.ckt\n",
       {undecoded}, {}},
      {"blanks and comments", "  file1 = /a/x.ckt\n\t# c\n; d\n\n  file2=/b/y.ckt\n [Other] ; e\nx=1\n", {"--nosplash"},
       "file1=/a/x.ckt\nfile2=/b/y.ckt\nfile3=\nfile4=\n", {}, {"/a/x.ckt", "/b/y.ckt"}},
      {"bytes that are no UTF-8", "file1=/a/\xff\xfe\xc3(b.ckt\n", {"--nosplash"}, "file1=/a/\xff\xfe\xc3(b.ckt\n",
       {undecoded}, {}},
      {"padded to 65500 bytes", padded, {"--nosplash", far.string()},
       "file1=" + far.string() + "\nfile2=/a/x.ckt\nfile3=\nfile4=\n", {}, {far.string(), "/a/x.ckt"}},
  };
  // Held open throughout: a server left without clients between two starts resets, and
  // the next start could connect during the reset.
  Display* held = XOpenDisplay(nullptr);
  ASSERT_NE(held, nullptr) << "no X server";
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    fs::remove(settings);
    if (row.before) std::ofstream(settings, std::ios::binary) << *row.before;
    const Start first = StartAndExit(home, row.args);
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(Bytes(slurp(settings)), Bytes(row.after));
    const Start next = StartAndExit(home, {"--nosplash"});
    EXPECT_EQ(next.status, 0);
    EXPECT_EQ(next.messages, row.said);
    EXPECT_EQ(next.recent, row.recent);
    EXPECT_EQ(Bytes(slurp(settings)), Bytes(row.after));
  }
  XCloseDisplay(held);
}
