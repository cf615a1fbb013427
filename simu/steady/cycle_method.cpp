#include "simu/steady/cycle_method.h"

#include "simu/steady/pss_methods.h"

std::unique_ptr<cycle_method> make_cycle_method(int method, const DM& reference,
                                                const std::vector<std::string>& state_names) {
  return make_pss_method(method, reference, state_names);
}
