#include "sdi/zorv/core/commands/run_excitation.h"

#include "sdi/edit/edit_delete.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/i_element.h"
#include "sdi/files/record_stream.h"

namespace zorv {

namespace {

// Left of the sheet's corner, stepping further left past anything there.
sdi::point FreePoint() {
  sdi::point p(-64, -64);
  while (sdi::circuit.terminal_at(p, 0) || sdi::circuit.find_hit(p)) p.x -= 64;
  return p;
}

// Every pin of the symbol on p (pins are kept relative to the image's origin).
void PinsOn(sdi::element* e, sdi::point p) {
  sdi::image* im = static_cast<sdi::i_element*>(e)->image;
  for (int i = 0; sdi::node* n = im->pin(i); ++i) {
    n->x = p.x - im->x;
    n->y = p.y - im->y;
  }
}

}  // namespace

bool CircuitIsExcited() {
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) {
    const sdi::element* e = n->value;
    if (e && (e->kind == sdi::kind_voltage_source || e->kind == sdi::kind_current_source) && !(e->values[0] == 0.0))
      return true;
  }
  return false;
}

TemporaryExcitation::TemporaryExcitation() : m_point(FreePoint()) {
  if (sdi::circuit.current_) m_cursor = sdi::circuit.current_->value;
  sdi::element* add = sdi::new_record_element(sdi::kind_current_source);
  add->values[0] = 1.0;
  add->flags.set(sdi::flag_values_set);
  add->set_name("ADD");
  PinsOn(add, m_point);
  m_sourceId = Insert(add);
  sdi::element* ground = sdi::new_record_element(sdi::kind_ground);
  PinsOn(ground, m_point);
  m_groundId = Insert(ground);
}

TemporaryExcitation::~TemporaryExcitation() {
  for (int id : {m_groundId, m_sourceId})
    if (id && sdi::circuit.find_id(id, 0)) delete sdi::delete_element(id);
  // The cursor decides where the next placed element goes: back to where it was.
  sdi::circuit.current_ = nullptr;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
    if (n->value == m_cursor) sdi::circuit.current_ = n;
}

int TemporaryExcitation::Insert(sdi::element* e) {
  e->selected = 0;
  sdi::circuit.insert(e);
  sdi::circuit.assign_id();
  return e->id;
}

}  // namespace zorv
