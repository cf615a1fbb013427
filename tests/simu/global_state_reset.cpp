// Every test starts from the run settings the program starts with.
#include "common/run_settings_reset.h"

namespace {
const bool registered = register_run_settings_reset();
}
