// The buck converter of the transient driver tests, as the netlist writer prints it:
// V1 = 12 V, S1 from node 1 to 2, D1 from ground to 2, L1 100 uH, C1 100 uF, R1 5 ohm;
// a 100 kHz clock turns S1 on at k * 10 us and off at k * 10 us + 5 us. Outputs: the
// diode current and Vout.
//
//     write_text("buck.m", buck_netlist_text("2.0000e-04", "1.0000e-07", "2000"));
//
// tsim and td in s, as the netlist writes them; points is the count of saved points.
#pragma once
#include <string>

inline std::string buck_netlist_text(const std::string& tsim, const std::string& td,
                                     const std::string& points) {
  return "tsim = " + tsim + "\n" + "td = " + td + "\n" + "points = " + points + "\n" +
         "swinit = [ 1    0     ]\n"
         "x0 = [ 0.0000e+00       \n"
         "       0.0000e+00      ]\n"
         "tmd = [ 0.0000e+00     1.0000e-05     1   1     \n"
         "        5.0000e-06     1.0000e-05     0   1    ]\n"
         "Cy = [ 1.0000e+00     0.0000e+00       \n"
         "       -1.0000e+00    0.0000e+00      ]\n"
         "Ct = [ 0.0000e+00     0.0000e+00     0.0000e+00     0.0000e+00       \n"
         "       0.0000e+00     0.0000e+00     0.0000e+00     0.0000e+00      ]\n"
         "Csw = [ 1     \n"
         "        1    ]\n"
         "Cc = [ 0.0000e+00       \n"
         "       0.0000e+00      ]\n"
         "thon(1,:)=[  2   2];\n"
         "thoff(1,:)=[  2   1];\n"
         "X = [ 'V1        1   0   1.2000e+01                 '   % V1\n"
         "      'S1        1   2   0.0000e+00                 '   % S1\n"
         "      'D1        0   2   0.0000e+00                 '   % D1\n"
         "      'L1        2   3   1.0000e-04                 '   % L1\n"
         "      'C1        3   0   1.0000e-04                 '   % C1\n"
         "      'R1        3   0   5.0000e+00                 '   % R1\n"
         "      'I01       3   0   0.0000e+00                 ' ] % Vout\n"
         "Y = [ 'I         D1                                 '  \n"
         "      'V         I01                                ' ] % Vout\n"
         "numn = 4;\n";
}
