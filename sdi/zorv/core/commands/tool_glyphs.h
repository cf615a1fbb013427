// Our own toolbar artwork: each main-toolbar button drawn from a short table of
// strokes on a 16 by 15 pixel button (x right, y down, 0-based).
//
//     if (const auto* strokes = ToolGlyph(cmd::ZoomIn)) pixels = RasterizeGlyph(*strokes);
#pragma once
#include <cstdint>
#include <vector>

namespace zorv {

inline constexpr int kToolWidth = 16;
inline constexpr int kToolHeight = 15;

struct GlyphStroke {
  int x1, y1, x2, y2;
  std::uint32_t colour;  // COLORREF 0x00BBGGRR
};

// The strokes of a button, or null for a command drawn otherwise.
const std::vector<GlyphStroke>* ToolGlyph(int id);

// The strokes on a transparent 16 x 15 button: 0xFF000000 marks a transparent
// pixel, anything else is a COLORREF. Both ends of every stroke are drawn.
std::vector<std::uint32_t> RasterizeGlyph(const std::vector<GlyphStroke>& strokes);

inline constexpr std::uint32_t kTransparent = 0xFF000000u;

}  // namespace zorv
