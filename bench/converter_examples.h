// The converter examples the engine benchmarks run, and the scratch folder they run in.
//
//     const std::filesystem::path& scratch() {
//       static const std::filesystem::path dir = make_scratch("zorv-bench-XXXXXX");
//       return dir;
//     }
//     ...  scratch(); run simu on converters[k].file  ...
//     remove_scratch(scratch());                     // at the end of main
//
// The scratch folder holds copies of the examples (from ZORV_EXAMPLES, set by the build)
// and becomes the process's working folder; console output goes to its
// "stdout.out"/"stderr.out". Periods in s.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "simu/base/console.h"
#include "simu/base/run_services.h"

struct converter {
  const char* name;
  const char* file;
  double period;   // switching period, s
};

inline const converter converters[] = {
    {"buck_ccm", "buck.m", 1e-5},
    {"boost_ccm", "boost.m", 1e-5},
    {"buck_dcm", "buck_dcm.m", 1e-5},
    {"full_bridge_lc", "inverter.m", 1e-4},
};

// Boxes go nowhere: nothing but the benchmark's table is printed.
class quiet_services : public run_services {
public:
  int message_box(const char*, box_style) override { return 1; }
  void simulation_done(const char*) override {}
};

// A new folder under the system's temporary folder from the mkdtemp pattern tmpl, with
// the examples copied in; the process works in it from then on.
inline std::filesystem::path make_scratch(const char* tmpl) {
  std::string name = (std::filesystem::temp_directory_path() / tmpl).string();
  if (!mkdtemp(name.data())) std::abort();
  std::filesystem::path d = name;
  for (const converter& c : converters)
    std::filesystem::copy_file(std::filesystem::path(ZORV_EXAMPLES) / c.file, d / c.file,
                               std::filesystem::copy_options::overwrite_existing);
  std::filesystem::current_path(d);
  redirect_stdio();
  return d;
}

// Closes the console files and removes the folder, working from its parent again.
inline void remove_scratch(const std::filesystem::path& dir) {
  close_stdio_redirection();
  std::error_code ec;
  std::filesystem::current_path(dir.parent_path(), ec);
  std::filesystem::remove_all(dir, ec);
}
