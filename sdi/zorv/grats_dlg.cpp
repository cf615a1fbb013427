#include "sdi/zorv/grats_dlg.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "sdi/zorv/zorv_icon.h"

GRATS_Dg::GRATS_Dg(wxWindow* parent, const wxString& text)
    : wxDialog(parent, 174, "ZORV"), m_text(text), m_timer(this, 1) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(new wxStaticText(this, wxID_ANY, "Congratulations!  Simulation Finished."), 0, wxALL, 10);
  m_picture = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(360, 140));
  m_picture->SetBackgroundColour(*wxWHITE);
  top->Add(m_picture, 1, wxEXPAND | wxLEFT | wxRIGHT, 10);
  top->Add(new wxButton(this, wxID_OK, "OK"), 0, wxALIGN_CENTER | wxALL, 10);
  SetSizerAndFit(top);
  CentreOnScreen();
  m_picture->Bind(wxEVT_PAINT, &GRATS_Dg::OnPaint, this);
  Bind(wxEVT_TIMER, &GRATS_Dg::OnTimer, this, 1);
}

void GRATS_Dg::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(m_picture);
  const wxSize client = m_picture->GetClientSize();
  m_slide.Resize({client.x, client.y});
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.SetTextForeground(wxColour(255, 0, 0));
  const wxSize extent = dc.GetTextExtent(m_text);
  dc.DrawText(m_text, (client.x - extent.x) / 2, (client.y - extent.y) / 2);
  const zorv::Pos at = m_slide.Picture();
  dc.DrawBitmap(ZorvIconBitmap(), at.x, at.y);
  // Each paint starts the timer anew.
  m_timer.Start(zorv::kFinishTickMs, wxTIMER_ONE_SHOT);
}

void GRATS_Dg::OnTimer(wxTimerEvent&) {
  if (m_slide.Tick()) m_picture->Refresh();
}
