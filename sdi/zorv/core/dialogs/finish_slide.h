// The finish dialog's sliding picture, without the toolkit.
//
// The client area is divided into 20 units each way (integer division of its size
// in pixels). The picture starts at x = 15 pixels, y = 3.5 units (truncated); every
// tick of the dialog's 1200 ms timer moves it right by half a unit (truncated)
// while it is left of 17 units.
//     FinishSlide slide;
//     slide.Resize({200, 120});   // units 10 x 6
//     slide.Tick();               // x 15 -> 20; returns whether it moved
#pragma once
#include "sdi/zorv/core/view/view_mapping.h"

namespace zorv {

inline constexpr int kFinishTickMs = 1200;

class FinishSlide {
public:
  // The client size, taken on every paint.
  void Resize(Size client) {
    m_unitX = client.w / 20;
    m_unitY = client.h / 20;
  }
  // One timer tick: true when the picture moved (the client is then redrawn).
  bool Tick() {
    if (!(m_x < 17 * m_unitX)) return false;
    m_x += static_cast<int>(m_unitX * 0.5);
    return true;
  }
  Pos Picture() const { return {m_x, static_cast<int>(m_unitY * 3.5)}; }
  int UnitX() const { return m_unitX; }
  int UnitY() const { return m_unitY; }

private:
  int m_x = 15;
  int m_unitX = 0;
  int m_unitY = 0;
};

}  // namespace zorv
