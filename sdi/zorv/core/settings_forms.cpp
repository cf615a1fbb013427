#include "sdi/zorv/core/settings_forms.h"

#include <climits>
#include <cmath>

#include "sdi/zorv/core/number_texts.h"
#include "simu/run_settings.h"

namespace zorv {

namespace {

Field Text(int id, const char* label, int group, double value, int maxChars = 0) {
  Field f = MakeField(id, label, FieldKind::Text, group, maxChars);
  f.Show(NumberText(value));
  return f;
}

Field Int(int id, const char* label, int group, long value, long min = INT_MIN, long max = INT_MAX) {
  Field f = MakeField(id, label, FieldKind::Int, group);
  f.min = min;
  f.max = max;
  f.Show(std::to_string(value));
  return f;
}

Field Check(int id, const char* label, int group, bool checked, FieldKind kind = FieldKind::Check) {
  Field f = MakeField(id, label, kind, group);
  f.checked = checked;
  return f;
}

double Number(const Form& form, int id) { return ReadPlainNumber(form.Find(id)->text); }

int Whole(const Form& form, int id) {
  long v = 0;
  ReadInteger(form.Find(id)->text, v);
  return static_cast<int>(v);
}

bool Checked(const Form& form, int id) { return form.Find(id)->checked; }

enum class Least { Zero, AboveZero };

// The first field whose number is not finite or below its least value.
std::string NumbersProblem(const Form& form, std::initializer_list<std::pair<int, Least>> rules) {
  for (const auto& [id, least] : rules) {
    const double v = Number(form, id);
    const bool bad = !std::isfinite(v) || v < 0.0 || (least == Least::AboveZero && v == 0.0);
    if (!bad) continue;
    const std::string name = "\"" + form.Find(id)->label + "\"";
    return least == Least::AboveZero ? name + " must be a finite number above 0."
                                     : name + " must be a finite number of 0 or more.";
  }
  return std::string();
}

// The steady-state methods by their buttons, in method order (1 to 4).
constexpr int kMethodIds[] = {1009, 1012, 1010, 1011};

}  // namespace

Form SimParametersForm() {
  Form f = MakeForm("sim_dlg", 5, "Simulation parameters", {"Simulation", "Save interval"});
  f.fields = {Text(1000, "Final Time", 0, run_tsim, 15), Text(1001, "Step Size", 0, run_td, 15),
              Text(1002, "Start time", 1, run_start_si, 15), Text(1003, "End time", 1, run_finish_si, 15),
              Int(1004, "# of points", 1, run_points, 0, 9999999)};
  f.check = [](const Form& form) {
    return NumbersProblem(form, {{1000, Least::AboveZero}, {1001, Least::AboveZero}, {1002, Least::Zero},
                                 {1003, Least::Zero}});
  };
  return f;
}

void StoreSimParameters(const Form& form) {
  run_tsim = Number(form, 1000);
  run_td = Number(form, 1001);
  run_start_si = Number(form, 1002);
  run_finish_si = Number(form, 1003);
  run_points = Whole(form, 1004);
}

Form SimOptionsForm() {
  Form f = MakeForm("OPT_Dlg", 177, "Options", {"State"});
  f.fields = {Check(1082, "Load initial state", 0, run_ld != 0), Check(1081, "Save final state", 0, run_sv != 0)};
  return f;
}

void StoreSimOptions(const Form& form) {
  run_sv = Checked(form, 1081) ? 1 : 0;
  run_ld = Checked(form, 1082) ? 1 : 0;
}

Form SteadyStateForm(int cyclesReached) {
  Form f = MakeForm("SS_Dlg", 172, "Steady State Options",
                  {"Steady-State Tolerance", "Algorithm", "Start algorithm after:"});
  const char* methods[] = {"   Newton", "   Skelboe", "   Broyden", "   Picard (brute force)"};
  f.fields = {Text(1076, "Tolerance", 0, run_sstol_f), Int(1077, "Max. # of Cycles", 0, run_nclkss)};
  for (int m = 0; m < 4; ++m)
    f.fields.push_back(Check(kMethodIds[m], methods[m], 1, run_ssmethod == m + 1, FieldKind::Radio));
  // The pair follows cyclesReached alone, whatever run_stop_close holds.
  f.fields.push_back(Check(1078, "   Tolerance reached", 2, cyclesReached == 0));
  f.fields.push_back(Text(1079, "Tolerance", 2, run_sstol_c));
  f.fields.push_back(Check(1080, "   # cycles reached", 2, cyclesReached != 0));
  f.fields.push_back(Int(1081, "# cycles", 2, run_cycles_togo));
  f.exclusive = {{1009, 1012, 1010, 1011}, {1080, 1078}};
  f.check = [](const Form& form) { return NumbersProblem(form, {{1076, Least::Zero}, {1079, Least::Zero}}); };
  return f;
}

void StoreSteadyState(const Form& form, int& cyclesReached) {
  run_nclkss = Whole(form, 1077);
  run_sstol_c = Number(form, 1079);
  run_sstol_f = Number(form, 1076);
  run_stop_close = Checked(form, 1078) ? 1 : 0;
  cyclesReached = Checked(form, 1080) ? 1 : 0;
  run_cycles_togo = cyclesReached ? Whole(form, 1081) : 0;
  for (int m = 0; m < 4; ++m)
    if (Checked(form, kMethodIds[m])) {
      run_ssmethod = m + 1;
      break;
    }
}

Form LimitedCyclesForm() {
  Form f = MakeForm("SSCY_Dlg", 176, "# CYCLES", {"# Steady State Cycles"});
  Field n = Int(1000, "Number", 0, run_none_c, 1, 20);
  n.spinId = 1080;
  f.fields = {n};
  return f;
}

void StoreLimitedCycles(const Form& form) { run_none_c = Whole(form, 1000); }

}  // namespace zorv
