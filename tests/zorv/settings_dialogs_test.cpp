// The run-settings dialogs as the commands load, check and store them.
#include <gtest/gtest.h>

#include <map>

#include "zorv/sim_fixture.h"

namespace {

using zorv::DialogEnd;

class SettingsDialogsTest : public SimFixture {};

std::string NotANumber(const std::string& label) {
  return "\"" + label + "\": please enter a number (suffixes f, p, n, u, m, k, M, G, T allowed).";
}

TEST_F(SettingsDialogsTest, ParametersRefuseBadNumbersStayOpenAndStoreWhatIsShown) {
  const struct { int id; const char* text; std::string message; } cases[] = {
      {1002, "-1e-6", "\"Start time\" must be a finite number of 0 or more."},
      {1000, "inf", NotANumber("Final Time")},
      {1000, "+-1", NotANumber("Final Time")},
      {1000, "-0", "\"Final Time\" must be a finite number above 0."},
      {1001, "0", "\"Step Size\" must be a finite number above 0."},
      {1004, "1.5", "\"# of points\": please enter an integer between 0 and 9999999."},
      {1004, "10000000", "\"# of points\": please enter an integer between 0 and 9999999."},
      {1000, "0.0000000000000001", "\"Final Time\": please enter no more than 15 characters."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    dialogs.refusals.clear();
    dialogs.steps = {{"sim_dlg", {{c.id, c.text}}, {}, DialogEnd::Ok}, {"sim_dlg", {}, {}, DialogEnd::Cancel}};
    sim.OnSimulationParameters();
    EXPECT_EQ(dialogs.refusals, std::vector<std::string>{c.message});
  }
  EXPECT_EQ(host.modifications, 0);
  run_td = 1.23456e-3;
  dialogs.steps = {{"sim_dlg", {{1004, "500"}}, {}, DialogEnd::Ok}};
  sim.OnSimulationParameters();
  EXPECT_EQ(dialogs.opened.back().Find(1001)->text, "0.0012346");
  EXPECT_EQ(std::tie(run_td, run_points, run_tsim), std::make_tuple(1.23456e-3, 500, 1e-3));  // kept as shown
  EXPECT_EQ(host.modifications, 1);
}

// Every real field reads what is typed as an element value does.
TEST_F(SettingsDialogsTest, RealFieldsReadSuffixesAndRefuseOtherText) {
  const struct { const char* dialog; int id; const char* label; double* setting; } fields[] = {
      {"sim_dlg", 1000, "Final Time", &run_tsim},  {"sim_dlg", 1001, "Step Size", &run_td},
      {"sim_dlg", 1002, "Start time", &run_start_si}, {"sim_dlg", 1003, "End time", &run_finish_si},
      {"SS_Dlg", 1076, "Tolerance", &run_sstol_f}, {"SS_Dlg", 1079, "Tolerance", &run_sstol_c},
  };
  const double kept = 1.23456789e-3;  // shown as "0.0012346"
  const struct { const char* text; double value; } rows[] = {
      {"10m", 0.01}, {"2u", 2e-6}, {" 4k7 ", 4700.0}, {"1e-3", 0.001}, {nullptr, kept},  // left as shown
      {"0.002x", -1}, {"", -1}, {"inf", -1},                                         // refused
  };
  for (const auto& f : fields)
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(f.label) + " " + (row.text ? row.text : "(as shown)"));
      run_start_si = 0.0;
      run_finish_si = run_tsim = 1e4;  // a save window that holds every start tried
      *f.setting = kept;
      dialogs.refusals.clear();
      dialogs.steps = {{f.dialog, {}, {}, DialogEnd::Ok}};
      if (row.text) dialogs.steps.front().texts[f.id] = row.text;
      if (row.value < 0) dialogs.steps.push_back({f.dialog, {}, {}, DialogEnd::Cancel});
      f.id < 1004 ? sim.OnSimulationParameters() : sim.OnSsOptions();
      EXPECT_EQ(*f.setting, row.value < 0 ? kept : row.value);
      EXPECT_EQ(dialogs.refusals, row.value < 0 ? std::vector<std::string>{NotANumber(f.label)}
                                                : std::vector<std::string>{});
    }
}

TEST_F(SettingsDialogsTest, SteadyStateMethodsMapInTheirOwnOrder) {
  const struct { int button, method; } cases[] = {{1009, 1}, {1012, 2}, {1010, 3}, {1011, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    run_ssmethod = c.method == 1 ? 4 : 1;
    dialogs.steps = {{"SS_Dlg", {}, {c.button}, DialogEnd::Ok}, {"SS_Dlg", {}, {}, DialogEnd::Cancel}};
    sim.OnSsOptions();
    EXPECT_EQ(run_ssmethod, c.method);
    sim.OnSsOptions();  // opens with that method alone checked
    for (int id : {1009, 1012, 1010, 1011}) EXPECT_EQ(dialogs.opened.back().Find(id)->checked, id == c.button) << id;
  }
}

// What the engine would refuse is refused in the dialog, naming the field: an
// empty save window, negative cycles. A window ending after the final time is fine.
TEST_F(SettingsDialogsTest, EmptySaveWindowAndNegativeCyclesRefused) {
  const std::string window = "The save interval is empty: \"Start time\" must be below ";
  const struct { const char* dialog; std::map<int, std::string> texts; std::string message; } cases[] = {
      {"sim_dlg", {{1002, "8m"}, {1003, "2m"}}, window + "\"End time\"."},
      {"sim_dlg", {{1002, "2m"}, {1003, "2m"}}, window + "\"End time\"."},
      {"sim_dlg", {{1000, "5m"}, {1002, "20m"}, {1003, "30m"}}, window + "\"Final Time\"."},
      {"sim_dlg", {{1000, "5m"}, {1002, "4m"}, {1003, "30m"}}, ""},
      {"SS_Dlg", {{1077, "-3"}}, "\"Max. # of Cycles\": please enter an integer between 0 and 2147483647."},
      {"SS_Dlg", {{1081, "-2"}}, "\"# cycles\": please enter an integer between 0 and 2147483647."},
      {"SS_Dlg", {{1077, "0"}, {1081, "3"}}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    dialogs.refusals.clear();
    dialogs.steps = {{c.dialog, c.texts, {}, DialogEnd::Ok}};
    if (!c.message.empty()) dialogs.steps.push_back({c.dialog, {}, {}, DialogEnd::Cancel});
    std::string(c.dialog) == "sim_dlg" ? sim.OnSimulationParameters() : sim.OnSsOptions();
    EXPECT_EQ(dialogs.refusals, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
  }
  EXPECT_EQ(std::tie(run_tsim, run_start_si, run_finish_si, run_nclkss), std::make_tuple(5e-3, 4e-3, 30e-3, 0));
}

TEST_F(SettingsDialogsTest, CyclesReachedUncheckedStoresNoCyclesAndComesBackUnchecked) {
  dialogs.steps = {{"SS_Dlg", {{1081, "7"}, {1076, "2e-6"}, {1077, "40"}}, {1078}, DialogEnd::Ok},
                   {"SS_Dlg", {{1079, "-1"}}, {}, DialogEnd::Ok},
                   {"SS_Dlg", {{1079, "nan"}}, {}, DialogEnd::Ok},
                   {"SS_Dlg", {}, {}, DialogEnd::Cancel}};
  sim.OnSsOptions();
  EXPECT_EQ(std::tie(run_cycles_togo, run_stop_close, run_nclkss), std::make_tuple(0, 1, 40));
  EXPECT_EQ(run_sstol_f, 2e-6);
  sim.OnSsOptions();
  EXPECT_FALSE(dialogs.opened[1].Find(1080)->checked);
  EXPECT_TRUE(dialogs.opened[1].Find(1078)->checked);
  const std::vector<std::string> refused{"\"Tolerance\" must be a finite number of 0 or more.",
                                         NotANumber("Tolerance")};
  EXPECT_EQ(dialogs.refusals, refused);
  EXPECT_EQ(run_sstol_c, 1.0);
  EXPECT_EQ(host.modifications, 1);
}

TEST_F(SettingsDialogsTest, OptionsAndCyclesStoreOnOkOnly) {
  dialogs.steps = {{"OPT_Dlg", {}, {1081, 1082}, DialogEnd::Cancel},
                   {"OPT_Dlg", {}, {1081, 1082}, DialogEnd::Ok},
                   {"SSCY_Dlg", {{1000, "0"}}, {}, DialogEnd::Ok},
                   {"SSCY_Dlg", {{1000, "21"}}, {}, DialogEnd::Ok},
                   {"SSCY_Dlg", {{1000, "20"}}, {}, DialogEnd::Ok}};
  sim.OnSimulationOptions();
  EXPECT_EQ(std::tie(run_sv, run_ld, host.modifications), std::make_tuple(1, 0, 0));
  sim.OnSimulationOptions();
  EXPECT_EQ(std::tie(run_sv, run_ld, host.modifications), std::make_tuple(0, 1, 1));
  sim.OnSsLimsimCycles();
  EXPECT_EQ(dialogs.refusals.size(), 2u);
  EXPECT_EQ(run_none_c, 20);
  EXPECT_EQ(host.modifications, 1);  // no undo point for the cycles
}

}  // namespace
