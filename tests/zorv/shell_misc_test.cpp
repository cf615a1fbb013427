#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "sdi/zorv/core/about_info.h"
#include "sdi/zorv/core/frame_geometry.h"
#include "sdi/zorv/core/messages.h"
#include "sdi/zorv/core/shell_registration.h"
#include "sdi/zorv/core/tool_glyphs.h"
#include "sdi/zorv/core/command_ids.h"

TEST(MainFrameRect, AFifthSmallerThanTheScreen) {
  const zorv::WindowRect r = zorv::MainFrameRect({1280, 1024});
  EXPECT_EQ(r.w, 1066);
  EXPECT_EQ(r.h, 853);
  EXPECT_EQ(r.x, 118);
  EXPECT_EQ(r.y, 94);
}

TEST(AboutInfo, Texts) {
  EXPECT_EQ(zorv::MemoryText(16318456), "16318456 KB");
  EXPECT_EQ(zorv::DiskText(1048576, "/home/ann"), "1048576 KB Free on /home/ann");
  EXPECT_EQ(zorv::DiskText(std::nullopt, "/x"), "Unavailable");
}

TEST(AboutInfo, FiguresPastFourGigabytes) {
  // 8 TiB free in KB does not fit 32 bits.
  EXPECT_EQ(zorv::DiskText(8ull << 30, "/data"), "8589934592 KB Free on /data");
  EXPECT_EQ(zorv::MemoryText(64ull << 20), "67108864 KB");
}

TEST(AboutInfo, ReadsThisMachine) {
  TempDir dir;
  EXPECT_TRUE(zorv::TotalMemoryKb().has_value());
  EXPECT_GT(*zorv::TotalMemoryKb(), 0u);
  EXPECT_TRUE(zorv::FreeDiskKb(dir.path().string()).has_value());
  EXPECT_FALSE(zorv::FreeDiskKb("/no/such/folder").has_value());
}

TEST(ShellRegistration, WritesTheDesktopEntryAndMimeType) {
  TempDir dir;
  ASSERT_TRUE(zorv::RegisterShellFileTypes(dir.path(), "/opt/zorv/zorv"));
  const std::string entry = slurp(dir.path() / "applications" / "zorv.desktop");
  EXPECT_NE(entry.find("Exec=\"/opt/zorv/zorv\" %f\n"), std::string::npos);
  EXPECT_NE(entry.find("MimeType=application/x-zorv-circuit;\n"), std::string::npos);
  const std::string mime = slurp(dir.path() / "mime" / "packages" / "zorv.xml");
  EXPECT_NE(mime.find("<mime-type type=\"application/x-zorv-circuit\">"), std::string::npos);
  EXPECT_NE(mime.find("<glob pattern=\"*.ckt\"/>"), std::string::npos);
  EXPECT_NE(mime.find("<comment>Zorv Document</comment>"), std::string::npos);
}

TEST(ShellRegistration, RewritesOnlyWhatDiffers) {
  TempDir dir;
  ASSERT_TRUE(zorv::RegisterShellFileTypes(dir.path(), "/a/zorv"));
  ASSERT_TRUE(zorv::RegisterShellFileTypes(dir.path(), "/b/zorv"));
  EXPECT_NE(slurp(dir.path() / "applications" / "zorv.desktop").find("\"/b/zorv\""), std::string::npos);
  EXPECT_FALSE(zorv::RegisterShellFileTypes("", "/b/zorv"));
}

TEST(ToolGlyphs, StrokesIncludeBothEnds) {
  const std::vector<zorv::GlyphStroke> strokes = {{0, 0, 3, 0, 0xFF0000}, {15, 14, 15, 14, 0x000000}};
  const auto px = zorv::RasterizeGlyph(strokes);
  ASSERT_EQ(px.size(), 16u * 15u);
  for (int x = 0; x <= 3; ++x) EXPECT_EQ(px[x], 0xFF0000u);
  EXPECT_EQ(px[4], zorv::kTransparent);
  EXPECT_EQ(px[14 * 16 + 15], 0x000000u);
  EXPECT_EQ(px[16], zorv::kTransparent);
}

TEST(ToolGlyphs, MainToolbarButtonsAreDrawn) {
  for (int id : std::vector<int>{zorv::cmd::FileNew, zorv::cmd::ZoomIn, zorv::cmd::SimulationRun, zorv::cmd::AppAbout}) {
    const auto* strokes = zorv::ToolGlyph(id);
    ASSERT_NE(strokes, nullptr) << id;
    for (const auto& s : *strokes) {
      EXPECT_GE(std::min(s.x1, s.x2), 0);
      EXPECT_LT(std::max(s.x1, s.x2), zorv::kToolWidth);
      EXPECT_GE(std::min(s.y1, s.y2), 0);
      EXPECT_LT(std::max(s.y1, s.y2), zorv::kToolHeight);
    }
  }
  EXPECT_EQ(zorv::ToolGlyph(zorv::cmd::R), nullptr);
}

TEST(Messages, SinkReceivesTheText) {
  std::vector<std::string> shown;
  auto previous = zorv::SetMessageSink([&](const std::string& t) { shown.push_back(t); });
  zorv::ShowMessage(zorv::kCouldntOpenFile);
  zorv::SetMessageSink(previous);
  EXPECT_EQ(shown, std::vector<std::string>{"Couldn't Open File!"});
}
