// The four run-settings dialogs as forms, loaded from and stored into the run
// settings (simu/input/run_settings.h). Doubles show with 5 significant digits and
// read back as element values do (ReadValue: "10m" is 0.01, "0.002x" refused; a
// text left as shown keeps the setting exactly); whole numbers must be whole and
// within the dialog's range and what the engine accepts.
//
//     Form f = SimParametersForm();            // filled from the settings
//     if (dialogs.Run(f) == DialogEnd::Ok) {   // refused input kept it open
//       view.SaveBackup();                     // the undo point, before storing
//       StoreSimParameters(f);
//     }
#pragma once
#include "sdi/zorv/core/dialogs/dialog_form.h"

namespace zorv {

// sim_dlg: final time, step, save interval and points. OK refuses non-finite or
// negative times, a zero final time or step, and a save interval that holds no
// time (start not below its end or below the final time).
Form SimParametersForm();
void StoreSimParameters(const Form& form);

// OPT_Dlg: save the final state, load the initial state.
Form SimOptionsForm();
void StoreSimOptions(const Form& form);

// SS_Dlg: tolerances, cycles, the method, and when the method starts. The
// "# cycles reached" / "Tolerance reached" pair opens from cyclesReached alone;
// OK refuses non-finite or negative tolerances.
Form SteadyStateForm(int cyclesReached);
void StoreSteadyState(const Form& form, int& cyclesReached);

// SSCY_Dlg: the cycles of a limited run, 1 to 20.
Form LimitedCyclesForm();
void StoreLimitedCycles(const Form& form);

}  // namespace zorv
