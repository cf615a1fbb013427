// The editor's texts and artwork as the user sees them: prompts, menus, toolbars and
// keys, window titles and file names, the About figures, the desktop registration,
// toolbar glyphs and element icons.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "common/temp_dir.h"
#include "sdi/elements/element.h"
#include "sdi/elements/placement.h"
#include "sdi/zorv/core/dialogs/about_info.h"
#include "sdi/zorv/core/commands/command_ids.h"
#include "sdi/zorv/core/commands/command_table.h"
#include "sdi/zorv/core/document/doc_names.h"
#include "sdi/zorv/core/commands/element_icons.h"
#include "sdi/zorv/core/view/frame_geometry.h"
#include "sdi/zorv/core/base/messages.h"
#include "sdi/zorv/core/document/settings_file.h"
#include "sdi/zorv/core/document/shell_registration.h"
#include "sdi/zorv/core/commands/tool_glyphs.h"

namespace cmd = zorv::cmd;

namespace {

// A group path of n levels: "l/l/.../l/".
std::string Levels(int n) {
  std::string path;
  for (int i = 0; i < n; ++i) path += "l/";
  return path;
}

TEST(ShellTexts, PromptsToolbarsAndKeys) {
  struct { int id; const char* status; const char* tooltip; } prompts[] = {
      {cmd::Wire, "Connect the components with a  wire", "Wire"},
      {cmd::R, "Resistor", "Resistor"},  // no tooltip part: the status text is both
      {cmd::VCO, "Voltage Controlled Oscillator", "Voltage Controlled Oscillator"},
      {1, "", ""},
  };
  for (auto& p : prompts) {
    const zorv::CommandPrompt got = zorv::PromptFor(p.id);
    EXPECT_EQ(std::make_pair(got.status, got.tooltip), std::make_pair(std::string(p.status), std::string(p.tooltip))) << p.id;
  }
  const std::vector<int>& bar = zorv::ElementToolbarButtons();
  ASSERT_EQ(std::set<int>(bar.begin(), bar.end()).size(), 29u);
  for (int id : bar) {  // every element button has a prompt, a label and artwork
    EXPECT_FALSE(zorv::PromptFor(id).status.empty() || zorv::ShortLabel(id).empty()) << id;
    const int kind = zorv::ElementKindOfCommand(id);
    ASSERT_GE(kind, 0) << id;
    const auto icon = zorv::ElementIcon(kind);
    EXPECT_TRUE(sdi::is_line_element(kind) || std::count(icon.begin(), icon.end(), 0xFF0000u) > 3) << kind;
  }
  std::map<int, int> keys;  // two keys each for undo, cut, copy and paste
  for (const auto& a : zorv::Accelerators()) ++keys[a.id];
  for (int id : {cmd::EditUndo, cmd::EditCut, cmd::EditCopy, cmd::EditPaste}) EXPECT_EQ(keys[id], 2) << id;
  EXPECT_EQ(zorv::ElementKindOfCommand(cmd::ZoomIn), -1);
}

TEST(ShellTexts, FileNamesAndTitles) {
  struct { const char* path; const char* base; const char* folder; } names[] = {
      {"/home/ann/buck.ckt", "/home/ann/buck", "/home/ann/"},
      {"/home/ann/x.v2.ckt", "/home/ann/x", "/home/ann/"},  // cut at the first dot
      {"/home/j.doe/buck.ckt", "/home/j.doe/buck", "/home/j.doe/"},  // never in a folder
      {"/a.b/c", "/a.b/c", "/a.b/"},
      {"/tmp/circuit", "/tmp/circuit", "/tmp/"},
      {"Untitled", "Untitled", ""},
      {"/tmp/.hidden", "/tmp/.hidden", "/tmp/"},  // a leading dot is part of the name
      {"/tmp/.hidden.ckt", "/tmp/.hidden", "/tmp/"},
      {"sub/buck.ckt", "sub/buck", "sub/"},
      {"buck.ckt", "buck", ""},
      {"/buck.ckt", "/buck", "/"},
  };
  for (auto& n : names) {
    EXPECT_EQ(zorv::BaseNameOf(n.path), n.base) << n.path;
    EXPECT_EQ(zorv::FolderOf(n.path), n.folder) << n.path;
  }
  EXPECT_EQ(zorv::UntitledBaseAfter("/w/c"), "/w/Untitled");
  EXPECT_EQ(zorv::UntitledBaseAfter(""), "Untitled");
  EXPECT_EQ(zorv::UntitledBaseAfter("Untitled"), "Untitled");
  EXPECT_EQ(zorv::MainTitle("/w/c.ckt"), "ZORV - /w/c.ckt");
  EXPECT_EQ(zorv::SavePrompt("buck.ckt"), "Save changes to buck.ckt?");
  std::vector<std::string> shown;
  auto previous = zorv::SetMessageSink([&](const std::string& t) { shown.push_back(t); });
  zorv::ShowMessage(zorv::kCouldntOpenFile);
  zorv::SetMessageSink(previous);
  EXPECT_EQ(shown, std::vector<std::string>{"Couldn't Open File!"});
}

TEST(ShellTexts, AboutFiguresFrameAndDesktopRegistration) {
  EXPECT_EQ(zorv::MemoryText(16318456), "16318456 KB");
  EXPECT_EQ(zorv::MemoryText(64ull << 20), "67108864 KB");
  EXPECT_EQ(zorv::DiskText(8ull << 30, "/data"), "8589934592 KB Free on /data");  // past 32 bits
  EXPECT_EQ(zorv::DiskText(std::nullopt, "/x"), "Unavailable");
  TempDir dir;
  EXPECT_GT(zorv::TotalMemoryKb().value_or(0), 0u);
  EXPECT_TRUE(zorv::FreeDiskKb(dir.path().string()).has_value());
  EXPECT_FALSE(zorv::FreeDiskKb("/no/such/folder").has_value());
  const zorv::WindowRect r = zorv::MainFrameRect({1280, 1024});  // a fifth smaller, centred
  EXPECT_EQ(std::vector<int>({r.x, r.y, r.w, r.h}), std::vector<int>({118, 94, 1066, 853}));
  const zorv::WindowRect exact = zorv::MainFrameRect({1920, 1200});
  EXPECT_EQ(std::vector<int>({exact.x, exact.y, exact.w, exact.h}), std::vector<int>({177, 111, 1600, 1000}));

  ASSERT_TRUE(zorv::RegisterShellFileTypes(dir.path(), "/a/zorv"));
  ASSERT_TRUE(zorv::RegisterShellFileTypes(dir.path(), "/opt/zorv/zorv"));  // rewritten
  const std::string entry = slurp(dir.path() / "applications" / "zorv.desktop");
  EXPECT_NE(entry.find("Exec=\"/opt/zorv/zorv\" %f\n"), std::string::npos);
  EXPECT_NE(entry.find("MimeType=application/x-zorv-circuit;\n"), std::string::npos);
  const std::string mime = slurp(dir.path() / "mime" / "packages" / "zorv.xml");
  for (const char* line : {"<mime-type type=\"application/x-zorv-circuit\">", "<glob pattern=\"*.ckt\"/>",
                           "<comment>Zorv Document</comment>"})
    EXPECT_NE(mime.find(line), std::string::npos) << line;
  EXPECT_FALSE(zorv::RegisterShellFileTypes("", "/b/zorv"));
  // A pipe in the entry's place is neither read nor written: either would block the start.
  std::filesystem::remove(dir.path() / "applications" / "zorv.desktop");
  ASSERT_EQ(::mkfifo((dir.path() / "applications" / "zorv.desktop").c_str(), 0600), 0);
  ::alarm(60);
  EXPECT_FALSE(zorv::RegisterShellFileTypes(dir.path(), "/opt/zorv/zorv"));
  ::alarm(0);
}

// The settings file goes to the toolkit only when it is a regular file of bounded size.
TEST(ShellTexts, ASettingsFileThatIsNoFileIsRefusedByName) {
  TempDir dir;
  const std::string file = (dir.path() / ".ZORV").string();
  const std::string lost = "\nThe recent files are neither read nor kept.";
  const std::pair<std::function<void()>, std::string> rows[] = {
      {[] {}, ""},
      {[&] { std::ofstream(file) << "[RecentFiles]\n"; }, ""},
      {[&] { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }, "File " + file + " is not a regular file." + lost},
      {[&] { std::filesystem::create_symlink("/dev/zero", file); }, "File " + file + " is not a regular file." + lost},
      {[&] { std::filesystem::create_directory(file); }, "File " + file + " is not a regular file." + lost},
      {[&] { std::filesystem::create_symlink(dir.path() / "none", file); }, ""},  // a first start
      {[&] { std::ofstream{file}, std::filesystem::resize_file(file, zorv::kMaxSettingsFileBytes); }, ""},
      {[&] { std::ofstream{file}, std::filesystem::resize_file(file, zorv::kMaxSettingsFileBytes + 1); },
       "File " + file + " is larger than 65536 bytes." + lost},
      {[&] { std::ofstream(file) << "file1=/a.ckt\n[" << Levels(32000) << "]\n"; },
       "File " + file + ", line 2: a group more than 64 levels deep." + lost},
      // UTF-8 alone, after an optional byte-order mark; NUL is a character of it.
      {[&] { std::ofstream(file) << "\xef\xbb\xbf" "file1=/\xc3\xa9/\xe2\x82\xac/\xf0\x9f\x98\x80/\xee\x83\xbf.ckt\n"; }, ""},
      {[&] { std::ofstream(file) << std::string("file1=/a.ckt\n\0\0\n", 16); }, ""},
      {[&] { std::ofstream(file) << "file1=/a/\xff\xfe\xc3(b.ckt\n"; }, "File " + file + " cannot be read as text." + lost},
      {[&] { std::ofstream(file) << "\xff\xfe" << std::string("f\0=\0/\0", 6); }, "File " + file + " cannot be read as text." + lost},
      {[&] { std::ofstream(file) << "file1=/\xc0\xaf.ckt\n"; }, "File " + file + " cannot be read as text." + lost},  // overlong
      {[&] { std::ofstream(file) << "file1=/\xed\xa0\x80.ckt\n"; }, "File " + file + " cannot be read as text." + lost},  // a surrogate
      {[&] { std::ofstream(file) << "file1=/\xf4\x90\x80\x80.ckt\n"; }, "File " + file + " cannot be read as text." + lost},  // past U+10FFFF
      {[&] { std::ofstream(file) << "file1=/\xe2\x82"; }, "File " + file + " cannot be read as text." + lost},  // cut short
  };
  ::alarm(60);  // a check that blocked would end the test here
  for (const auto& [make, message] : rows) {
    std::filesystem::remove(file);
    make();
    EXPECT_EQ(zorv::SettingsFileRefusal(file), message);
  }
  ::alarm(0);
}

// Group paths the toolkit writes or could hold pass; one deeper or longer than the bounds
// is refused wherever the toolkit would see its header.
TEST(ShellTexts, ASettingsGroupBeyondTheBoundsIsRefusedByLine) {
  const std::string deep = ": a group more than 64 levels deep.", longName = ": a group name longer than 4096 bytes.";
  const std::pair<std::string, std::string> rows[] = {
      {"file1=/a.ckt\nfile2=\nfile3=\nfile4=\n", ""},
      {"[RecentFiles]\nfile1=/a.ckt\n[Persistent_Options/Window/Frame]\nx=1\n", ""},
      {"[" + Levels(64) + "]\n", ""},
      {"[/" + Levels(64) + "//]\n", ""},  // empty names are no levels
      {"[" + std::string(4096, 'g') + "]\n", ""},
      {"file1=[" + Levels(100) + "]\n", ""},  // a value, not a header
      {"; [" + Levels(100) + "]\n", ""},      // a comment
      {"[" + Levels(65) + "]\n", ", line 1" + deep},
      {"[" + std::string(4097, 'g') + "]\n", ", line 1" + longName},
      {"[a]\n[b] ; " + Levels(100) + "\n", ""},  // the header ends at its ']'
      {"x=1\n\n  \t[" + Levels(65) + "]\n", ", line 3" + deep},
      {"x=1\r[" + Levels(65) + "]\r\n", ", line 2" + deep},  // a lone CR ends a line too
      {"x=1\r\n\r\n[" + Levels(65) + "]\r\n", ", line 3" + deep},
      {"\xef\xbb\xbf[" + Levels(65) + "]\n", ", line 1" + deep},  // after a byte-order mark
      {std::string("\0[", 2) + Levels(65) + "]\n", ", line 1" + deep},
      {"[" + Levels(32) + "a\\/" + Levels(32) + "]\n", ", line 1" + deep},  // an escaped '/' still splits
      {"[" + Levels(32) + "\\]" + Levels(33) + "]\n", ", line 1" + deep},  // an escaped ']' does not end it
      {"[" + Levels(65), ", line 1" + deep},  // no end: counted all the same
  };
  for (const auto& [text, refused] : rows) {
    SCOPED_TRACE(text.substr(0, 40));
    EXPECT_EQ(zorv::SettingsGroupRefusal(text), refused);
  }
  // What start-up keeps: the bytes of a file it may use, and whether to write it back.
  TempDir dir;
  const std::string file = (dir.path() / ".ZORV").string();
  zorv::SettingsFile read = zorv::ReadSettingsFile(file);  // none: written at exit
  EXPECT_EQ(std::make_tuple(read.text, read.refused, read.rewrite), std::make_tuple(std::string(), std::string(), true));
  std::ofstream(file) << "file1=/a.ckt\n";
  read = zorv::ReadSettingsFile(file);
  EXPECT_EQ(std::make_tuple(read.text, read.refused, read.rewrite), std::make_tuple(std::string("file1=/a.ckt\n"), std::string(), true));
  std::ofstream(file) << "[" << Levels(65) << "]\n";
  read = zorv::ReadSettingsFile(file);
  EXPECT_EQ(std::make_tuple(read.text.empty(), read.rewrite), std::make_tuple(true, false));
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);  // refused, and no file is put in its place
  read = zorv::ReadSettingsFile(file);
  EXPECT_EQ(std::make_tuple(read.text, read.rewrite), std::make_tuple(std::string(), false));
  std::filesystem::remove(file);
  std::ofstream(file) << "file1=/a.ckt\n";
  read = zorv::ReadSettingsFile(file);
  zorv::RefuseUnreadableSettingsFile(read, file);  // as for a file the toolkit cannot decode
  EXPECT_EQ(std::make_tuple(read.text, read.refused, read.rewrite),
            std::make_tuple(std::string(), "File " + file + " cannot be read as text.\nThe recent files are neither read nor kept.", false));
}

TEST(ShellTexts, GlyphsAndIcons) {
  const auto px = zorv::RasterizeGlyph({{0, 0, 3, 0, 0xFF0000}, {15, 14, 15, 14, 0x000000}});
  ASSERT_EQ(px.size(), 16u * 15u);
  for (int x = 0; x <= 3; ++x) EXPECT_EQ(px[x], 0xFF0000u);  // both ends drawn
  EXPECT_EQ(px[4], zorv::kTransparent);
  EXPECT_EQ(px[16], zorv::kTransparent);
  EXPECT_EQ(px[14 * 16 + 15], 0x000000u);
  EXPECT_NE(zorv::ToolGlyph(cmd::ZoomIn), nullptr);
  EXPECT_EQ(zorv::ToolGlyph(cmd::R), nullptr);
  // Every toolbar glyph as drawn, pixel by pixel: one FNV-1a digest, written once.
  std::uint64_t digest = 14695981039346656037ull;
  int glyphs = 0;
  std::vector<int> ids = zorv::MainToolbarButtons();
  ids.insert(ids.end(), zorv::ElementToolbarButtons().begin(), zorv::ElementToolbarButtons().end());
  for (int id : ids)
    if (const auto* strokes = zorv::ToolGlyph(id); strokes && ++glyphs)
      for (std::uint32_t p : zorv::RasterizeGlyph(*strokes)) digest = (digest ^ p) * 1099511628211ull;
  EXPECT_EQ(glyphs, 17);
  EXPECT_EQ(digest, 12971350931509565469ull);
  sdi::element* const pending = sdi::pending_element;
  const auto icon = zorv::ElementIcon(sdi::kind_resistor);  // blue on white
  ASSERT_EQ(icon.size(), 16u * 15u);
  const auto blue = std::count(icon.begin(), icon.end(), 0xFF0000u);
  EXPECT_GT(blue, 10);
  EXPECT_EQ(blue + std::count(icon.begin(), icon.end(), 0xFFFFFFu), 16 * 15);
  EXPECT_EQ(sdi::pending_element, pending);  // the placement is left alone
  for (int kind : std::vector<int>{sdi::kind_wire, sdi::kind_mutual, -1}) EXPECT_TRUE(zorv::ElementIcon(kind).empty()) << kind;
}

}  // namespace
