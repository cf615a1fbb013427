// CSplashWnd: the splash window shown over the main frame at start-up.
//
// It closes after 7.5 s, or at the first key or mouse press anywhere in the
// program, which it swallows. `--nosplash` on the command line turns it off.
//     CSplashWnd::EnableSplashScreen(showSplash);
//     CSplashWnd::ShowSplashScreen(frame);
//     if (CSplashWnd::PreTranslateAppMessage(event)) ...consumed
#pragma once
#include <wx/splash.h>

class CSplashWnd : public wxSplashScreen {
public:
  static void EnableSplashScreen(bool enable) { s_enabled = enable; }
  static void ShowSplashScreen(wxWindow* parent);
  // A key or button press while the splash shows hides it and is consumed (true).
  static bool PreTranslateAppMessage(const wxEvent& event);
  static bool IsShowing() { return s_splash != nullptr; }
  static CSplashWnd* Current() { return s_splash; }
  // Puts the splash above the main window, which is shown after it was made.
  static void RaiseSplashScreen();
  static void HideSplashScreen();

  ~CSplashWnd() override;

  // The splash picture (our own artwork).
  static wxBitmap SplashBitmap();

private:
  CSplashWnd(const wxBitmap& bitmap, wxWindow* parent);

  static inline bool s_enabled = false;
  static inline CSplashWnd* s_splash = nullptr;
};
