// Hand-written netlists of the steady-state tests, and reading their results:
// run_method(1, "buck.m", 2, {"-nclkss", "100"}).x are the two states at the end (Newton).
#pragma once
#include <cmath>
#include <string>
#include <vector>

#include "buck_netlist.h"
#include "driver_run.h"
#include "common/recording_run_services.h"

// Buck converter, 12 V, 100 kHz, duty 0.5 by two clock edges (continuous conduction).
inline const std::string buck_ccm = buck_netlist_text("1.0000e+00", "1.0000e-07", "500");

// Peak-current-mode buck: the clock turns S1 on, S1 turns off when the inductor current
// reaches 1 A (condition 3: 1 - i_L <= 0), so the duty depends on the state. The cycle is
// anchored where the limit turns S1 off (reference setting S1 off, D1 on). With max_duty a
// second clock turns S1 off at 90 % of the period: the limit has always turned it off
// before, so that edge keeps the setting, and it falls inside the reference interval.
inline std::string buck_peak_current(bool max_duty) {
  return netlist_of(std::string("tsim = 1\ntd = 1e-7\npoints = 500\nswinit = [ 0 1 ]\nx0 = [ 0\n 0 ]\ntmd = [ 0 1e-5 1 1") +
                        (max_duty ? "\n 9e-6 1e-5 0 1 ]\n" : " ]\n") +
                        "Cy = [ 1 0 0\n -1 0 0\n 0 0 -1 ]\nCt = [ 0 0 0 0\n 0 0 0 0\n 0 0 0 0 ]\nCsw = [ 1\n 1\n 1 ]\n"
                        "Cc = [ 0\n 0\n 1 ]\nthon(1,:)=[ 2 2 ];\nthoff(1,:)=[ 2 1 ];\nthoff(2,:)=[ 1 3 ];\n",
                    {"V1 1 0 12", "S1 1 2 0", "D1 0 2 0", "L1 2 3 1e-4", "C1 3 0 1e-4", "R1 3 0 5", "I01 3 0 0"},
                    {"I D1", "V I01|Vout", "I L1"}, 4);
}

// A thyristor rectifier fed by a 50 Hz sine source of amplitude 100 V (an LC oscillator
// Ls1/Cs1 copied by E1, starting at phase 0: V_Cs1 = 0, I_Ls1 = 100; X = 1 / (2 pi 50)).
// The thyristor S1, turned off when its current crosses zero, is fired by a clock at 90
// degrees each period (5 ms, where I_Ls1 is 100 cos(90 deg) = 0 and only drifts by
// rounding from cycle to cycle), into 10 ohm and 1 mF || 100 ohm. States: V_Cs1, V_C1, I_Ls1.
inline const std::string thyristor_rectifier = netlist_of(
    "tsim = 1\ntd = 1e-5\npoints = 500\nswinit = [ 1 ]\nx0 = [ 0\n 0\n 100 ]\ntmd = [ 5e-3 2e-2 1 1 ]\n"
    "Cy = [ 1 0 ]\nCt = [ 0 0 0 0 ]\nCsw = [ 1 ]\nCc = [ 0 ]\nthoff(1,:)=[ 1 1 ];\n",
    {"Ls1 0 4 3.18309886183791e-03", "Cs1 4 0 3.18309886183791e-03", "E1 1 0 1 Cs1", "S1 1 2 0", "V01 2 3 0",
     "R1 3 5 10", "C1 5 0 1e-3", "R2 5 0 100", "I01 5 0 0"},
    {"I V01", "V I01|Vout"}, 6);

// Half-wave diode rectifier on the same sine source with a capacitor filter; its cycle
// starts when the diode turns off (a state-dependent instant). States: V_Cs1, V_C1, I_Ls1.
inline const std::string diode_rectifier = netlist_of(
    "tsim = 1\ntd = 1e-5\npoints = 500\nswinit = [ 0 ]\nx0 = [ 0\n 0\n 100 ]\nCy = [ 1 0\n -1 0 ]\n"
    "Ct = [ 0 0 0 0\n 0 0 0 0 ]\nCsw = [ 1\n 1 ]\nCc = [ 0\n 0 ]\nthon(1,:)=[ 1 2 ];\nthoff(1,:)=[ 1 1 ];\n",
    {"Ls1 0 4 3.18309886183791e-03", "Cs1 4 0 3.18309886183791e-03", "E1 1 0 1 Cs1", "R1 1 2 1", "D1 2 3 0",
     "C1 3 0 1e-3", "R2 3 0 100", "I01 3 0 0"},
    {"I D1", "V I01|Vout"}, 5);

// H-bridge, 48 V into R1 + L1 (times, r and l as the netlist writer writes them).
inline std::string h_bridge_of(const std::string& tsim, const std::string& td, const std::string& tmd,
                               const std::string& r, const std::string& l) {
  return netlist_of("tsim = " + tsim + "\ntd = " + td + "\npoints = 1000\nswinit = [ 0 0 0 0 1 0 0 1 ]\nx0 = [ 0 ]\ntmd = [ " +
                        tmd + " ]\n" + diode_conditions(4, 5),
                    {"V1 1 0 48", "D1 2 1 0", "D2 0 2 0", "D3 3 1 0", "D4 0 3 0", "S1 1 2 0", "S2 2 0 0", "S3 1 3 0",
                     "S4 3 0 0", "R1 2 4 " + r, "L1 4 3 " + l},
                    {"I D1", "I D2", "I D3", "I D4", "I L1|IL"}, 5);
}

// H-bridge, 48 V into 3.3 ohm + 470 uH, 25 kHz: S1 and S4 on for 18.5 us from each 40 us
// edge, S2 and S3 for 18.5 us from the half period, 1.5 us dead time, a diode across each
// switch (D1..D4 are switches 1..4, S1..S4 5..8). The reference setting, S1 and S4 on with
// the diodes off, comes back only where D1 and D4 stop carrying the freewheeling current:
// at a zero crossing of i_L whose phase moves until the circuit settles. State: I_L1.
inline const std::string h_bridge = h_bridge_of(
    "4e-3", "2e-7",
    "0 4e-5 1 5\n 1.85e-5 4e-5 0 5\n 0 4e-5 1 8\n 1.85e-5 4e-5 0 8\n 2e-5 4e-5 1 6\n 3.85e-5 4e-5 0 6\n"
    " 2e-5 4e-5 1 7\n 3.85e-5 4e-5 0 7",
    "3.3", "4.7e-4");

// The same bridge a thousand times faster (25 MHz, 470 nH) into 0.33 ohm: i_L settles over
// some 36 periods, while the 1e-12 s within which Skelboe's store first takes two periods
// as equal is 2.5e-5 of one, so that the zero crossing still moves when it does.
inline const std::string h_bridge_fast = h_bridge_of(
    "4e-5", "2e-10",
    "0 4e-8 1 5\n 1.85e-8 4e-8 0 5\n 0 4e-8 1 8\n 1.85e-8 4e-8 0 8\n 2e-8 4e-8 1 6\n 3.85e-8 4e-8 0 6\n"
    " 2e-8 4e-8 1 7\n 3.85e-8 4e-8 0 7",
    "0.33", "4.7e-7");

// Buck converter in discontinuous conduction: 12 V, S1 on for the first half of each
// period T (both switches off at the start), D1, L1 and C1 scaled with T (T x 1 H/s and
// T x 10 F/s), R1 50 ohm: the same cycle at every frequency in its own time. A cycle
// begins where D1 stops conducting, with both switches off. Numbers as the netlist
// writer writes them ("1e-7").
inline std::string buck_dcm(const std::string& period, const std::string& half, const std::string& l,
                            const std::string& c) {
  return netlist_of("tsim = 1\ntd = 1e-9\npoints = 500\nswinit = [ 0 0 ]\nx0 = [ 0\n 0 ]\ntmd = [ 0 " + period +
                        " 1 1\n " + half + " " + period + " 0 1 ]\n" +
                        "Cy = [ 1 0\n -1 0 ]\nCt = [ 0 0 0 0\n 0 0 0 0 ]\nCsw = [ 1\n 1 ]\nCc = [ 0\n 0 ]\n"
                        "thon(1,:)=[ 2 2 ];\nthoff(1,:)=[ 2 1 ];\n",
                    {"V1 1 0 12|V1", "S1 1 2 0|S1", "D1 0 2 0|D1", "L1 2 3 " + l + "|L1", "C1 3 0 " + c + "|C1",
                     "R1 3 0 50|R1", "I01 3 0 0|Vout"},
                    {"I D1", "V I01|Vout"}, 4);
}

struct pss_state {
  run_output run;
  std::vector<double> x;   // the states of the state file
  int cycles = -1;         // from "Steady state reached in %d cycles"
  std::vector<std::string> boxes;
};

// Runs a steady-state search of the netlist with the method (1 Newton, 2 Skelboe,
// 3 Broyden, 4 Picard) and reads n_x states from the state file (after the four times and
// the switch line).
inline pss_state run_method(int method, const std::string& netlist, int n_x, std::vector<std::string> options) {
  recording_run_services host;
  main_window_scope scope(host);
  options.insert(options.begin(), "-ss");
  options.push_back(netlist);
  options.push_back("out.plt");
  pss_state s;
  s.run = run_simu(options, method);
  const std::string base = netlist.substr(0, netlist.rfind('.'));
  std::vector<double> ini = read_numbers(base + ".ini");
  for (int k = 0; k < n_x && 5 + k < static_cast<int>(ini.size()); ++k) s.x.push_back(ini[5 + k]);
  const std::string key = "Steady state reached in ";
  for (const std::string* text : {&s.run.err, &s.run.out}) {
    const size_t at = text->find(key);
    if (at != std::string::npos) {
      s.cycles = std::stoi(text->substr(at + key.size()));
      break;
    }
  }
  for (const recorded_box& b : host.boxes) s.boxes.push_back(b.text);
  return s;
}

inline double relative_gap(const std::vector<double>& a, const std::vector<double>& b) {
  double e = a.size() == b.size() && !a.empty() ? 0.0 : INFINITY;
  for (size_t k = 0; k < a.size() && k < b.size(); ++k)
    e = std::fmax(e, std::fabs(a[k] - b[k]) / std::fmax(std::fabs(b[k]), 1e-3));
  return e;
}
