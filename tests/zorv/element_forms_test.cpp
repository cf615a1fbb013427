// The element dialogs' tables against the dialog list they were made from: each
// row is a dialog written out as "class|template|caption|groups|fields", a field
// as id "label" /limit, @group, and T text, N number, C check, S static or
// B<end code> (a B that drops the typed texts is b); "off" while disabled (the
// DC sources' steps start collapsed).
#include <gtest/gtest.h>

#include "sdi/zorv/core/dialogs/element_forms.h"

namespace {

std::string Describe(const zorv::Form& f) {
  std::string s = f.name + "|" + std::to_string(f.templateId) + "|" + f.caption + "|";
  for (const std::string& g : f.groups) s += g + ";";
  s += "|";
  for (const zorv::Field& x : f.fields) {
    s += std::to_string(x.id) + " \"" + x.label + "\"";
    if (x.maxChars) s += " /" + std::to_string(x.maxChars);
    if (x.group > 0) s += " @" + std::to_string(x.group);
    if (!x.enabled) s += " off";
    switch (x.kind) {
      case zorv::FieldKind::Button: s += (x.takesTexts ? " B" : " b") + std::to_string(x.endCode); break;
      case zorv::FieldKind::Check: s += " C"; break;
      case zorv::FieldKind::Static: s += " S"; break;
      default: s += x.number != zorv::NumberRule::Text ? " N" : " T";
    }
    s += ", ";
  }
  return s;
}

std::string Steps(int t1) {
  std::string s = "1036 \"Steps >>\" B0, 1037 \"\" off S, 1038 \"t1\" /" + std::to_string(t1) + " @1 off N, ";
  for (const char* x : {"1039 \"t2\"", "1040 \"t3\"", "1005 \"t4\"", "1006 \"t5\""}) s += std::string(x) + " /15 @1 off N, ";
  return s;
}

std::string Values(char letter) {  // and the subcircuit's rows with letter 0
  std::string s;
  for (int i = 0; i < (letter ? 5 : 10); ++i)
    s += letter ? std::to_string(1007 + i) + " \"" + letter + std::to_string(i + 1) + "\" /15 @1 off N, "
                : std::to_string(1064 + i) + " \"\" @1 S, " + std::to_string(1044 + i) + " \"\" @1 T, " + std::to_string(1054 + i) + " \"\" @1 N, ";
  return s;
}

const std::string kNV10 = "1000 \"Name\" /10 T, 1001 \"Value\" /15 N, ";
const std::string kSrc = "1003 \"Name\" /10 @1 T, 1008 \"Select\" @1 B-66, ";

TEST(ElementForms, EveryDialogAsListed) {
  const std::vector<std::string> expected = {
      "CLK_Dlg|147|Clk|Clock;|1000 \"Name\" /12 T, 1001 \"Delay \" /12 N, 1002 \"Period\" /12 N, ",
      "D_Dlg|145|D|Diode;Initial state:;|1000 \"Name\" /12 T, 1009 \"On\" @1 C, 1010 \"Off\" @1 C, ",
      "ICIS_Dlg|164|ICIS|Current Controlled Current Source;Controlling branch;|1000 \"Name\" /10 T, 1001 \"Gain\" /15 N, " + kSrc,
      "ICVS_Dlg|162|ICVS|Current Controlled Voltage Source;Controlling branch;|1000 \"Name\" /10 T, 1001 \"Gain\" /15 N, " + kSrc,
      "IDC_X_Dg|171|IDC|DC Current Source;Current step times / values;|" + kNV10 + Steps(15) + Values('i'),
      "IPT_Dlg|152|IPort|Current Port;|1000 \"Name\" /10 T, ",
      "LAB_Dlg|160|Label|Label: a-z;|1000 \"Letter\" /1 T, ",
      "LL_Dlg|155|Low_Limiter|Lower Limiter;|" + kNV10,
      "L_Dlg|144|L|Inductor;|1000 \"Name\" /12 T, 1001 \"Value\" /12 N, 1002 \"Initial I\" /12 N, ",
      "MOD_Dlg|158|MOD|PWM Modulator;Sawtooth;|1000 \"Name\" /10 T, 1001 \"k1\" /15 N, 1002 \"k2\" /15 N, "
      "1003 \"k3\" /15 N, 1044 \"Period\" /15 @1 N, 1004 \"V pk-pk\" /15 @1 N, ",
      "MSEL_Dlg|168|Select the mutual inductor pair|Inductor pair;|1023 \"#1\" /10 T, 1009 \"Select\" b0, "
      "1025 \"#2\" /10 T, 1010 \"Select\" b0, ",
      "MUL_Dlg|157|MULT|Multiplier;|" + kNV10,
      "M_Dlg|169|M |Mutual Inductance;|" + kNV10,
      "OP_Dlg|156|OPAMP|Operational Amplifier;|1000 \"Name\" /10 T, 1001 \"Gain\" /15 N, 1002 \"Ri\" /15 N, 1003 \"Ro\" /15 N, ",
      "PRI_Dlg|166|PRI|Transformer Primary;|1000 \"Name\" /10 T, 1001 \"# Turns\" /15 N, ",
      "R_Dlg|131|R|Resistor;|1000 \"Name\" /10 T, 1001 \"Value\" /10 N, ",
      "SEC_Dlg|167|SEC|Transformer Secondary;Transformer primary;|1000 \"Name\" /10 T, 1001 \"# Turns\" /15 N, "
      "1003 \"Name\" /10 @1 T, 1008 \"Select\" @1 B-55, ",
      "SUB_Dlg|163|SUB|Subcircuit;Parameters;|3 \"Name\" /15 T, 1005 \"Type\" /20 T, " + Values(0),
      "SW_Dlg|146|Sw|Switch;Initial state:;|1000 \"Name\" /12 T, 1009 \"On\" @1 C, 1010 \"Off\" @1 C, ",
      "THRES_Dlg|165|THRES|Threshold equation:    z = cx*yx + ct_x*t_x+const  < 0;|3 \"Name\" /12 T, "
      "1016 \"c1\" /12 N, 1017 \"y1\" /12 T, 1009 \"Select -->\" B-77, 1018 \"c2\" /12 N, 1019 \"y2\" /12 T, "
      "1010 \"Select -->\" B-77, 1007 \"c3\" /12 N, 1005 \"y3\" T, 1021 \"Select -->\" B-77, 1020 \"ct_on\" /12 N, "
      "1006 \"sw\" /12 T, 1011 \"Select -->\" B-77, 1012 \"ct_sim\" /12 N, 1014 \"ct_cyc\" /12 N, "
      "1013 \"ct_topo\" /12 N, 1015 \"const\" /12 N, ",
      "UL_Dlg|154|Up_Limiter|Upper Limiter;|" + kNV10,
      "VAC_Dlg|149|VAC|Sine Voltage;|1000 \"Name\" /10 T, 1001 \"Peak Amplitude\" /15 N, "
      "1002 \"Frequency (Hz.)\" /15 N, 1003 \"Phase (degs.)\" /15 N, ",
      "VCIS_Dlg|161|VCIS|Voltage Controlled Current Source;Controlling branch;|1000 \"Name\" /10 T, 1001 \"Gain\" /15 N, " + kSrc,
      "VCO_Dlg|159|VCO|VCO: fs=a*v+b;|1000 \"Name\" /10 T, 1001 \"a\" /15 N, 1002 \"b\" /15 N, ",
      "VCVS_Dlg|150|VCVS|Voltage Controlled Voltage Source;Controlling branch;|1000 \"Name\" /10 T, 1001 \"Gain\" /15 N, " + kSrc,
      "VDC_X_Dg|170|VDC|DC Voltage Source;Voltage step times / values;|" + kNV10 + Steps(10) + Values('v'),
      "VPT_Dlg|151|VPort|Voltage Port;|1000 \"Name\" /10 T, ",
      "c_Dlg|136|C|Capacitor;|1000 \"Name\" /12 T, 1001 \"Value\" /12 N, 1002 \"Initial V\" /12 N, ",
  };
  ASSERT_EQ(zorv::ElementFormNames().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const zorv::Form f = zorv::ElementForm(zorv::ElementFormNames()[i]);
    SCOPED_TRACE(f.name);
    EXPECT_EQ(Describe(f), expected[i]);
    EXPECT_EQ(f.rememberPosition, f.name != "MSEL_Dlg" && f.name != "SUB_Dlg");
    if (f.name == "SUB_Dlg") {  // the parameter rows are numbered from 1
      for (int i = 0; i < 10; ++i) EXPECT_EQ(f.Find(1064 + i)->text, std::to_string(i + 1));
    }
    if (f.name == "D_Dlg" || f.name == "SW_Dlg") {
      EXPECT_EQ(f.exclusive, (std::vector<std::vector<int>>{{1009, 1010}}));
    }
  }
}

}  // namespace
