// Runs a dialog Form modally: the toolkit's builder in the program, a scripted
// answerer in tests. Run returns after OK only when FormProblem accepted the
// form; the fields then hold what the user entered. Any other end leaves the
// fields as the dialog last showed them.
#pragma once
#include "sdi/zorv/core/dialogs/dialog_form.h"

namespace zorv {

enum class DialogEnd {
  Ok = 1,
  Cancel = 2,
  PickInductor = 0,     // "Select" of the inductor-pair dialog
  PickPrimary = -55,    // "Select" of the transformer secondary
  PickSource = -66,     // "Select" of a controlled source
  PickThreshold = -77,  // "Select -->" of the threshold
};

class DialogService {
public:
  virtual ~DialogService() = default;
  virtual DialogEnd Run(Form& form) = 0;
};

}  // namespace zorv
