// Every test starts from the run settings and the circuit-file state the program
// starts with (a test binary may run as one process).
#include "common/run_settings_reset.h"
#include "sdi/files/circuit_file.h"

namespace {

class circuit_file_state_reset : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    sdi::loaded_version = 0;
    sdi::circuit_modified = 0;
  }
};

const bool registered = [] {
  register_run_settings_reset();
  ::testing::UnitTest::GetInstance()->listeners().Append(new circuit_file_state_reset);
  return true;
}();

}  // namespace
