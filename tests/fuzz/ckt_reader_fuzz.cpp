// libFuzzer target for the circuit-file reader and the headerless record
// streams: any bytes must end in a good read or a refusal that leaves the open
// circuit as it was, never a crash, a hang or a sanitizer report. Built and run
// by the ./fuzz_ckt script.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sdi/base_elements.h"
#include "sdi/circuit_file.h"
#include "sdi/elist.h"
#include "sdi/record_stream.h"
#include "sdi/report.h"

namespace {

void quiet_error(const char*, ...) {}
void quiet_message(const char*) {}

std::FILE* stream_of(const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::tmpfile();
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::rewind(f);
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sdi::error_hook = quiet_error;
  sdi::message_box_hook = quiet_message;

  // A circuit file over an open circuit of one resistor.
  auto* kept = new sdi::basic(sdi::kind_resistor, 1);
  kept->id = 1;
  sdi::circuit.insert(kept);
  std::FILE* f = stream_of(data, size);
  const int result = sdi::read_circuit(f, "fuzz.ckt");
  std::fclose(f);
  if (result != sdi::circuit_read && (sdi::circuit.head == nullptr || sdi::circuit.head->value != kept ||
                                      sdi::circuit.head->next != nullptr))
    std::abort();  // a refused file must leave the open circuit alone
  sdi::delete_list_elements(sdi::circuit);

  // The same bytes as a subcircuit or clipboard stream.
  sdi::elist list;
  std::string error;
  f = stream_of(data, size);
  if (!sdi::read_records(f, list, sdi::circuit_version, error) && list.head) std::abort();
  std::fclose(f);
  sdi::delete_list_elements(list);
  return 0;
}
