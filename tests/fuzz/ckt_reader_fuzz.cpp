// libFuzzer target for the circuit-file reader and the headerless record
// streams: any bytes must end in a good read or a refusal that leaves the open
// circuit as it was, never a crash, a hang or a sanitizer report. A circuit
// that reads well must write, read back and write again to the same bytes,
// and survive node numbering, wire splitting and deletion. Built and run by
// the ./fuzz script.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sdi/elements/base_elements.h"
#include "sdi/files/circuit_file.h"
#include "sdi/netlist/connectivity.h"
#include "sdi/edit/edit_delete.h"
#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/node_errors.h"
#include "sdi/files/record_stream.h"
#include "sdi/base/report.h"
#include "sdi/edit/select_ops.h"
#include "sdi/edit/wire_split.h"

namespace {

void quiet_error(const char*, ...) {}
void quiet_message(const char*) {}

std::FILE* stream_of(const void* data, std::size_t size) {
  std::FILE* f = std::tmpfile();
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::rewind(f);
  return f;
}

std::string circuit_bytes() {
  std::FILE* f = std::tmpfile();
  if (!f) std::abort();
  sdi::write_circuit(f);
  const long n = std::ftell(f);
  std::rewind(f);
  std::string s(static_cast<std::size_t>(n), '\0');
  if (n > 0 && std::fread(s.data(), 1, s.size(), f) != s.size()) std::abort();
  std::fclose(f);
  return s;
}

// Node numbering and the checks work on a copy of the list, as a run does:
// wires and junctions leave the copy, the drawn list comes back.
void check_nodes_on_a_copy() {
  sdi::enode* head = sdi::circuit.head;
  sdi::enode* cursor = sdi::circuit.current_;
  sdi::elist work = sdi::circuit.copy();
  sdi::circuit.head = work.head;
  sdi::circuit.current_ = work.current_;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
    for (sdi::inode* p = n->value->nodes.head; p; p = static_cast<sdi::inode*>(p->next)) p->value = -1;
  sdi::run_error_count = 0;
  sdi::check_nodes();
  sdi::circuit.list_clear();
  sdi::circuit.head = head;
  sdi::circuit.current_ = cursor;
  sdi::run_error_count = 0;
}

void edit_what_was_read() {
  const std::string first = circuit_bytes();
  std::FILE* f = stream_of(first.data(), first.size());
  if (sdi::read_circuit(f, "again.ckt") != sdi::circuit_read) std::abort();  // what was written reads
  std::fclose(f);
  if (circuit_bytes() != first) std::abort();  // and writes the same bytes again

  check_nodes_on_a_copy();
  sdi::select_in_rect(sdi::rect(0, 0, 3000, 3000));
  sdi::deselect_all();
  std::vector<int> ids;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) ids.push_back(n->value->id);
  for (int id : ids) {
    if (!sdi::circuit.find_id(id, 0)) continue;  // split away by an earlier one
    sdi::element* e = sdi::circuit.get(id);
    if (e->kind == sdi::kind_wire) sdi::split_after_wire_drawn(e);
    else sdi::split_wires_at_terminals(e);
  }
  for (int id : ids)
    if (sdi::circuit.find_id(id, 0)) delete sdi::delete_element(id);
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
  if (result == sdi::circuit_read) edit_what_was_read();
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
