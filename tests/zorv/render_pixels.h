// Test helpers for what the view draws into a frame buffer: its colours as
// the buffer holds them (0x00BBGGRR) and the mapping at zoom 1 (a sheet unit
// a pixel, no scroll).
//
//     zorv::RenderClient(fb, Unit(), {0, 0}, true, dots);
//     EXPECT_EQ(fb.pixel(8, 8), kGreen);
#pragma once

#include <cstdint>

#include "sdi/zorv/core/view/view_mapping.h"

inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kGreen = 0x008000;
inline constexpr std::uint32_t kBlue = 0xFF0000;

inline zorv::ViewMapping Unit() {
  zorv::ViewMapping m;
  m.zoom = 1.0;
  return m;
}
