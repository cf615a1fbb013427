// A dialog as data: what the toolkit builds and what tests answer.
//
// A Form lists its fields in control order. The caller fills the fields' texts
// and check states, runs the form through a DialogService (dialog_service.h) and,
// after Ok, reads them back. OK is accepted only when FormProblem finds nothing:
// every length limit, every integer field (a whole number in its range) and the
// form's own check; otherwise the message is shown and the dialog stays open.
//
//     Form f = ...;                       // a table (settings_forms.h)
//     f.Find(1000)->text = "0.001";
//     if (dialogs.Run(f) == DialogEnd::Ok) Store(f.Find(1000)->text);
#pragma once
#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace zorv {

enum class FieldKind {
  Text,    // an edit field
  Int,     // an edit field holding a whole number (with a spin button when spinId)
  Check,   // a check box
  Radio,   // a round button; exclusive with the others of its set (Form::exclusive)
  Button,  // a push button that ends the dialog with endCode (or toggles the section)
  Static,  // a text or divider the program sets; nothing to enter
};

// How OK reads an edit field that holds a number; a text still as shown is
// always accepted (its stored value is kept).
enum class NumberRule {
  Text,           // not a number
  Value,          // an element value with engineering suffixes (ReadValue)
  ValueOrEmpty,   // the same, or empty (a DC source's unused step)
};

struct Field {
  int id = 0;
  std::string label;
  FieldKind kind = FieldKind::Text;
  int group = -1;        // index into Form::groups; -1 outside every group
  int maxChars = 0;      // longest text the user may type; 0 without a limit
  long min = LONG_MIN;   // range of an Int field
  long max = LONG_MAX;
  int spinId = 0;        // the spin button beside an Int field
  int endCode = 0;       // what a Button ends the dialog with
  bool takesTexts = true;  // whether a Button's end keeps what was typed
  NumberRule number = NumberRule::Text;
  bool enabled = true;
  bool hidden = false;   // left out of the window (a subcircuit's unused rows)
  std::string text;      // Text and Int fields
  bool checked = false;  // Check and Radio fields
  std::string shown;     // the text as the program set it; never cut by the limit

  // Sets the text the dialog opens with.
  void Show(const std::string& t) { text = shown = t; }
};

struct Form {
  std::string name;     // the dialog's class name ("sim_dlg")
  int templateId = 0;
  std::string caption;
  std::vector<std::string> groups;
  std::vector<Field> fields;
  // Sets of check or radio ids of which a click checks one and unchecks the others.
  std::vector<std::vector<int>> exclusive;
  bool rememberPosition = false;  // opens where the last such dialog was closed
  // The expanding section: the toggle button, and the divider from which every
  // later field belongs to it. The section is disabled while collapsed.
  int expandButton = 0;
  int divider = 0;
  bool expanded = false;
  int pressed = 0;  // the Button that ended the dialog
  // The form's own check on OK: a message, or empty to accept.
  std::function<std::string(const Form&)> check;

  Field* Find(int id);
  const Field* Find(int id) const;
  // A click on a check or radio: exclusive sets keep one checked. A click on the
  // expand button toggles the section; on another Button, records it as pressed.
  void Click(int id);
  // Sets the section expanded or collapsed: the toggle's text and the enabling.
  void SetExpanded(bool expanded);
};

// Table building: a field, and a form with its groups (fields added after).
Field MakeField(int id, const char* label, FieldKind kind, int group, int maxChars = 0);
Form MakeForm(const char* name, int templateId, const char* caption, std::vector<std::string> groups);

// Why OK is refused, or empty.
std::string FormProblem(const Form& form);

// The number a field that OK accepted stands for: `stored` when its text is
// still the one shown, 0 for an empty text.
double FieldNumber(const Field& field, double stored);

}  // namespace zorv
