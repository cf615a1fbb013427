// The buck converter of the transient driver tests:
// V1 = 12 V, S1 from node 1 to 2, D1 from ground to 2, L1 100 uH, C1 100 uF, R1 5 ohm;
// a 100 kHz clock turns S1 on at k * 10 us and off at k * 10 us + 5 us. Outputs: the
// diode current and Vout.
//
//     write_text("buck.m", buck_netlist_text("2.0000e-04", "1.0000e-07", "2000"));
//
// tsim and td in s, as the netlist writes them; points is the count of saved points.
// buck_after(k) and buck_steady() are its exact states (v_C, i_L) after k periods from rest
// and in the periodic steady state, in continuous conduction.
#pragma once
#include <string>
#include <vector>

#include "driver_run.h"
#include "matrix/expm.h"
#include "matrix/matrix.h"

inline std::string buck_netlist_text(const std::string& tsim, const std::string& td, const std::string& points) {
  return netlist_of("tsim = " + tsim + "\ntd = " + td + "\npoints = " + points +
                        "\nswinit = [ 1 0 ]\nx0 = [ 0\n 0 ]\ntmd = [ 0 1e-5 1 1\n 5e-6 1e-5 0 1 ]\nCy = [ 1 0\n -1 0 ]\n"
                        "Ct = [ 0 0 0 0\n 0 0 0 0 ]\nCsw = [ 1\n 1 ]\nCc = [ 0\n 0 ]\nthon(1,:)=[ 2 2 ];\nthoff(1,:)=[ 2 1 ];\n",
                    {"V1 1 0 12|V1", "S1 1 2 0|S1", "D1 0 2 0|D1", "L1 2 3 1e-4|L1", "C1 3 0 1e-4|C1", "R1 3 0 5|R1",
                     "I01 3 0 0|Vout"},
                    {"I D1", "V I01|Vout"}, 4);
}

// One interval of the buck with S1 and D1 of resistances rs, rd: the exponential of the
// augmented [A b; 0 0] over dt, x = [v_C; i_L], node 2 from its KCL.
inline DM buck_interval(double rs, double rd, double dt) {
  const double L = 1e-4, C = 1e-4, R = 5.0, gs = 1.0 / rs, gd = 1.0 / rd;
  DM M(3, 3, 0.0);
  M(1, 1) = -1.0 / (R * C);
  M(1, 2) = 1.0 / C;
  M(2, 1) = -1.0 / L;
  M(2, 2) = -1.0 / (L * (gs + gd));
  M(2, 3) = 12.0 * gs / ((gs + gd) * L);
  return expm(M * DM(dt));
}

// The period map x -> P x + c (S1 on for the first half, 0.001 ohm on, 1e6 + 0.001 off).
inline DM buck_period() {
  const double on = 0.001, off = 1e6 + 0.001;
  return buck_interval(off, on, 5e-6) * buck_interval(on, off, 5e-6);
}

inline std::vector<double> buck_after(int periods) {
  const DM p = buck_period();
  double vc = 0.0, il = 0.0;
  for (int k = 0; k < periods; ++k) {
    const double a = p(1, 1) * vc + p(1, 2) * il + p(1, 3);
    il = p(2, 1) * vc + p(2, 2) * il + p(2, 3);
    vc = a;
  }
  return {vc, il};
}

// The fixed point: (I - P) x = c.
inline std::vector<double> buck_steady() {
  const DM p = buck_period();
  const double a = 1 - p(1, 1), b = -p(1, 2), c = -p(2, 1), d = 1 - p(2, 2), det = a * d - b * c;
  return {(d * p(1, 3) - b * p(2, 3)) / det, (a * p(2, 3) - c * p(1, 3)) / det};
}
