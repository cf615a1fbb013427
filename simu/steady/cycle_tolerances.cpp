// The cycle store's tests with the tolerances of the current settings record.
#include "simu/steady/cycle.h"
#include "simu/input/sim_params.h"

int CYCLE::close_enough() const {
  return relative_change_within(current_params ? current_params->sstol_c : sim_params().sstol_c);
}

int CYCLE::converged() const {
  return relative_change_within(current_params ? current_params->sstol_f : sim_params().sstol_f);
}
