#include "sdi/zorv/core/dialogs/element_forms.h"

#include <functional>
#include <map>

#include "sdi/zorv/core/dialogs/dialog_service.h"

namespace zorv {

namespace {

// A name (or other text) field and a value field.
Field Name(int id, const char* label, int group, int maxChars) { return MakeField(id, label, FieldKind::Text, group, maxChars); }

Field Value(int id, const char* label, int group, int maxChars,
            NumberRule rule = NumberRule::Value) {
  Field f = MakeField(id, label, FieldKind::Text, group, maxChars);
  f.number = rule;
  return f;
}

Field Select(int id, const char* label, int group, DialogEnd end, bool takesTexts = true) {
  Field f = MakeField(id, label, FieldKind::Button, group);
  f.endCode = static_cast<int>(end);
  f.takesTexts = takesTexts;
  return f;
}

Form Dialog(const char* name, int templateId, const char* caption, std::vector<std::string> groups,
            std::vector<Field> fields, bool rememberPosition = true) {
  Form f = MakeForm(name, templateId, caption, std::move(groups));
  f.fields = std::move(fields);
  f.rememberPosition = rememberPosition;
  return f;
}

// Name /10 and one value /15 (M, MULT, the limiters, PRI).
Form NameValue(const char* name, int templateId, const char* caption, const char* group,
               const char* valueLabel = "Value") {
  return Dialog(name, templateId, caption, {group}, {Name(1000, "Name", 0, 10), Value(1001, valueLabel, 0, 15)});
}

// Name /12 and values /12 (C, L, CLK).
Form Name12(const char* name, int templateId, const char* caption, const char* group,
            std::initializer_list<const char*> labels) {
  Form f = Dialog(name, templateId, caption, {group}, {Name(1000, "Name", 0, 12)});
  int id = 1001;
  for (const char* label : labels) f.fields.push_back(Value(id++, label, 0, 12));
  return f;
}

Form OnOff(const char* name, int templateId, const char* caption, const char* group) {
  Form f = Dialog(name, templateId, caption, {group, "Initial state:"},
                  {Name(1000, "Name", 0, 12), MakeField(1009, "On", FieldKind::Check, 1),
                   MakeField(1010, "Off", FieldKind::Check, 1)});
  f.exclusive = {{1009, 1010}};
  return f;
}

Form Controlled(const char* name, int templateId, const char* caption, const char* group,
                const char* valueLabel, const char* referred, DialogEnd end) {
  return Dialog(name, templateId, caption, {group, referred},
                {Name(1000, "Name", 0, 10), Value(1001, valueLabel, 0, 15), Name(1003, "Name", 1, 10),
                 Select(1008, "Select", 1, end)});
}

Form Threshold() {
  const DialogEnd pick = DialogEnd::PickThreshold;
  return Dialog("THRES_Dlg", 165, "THRES", {"Threshold equation:    z = cx*yx + ct_x*t_x+const  < 0"},
                {Name(3, "Name", 0, 12), Value(1016, "c1", 0, 12), Name(1017, "y1", 0, 12),
                 Select(1009, "Select -->", 0, pick), Value(1018, "c2", 0, 12), Name(1019, "y2", 0, 12),
                 Select(1010, "Select -->", 0, pick), Value(1007, "c3", 0, 12), Name(1005, "y3", 0, 0),
                 Select(1021, "Select -->", 0, pick), Value(1020, "ct_on", 0, 12), Name(1006, "sw", 0, 12),
                 Select(1011, "Select -->", 0, pick), Value(1012, "ct_sim", 0, 12), Value(1014, "ct_cyc", 0, 12),
                 Value(1013, "ct_topo", 0, 12), Value(1015, "const", 0, 12)});
}

Form DcSource(const char* name, int templateId, const char* caption, const char* group, const char* steps,
              int firstTimeChars, char valueLetter) {
  Form f = Dialog(name, templateId, caption, {group, steps},
                  {Name(1000, "Name", 0, 10), Value(1001, "Value", 0, 15),
                   MakeField(1036, "Steps >>", FieldKind::Button, 0), MakeField(1037, "", FieldKind::Static, 0)});
  const int times[] = {1038, 1039, 1040, 1005, 1006};
  for (int i = 0; i < 5; ++i) {
    const std::string label = "t" + std::to_string(i + 1);
    f.fields.push_back(Value(times[i], label.c_str(), 1, i == 0 ? firstTimeChars : 15, NumberRule::ValueOrEmpty));
  }
  for (int i = 0; i < 5; ++i) {
    const std::string label = valueLetter + std::to_string(i + 1);
    f.fields.push_back(Value(1007 + i, label.c_str(), 1, 15, NumberRule::ValueOrEmpty));
  }
  f.expandButton = 1036;
  f.divider = 1037;
  f.SetExpanded(false);
  return f;
}

Form Subcircuit() {
  Form f = Dialog("SUB_Dlg", 163, "SUB", {"Subcircuit", "Parameters"},
                  {Name(3, "Name", 0, 15), Name(1005, "Type", 0, 20)}, false);
  for (int i = 0; i < 10; ++i) {
    f.fields.push_back(MakeField(SubRowStatic(i), "", FieldKind::Static, 1));
    f.fields.back().Show(std::to_string(i + 1));
    f.fields.push_back(Name(SubRowName(i), "", 1, 0));
    f.fields.push_back(Value(SubRowValue(i), "", 1, 0));
  }
  return f;
}

const std::map<std::string, std::function<Form()>>& Table() {
  static const std::map<std::string, std::function<Form()>> table = {
      {"R_Dlg", [] { return Dialog("R_Dlg", 131, "R", {"Resistor"}, {Name(1000, "Name", 0, 10), Value(1001, "Value", 0, 10)}); }},
      {"c_Dlg", [] { return Name12("c_Dlg", 136, "C", "Capacitor", {"Value", "Initial V"}); }},
      {"L_Dlg", [] { return Name12("L_Dlg", 144, "L", "Inductor", {"Value", "Initial I"}); }},
      {"CLK_Dlg", [] { return Name12("CLK_Dlg", 147, "Clk", "Clock", {"Delay ", "Period"}); }},
      {"D_Dlg", [] { return OnOff("D_Dlg", 145, "D", "Diode"); }},
      {"SW_Dlg", [] { return OnOff("SW_Dlg", 146, "Sw", "Switch"); }},
      {"M_Dlg", [] { return NameValue("M_Dlg", 169, "M ", "Mutual Inductance"); }},
      {"MUL_Dlg", [] { return NameValue("MUL_Dlg", 157, "MULT", "Multiplier"); }},
      {"UL_Dlg", [] { return NameValue("UL_Dlg", 154, "Up_Limiter", "Upper Limiter"); }},
      {"LL_Dlg", [] { return NameValue("LL_Dlg", 155, "Low_Limiter", "Lower Limiter"); }},
      {"PRI_Dlg", [] { return NameValue("PRI_Dlg", 166, "PRI", "Transformer Primary", "# Turns"); }},
      {"SEC_Dlg", [] { return Controlled("SEC_Dlg", 167, "SEC", "Transformer Secondary", "# Turns", "Transformer primary", DialogEnd::PickPrimary); }},
      {"VCVS_Dlg", [] { return Controlled("VCVS_Dlg", 150, "VCVS", "Voltage Controlled Voltage Source", "Gain", "Controlling branch", DialogEnd::PickSource); }},
      {"VCIS_Dlg", [] { return Controlled("VCIS_Dlg", 161, "VCIS", "Voltage Controlled Current Source", "Gain", "Controlling branch", DialogEnd::PickSource); }},
      {"ICVS_Dlg", [] { return Controlled("ICVS_Dlg", 162, "ICVS", "Current Controlled Voltage Source", "Gain", "Controlling branch", DialogEnd::PickSource); }},
      {"ICIS_Dlg", [] { return Controlled("ICIS_Dlg", 164, "ICIS", "Current Controlled Current Source", "Gain", "Controlling branch", DialogEnd::PickSource); }},
      {"VAC_Dlg", [] { return Dialog("VAC_Dlg", 149, "VAC", {"Sine Voltage"}, {Name(1000, "Name", 0, 10), Value(1001, "Peak Amplitude", 0, 15), Value(1002, "Frequency (Hz.)", 0, 15), Value(1003, "Phase (degs.)", 0, 15)}); }},
      {"OP_Dlg", [] { return Dialog("OP_Dlg", 156, "OPAMP", {"Operational Amplifier"}, {Name(1000, "Name", 0, 10), Value(1001, "Gain", 0, 15), Value(1002, "Ri", 0, 15), Value(1003, "Ro", 0, 15)}); }},
      {"VCO_Dlg", [] { return Dialog("VCO_Dlg", 159, "VCO", {"VCO: fs=a*v+b"}, {Name(1000, "Name", 0, 10), Value(1001, "a", 0, 15), Value(1002, "b", 0, 15)}); }},
      {"MOD_Dlg", [] { return Dialog("MOD_Dlg", 158, "MOD", {"PWM Modulator", "Sawtooth"}, {Name(1000, "Name", 0, 10), Value(1001, "k1", 0, 15), Value(1002, "k2", 0, 15), Value(1003, "k3", 0, 15), Value(1044, "Period", 1, 15), Value(1004, "V pk-pk", 1, 15)}); }},
      {"VPT_Dlg", [] { return Dialog("VPT_Dlg", 151, "VPort", {"Voltage Port"}, {Name(1000, "Name", 0, 10)}); }},
      {"IPT_Dlg", [] { return Dialog("IPT_Dlg", 152, "IPort", {"Current Port"}, {Name(1000, "Name", 0, 10)}); }},
      {"LAB_Dlg", [] { return Dialog("LAB_Dlg", 160, "Label", {"Label: a-z"}, {Name(1000, "Letter", 0, 1)}); }},
      {"MSEL_Dlg", [] { return Dialog("MSEL_Dlg", 168, "Select the mutual inductor pair", {"Inductor pair"}, {Name(1023, "#1", 0, 10), Select(1009, "Select", 0, DialogEnd::PickInductor, false), Name(1025, "#2", 0, 10), Select(1010, "Select", 0, DialogEnd::PickInductor, false)}, false); }},
      {"THRES_Dlg", Threshold},
      {"VDC_X_Dg", [] { return DcSource("VDC_X_Dg", 170, "VDC", "DC Voltage Source", "Voltage step times / values", 10, 'v'); }},
      {"IDC_X_Dg", [] { return DcSource("IDC_X_Dg", 171, "IDC", "DC Current Source", "Current step times / values", 15, 'i'); }},
      {"SUB_Dlg", Subcircuit},
  };
  return table;
}

}  // namespace

const std::vector<std::string>& ElementFormNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v;
    for (const auto& entry : Table()) v.push_back(entry.first);
    return v;
  }();
  return names;
}

Form ElementForm(const std::string& name) {
  const auto it = Table().find(name);
  return it == Table().end() ? Form() : it->second();
}

int SubRowStatic(int i) { return 1064 + i; }
int SubRowName(int i) { return 1044 + i; }
int SubRowValue(int i) { return 1054 + i; }

void SubcircuitRows(Form& form, int n) {
  for (int i = n < 0 ? 0 : n; i < 10; ++i)
    for (int id : {SubRowStatic(i), SubRowName(i), SubRowValue(i)})
      if (Field* f = form.Find(id)) f->enabled = false, f->hidden = true;
}

}  // namespace zorv
