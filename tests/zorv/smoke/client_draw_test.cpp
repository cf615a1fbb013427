// Drawing from a handler through the view's client drawing context.
#include <gtest/gtest.h>


#include "sdi/drawing.h"
#include "sdi/zorv/client_draw.h"
#include "sdi/zorv/zorv_canvas.h"
#include "zorv/smoke/gui_session.h"
#include "zorv/smoke/screen_grab.h"

namespace {

wxImage ScreenOf(wxWindow* w) { return GrabClient(w); }

}  // namespace

TEST(Smoke, HandlerDrawingShowsAndInvertsBack) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.Pump(10);
  CZorvCanvas* canvas = s.View()->Canvas();
  const zorv::ViewMapping& m = s.View()->Core().Mapping();
  const zorv::Pos scroll = canvas->ScrollPos();
  const int x = m.ToDeviceX(300) - scroll.x, y = m.ToDeviceY(204) - scroll.y;
  {
    CClientDraw dc(*s.View());
    ASSERT_NE(sdi::pDC, nullptr);
    sdi::draw_line_hook(200, 204, 400, 204, 4, 0, 0);  // red, plain
  }
  EXPECT_EQ(sdi::pDC, nullptr);
  s.Pump(10);
  wxImage screen = ScreenOf(canvas);
  EXPECT_EQ(screen.GetRed(x, y), 255);
  EXPECT_EQ(screen.GetGreen(x, y), 0);
  EXPECT_EQ(screen.GetBlue(x, y), 0);
  // An inverting stroke drawn twice leaves the picture as it was.
  {
    CClientDraw dc(*s.View());
    sdi::draw_line_hook(300, 150, 300, 250, 1, 3, 0);
    sdi::draw_line_hook(300, 150, 300, 250, 1, 3, 0);
  }
  s.Pump(10);
  screen = ScreenOf(canvas);
  EXPECT_EQ(screen.GetRed(x, y), 255);
  EXPECT_EQ(screen.GetGreen(x, y), 0);
  // A redraw from white forgets what handlers drew.
  s.View()->Invalidate();
  EXPECT_TRUE(s.WaitFor([&] { return ScreenOf(canvas).GetGreen(x, y) == 255; }));
  EXPECT_EQ(canvas->Buffer().pixel(x, y), 0xFFFFFFu);
}
