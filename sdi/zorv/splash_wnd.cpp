#include "sdi/zorv/splash_wnd.h"

#include <wx/app.h>
#include <wx/dcmemory.h>

namespace {
constexpr int kSplashMilliseconds = 7500;
}

CSplashWnd::CSplashWnd(const wxBitmap& bitmap, wxWindow* parent)
    : wxSplashScreen(bitmap, wxSPLASH_CENTRE_ON_PARENT | wxSPLASH_TIMEOUT, kSplashMilliseconds, parent,
                     wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxFRAME_NO_TASKBAR | wxFRAME_FLOAT_ON_PARENT) {}

CSplashWnd::~CSplashWnd() {
  if (s_splash == this) s_splash = nullptr;
  if (wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr) top->Refresh();
}

void CSplashWnd::ShowSplashScreen(wxWindow* parent) {
  if (!s_enabled || s_splash) return;
  const wxBitmap bitmap = SplashBitmap();
  if (!bitmap.IsOk()) return;
  s_splash = new CSplashWnd(bitmap, parent);
  s_splash->Update();
}

void CSplashWnd::RaiseSplashScreen() {
  if (!s_splash) return;
  s_splash->Raise();
  s_splash->Update();
}

void CSplashWnd::HideSplashScreen() {
  if (!s_splash) return;
  CSplashWnd* splash = s_splash;
  s_splash = nullptr;
  splash->Hide();
  splash->Destroy();
  if (wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr) top->Refresh();
}

bool CSplashWnd::PreTranslateAppMessage(const wxEvent& event) {
  if (!s_splash) return false;
  const wxEventType t = event.GetEventType();
  if (t == wxEVT_KEY_DOWN || t == wxEVT_LEFT_DOWN || t == wxEVT_RIGHT_DOWN || t == wxEVT_MIDDLE_DOWN ||
      t == wxEVT_LEFT_DCLICK || t == wxEVT_RIGHT_DCLICK || t == wxEVT_MIDDLE_DCLICK) {
    HideSplashScreen();
    return true;
  }
  return false;
}

wxBitmap CSplashWnd::SplashBitmap() {
  const int w = 420, h = 240;
  wxBitmap bitmap(w, h, 24);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  const wxColour blue(0, 0, 255), green(0, 128, 0), red(200, 0, 0);
  // Grid dots, as on the sheet.
  dc.SetPen(wxPen(green));
  for (int y = 8; y < h; y += 8)
    for (int x = 8; x < w; x += 8) dc.DrawPoint(x, y);
  dc.SetPen(wxPen(blue, 2));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(4, 4, w - 8, h - 8);
  // A buck converter: source, switch, diode, inductor, capacitor, load.
  dc.SetPen(wxPen(blue, 2));
  const int top = 150, bottom = 210;
  dc.DrawLine(40, top, 40, bottom);
  dc.DrawCircle(40, (top + bottom) / 2, 12);
  dc.DrawLine(40, top, 90, top);
  dc.DrawLine(90, top, 120, top - 14);  // switch blade
  dc.DrawLine(124, top, 170, top);
  dc.DrawLine(150, top, 150, bottom);
  const wxPoint diode[] = {{142, 188}, {158, 188}, {150, 174}};
  dc.DrawPolygon(3, diode);
  dc.DrawLine(142, 174, 158, 174);
  for (int i = 0; i < 4; ++i) dc.DrawArc(170 + 12 * (i + 1), top, 170 + 12 * i, top, 176 + 12 * i, top);
  dc.DrawLine(218, top, 300, top);
  dc.DrawLine(260, top, 260, 176);
  dc.DrawLine(250, 176, 270, 176);
  dc.DrawLine(250, 184, 270, 184);
  dc.DrawLine(260, 184, 260, bottom);
  dc.DrawRectangle(294, 166, 12, 32);
  dc.DrawLine(300, top, 300, 166);
  dc.DrawLine(300, 198, 300, bottom);
  dc.DrawLine(40, bottom, 300, bottom);
  // The name.
  dc.SetTextForeground(red);
  dc.SetFont(wxFontInfo(44).Family(wxFONTFAMILY_SWISS).Bold());
  dc.DrawText("ZORV", 40, 24);
  dc.SetTextForeground(blue);
  dc.SetFont(wxFontInfo(11).Family(wxFONTFAMILY_SWISS));
  dc.DrawText("Switched linear circuits", 44, 100);
  // Right-aligned inside the frame, whatever the font's width.
  const wxString version = "Development Version";
  dc.DrawText(version, w - 16 - dc.GetTextExtent(version).x, 56);
  dc.SelectObject(wxNullBitmap);
  return bitmap;
}
