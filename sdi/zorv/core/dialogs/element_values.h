// The values an element's dialog shows and stores, kind by kind: the dialog
// forms (element_forms.h) filled from an element and stored back into it.
// Numbers show with 5 significant digits (a resistor's in engineering form);
// a text still as shown keeps the stored number exactly.
#pragma once
#include <string>

#include "sdi/zorv/core/dialogs/dialog_form.h"

namespace sdi {
class element;
}

namespace zorv {

// The dialog class of a kind; empty for kinds without a dialog.
std::string DialogOfKind(int kind);

// The form of an element of a kind that is not staged, filled from it.
Form LoadElementForm(sdi::element* e);
// Stores a form that OK accepted into the element: its name and values.
void StoreElementForm(const Form& form, sdi::element* e);

// Sets a field's text to a number: 5 significant digits.
void ShowNumber(Form& form, int id, double value);
// The name as the element keeps it (at most 7 characters).
std::string NameOf(sdi::element* e);

}  // namespace zorv
