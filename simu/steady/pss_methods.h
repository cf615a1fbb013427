// The periodic-steady-state methods behind the transient driver's call points
// (cycle_method, simu/steady/cycle_method.h).
//
//     after first_eqns, when the state names are known:
//     accel = make_pss_method(method, reference, tab.state_names());
//         method 1 Newton: at each found cycle x = newton_step(cyc, 1.0, unknowns)
//         method 2 Skelboe: at each switching step SKELBOE::step(t, setting, x)
//         method 3 Broyden: at each found cycle the go / more / ready protocol
//         method 4 Picard, or any other: null (the plain cycle-by-cycle run)
//
// reference: the initial switch setting as a column (n_sw x 1, 1.0/0.0). The sine
// generators' states ("V_Cs...", "I_Ls...") are never unknowns (simu/steady/pss_unknowns.h).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "matrix/dm.h"
#include "simu/steady/cycle_method.h"

std::unique_ptr<cycle_method> make_pss_method(int method, const DM& reference,
                                              const std::vector<std::string>& state_names);
