// The writer as run preparation calls it: file and node count from the run's
// process-wide state.
#include "sdi/netlist/netlist_writer.h"
#include "sdi/elements/node_errors.h"
#include "sdi/elements/node_numbering.h"
#include "simu/input/run_settings.h"

namespace sdi {

void write_netlist() {
  int nodes = numn;
  run_error_count += write_netlist_file(base_name + ".m", base_name, nodes);
  numn = nodes;
}

}  // namespace sdi
