#include "sdi/zorv/core/commands/tool_glyphs.h"

#include <cstdlib>
#include <map>

#include "sdi/zorv/core/commands/command_ids.h"

namespace zorv {
namespace {

constexpr std::uint32_t kInk = 0x000000;
constexpr std::uint32_t kBlue = 0xFF0000;   // rgb(0, 0, 255)
constexpr std::uint32_t kRed = 0x0000C8;    // rgb(200, 0, 0)
constexpr std::uint32_t kGreen = 0x008000;  // rgb(0, 128, 0)
constexpr std::uint32_t kGrey = 0x808080;

using Glyph = std::vector<GlyphStroke>;

const std::map<int, Glyph>& Glyphs() {
  static const std::map<int, Glyph> glyphs = {
      {cmd::FileNew, {{3, 1, 9, 1, kInk}, {9, 1, 12, 4, kInk}, {12, 4, 12, 13, kInk}, {12, 13, 3, 13, kInk},
                      {3, 13, 3, 1, kInk}, {9, 1, 9, 4, kInk}, {9, 4, 12, 4, kInk}}},
      {cmd::FileOpen, {{1, 3, 5, 3, kInk}, {5, 3, 6, 4, kInk}, {6, 4, 12, 4, kInk}, {12, 4, 12, 12, kInk},
                       {12, 12, 1, 12, kInk}, {1, 12, 1, 3, kInk}, {3, 7, 14, 7, kGrey}, {14, 7, 12, 12, kGrey}}},
      {cmd::FileSave, {{2, 1, 13, 1, kBlue}, {13, 1, 13, 13, kBlue}, {13, 13, 2, 13, kBlue}, {2, 13, 2, 1, kBlue},
                       {4, 1, 4, 5, kBlue}, {4, 5, 11, 5, kBlue}, {11, 5, 11, 1, kBlue}, {5, 9, 10, 9, kBlue},
                       {5, 9, 5, 13, kBlue}, {10, 9, 10, 13, kBlue}}},
      {cmd::Print, {{4, 1, 11, 1, kInk}, {4, 1, 4, 5, kInk}, {11, 1, 11, 5, kInk}, {1, 5, 14, 5, kInk},
                    {1, 5, 1, 10, kInk}, {14, 5, 14, 10, kInk}, {1, 10, 14, 10, kInk}, {4, 10, 4, 13, kInk},
                    {11, 10, 11, 13, kInk}, {4, 13, 11, 13, kInk}}},
      {cmd::EditCut, {{4, 1, 10, 9, kInk}, {11, 1, 5, 9, kInk}, {3, 10, 5, 10, kInk}, {3, 13, 5, 13, kInk},
                      {2, 11, 2, 12, kInk}, {6, 11, 6, 12, kInk}, {10, 10, 12, 10, kInk}, {10, 13, 12, 13, kInk},
                      {9, 11, 9, 12, kInk}, {13, 11, 13, 12, kInk}}},
      {cmd::EditCopy, {{1, 1, 8, 1, kInk}, {8, 1, 8, 9, kInk}, {8, 9, 1, 9, kInk}, {1, 9, 1, 1, kInk},
                       {6, 5, 14, 5, kBlue}, {14, 5, 14, 13, kBlue}, {14, 13, 6, 13, kBlue}, {6, 13, 6, 5, kBlue}}},
      {cmd::EditPaste, {{2, 2, 11, 2, kInk}, {11, 2, 11, 13, kInk}, {11, 13, 2, 13, kInk}, {2, 13, 2, 2, kInk},
                        {5, 1, 8, 1, kInk}, {7, 6, 14, 6, kBlue}, {14, 6, 14, 14, kBlue}, {14, 14, 7, 14, kBlue},
                        {7, 14, 7, 6, kBlue}}},
      {cmd::Wire, {{1, 3, 10, 3, kBlue}, {10, 3, 10, 12, kBlue}, {10, 12, 14, 12, kBlue}, {9, 2, 11, 4, kBlue}}},
      {cmd::Select, {{3, 1, 3, 12, kInk}, {3, 1, 11, 9, kInk}, {11, 9, 7, 9, kInk}, {7, 9, 10, 14, kInk},
                     {3, 12, 6, 10, kInk}}},
      {cmd::ZoomIn, {{2, 2, 7, 2, kInk}, {7, 2, 9, 4, kInk}, {9, 4, 9, 8, kInk}, {9, 8, 7, 10, kInk},
                     {7, 10, 3, 10, kInk}, {3, 10, 1, 8, kInk}, {1, 8, 1, 4, kInk}, {1, 4, 2, 3, kInk},
                     {9, 10, 14, 14, kInk}, {3, 6, 7, 6, kBlue}, {5, 4, 5, 8, kBlue}}},
      {cmd::ZoomOut, {{2, 2, 7, 2, kInk}, {7, 2, 9, 4, kInk}, {9, 4, 9, 8, kInk}, {9, 8, 7, 10, kInk},
                      {7, 10, 3, 10, kInk}, {3, 10, 1, 8, kInk}, {1, 8, 1, 4, kInk}, {1, 4, 2, 3, kInk},
                      {9, 10, 14, 14, kInk}, {3, 6, 7, 6, kBlue}}},
      {cmd::ZoomAll, {{1, 1, 4, 1, kInk}, {1, 1, 1, 4, kInk}, {11, 1, 14, 1, kInk}, {14, 1, 14, 4, kInk},
                      {1, 13, 4, 13, kInk}, {1, 10, 1, 13, kInk}, {11, 13, 14, 13, kInk}, {14, 10, 14, 13, kInk},
                      {5, 5, 10, 5, kBlue}, {10, 5, 10, 9, kBlue}, {10, 9, 5, 9, kBlue}, {5, 9, 5, 5, kBlue}}},
      {cmd::SimulationRun, {{4, 1, 4, 13, kGreen}, {4, 1, 12, 7, kGreen}, {12, 7, 4, 13, kGreen},
                            {5, 3, 5, 11, kGreen}, {6, 4, 6, 10, kGreen}, {7, 5, 7, 9, kGreen}}},
      {cmd::ViewPlot, {{1, 1, 1, 13, kInk}, {1, 13, 14, 13, kInk}, {2, 10, 4, 4, kRed}, {4, 4, 6, 10, kRed},
                       {6, 10, 8, 4, kRed}, {8, 4, 10, 10, kRed}, {10, 10, 12, 4, kRed}}},
      {cmd::SteadyStateRun, {{1, 10, 3, 4, kBlue}, {3, 4, 5, 10, kBlue}, {5, 10, 7, 4, kBlue}, {7, 4, 9, 10, kBlue},
                             {9, 10, 11, 4, kBlue}, {11, 4, 13, 10, kBlue}, {1, 13, 14, 13, kInk}}},
      {cmd::AppAbout, {{5, 2, 10, 2, kBlue}, {10, 2, 11, 3, kBlue}, {11, 3, 11, 6, kBlue}, {11, 6, 8, 8, kBlue},
                       {8, 8, 8, 10, kBlue}, {4, 3, 5, 2, kBlue}, {8, 12, 8, 13, kBlue}}},
  };
  return glyphs;
}

void Plot(std::vector<std::uint32_t>& px, int x, int y, std::uint32_t c) {
  if (x >= 0 && x < kToolWidth && y >= 0 && y < kToolHeight) px[y * kToolWidth + x] = c;
}

}  // namespace

const std::vector<GlyphStroke>* ToolGlyph(int id) {
  const auto& glyphs = Glyphs();
  const auto it = glyphs.find(id);
  return it == glyphs.end() ? nullptr : &it->second;
}

std::vector<std::uint32_t> RasterizeGlyph(const std::vector<GlyphStroke>& strokes) {
  std::vector<std::uint32_t> px(kToolWidth * kToolHeight, kTransparent);
  for (const GlyphStroke& s : strokes) {
    int x = s.x1, y = s.y1;
    const int dx = std::abs(s.x2 - s.x1), dy = -std::abs(s.y2 - s.y1);
    const int sx = s.x1 < s.x2 ? 1 : -1, sy = s.y1 < s.y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      Plot(px, x, y, s.colour);
      if (x == s.x2 && y == s.y2) break;
      const int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y += sy;
      }
    }
  }
  return px;
}

}  // namespace zorv
