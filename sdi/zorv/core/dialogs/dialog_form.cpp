#include "sdi/zorv/core/dialogs/dialog_form.h"

#include <algorithm>

#include "sdi/zorv/core/base/number_texts.h"

namespace zorv {

Field* Form::Find(int id) {
  for (Field& f : fields)
    if (f.id == id) return &f;
  return nullptr;
}

const Field* Form::Find(int id) const { return const_cast<Form*>(this)->Find(id); }

void Form::Click(int id) {
  Field* clicked = Find(id);
  if (!clicked || !clicked->enabled) return;
  if (clicked->kind == FieldKind::Button) {
    if (id == expandButton) SetExpanded(!expanded);
    else pressed = id;
    return;
  }
  for (const std::vector<int>& set : exclusive) {
    if (std::find(set.begin(), set.end(), id) == set.end()) continue;
    for (int other : set)
      if (Field* f = Find(other)) f->checked = other == id;
    return;
  }
  if (clicked->kind == FieldKind::Check) clicked->checked = !clicked->checked;
  if (clicked->kind == FieldKind::Radio) clicked->checked = true;
}

void Form::SetExpanded(bool expand) {
  expanded = expand;
  if (Field* b = Find(expandButton)) b->text = b->label = expand ? "Steps <<" : "Steps >>";
  bool inSection = false;
  for (Field& f : fields) {
    if (f.id == divider) inSection = true;
    if (inSection) f.enabled = expand;
  }
}

Field MakeField(int id, const char* label, FieldKind kind, int group, int maxChars) {
  Field f;
  f.id = id;
  f.label = label;
  f.kind = kind;
  f.group = group;
  f.maxChars = maxChars;
  return f;
}

Form MakeForm(const char* name, int templateId, const char* caption, std::vector<std::string> groups) {
  Form f;
  f.name = name;
  f.templateId = templateId;
  f.caption = caption;
  f.groups = std::move(groups);
  return f;
}

std::string FormProblem(const Form& form) {
  for (const Field& f : form.fields) {
    // Numbers are read on OK also in a collapsed section.
    double d = 0.0;
    if (f.text != f.shown && f.number != NumberRule::Text &&
        !(f.number == NumberRule::ValueOrEmpty && f.text.empty()) && !ReadValue(f.text, d)) {
      if (ValueOutOfRange(f.text)) return "\"" + f.label + "\": the number is out of range.";
      return "\"" + f.label + "\": please enter a number (suffixes f, p, n, u, m, k, M, G, T allowed).";
    }
    if (!f.enabled) continue;
    if (f.maxChars > 0 && f.text != f.shown && static_cast<int>(f.text.size()) > f.maxChars)
      return "\"" + f.label + "\": please enter no more than " + std::to_string(f.maxChars) + " characters.";
    long v = 0;
    if (f.kind == FieldKind::Int && (!ReadInteger(f.text, v) || v < f.min || v > f.max)) {
      if (f.min == INT_MIN && f.max == INT_MAX) return "\"" + f.label + "\": please enter an integer.";
      return "\"" + f.label + "\": please enter an integer between " + std::to_string(f.min) + " and " +
             std::to_string(f.max) + ".";
    }
  }
  return form.check ? form.check(form) : std::string();
}

double FieldNumber(const Field& field, double stored) {
  if (field.text == field.shown) return stored;
  double v = stored;
  if (field.text.empty()) return 0.0;
  return ReadValue(field.text, v) ? v : stored;
}

}  // namespace zorv
