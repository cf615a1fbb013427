#include "sdi/zorv/core/dialogs/settings_forms.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cmath>

#include "sdi/zorv/core/base/number_texts.h"
#include "simu/input/run_settings.h"

namespace zorv {

namespace {

Field Text(int id, const char* label, int group, double value, int maxChars = 0) {
  Field f = MakeField(id, label, FieldKind::Text, group, maxChars);
  f.number = NumberRule::Value;  // typed as an element value: "10m" is 0.01
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

int Whole(const Form& form, int id) {
  long v = 0;
  ReadInteger(form.Find(id)->text, v);
  return static_cast<int>(v);
}

bool Checked(const Form& form, int id) { return form.Find(id)->checked; }

enum class Least { Zero, AboveZero };

// A control that shows one run setting and stores it back as it is: a double as a
// text, an int as a whole number, a flag as a check box.
struct SettingControl {
  int id;
  const char* label;
  int group;
  const char* option;        // the run setting, by its engine option
  int maxChars = 0;
  Least least = Least::Zero;  // a double's smallest accepted value
  long min = INT_MIN;         // an int's range
  long max = INT_MAX;
  int spinId = 0;
};

const run_setting& SettingOf(const SettingControl& c) { return *find_run_setting(c.option); }

double Number(const Form& form, const SettingControl& c) {
  return FieldNumber(*form.Find(c.id), SettingOf(c).value());
}

Field Control(const SettingControl& c) {
  const run_setting& s = SettingOf(c);
  if (s.flag) return Check(c.id, c.label, c.group, s.value() != 0);
  if (s.real) return Text(c.id, c.label, c.group, s.value(), c.maxChars);
  // What the engine would refuse is refused here, where the field can be named.
  const long min = std::max(c.min, static_cast<long>(s.least)), max = std::min(c.max, static_cast<long>(s.most));
  Field f = Int(c.id, c.label, c.group, static_cast<long>(s.value()), min, max);
  f.spinId = c.spinId;
  return f;
}

template <std::size_t N>
std::vector<Field> Controls(const SettingControl (&controls)[N]) {
  std::vector<Field> fields;
  for (const SettingControl& c : controls) fields.push_back(Control(c));
  return fields;
}

template <std::size_t N>
void Store(const Form& form, const SettingControl (&controls)[N]) {
  for (const SettingControl& c : controls) {
    const run_setting& s = SettingOf(c);
    s.set(s.flag ? (Checked(form, c.id) ? 1 : 0) : s.real ? Number(form, c) : Whole(form, c.id));
  }
}

// The first text whose number is not finite or below its least value.
template <std::size_t N>
std::string NumbersProblem(const Form& form, const SettingControl (&controls)[N]) {
  for (const SettingControl& c : controls) {
    if (!SettingOf(c).real) continue;
    const double v = Number(form, c);
    const bool bad = !std::isfinite(v) || v < 0.0 || (c.least == Least::AboveZero && v == 0.0);
    if (!bad) continue;
    const std::string name = "\"" + form.Find(c.id)->label + "\"";
    return c.least == Least::AboveZero ? name + " must be a finite number above 0."
                                       : name + " must be a finite number of 0 or more.";
  }
  return std::string();
}

// A save interval that holds no time gives a table without rows.
std::string SaveWindowProblem(const Form& form) {
  const double start = FieldNumber(*form.Find(1002), run_start_si);
  const double end = FieldNumber(*form.Find(1003), run_finish_si);
  const double tsim = FieldNumber(*form.Find(1000), run_tsim);
  if (start >= end) return "The save interval is empty: \"Start time\" must be below \"End time\".";
  if (start >= tsim) return "The save interval is empty: \"Start time\" must be below \"Final Time\".";
  return std::string();
}

const SettingControl kSimParameters[] = {
    {1000, "Final Time", 0, "tsim", 15, Least::AboveZero},
    {1001, "Step Size", 0, "td", 15, Least::AboveZero},
    {1002, "Start time", 1, "start_si", 15},
    {1003, "End time", 1, "finish_si", 15},
    {.id = 1004, .label = "# of points", .group = 1, .option = "points", .min = 0, .max = 9999999},
};

const SettingControl kSimOptions[] = {{1082, "Load initial state", 0, "ld"}, {1081, "Save final state", 0, "sv"}};

// The steady-state dialog's plain controls; its method buttons and its pair of ways
// to start the method are its own.
const SettingControl kSteadyState[] = {
    {1076, "Tolerance", 0, "sstol_f"}, {1077, "Max. # of Cycles", 0, "nclkss"}, {1079, "Tolerance", 2, "sstol_c"}};
// Stored only while "# cycles reached" is chosen.
const SettingControl kCyclesToGo = {1081, "# cycles", 2, "Cycles_togo"};

const SettingControl kLimitedCycles[] = {
    {.id = 1000, .label = "Number", .group = 0, .option = "none_c", .min = 1, .max = 20, .spinId = 1080}};

// The steady-state methods by their buttons, in method order (1 to 4).
constexpr int kMethodIds[] = {1009, 1012, 1010, 1011};

}  // namespace

Form SimParametersForm() {
  Form f = MakeForm("sim_dlg", 5, "Simulation parameters", {"Simulation", "Save interval"});
  f.fields = Controls(kSimParameters);
  f.check = [](const Form& form) {
    const std::string problem = NumbersProblem(form, kSimParameters);
    return problem.empty() ? SaveWindowProblem(form) : problem;
  };
  return f;
}

void StoreSimParameters(const Form& form) { Store(form, kSimParameters); }

Form SimOptionsForm() {
  Form f = MakeForm("OPT_Dlg", 177, "Options", {"State"});
  f.fields = Controls(kSimOptions);
  return f;
}

void StoreSimOptions(const Form& form) { Store(form, kSimOptions); }

Form SteadyStateForm(int cyclesReached) {
  Form f = MakeForm("SS_Dlg", 172, "Steady State Options",
                    {"Steady-State Tolerance", "Algorithm", "Start algorithm after:"});
  const char* methods[] = {"   Newton", "   Skelboe", "   Broyden", "   Picard (brute force)"};
  f.fields = {Control(kSteadyState[0]), Control(kSteadyState[1])};
  for (int m = 0; m < 4; ++m)
    f.fields.push_back(Check(kMethodIds[m], methods[m], 1, run_ssmethod == m + 1, FieldKind::Radio));
  // The pair follows cyclesReached alone, whatever run_stop_close holds.
  f.fields.push_back(Check(1078, "   Tolerance reached", 2, cyclesReached == 0));
  f.fields.push_back(Control(kSteadyState[2]));
  f.fields.push_back(Check(1080, "   # cycles reached", 2, cyclesReached != 0));
  f.fields.push_back(Control(kCyclesToGo));
  f.exclusive = {{1009, 1012, 1010, 1011}, {1080, 1078}};
  f.check = [](const Form& form) { return NumbersProblem(form, kSteadyState); };
  return f;
}

void StoreSteadyState(const Form& form, int& cyclesReached) {
  Store(form, kSteadyState);
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
  f.fields = Controls(kLimitedCycles);
  return f;
}

void StoreLimitedCycles(const Form& form) { Store(form, kLimitedCycles); }

}  // namespace zorv
