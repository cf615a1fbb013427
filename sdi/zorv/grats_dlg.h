// GRATS_Dg: the finish dialog that ends a run after F8 has been pressed in the view.
//
// Caption "ZORV", the line "Congratulations!  Simulation Finished.", an OK button,
// and a picture area that shows the caller's text ("Total simulation time = 1.5
// secs.") in red, centred, with a small picture sliding right every 1.2 s until it
// reaches 17 twentieths of the area's width.
//     GRATS_Dg dlg(nullptr, "Total simulation time = 1.5 secs.");
//     dlg.ShowModal();
#pragma once
#include <wx/dialog.h>
#include <wx/timer.h>

#include "sdi/zorv/core/dialogs/finish_slide.h"

class wxPanel;

class GRATS_Dg : public wxDialog {
public:
  GRATS_Dg(wxWindow* parent, const wxString& text);

  const wxString& Text() const { return m_text; }
  const zorv::FinishSlide& Slide() const { return m_slide; }

private:
  void OnPaint(wxPaintEvent& event);
  void OnTimer(wxTimerEvent& event);

  wxString m_text;
  wxPanel* m_picture = nullptr;
  wxTimer m_timer;
  zorv::FinishSlide m_slide;
};
