#include "sdi/zorv/core/dialogs/value_dispatch.h"

#include "sdi/elements/base_elements.h"
#include "sdi/elements/bl_element.h"
#include "sdi/elements/control_elements.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/i_element.h"
#include "sdi/elements/naming.h"
#include "sdi/elements/source_elements.h"
#include "sdi/zorv/core/dialogs/element_forms.h"
#include "sdi/zorv/core/dialogs/element_values.h"

namespace zorv {

namespace {

sdi::element* ById(int id) { return id != 0 && sdi::circuit.find_id(id, 0) ? sdi::circuit.get(id) : nullptr; }

std::string NameOfId(int id) {
  sdi::element* e = ById(id);
  return e ? NameOf(e) : std::string();
}

bool IsControlledSource(int kind) { return kind >= sdi::kind_icis && kind <= sdi::kind_vcvs; }

// Kinds a controlled source (or a threshold input) never refers to.
bool IgnoredByPick(int kind) {
  return kind == sdi::kind_junction || (kind >= sdi::kind_modulator && kind <= sdi::kind_ground) ||
         kind == sdi::kind_probe || kind == sdi::kind_multiplier;
}

// The first element hit at p that is not of an ignored kind.
sdi::element* PickAt(const sdi::point& p) {
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) {
    sdi::element* e = n->value;
    if (e && e->id != 0 && !IgnoredByPick(e->kind) && e->hit_test(p)) return e;
  }
  return nullptr;
}

double& Entry(sdi::dlist& l, int i) { return *l.list_value_at(i); }

// The cursor to the last entry, where growing appends.
template <class Head>
void ToLast(Head& l) {
  if (l.head) l.current_ = static_cast<decltype(l.current_)>(sdi::list_last(l.head));
}

// The threshold's tables grown to what its dialog shows.
void GrowThreshold(sdi::threshold* t) {
  if (t->coefficients.count() < 3) {
    ToLast(t->coefficients);
    t->coefficients.resize(3);
    ToLast(t->outputs);
    t->outputs.grow(3);
  }
  if (t->outputs.count() < 3) {
    ToLast(t->outputs);
    t->outputs.grow(3);
  }
  if (t->table.count() < 4) {
    ToLast(t->table);
    t->table.resize(4);
  }
}

// The threshold's fields: the numbers and, for each pick, its name field.
constexpr int kPortNames[] = {1017, 1019, 1005};

}  // namespace

void ElementDialogs::EditElement(int id) {
  sdi::element* e = ById(id);
  if (!e) return;
  m_curElement = id;
  switch (e->kind) {
    case sdi::kind_wire:
    case sdi::kind_junction:
    case sdi::kind_ground:
    case sdi::kind_label:
      return;
    case sdi::kind_current_sense:
      break;
    case sdi::kind_secondary:
    case sdi::kind_icis:
    case sdi::kind_icvs:
    case sdi::kind_vcis:
    case sdi::kind_vcvs:
    case sdi::kind_threshold:
      LoadStaging(e);
      RunStaged();
      return;
    default:
      if (DialogOfKind(e->kind).empty()) m_host.ShowMessage("Undefined Element");
      else RunPlain(e);
      break;
  }
  e->flags.set(sdi::flag_values_set);
}

void ElementDialogs::RunPlain(sdi::element* e) {
  std::vector<int> referred;
  if (e->kind == sdi::kind_primary) {
    sdi::ilist walk = static_cast<sdi::xform*>(e)->secondaries;
    if (walk.list_first()) do referred.push_back(*walk.current()); while (walk.next());
  } else if (e->kind == sdi::kind_mutual) {
    auto* m = static_cast<sdi::cmutind*>(e);
    referred = {m->inductor1, m->inductor2};
  }
  if (!referred.empty()) m_host.DrawReferred(referred);
  Form form = LoadElementForm(e);
  const DialogEnd end = m_host.Dialogs().Run(form);
  if (!referred.empty()) m_host.Repaint();
  if (end != DialogEnd::Ok) return;
  m_host.SaveBackup();
  StoreElementForm(form, e);
}

void ElementDialogs::LoadStaging(sdi::element* e) {
  m_staging = StagingRecord();
  m_staging.name = NameOf(e);
  m_staging.value = e->values[0];
  if (IsControlledSource(e->kind)) {
    m_staging.linkedId = static_cast<sdi::depsource*>(e)->control;
    m_pickKind = sdi::kind_vcvs - e->kind + 1;
  } else if (e->kind == sdi::kind_secondary) {
    m_staging.linkedId = static_cast<sdi::xform*>(e)->partner;
    m_pickKind = 5;
  } else {
    m_pickKind = 0;
    auto* t = static_cast<sdi::threshold*>(e);
    GrowThreshold(t);
    double* c[] = {&m_staging.c1, &m_staging.c2, &m_staging.c3};
    for (int i = 0; i < 3; ++i) {
      *c[i] = Entry(t->coefficients, i);
      m_staging.portIds[i] = *t->outputs.list_value_at(i);
    }
    m_staging.ct_sim = Entry(t->table, 0);
    m_staging.ct_cyc = Entry(t->table, 1);
    m_staging.ct_topo = Entry(t->table, 2);
    m_staging.ct_on = Entry(t->table, 3);
    m_staging.linkedId = t->switch_id;
  }
}

void ElementDialogs::RunStaged() {
  sdi::element* e = ById(m_curElement);
  if (!e) return;
  const bool thres = e->kind == sdi::kind_threshold;
  Form form = ElementForm(DialogOfKind(e->kind));
  StagingRecord& s = m_staging;
  // The numbers of the form and where the staging keeps them.
  std::vector<std::pair<int, double*>> numbers = {{thres ? 1015 : 1001, &s.value}};
  if (thres)
    numbers.insert(numbers.end(), {{1016, &s.c1}, {1018, &s.c2}, {1007, &s.c3}, {1020, &s.ct_on},
                                   {1012, &s.ct_sim}, {1014, &s.ct_cyc}, {1013, &s.ct_topo}});
  const int nameId = thres ? 3 : 1000;
  form.Find(nameId)->Show(s.name);
  for (const auto& [id, slot] : numbers) ShowNumber(form, id, *slot);
  std::vector<int> referred;
  auto showReferred = [&](int fieldId, int refId) {
    form.Find(fieldId)->Show(NameOfId(refId));
    if (ById(refId)) referred.push_back(refId);
  };
  if (thres) {
    for (int i = 0; i < 3; ++i) showReferred(kPortNames[i], s.portIds[i]);
    showReferred(1006, s.linkedId);
  } else {
    showReferred(1003, s.linkedId);
  }
  if (!referred.empty()) m_host.DrawReferred(referred);
  const DialogEnd end = m_host.Dialogs().Run(form);
  if (!referred.empty()) m_host.Repaint();
  e->flags.set(sdi::flag_values_set);
  if (end == DialogEnd::Cancel) return;
  if (end == DialogEnd::Ok) m_host.SaveBackup();
  s.name = form.Find(nameId)->text.substr(0, 7);
  for (const auto& [id, slot] : numbers) *slot = FieldNumber(*form.Find(id), *slot);
  if (end == DialogEnd::Ok) {
    StoreStaging(e);
    return;
  }
  if (thres) {
    const int buttons[] = {1009, 1010, 1021, 1011};
    for (int i = 0; i < 4; ++i)
      if (form.pressed == buttons[i]) m_pickThreshold = i + 1;
    if (!m_pickThreshold) m_pickThreshold = 1;
  } else {
    m_pickSource = 1;
  }
}

void ElementDialogs::StoreStaging(sdi::element* e) {
  const StagingRecord& s = m_staging;
  e->set_name(s.name.c_str());
  e->values[0] = s.value;
  if (IsControlledSource(e->kind)) {
    auto* d = static_cast<sdi::depsource*>(e);
    if (d->control != 0 && e->links.find(d->control, 0)) e->links.remove(d->control);
    if (s.linkedId != 0) e->links.append(s.linkedId);
    d->control = s.linkedId;
  } else if (e->kind == sdi::kind_secondary) {
    auto* x = static_cast<sdi::xform*>(e);
    sdi::unlink_secondary(e);
    sdi::element* primary = ById(s.linkedId);
    x->partner = primary && primary->kind == sdi::kind_primary ? s.linkedId : 0;
    if (x->partner) {
      e->links.append(x->partner);
      sdi::link_transformer(primary, e->id);
    }
  } else {
    auto* t = static_cast<sdi::threshold*>(e);
    GrowThreshold(t);
    const double c[] = {s.c1, s.c2, s.c3};
    for (int i = 0; i < 3; ++i) {
      Entry(t->coefficients, i) = c[i];
      *t->outputs.list_value_at(i) = s.portIds[i];
    }
    Entry(t->table, 0) = s.ct_sim;
    Entry(t->table, 1) = s.ct_cyc;
    Entry(t->table, 2) = s.ct_topo;
    Entry(t->table, 3) = s.ct_on;
    t->switch_id = s.linkedId;
    sdi::element* sw = ById(s.linkedId);
    if (s.ct_on != 0 && sw) {
      // Each refers to the other through its first linked id.
      if (sw->links.list_first()) *sw->links.current() = t->id;
      else sw->links.append(t->id);
      if (t->links.list_first()) *t->links.current() = sw->id;
      else t->links.append(sw->id);
    }
  }
}

void ElementDialogs::TakePick(const sdi::point& p) {
  sdi::point q = p;
  int picked = 0;
  if (m_pickInductor) {
    picked = sdi::circuit.find_hit_inductor(q);
    m_inductorIds[m_pickInductor - 1] = picked;
  } else if (m_pickSource && m_pickKind == 5) {
    picked = m_staging.linkedId = sdi::circuit.find_hit_primary(q);
  } else if (m_pickSource) {
    sdi::element* e = PickAt(q);
    picked = m_staging.linkedId = e ? e->id : 0;
  } else if (m_pickThreshold) {
    sdi::element* e = m_pickThreshold == 4 ? nullptr : PickAt(q);
    if (m_pickThreshold == 4) {
      const int id = sdi::circuit.find_hit(q);
      sdi::element* sw = ById(id);
      picked = sw && sw->kind == sdi::kind_switch ? id : 0;
      m_staging.linkedId = picked;
    } else {
      picked = e && (e->kind == sdi::kind_voltage_port || e->kind == sdi::kind_current_port) ? e->id : 0;
      m_staging.portIds[m_pickThreshold - 1] = picked;
    }
  } else {
    return;
  }
  if (!picked) m_host.Beep();
  // What the pick reopens is the dialog that started it, whatever ran before.
  m_reopenPair = m_pickInductor != 0;
  m_reopen = true;
  m_pickSource = m_pickThreshold = 0;
  m_pickInductor = 0;
  m_host.ReopenLater();
}

void ElementDialogs::Reopen() {
  if (!m_reopen) return;
  m_reopen = false;
  if (m_reopenPair) {
    m_reopenPair = false;
    PlaceMutualInductance();
    return;
  }
  if (ById(m_curElement)) RunStaged();
}

void ElementDialogs::Reset() {
  m_pickSource = m_pickThreshold = m_pickInductor = 0;
  m_inductorIds[0] = m_inductorIds[1] = 0;
  m_reopen = m_reopenPair = false;
  m_curElement = 0;
}

bool ElementDialogs::PlaceMutualInductance() {
  m_pickInductor = 0;
  Form form = ElementForm("MSEL_Dlg");
  const int fields[] = {1023, 1025};
  for (int i = 0; i < 2; ++i) {
    sdi::element* l = ById(m_inductorIds[i]);
    if (!l || l->kind != sdi::kind_inductor) m_inductorIds[i] = 0;
    form.Find(fields[i])->Show(NameOfId(m_inductorIds[i]));
  }
  const DialogEnd end = m_host.Dialogs().Run(form);
  if (end == DialogEnd::PickInductor) {
    m_pickInductor = form.pressed == 1010 ? 2 : 1;
    return false;
  }
  const int a = m_inductorIds[0], b = m_inductorIds[1];
  m_inductorIds[0] = m_inductorIds[1] = 0;
  if (end != DialogEnd::Ok || a == 0 || b == 0 || a == b) return false;
  auto* l1 = static_cast<sdi::i_element*>(ById(a));
  auto* l2 = static_cast<sdi::i_element*>(ById(b));
  m_host.SaveBackup();
  auto* m = new sdi::cmutind;
  m->selected = 0;
  m->inductor1 = a;
  m->inductor2 = b;
  sdi::assign_default_name(m);
  sdi::circuit.last();
  sdi::circuit.insert(m);
  sdi::circuit.assign_id();
  const sdi::point c1 = l1->image->bounds().center(), c2 = l2->image->bounds().center();
  m->shape.set(c1.x, c1.y, c2.x, c2.y, 0, 1, 0, 0);
  m_host.DrawNew(m);
  return true;
}

bool ElementDialogs::ChooseLabelLetter() {
  Form form = ElementForm("LAB_Dlg");
  form.Find(1000)->Show(std::string(1, sdi::next_label_letter));
  for (;;) {
    if (m_host.Dialogs().Run(form) != DialogEnd::Ok) return false;
    const std::string& t = form.Find(1000)->text;
    if (!t.empty() && t[0] >= 'a' && t[0] <= 'z') {
      sdi::next_label_letter = t[0];
      return true;
    }
    form.Find(1000)->Show(" ");
  }
}

}  // namespace zorv
