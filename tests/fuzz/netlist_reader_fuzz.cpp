// libFuzzer target for the netlist reader: any bytes must end in a good read or a
// thrown text, never a crash, a hang or a sanitizer report. Built and run by the ./fuzz script.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "simu/input/netlist.h"
#include "simu/input/sim_params.h"

namespace {

std::string scratch_file() {
  char name[] = "/tmp/zorv-fuzz-XXXXXX";
  int fd = mkstemp(name);
  if (fd < 0) std::abort();
  close(fd);
  return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string file = scratch_file();
  std::FILE* f = std::fopen(file.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  sim_params p;
  try {
    read_netlist(file.c_str(), &p);
  } catch (const char*) {
  }
  free_netlist();
  return 0;
}
