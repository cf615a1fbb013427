// Newton, Skelboe and Broyden as the driver's cycle methods.
#include "simu/steady/pss_methods.h"

#include "simu/steady/broyden.h"
#include "simu/steady/cycle.h"
#include "simu/steady/newton.h"
#include "simu/steady/pss_unknowns.h"
#include "simu/steady/skelboe.h"

namespace {

class newton_method : public cycle_method {
public:
  explicit newton_method(const std::vector<std::string>& names) : names_(names) {}
  void at_cycle(CYCLE& cyc, DM& x) override {
    const int n = static_cast<int>(cyc.entry(cyc.start).x.n);
    x = newton_step(cyc, 1.0, names_.empty() ? all_states(n) : pss_unknowns(names_));
  }

private:
  std::vector<std::string> names_;
};

class skelboe_method : public cycle_method {
public:
  skelboe_method(const DM& reference, const std::vector<std::string>& names) : sk_(reference, names) {}
  int at_switching(double t, const DM& setting, DM& x) override { return sk_.step(t, setting, x); }
  void note_state(const DM& x) override { sk_.note_state(x); }

private:
  SKELBOE sk_;
};

class broyden_method : public cycle_method {
public:
  explicit broyden_method(const std::vector<std::string>& names) : br_(names) {}
  void at_cycle(CYCLE& cyc, DM& x) override {
    if (go_ && more_) ready_ = br_.fd_jacobian_step(J_, cyc, DM(), x, completed_, x0_, xT_);
    if (ready_) go_ = br_.update(J_, DM(), x, iterations_, x0_, xT_, more_, 2);
  }
  int iterations() const override { return iterations_; }

private:
  broyden br_;
  int go_ = 1, more_ = 1, ready_ = 0, iterations_ = 0, completed_ = 0;
  DM J_, x0_, xT_;
};

}  // namespace

std::unique_ptr<cycle_method> make_pss_method(int method, const DM& reference,
                                              const std::vector<std::string>& state_names) {
  switch (method) {
    case 1:
      return std::make_unique<newton_method>(state_names);
    case 2:
      return std::make_unique<skelboe_method>(reference, state_names);
    case 3:
      return std::make_unique<broyden_method>(state_names);
    default:
      return nullptr;
  }
}

std::unique_ptr<cycle_method> make_cycle_method(int method, const DM& reference,
                                                const std::vector<std::string>& state_names) {
  return make_pss_method(method, reference, state_names);
}
