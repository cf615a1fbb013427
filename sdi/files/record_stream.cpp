#include "sdi/files/record_stream.h"

#include <unistd.h>

#include <cerrno>
#include <set>
#include <string>

#include "sdi/base/byte_io.h"
#include "sdi/files/circuit_file.h"
#include "sdi/files/circuit_file_atomic.h"
#include "sdi/elements/element.h"
#include "sdi/base/report.h"
#include "simu/base/regular_file.h"

namespace sdi {

void write_records(std::FILE* f, elist& l) {
  for (enode* n = l.head; n; n = static_cast<enode*>(n->next))
    if (n->value) n->value->write(f);
  write_int(f, kind_end);
}

void delete_list_elements(elist& list) {
  for (enode* n = list.head; n; n = static_cast<enode*>(n->next)) delete n->value;
  list.list_clear();
}

namespace {

int count_kind(elist& l, int kind) {
  int n = 0;
  for (enode* p = l.head; p; p = static_cast<enode*>(p->next))
    if (p->value && p->value->kind == kind) ++n;
  return n;
}

// "Only one probe allowed." for one dropped; with the count when there were more.
void report_dropped(int dropped, const std::string& what) {
  if (dropped < 1) return;
  std::string text = "Only one " + what + " allowed.";
  if (dropped > 1) text += " " + std::to_string(dropped) + " extra " + what + "s were not read.";
  show_message(text);
}

std::string at_byte(long offset, const std::string& why) { return "byte " + std::to_string(offset) + ": " + why; }

// Placed elements carry distinct ids of 1 or more: links, pasting and deleting
// find elements by id, and two under one id would let one be deleted while
// the circuit still holds it.
bool ids_sound(elist& l, std::string& error) {
  std::set<int> seen;
  for (enode* n = l.head; n; n = static_cast<enode*>(n->next)) {
    const int id = n->value->id;
    if (id < 1 || !seen.insert(id).second) {
      error = "element id " + std::to_string(id) + " is " + (id < 1 ? "not valid" : "used twice");
      return false;
    }
  }
  return true;
}

}  // namespace

bool read_records(std::FILE* f, elist& out, int version, std::string& error) {
  elist got;
  int probes = count_kind(out, kind_probe);
  int multipliers = count_kind(out, kind_multiplier);
  bool ok = false;
  for (;;) {
    const long start = std::ftell(f);
    std::int32_t kind = 0;
    if (!read_int(f, kind)) {
      error = at_byte(start, "the file ends before its end code");
      break;
    }
    if (kind == kind_end) {
      ok = true;
      break;
    }
    element* e = new_record_element(kind);
    if (!e) {
      error = at_byte(start, "no element has the kind " + std::to_string(kind));
      break;
    }
    set_record_error("");
    if (!e->read(f, version)) {
      delete e;
      const std::string& why = last_record_error();
      error = at_byte(start, why.empty() ? "a bad element record" : why);
      break;
    }
    // The limits belong to the editor's commands; the record is consumed either way.
    if ((kind == kind_probe && ++probes > 1) || (kind == kind_multiplier && ++multipliers > 1)) {
      delete e;
      continue;
    }
    got.insert(e);
  }
  if (ok) ok = ids_sound(got, error);
  if (!ok) {
    delete_list_elements(got);
    return false;
  }
  // One box per kind, however many were dropped.
  report_dropped(probes - 1, "probe");
  report_dropped(multipliers - 1, "multiplier");
  for (enode* n = got.head; n; n = static_cast<enode*>(n->next)) out.insert(n->value);
  got.list_clear();
  return true;
}

int read_element_file(const std::filesystem::path& file, elist& list) {
  const std::string name = file.string();
  const std::filesystem::path path = in_circuit_folder(file);
  // Without blocking and bounded: a pipe with no writer would hang the editor at each run.
  int fd = -1;
  const file_check opened = open_regular_file(path.c_str(), max_circuit_file_bytes, fd);
  std::FILE* f = opened == file_check::ok ? ::fdopen(fd, "rb") : nullptr;
  if (!f) {
    if (fd >= 0) ::close(fd);
    const std::string refused = refusal_text(opened, name, max_circuit_file_bytes);
    show_message(refused.empty() ? "File " + name + " couldn't be opened" : refused);
    return 0;
  }
  elist got;
  std::string error;
  const bool ok = read_records(f, got, circuit_version, error);
  std::fclose(f);
  if (!ok) {
    show_message("File " + name + " is damaged or truncated (" + error + ")");
    return 0;
  }
  delete_list_elements(list);
  list.head = got.head;
  list.current_ = got.current_;
  return 1;
}

int write_element_file(const std::filesystem::path& file, elist& list) {
  return write_file_atomically(in_circuit_folder(file), [&list](std::FILE* f) { write_records(f, list); }) ==
                 write_outcome::written
             ? 1
             : 0;
}

}  // namespace sdi
