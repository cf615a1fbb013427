// Whole transient runs, netlist to .plt and .ini, against closed-form answers: linear
// circuits, breakpoints, clock edges, events and threshold crossings, the ends of the run
// and of the save window, state bounds, the multiplier, and switch settings that the
// sources' values keep consistent.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "buck_netlist.h"
#include "common/temp_dir.h"
#include "driver_run.h"
#include "common/recording_run_services.h"

namespace {

const double r_on = 0.001, r_off = 1e6 + 0.001;
const double tau_on = (1e3 + r_on) * 1e-6, tau_off = (1e3 + r_off) * 1e-6;

// Digits enough to read back as v.
std::string exact(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

// v(t) of a capacitor charging from v0 towards target with time constant tau.
double charge(double v0, double target, double tau, double t) { return target + (v0 - target) * std::exp(-t / tau); }

const std::vector<std::string> rc_rows = {"V1 1 0 10", "R1 1 2 1e3", "C1 2 0 1e-6", "I01 2 0 0"};
const std::vector<std::string> vc_out = {"V I01|Vc"};

// V1 = 10 V charges C1 through S1 and R1; a clock turns S1 on at delay + k 100 us; V2
// (feeding nothing plotted) steps to 5 V at the event.
std::string clocked_rc(const std::string& delay, const std::string& event) {
  return netlist_of("tsim = 1e-3\ntd = 1e-5\npoints = 100\nswinit = [ 1 ]\nx0 = [ 0 ]\ntmd = [ " + delay +
                        " 1e-4 1 1\n" + event + " 1e5 2 1 ]\nvgs = [ 10\n 5 ]\n",
                    {"V1 1 0 10", "S1 1 2 0", "R1 2 3 1e3", "C1 3 0 1e-6", "V2 4 0 1", "R2 4 0 1e3", "I01 3 0 0"},
                    vc_out, 5);
}

// At 1 ms V1 steps to 5 V (event at te) and a clock turns S1 on; with a threshold on time
// (Ct) S2 turns off at tc. Three RC branches: Va, Vb, Vc.
std::string three_branches(const std::string& te, bool with_s2) {
  std::string p = "tsim = 2e-3\ntd = 1e-5\npoints = 200\nswinit = [ 0" + std::string(with_s2 ? " 1" : "") +
                  " ]\nx0 = [ 0\n 0" + (with_s2 ? "\n 0" : "") + " ]\ntmd = [ 1e-3 1e5 1 1\n" + te +
                  " 1e5 2 1 ]\nvgs = [ 5\n 10" + (with_s2 ? "\n 10" : "") + " ]\n";
  std::vector<std::string> x = {"V1 1 0 0", "R1 1 2 1e3", "C1 2 0 1e-6", "V2 3 0 10", "S1 3 4 0", "R2 4 5 1e3",
                                "C2 5 0 1e-6"};
  if (with_s2) {
    p += "Cy = [ 0 0 0 ]\nCt = [ -1 0 0 0 ]\nCsw = [ 1 ]\nCc = [ 9.99999950000000e-04 ]\nthoff(1,:)=[ 2 1 ];\n";
    x.insert(x.end(), {"V3 6 0 10", "S2 6 7 0", "R3 7 8 1e3", "C3 8 0 1e-6"});
  }
  x.insert(x.end(), {"I01 2 0 0", "I02 5 0 0"});
  if (with_s2) x.push_back("I03 8 0 0");
  std::vector<std::string> y = {"V I01|Va", "V I02|Vb"};
  if (with_s2) y.push_back("V I03|Vc");
  return netlist_of(p, x, y, with_s2 ? 9 : 6);
}

// The buck's state file after whole periods from rest: the switch line "10", v_C, i_L.
std::vector<double> buck_line(int periods) {
  std::vector<double> x = buck_after(periods);
  return {10.0, x[0], x[1]};
}

// v(t) of an RC of time constant tau from 0 V, its target stepping to each second at
// each first (the first at time 0).
std::function<double(double)> stepped_rc(std::vector<std::pair<double, double>> at, double tau) {
  return [at, tau](double t) {
    double v = 0.0;
    for (std::size_t k = 0; k < at.size() && at[k].first < t; ++k)
      v = charge(v, at[k].second, tau, (k + 1 < at.size() ? std::fmin(t, at[k + 1].first) : t) - at[k].first);
    return v;
  };
}

struct run_case {
  const char* label;
  std::string net;
  double tsim;                       // where the run ends: the state file's time
  std::vector<double> end;           // the state file from its fifth number: switch line, states
  std::function<double(double)> v;   // the first column against time, within tol (empty or NaN: unchecked)
  double tol = 0.0;
  std::string header = "Time Vc ";
  double start_si = 0.0, finish_si = 1e300;
  double last = NAN;                 // the table's last instant (NaN: the run's or the window's end), exactly
  std::vector<double> instants = {};   // the distinct table instants within 1e-9 s of the first
  int rows = -1;
  double distinct_before = 0.0;      // no instant before this one is written twice
};

std::vector<run_case> cases() {
  const std::string rc = "td = 1e-5\npoints = 100\nx0 = [ 0 ]\n";
  auto rc_step = [](double t) { return charge(0.0, 10.0, 1e-3, t); };
  auto vc1 = [](double t) { return charge(0.0, 10.0, tau_on, t); };
  // Series R-L-C without source, C at 1 V: v = e^(-a t) (cos w t + a/w sin w t).
  const double a = 10.0 / (2 * 1e-3), w = std::sqrt(1.0 / (1e-3 * 1e-6) - a * a);
  auto rlc_v = [a, w](double t) { return std::exp(-a * t) * (std::cos(w * t) + a / w * std::sin(w * t)); };
  const double rlc_i = 1e-6 * std::exp(-a * 1e-3) * (w + a * a / w) * std::sin(w * 1e-3);
  // Thevenin of V1 (stepping at 1 ms) with I1 = 1 mA: 1 V before, 6 V after.
  auto steps = [](double t) { return t <= 1e-3 ? charge(0, 1, 1e-3, t) : charge(charge(0, 1, 1e-3, 1e-3), 6, 1e-3, t - 1e-3); };
  auto from_zero = [](double t) { return t <= 1e-3 ? charge(0, 5, 1e-3, t) : charge(charge(0, 5, 1e-3, 1e-3), 10, 1e-3, t - 1e-3); };
  // S1, on from the start, turns off at ts: when 5 - v_C <= 0, or when it has been on for 0.3 ms.
  auto opens_at = [](double ts) {
    return [ts](double t) { return t <= ts ? charge(0, 10, tau_on, t) : charge(charge(0, 10, tau_on, ts), 10, tau_off, t - ts); };
  };
  auto opening = [](const std::string& cy, const std::string& ct, const std::string& cc) {
    return netlist_of("tsim = 2e-3\ntd = 1e-5\npoints = 200\nswinit = [ 1 ]\nx0 = [ 0 ]\nCy = [ " + cy + " ]\nCt = [ " + ct +
                          " ]\nCsw = [ 1 ]\nCc = [ " + cc + " ]\nthoff(1,:)=[ 1 1 ];\n",
                      {"V1 1 0 10", "S1 1 2 0", "R1 2 3 1e3", "C1 3 0 1e-6", "I01 3 0 0"}, vc_out, 4);
  };
  // The events at or near 1 ms: Va from the event at te, Vb on from the edge at tb, Vc off from tc.
  auto branches = [](double te, double tb) {
    return std::vector<double>{1.0, charge(0, 5, 1e-3, 2e-3 - te), charge(charge(0, 10, tau_off, tb), 10, tau_on, 2e-3 - tb)};
  };
  std::vector<double> three = branches(1e-3, 1e-3);
  three[0] = 10.0;
  three.push_back(charge(charge(0, 10, tau_on, 1e-3), 10, tau_off, 1e-3));
  const double late = 5.0800005e-4;
  const double d_on = -5.0 * 0.001 / 1.001, d_off = -5.0 * r_off / (1.0 + r_off);

  std::vector<run_case> c;
  c.push_back({"rc, tsim inside a step", netlist_of("tsim = 7.35e-4\ntd = 1e-5\npoints = 49\nx0 = [ 0 ]\n", rc_rows, vc_out, 3),
               7.35e-4, {rc_step(7.35e-4)}, rc_step, 5e-5});
  c.back().rows = 50;
  c.push_back({"rc, save window", netlist_of("tsim = 5e-3\n" + rc, rc_rows, vc_out, 3), 5e-3, {rc_step(5e-3)},
               rc_step, 5e-5});
  c.back().start_si = 1e-3;
  c.back().finish_si = 2e-3;
  // A bound on one state leaves the other free to swing below zero.
  c.push_back({"rlc ring-down", netlist_of("tsim = 1e-3\ntd = 1e-6\npoints = 100\nx0 = [ 1\n 0 ]\nstmax = [ 'V_C1 5' ]\n",
                                           {"R1 1 2 10", "L1 2 0 1e-3", "C1 1 0 1e-6", "I01 1 0 0"}, vc_out, 3),
               1e-3, {rlc_v(1e-3), rlc_i}, rlc_v, 2e-6});
  // Exactly critical damping (R = 2 sqrt(L/C)): a double eigenvalue, v = (1 + a t) e^(-a t).
  const double ac = std::sqrt(1.0 / (1e-3 * 1e-6));
  auto critical = [ac](double t) { return (1.0 + ac * t) * std::exp(-ac * t); };
  c.push_back({"rlc at critical damping",
               netlist_of("tsim = 5e-5\ntd = 1e-6\npoints = 100\nx0 = [ 1\n 0 ]\n",
                          {"R1 1 2 63.245553203367585", "L1 2 0 1e-3", "C1 1 0 1e-6", "I01 1 0 0"}, vc_out, 3),
               5e-5, {critical(5e-5), 1e-6 * ac * ac * 5e-5 * std::exp(-ac * 5e-5)}, critical, 1e-6});
  c.push_back({"source stepping at a breakpoint",
               netlist_of("tsim = 3e-3\ntd = 1e-5\npoints = 300\nx0 = [ 0 ]\ntmd = [ 1e-3 1e5 2 1 ]\nvgs = [ 5\n 1e-3 ]\n",
                          {"V1 1 0 0", "R1 1 2 1e3", "C1 2 0 1e-6", "I1 0 2 1e-3", "I01 2 0 0"}, vc_out, 3),
               3e-3, {steps(3e-3)}, steps, 3e-5});
  c.back().instants = {1e-3};
  c.push_back({"breakpoint at time zero",
               netlist_of("tsim = 2e-3\ntd = 1e-5\npoints = 200\nx0 = [ 0 ]\ntmd = [ 0 1e5 2 1\n 1e-3 1e5 2 2 ]\nvgs = [ 5 10 ]\n",
                          rc_rows, vc_out, 3),
               2e-3, {from_zero(2e-3)}, from_zero, 5e-5});
  for (auto [label, net, ts] : {std::tuple{"threshold opens the switch", opening("-1", "0 0 0 0", "5"), tau_on * std::log(2.0)},
                                 std::tuple{"on-time opens the switch", opening("0", "0 0 0 -1", "3e-4"), 3e-4}})
    c.push_back({label, net, 2e-3, {0.0, opens_at(ts)(2e-3)}, opens_at(ts), 1e-5});
  c.push_back({"clock edge, event and crossing in one step", three_branches("1e-3", true), 2e-3, three,
               [](double t) { return t <= 1e-3 ? 0.0 : charge(0, 5, 1e-3, t - 1e-3); }, 1e-4, "Time Va Vb Vc "});
  c.push_back({"event within 1e-10 s of a clock edge", three_branches("9.9999995e-04", false), 2e-3,
               branches(9.9999995e-4, 9.9999995e-4), {}, 0.0, "Time Va Vb "});
  c.back().instants = {9.9999995e-4};
  c.push_back({"event just before a clock edge", three_branches("9.9999980e-04", false), 2e-3,
               branches(9.999998e-4, 1e-3), {}, 0.0, "Time Va Vb "});
  c.back().instants = {9.999998e-4, 1e-3};
  c.push_back({"clock edge just past tsim", clocked_rc("5e-11", "7e-4"), 1e-3, {1.0, vc1(1e-3)}, vc1, 1e-5});
  c.push_back({"event just past tsim", clocked_rc("2e-3", "1.00000005e-03"), 1e-3, {1.0, vc1(1e-3)}, vc1, 1e-5});
  c.push_back({"clock edge just past the window end", clocked_rc("5e-11", "7e-4"), 1e-3, {1.0, vc1(1e-3)}, vc1, 1e-5});
  c.back().finish_si = 5e-4;
  c.push_back({"crossing in a short final step",
               netlist_of("tsim = 1e-3\ntd = 1e-5\npoints = 100\nswinit = [ 1 ]\nx0 = [ 0 ]\ntmd = [ 9.9999995e-04 1e5 2 1 ]\n"
                          "vgs = [ 10 ]\nCy = [ 0 ]\nCt = [ -1e3 0 0 0 ]\nCsw = [ 1 ]\nCc = [ 9.9999998e-01 ]\n"
                          "thoff(1,:)=[ 1 1 ];\n",
                          {"V1 1 0 10", "S1 1 2 0", "R1 2 3 1e3", "C1 3 0 1e-6", "I01 3 0 0"}, vc_out, 4),
               1e-3, {0.0, vc1(1e-3)}, vc1, 1e-5});
  // S2 turns off at 0.498 ms, before the window's end; the edge after it is not cut.
  c.push_back({"window end already behind",
               netlist_of("tsim = 1e-3\ntd = 1e-5\npoints = 100\nswinit = [ 0 1 ]\nx0 = [ 0 ]\ntmd = [ 5.0800005e-04 1e5 1 1 ]\n"
                          "Cy = [ 0 ]\nCt = [ -1e3 0 0 0 ]\nCsw = [ 2 ]\nCc = [ 4.98e-01 ]\nthoff(1,:)=[ 2 1 ];\n",
                          {"V1 1 0 10", "S1 1 2 0", "R1 2 3 1e3", "C1 3 0 1e-6", "S2 1 4 0", "R2 4 0 1e3", "I01 3 0 0"},
                          vc_out, 5),
               1e-3, {10.0, charge(charge(0, 10, tau_off, late), 10, tau_on, 1e-3 - late)}, {}, 0.0});
  c.back().finish_si = 5e-4;
  c.back().last = 4.98e-4;   // no row between the switching and the window end
  c.push_back({"buck, 20 periods", buck_netlist_text("2.0000e-04", "1.0000e-07", "2000"), 2e-4, buck_line(20), {}, 0.0,
               "Time Vout "});
  // 200 periods: the summed edge times land a few ulps past 2 ms.
  c.push_back({"buck, 200 periods", buck_netlist_text("2.0000e-03", "1.0000e-07", "5000"), 2e-3, {10.0}, {}, 0.0,
               "Time Vout "});
  // A window that starts at tsim keeps that instant alone: its rows before and after the
  // clock edge there (an inverted window is refused).
  c.push_back({"buck, window of the last instant", buck_netlist_text("2.0000e-04", "1.0000e-07", "2000"), 2e-4,
               buck_line(20), {}, 0.0, "Time Vout "});
  c.back().start_si = 2e-4;
  c.back().rows = 2;
  // D1 starts on with a reverse current: it turns off at the first instant.
  c.push_back({"diode on with reverse current",
               netlist_of("tsim = 1e-5\ntd = 1e-6\npoints = 100\nswinit = [ 1 ]\nCy = [ 1\n -1 ]\nCt = [ 0 0 0 0\n 0 0 0 0 ]\n"
                          "Csw = [ 1\n 1 ]\nCc = [ 0\n 0 ]\nthon(1,:)=[ 1 2 ];\nthoff(1,:)=[ 1 1 ];\n",
                          {"V1 1 0 -5", "R1 1 2 1", "D1 2 0 0", "I01 2 0 0"}, {"I D1", "V I01|Vd"}, 3),
               1e-5, {0.0}, [d_on, d_off](double t) { return t == 0.0 ? d_on : t <= 1e-10 ? NAN : d_off; }, 1e-5, "Time Vd "});
  c.back().instants = {0.0, 1e-10};
  c.push_back({"upper state bound", netlist_of("tsim = 5e-3\ntd = 1e-5\npoints = 500\nx0 = [ 0 ]\nstmax = [ 'V_C1 5' ]\n", rc_rows, vc_out, 3),
               5e-3, {5.0}, [rc_step](double t) { return std::fmin(rc_step(t), 5.0); }, 5e-5});
  // With a bound on one state, the others stop at +-1e30: a source of 1e36 A into 1 F.
  c.push_back({"default state bounds", netlist_of("tsim = 1e-5\ntd = 1e-7\npoints = 100\nx0 = [ 0 ]\nstmin = [ 'V_C1 -1' ]\n",
                                                  {"I1 0 1 1e36", "C1 1 0 1", "I01 1 0 0"}, vc_out, 2),
               1e-5, {1e30}, [](double t) { return std::fmin(1e36 * t, 1e30); }, 1e24});
  // V#M1 = 0.5 v(I02) v(I03) = 0.5 * 2 * 3 across R3, from the first sample on.
  c.push_back({"multiplier", netlist_of("tsim = 1e-4\ntd = 1e-6\npoints = 100\n",
                                        {"V1 1 0 2", "R1 1 0 1e3", "V2 2 0 3", "R2 2 0 1e3", "V#M1 3 0 1 0.5 I02 I03|MUL1",
                                         "R3 3 0 1e3", "I01 3 0 0", "I02 1 0 0", "I03 2 0 0"},
                                        {"V I01|Vp", "V I02", "V I03"}, 4),
               1e-4, {}, [](double) { return 3.0; }, 0.0, "Time Vp "});
  // Settings that the sources' values at the instant keep consistent. A 10 A source fed
  // through a bridge into R || C pauses at 0 A from 0.2 to 0.6 ms: all four diodes turn
  // off, and D1, D4 on again when it steps back (the off diodes leak 2e-6 of it).
  c.push_back({"current source pausing in a diode bridge",
               netlist_of("tsim = 1e-3\ntd = 1e-5\npoints = 100\nswinit = [ 1 0 0 1 ]\nx0 = [ 0 ]\n"
                          "tmd = [ 2e-4 1e5 2 1\n 6e-4 1e5 2 2 ]\nvgs = [ 0 10 ]\n" + diode_conditions(4, 5),
                          {"I1 2 1 10", "D1 1 3 0", "D2 2 3 0", "D3 0 1 0", "D4 0 2 0", "R1 3 0 1", "C1 3 0 1e-4", "I01 3 0 0"},
                          {"I D1", "I D2", "I D3", "I D4", "V I01|Vc"}, 4),
               1e-3, {1001.0}, stepped_rc({{0, 10}, {2e-4, 0}, {6e-4, 10}}, 1e-4), 5e-5});
  // I1 at 0 A behind S1, which closes at 0.1 ms; 1 A into R || C from 0.2 to 0.5 ms; S1
  // opens at 0.7 ms.
  auto pulse = stepped_rc({{0, 0}, {2e-4, 10}, {5e-4, 0}}, 1e-4);
  c.push_back({"current source switched at 0 A",
               netlist_of("tsim = 1e-3\ntd = 1e-5\npoints = 100\nswinit = [ 0 ]\nx0 = [ 0 ]\ntmd = [ 1e-4 1e5 1 1\n"
                          " 2e-4 1e5 2 1\n 5e-4 1e5 2 2\n 7e-4 1e5 0 1 ]\nvgs = [ 1 0 ]\n",
                          {"I1 0 1 0", "S1 1 2 0", "R1 2 0 10", "C1 2 0 1e-5", "I01 2 0 0"}, vc_out, 3),
               1e-3, {0.0, pulse(1e-3)}, pulse, 1e-6});
  // V1 at 0 V shorted by S1, which opens at 0.1 ms; 10 V through R1 into C1 from 0.2 to
  // 0.5 ms; S1 shorts V1 again from 0.7 ms.
  c.push_back({"voltage source shorted at 0 V",
               netlist_of("tsim = 1e-3\ntd = 1e-5\npoints = 100\nswinit = [ 1 ]\nx0 = [ 0 ]\ntmd = [ 1e-4 1e5 0 1\n"
                          " 2e-4 1e5 2 1\n 5e-4 1e5 2 2\n 7e-4 1e5 1 1 ]\nvgs = [ 10 0 ]\n",
                          {"V1 1 0 0", "S1 1 0 0", "R1 1 2 10", "C1 2 0 1e-5", "I01 2 0 0"}, vc_out, 3),
               1e-3, {1.0, pulse(1e-3)}, pulse, 1e-6});
  // 0.3 V supplies: V1 and V2 OR-ed onto R1 by D1 and D2, which share its current (both
  // on: 0.0005 ohm in series), and V3 + V4 (0.1 + 0.2, a few ulps off) joined to V1 by S1.
  c.push_back({"equal supplies in parallel",
               netlist_of("tsim = 1e-3\ntd = 1e-5\npoints = 100\nswinit = [ 1 1 1 ]\n" + diode_conditions(2, 3),
                          {"V1 1 0 0.3", "V2 2 0 0.3", "D1 1 3 0", "D2 2 3 0", "V3 4 5 0.1", "V4 5 0 0.2", "S1 4 1 0",
                           "R1 3 0 10", "I01 3 0 0"},
                          {"I D1", "I D2", "V I01|Vb"}, 6),
               1e-3, {111.0}, [](double) { return 0.3 * 10.0 / (10.0 + r_on / 2); }, 1e-7, "Time Vb "});
  // Two RC branches (Vb: 500 ohm, Va: 1 kohm, 1 uF) whose sources step from 10 V to 5 V
  // by two events due together: each value column is the whole source vector from its
  // instant, so the latest (of equal instants the highest-numbered) is in force after both.
  auto two_steps = [](const std::string& tmd, const std::string& vgs) {
    return netlist_of("tsim = 1e-3\ntd = 1e-5\npoints = 100\nx0 = [ 0\n 0 ]\ntmd = [ " + tmd + " ]\nvgs = [ " + vgs + " ]\n",
                      {"V1 1 0 10", "R1 1 2 1e3", "C1 2 0 1e-6", "V2 3 0 10", "R2 3 4 500", "C2 4 0 1e-6", "I01 2 0 0",
                       "I02 4 0 0"},
                      {"V I02|Vb", "V I01|Va"}, 5);
  };
  const auto vb = stepped_rc({{0, 10}, {3e-4, 5}}, 5e-4);
  const std::vector<double> both = {stepped_rc({{0, 10}, {3e-4, 5}}, 1e-3)(1e-3), vb(1e-3)};
  for (auto [label, tmd, vgs] :
       {std::tuple{"two source steps one double apart", "3e-4 1e5 2 1\n 3.0000000000000003e-4 1e5 2 2", "5 5\n 10 5"},
        std::tuple{"two source steps one double apart, later one first", "3.0000000000000003e-4 1e5 2 1\n 3e-4 1e5 2 2",
                   "5 5\n 5 10"},
        std::tuple{"two source steps 5e-11 s apart", "3e-4 1e5 2 1\n 3.00000000050e-4 1e5 2 2", "5 5\n 10 5"},
        std::tuple{"two source steps at one instant", "3e-4 1e5 2 1\n 3e-4 1e5 2 2", "5 5\n 10 5"}})
    c.push_back({label, two_steps(tmd, vgs), 1e-3, both, vb, 5e-5, "Time Vb Va "});
  // Two events at time 0: the highest-numbered one's column (both at 5 V) holds from the start.
  c.push_back({"two source steps at time zero", two_steps("0 1e5 2 1\n 0 1e5 2 2", "5 5\n 10 5"), 1e-3,
               {charge(0, 5, 1e-3, 1e-3), charge(0, 5, 5e-4, 1e-3)}, stepped_rc({{0, 5}}, 5e-4), 5e-5, "Time Vb Va "});
  // A current source at 0 A through a diode into R1 (820 ohm), or R1 || C1 (10 nF), steps
  // up to 2.5 mA at an even or odd step or between steps: the idle diode switches nothing
  // before, and after the step it carries the source's current. Then a 2.5 mA -> 0 A ->
  // 2.5 mA pulse returning at an odd step.
  auto diode_load = [](const std::string& tmd, const std::string& vgs, const std::string& i1, bool with_c) {
    std::vector<std::string> x = {"I1 0 1 " + i1, "D1 1 2 0", "R1 2 0 820", "I01 2 0 0"};
    if (with_c) x.insert(x.begin() + 3, "C1 2 0 1e-8");
    return netlist_of("tsim = 1e-3\ntd = 1e-5\npoints = 100\nswinit = [ 0 ]\n" + std::string(with_c ? "x0 = [ 0 ]\n" : "") +
                          "tmd = [ " + tmd + " ]\nvgs = [ " + vgs + " ]\n" + diode_conditions(1, 2),
                      x, {"I D1", "V I01|Vr"}, 3);
  };
  const double ir = 2.5e-3 * 820;
  for (auto [label, ts, with_c] : {std::tuple{"0 A stepping up at an even step into a diode and R", 3e-4, false},
                                   std::tuple{"0 A stepping up at an odd step into a diode and R", 3.1e-4, false},
                                   std::tuple{"0 A stepping up between steps into a diode and R", 3.05e-4, false},
                                   std::tuple{"0 A stepping up at an even step into a diode and R || C", 3e-4, true},
                                   std::tuple{"0 A stepping up at an odd step into a diode and R || C", 3.1e-4, true},
                                   std::tuple{"0 A stepping up between steps into a diode and R || C", 3.05e-4, true}}) {
    c.push_back({label, diode_load(exact(ts) + " 1e5 2 1", "2.5e-3", "0", with_c), 1e-3,
                 with_c ? std::vector<double>{1.0, ir} : std::vector<double>{1.0},
                 [ts = ts, ir, with_c = with_c](double t) {
                   return t == ts ? NAN : t < ts ? 0.0 : with_c ? charge(0, ir, 820 * 1e-8, t - ts) : ir;
                 },
                 2e-6, "Time Vr "});
    c.back().distinct_before = ts;
  }
  c.push_back({"current source pulsing to 0 A and back at an odd step",
               diode_load("2e-4 1e5 2 1\n 5.1e-4 1e5 2 2", "0 2.5e-3", "2.5e-3", true), 1e-3, {1.0, ir},
               stepped_rc({{0, ir}, {2e-4, 0}, {5.1e-4, ir}}, 820 * 1e-8), 2e-6, "Time Vr "});
  // V1 (5 V) through R1 and D1 charges C1, which I2 (5 mA) drives on past V1: D1 turns off
  // at ts, when v_C = 5 V, and V1 steps to 10 V at that instant, so D1 conducts again
  // at once: the adjustment undoes the crossing's switching.
  const double rd = 1e3 + r_on, tau_d = rd * 1e-6, ts = tau_d * std::log((5.0 + 5e-3 * rd) / (5e-3 * rd));
  auto recharged = [rd, tau_d, ts](double t) {
    return t <= ts ? charge(0, 5 + 5e-3 * rd, tau_d, t) : charge(5, 10 + 5e-3 * rd, tau_d, t - ts);
  };
  c.push_back({"source stepping up as its diode turns off",
               netlist_of("tsim = 1.2e-3\ntd = 1e-5\npoints = 120\nswinit = [ 1 ]\nx0 = [ 0 ]\ntmd = [ " +
                              exact(ts) + " 1e5 2 1 ]\nvgs = [ 10 ]\n" + diode_conditions(1, 2),
                          {"V1 1 0 5", "R1 1 2 1e3", "D1 2 3 0", "C1 3 0 1e-6", "I2 0 3 5e-3", "I01 3 0 0"},
                          {"I D1", "V I01|Vc"}, 4),
               1.2e-3, {1.0, recharged(1.2e-3)}, recharged, 1e-6});
  // V1 steps to 12 V between steps into L1 (10 mH) with S1 on: D1 starts from exactly 0 V
  // and 0 A, and its forward voltage (i_L r_on) rises from the step. It turns on there, not
  // a step later: i_L = V/Rp (1 - exp(-(t - ts) Rp/L)) with Rp = r_on || (r_on + R2).
  const double ts_l = 3.05e-4, rp = r_on * (r_on + 1e3) / (2 * r_on + 1e3);
  auto i_l = [ts_l, rp](double t) { return 12.0 / rp * (1.0 - std::exp(-(t - ts_l) * rp / 1e-2)); };
  c.push_back({"source stepping up behind an inductor and an on switch",
               netlist_of("tsim = 1e-3\ntd = 1e-5\npoints = 100\nswinit = [ 0 1 ]\nx0 = [ 0 ]\ntmd = [ 3.05e-4 1e5 2 1 ]\n"
                          "vgs = [ 12 ]\n" + diode_conditions(1, 2),
                          {"V1 1 0 0", "L1 1 2 1e-2", "D1 2 3 0", "S1 2 0 0", "R2 3 0 1e3", "I01 3 0 0"},
                          {"I D1", "V I01|Vr"}, 4),
               1e-3, {11.0, i_l(1e-3)},
               [ts_l, rp, i_l](double t) {
                 return t < ts_l ? 0.0 : t < ts_l + 1e-9 ? NAN : i_l(t) * rp * 1e3 / (1e3 + r_on);
               },
               1e-9, "Time Vr "});
  return c;
}

TEST(DriverRuns, EveryRunEndsOnItsClosedForm) {
  TempDir dir;
  for (const run_case& c : cases()) {
    SCOPED_TRACE(c.label);
    write_text("c.m", c.net);
    recording_run_services host;
    main_window_scope scope(host);
    run_output r = run_simu({"c.m", "c.plt"}, 4, 0, c.start_si, c.finish_si);
    ASSERT_EQ(r.result, 1) << r.err;
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_FALSE(std::filesystem::exists("c.seq"));   // a transient run finds no cycle
    std::vector<double> ini = read_numbers("c.ini");
    ASSERT_GE(ini.size(), 4 + c.end.size());
    EXPECT_EQ(ini[0], c.tsim);
    for (std::size_t k = 0; k < c.end.size(); ++k)
      EXPECT_NEAR(ini[4 + k], c.end[k], 1e-9 * std::fabs(c.end[k]) + 1e-15) << "state file number " << 4 + k;
    plt_table p = read_plt("c.plt");
    EXPECT_EQ(p.header, c.header);
    if (c.rows >= 0) {
      EXPECT_EQ(p.rows.size(), static_cast<std::size_t>(c.rows));
    }
    std::vector<double> near;
    for (std::size_t k = 1; k < p.rows.size() && p.rows[k][0] < c.distinct_before; ++k)
      EXPECT_LT(p.rows[k - 1][0], p.rows[k][0]) << "row " << k;
    for (const auto& row : p.rows) {
      EXPECT_GE(row[0], c.start_si);
      EXPECT_LE(row[0], c.finish_si);
      if (c.v && !std::isnan(c.v(row[0]))) {
        EXPECT_NEAR(row[1], c.v(row[0]), c.tol) << "t = " << row[0];
      }
      if (!c.instants.empty() && std::fabs(row[0] - c.instants[0]) < 1e-9 && (near.empty() || near.back() != row[0]))
        near.push_back(row[0]);
    }
    if (!p.rows.empty()) {
      EXPECT_EQ(p.rows.back()[0], std::isnan(c.last) ? std::fmin(c.tsim, c.finish_si) : c.last);
    }
    if (!c.instants.empty()) {
      ASSERT_EQ(near.size(), c.instants.size());
      for (std::size_t k = 0; k < near.size(); ++k) EXPECT_NEAR(near[k], c.instants[k], 1e-15);
    }
  }
}

}  // namespace
