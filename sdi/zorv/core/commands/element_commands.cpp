#include "sdi/zorv/core/commands/element_commands.h"

#include "sdi/draw/drawing.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/i_element.h"
#include "sdi/elements/placement.h"
#include "sdi/zorv/core/base/messages.h"

namespace zorv {

ElementCommands::ElementCommands(ViewCore& view, ElementCommandHost& host) : m_view(view), m_host(host) {
  m_view.Edit().SetPicking(this);
}

ElementCommands::~ElementCommands() { m_view.Edit().SetPicking(nullptr); }

void ElementCommands::OnElement(int kind) {
  ViewEditing& edit = m_view.Edit();
  switch (kind) {
    case sdi::kind_label:
      if (!m_dialogs.ChooseLabelLetter()) return;
      sdi::new_label();
      edit.newElement();
      return;
    case sdi::kind_mutual:
      // The element being placed goes first, as Esc takes it.
      edit.EndPlacing();
      m_view.Host().Invalidate();
      m_dialogs.PlaceMutualInductance();
      return;
    case sdi::kind_multiplier:
      if (sdi::new_multiplier()) {
        edit.newElement();
      } else {
        edit.EndPlacing();
        m_view.Host().Invalidate();
      }
      return;
    default:
      sdi::create_element(kind);
      edit.newElement();
  }
}

int ElementCommands::HitForDialog(Pos device) const {
  if (sdi::pending_element || m_view.Edit().WireMode() || m_dialogs.Picking()) return 0;
  const Pos scroll = m_view.Host().ScrollPosition();
  const sdi::point s = sdi::snap_to_grid(m_view.Mapping().ToSheetX(device.x + scroll.x),
                                         m_view.Mapping().ToSheetY(device.y + scroll.y));
  return sdi::circuit.find_hit(s);
}

bool ElementCommands::WantsDoubleClick(Pos device) const { return HitForDialog(device) != 0; }

void ElementCommands::OnLButtonDblClk(Pos device) {
  const int hit = HitForDialog(device);
  if (!hit) return;
  m_dialogs.EditElement(hit);
  m_view.Host().Invalidate();
}

void ElementCommands::ShowMessage(const std::string& text) { zorv::ShowMessage(text); }

void ElementCommands::DrawReferred(const std::vector<int>& ids) {
  {
    // The selection's colour only: their selection counts stay.
    ViewClientDraw dc(m_view);
    for (int id : ids) {
      if (!id || !sdi::circuit.find_id(id, 0)) continue;
      sdi::element* any = sdi::circuit.get(id);
      if (!any || sdi::is_line_element(any->kind)) continue;
      auto* e = static_cast<sdi::i_element*>(any);
      if (e->image) e->image->draw_coloured(sdi::rect(0, 0, e->image->w, e->image->h), 4);
    }
  }
  m_view.Host().ShowClientBuffer();
}

void ElementCommands::DrawNew(sdi::element*) { m_view.Host().Invalidate(); }

void ElementCommands::ReopenLater() {
  m_host.Later([this] {
    m_dialogs.Reopen();
    m_view.Host().Invalidate();
  });
}

}  // namespace zorv
