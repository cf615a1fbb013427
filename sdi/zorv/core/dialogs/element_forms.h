// The element dialogs as forms (dialog_form.h), empty: the view's value
// dispatch (value_dispatch.h) fills them from an element and stores them back.
//
//     Form f = ElementForm("R_Dlg");   // "R", group "Resistor", Name and Value
//     f.Find(1001)->Show("4.7 k");
#pragma once
#include <string>
#include <vector>

#include "sdi/zorv/core/dialogs/dialog_form.h"

namespace zorv {

// The class names of every element dialog, the label and pair dialogs and the
// subcircuit's included.
const std::vector<std::string>& ElementFormNames();

// The form of that dialog class; an empty form (no name) for an unknown one. The
// DC sources' steps start collapsed; the subcircuit's rows all start enabled
// (SubcircuitRows cuts them).
Form ElementForm(const std::string& name);

// The subcircuit dialog's ten parameter rows: row i is its static, its name
// field and its value field.
int SubRowStatic(int i);
int SubRowName(int i);
int SubRowValue(int i);
// Rows from n on are left out of the window and disabled.
void SubcircuitRows(Form& form, int n);

}  // namespace zorv
