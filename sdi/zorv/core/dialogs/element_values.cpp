#include "sdi/zorv/core/dialogs/element_values.h"

#include <utility>
#include <vector>

#include "sdi/elements/base_elements.h"
#include "sdi/elements/bl_element.h"
#include "sdi/elements/control_elements.h"
#include "sdi/base/format.h"
#include "sdi/elements/source_elements.h"
#include "sdi/elements/sub_element.h"
#include "sdi/zorv/core/dialogs/element_forms.h"
#include "sdi/zorv/core/base/number_texts.h"

namespace zorv {

namespace {

using Slots = std::vector<std::pair<int, double*>>;

// The value fields of a kind and where each one is kept.
Slots ValueSlots(sdi::element* e) {
  double* v = e->values;
  switch (e->kind) {
    case sdi::kind_resistor:
    case sdi::kind_primary:
    case sdi::kind_mutual:
    case sdi::kind_upper_limiter:
    case sdi::kind_lower_limiter:
    case sdi::kind_multiplier:
      return {{1001, &v[0]}};
    case sdi::kind_capacitor:
    case sdi::kind_inductor:
      return {{1001, &v[0]}, {1002, &static_cast<sdi::basic*>(e)->initial}};
    case sdi::kind_clock:
      return {{1001, &v[1]}, {1002, &v[2]}};
    // Values 1 to 5 are k1, k2, k3, V pk-pk and Period.
    case sdi::kind_modulator:
      return {{1001, &v[1]}, {1002, &v[2]}, {1003, &v[3]}, {1004, &v[4]}, {1044, &v[5]}};
    case sdi::kind_vco:
      return {{1001, &v[0]}, {1002, &static_cast<sdi::vco*>(e)->constant}};
    case sdi::kind_op_amp: {
      auto* op = static_cast<sdi::op_amp*>(e);
      return {{1001, &v[0]}, {1002, &op->Ri}, {1003, &op->Ro}};
    }
    case sdi::kind_sine: {
      auto* s = static_cast<sdi::sine*>(e);
      return {{1001, &v[0]}, {1002, &s->frequency}, {1003, &s->phase}};
    }
    case sdi::kind_voltage_source:
    case sdi::kind_current_source:
      return {{1001, &v[0]}};
    default:
      return {};
  }
}

int NameField(const Form& form) { return form.Find(1000) ? 1000 : 3; }

constexpr int kStepTimes[] = {1038, 1039, 1040, 1005, 1006};
constexpr int kStepValues[] = {1007, 1008, 1009, 1010, 1011};

}  // namespace

std::string DialogOfKind(int kind) {
  switch (kind) {
    case sdi::kind_resistor: return "R_Dlg";
    case sdi::kind_capacitor: return "c_Dlg";
    case sdi::kind_inductor: return "L_Dlg";
    case sdi::kind_primary: return "PRI_Dlg";
    case sdi::kind_secondary: return "SEC_Dlg";
    case sdi::kind_mutual: return "M_Dlg";
    case sdi::kind_voltage_port: return "VPT_Dlg";
    case sdi::kind_current_port: return "IPT_Dlg";
    case sdi::kind_icis: return "ICIS_Dlg";
    case sdi::kind_icvs: return "ICVS_Dlg";
    case sdi::kind_vcis: return "VCIS_Dlg";
    case sdi::kind_vcvs: return "VCVS_Dlg";
    case sdi::kind_modulator: return "MOD_Dlg";
    case sdi::kind_clock: return "CLK_Dlg";
    case sdi::kind_upper_limiter: return "UL_Dlg";
    case sdi::kind_lower_limiter: return "LL_Dlg";
    case sdi::kind_threshold: return "THRES_Dlg";
    case sdi::kind_vco: return "VCO_Dlg";
    case sdi::kind_op_amp: return "OP_Dlg";
    case sdi::kind_diode: return "D_Dlg";
    case sdi::kind_switch: return "SW_Dlg";
    case sdi::kind_voltage_source: return "VDC_X_Dg";
    case sdi::kind_current_source: return "IDC_X_Dg";
    case sdi::kind_sine: return "VAC_Dlg";
    case sdi::kind_multiplier: return "MUL_Dlg";
    case sdi::kind_sub: return "SUB_Dlg";
    default: return std::string();
  }
}

void ShowNumber(Form& form, int id, double value) {
  if (Field* f = form.Find(id)) f->Show(NumberText(value));
}

std::string NameOf(sdi::element* e) {
  const char* n = e->name();
  return n ? std::string(n) : std::string();
}

Form LoadElementForm(sdi::element* e) {
  Form form = ElementForm(DialogOfKind(e->kind));
  if (form.name.empty()) return form;
  form.Find(NameField(form))->Show(NameOf(e));
  for (const auto& [id, slot] : ValueSlots(e)) ShowNumber(form, id, *slot);
  switch (e->kind) {
    case sdi::kind_resistor:
      form.Find(1001)->Show(sdi::FormatEngineering(e->values[0], 5));
      break;
    case sdi::kind_diode:
    case sdi::kind_switch: {
      const bool on = e->kind == sdi::kind_diode ? static_cast<int>(e->values[0]) != 0
                                                 : static_cast<sdi::switch2*>(e)->initial_state != 0;
      form.Find(1009)->checked = on;
      form.Find(1010)->checked = !on;
      break;
    }
    case sdi::kind_voltage_source:
    case sdi::kind_current_source: {
      auto* s = static_cast<sdi::source*>(e);
      for (int i = 0; i < s->n && i < sdi::source::max_pairs; ++i) {
        ShowNumber(form, kStepTimes[i], s->pairs[i][0]);
        ShowNumber(form, kStepValues[i], s->pairs[i][1]);
      }
      break;
    }
    case sdi::kind_sub: {
      auto* s = static_cast<sdi::sub*>(e);
      form.caption = s->type_name;
      form.Find(1005)->Show(s->type_name);
      for (int i = 0; i < 10; ++i) {
        form.Find(SubRowName(i))->Show(s->strings[i]);
        ShowNumber(form, SubRowValue(i), s->doubles[i]);
      }
      SubcircuitRows(form, s->string_count);
      break;
    }
    default:
      break;
  }
  return form;
}

void StoreElementForm(const Form& form, sdi::element* e) {
  e->set_name(form.Find(NameField(form))->text.c_str());
  for (const auto& [id, slot] : ValueSlots(e)) *slot = FieldNumber(*form.Find(id), *slot);
  switch (e->kind) {
    case sdi::kind_modulator:
      e->values[0] = e->values[4];
      break;
    case sdi::kind_diode:
      e->values[0] = form.Find(1009)->checked ? 1 : 0;
      break;
    case sdi::kind_switch:
      static_cast<sdi::switch2*>(e)->initial_state = form.Find(1009)->checked ? 1 : 0;
      break;
    case sdi::kind_voltage_source:
    case sdi::kind_current_source: {
      // Rows whose time is above 0 are kept in order; the others are dropped.
      auto* s = static_cast<sdi::source*>(e);
      double kept[sdi::source::max_pairs][2] = {};
      int n = 0;
      for (int i = 0; i < sdi::source::max_pairs; ++i) {
        const double oldTime = i < s->n ? s->pairs[i][0] : 0.0, oldValue = i < s->n ? s->pairs[i][1] : 0.0;
        const double t = FieldNumber(*form.Find(kStepTimes[i]), oldTime);
        if (!(t > 0.0)) continue;
        kept[n][0] = t;
        kept[n][1] = FieldNumber(*form.Find(kStepValues[i]), oldValue);
        ++n;
      }
      std::copy(&kept[0][0], &kept[0][0] + 2 * sdi::source::max_pairs, &s->pairs[0][0]);
      s->n = n;
      break;
    }
    case sdi::kind_sub: {
      auto* s = static_cast<sdi::sub*>(e);
      for (int i = 0; i < 10; ++i) s->doubles[i] = FieldNumber(*form.Find(SubRowValue(i)), s->doubles[i]);
      break;
    }
    default:
      break;
  }
}

}  // namespace zorv
