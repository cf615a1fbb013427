#include "sdi/elements/node_errors.h"

#include "sdi/base/report.h"

namespace sdi {

int run_error_count = 0;

int netlist_error(const char* text) {
  show_message(text);
  ++run_error_count;
  return 1;
}

int incomplete_circuit_error() { return netlist_error("Incomplete Circuit"); }

}  // namespace sdi
