// The view's element commands and value dialogs: the toolkit's side of
// core/element_commands.h (the dialogs, the beep, the double click, and the
// reopening of a dialog after the handler of a pick has returned).
#include <wx/utils.h>

#include "sdi/zorv/form_dialog.h"
#include "sdi/zorv/zorv_canvas.h"
#include "sdi/zorv/zorv_view.h"

void CZorvView::StartElementCommands() {
  m_elements = std::make_unique<zorv::ElementCommands>(*m_core, *this);
  m_canvas->SetDoubleClick([this](zorv::Pos p) { return m_elements->WantsDoubleClick(p); },
                           [this](zorv::Pos p) { m_elements->OnLButtonDblClk(p); });
}

zorv::DialogService& CZorvView::Dialogs() { return *m_dialogs; }

void CZorvView::Beep() { wxBell(); }

void CZorvView::Later(std::function<void()> f) { CallAfter(std::move(f)); }
