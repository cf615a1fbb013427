#include "sdi/files/circuit_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "sdi/elements/bl_element.h"
#include "sdi/base/byte_io.h"
#include "sdi/elements/i_element.h"
#include "sdi/files/circuit_file_atomic.h"
#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/placement.h"
#include "sdi/files/record_stream.h"
#include "sdi/base/report.h"
#include "sdi/elements/sub_element.h"
#include "simu/base/regular_file.h"
#include "simu/input/run_settings.h"

namespace sdi {

int loaded_version = 0;
int circuit_modified = 0;

void set_circuit_folder_from(const std::filesystem::path& circuit_path) {
  std::error_code ec;
  std::filesystem::path abs = std::filesystem::absolute(circuit_path, ec);
  symbol_folder = (ec ? circuit_path.parent_path() : abs.parent_path()).string();
}

std::filesystem::path in_circuit_folder(const std::filesystem::path& file) {
  if (file.is_absolute() || symbol_folder.empty()) return file;
  return std::filesystem::path(symbol_folder) / file;
}

namespace {

// The stored settings in header order; the bytes between them hold zeros.
std::vector<int> header_rows() {
  std::vector<int> rows;
  for (int i = 0; i < run_setting_count; ++i)
    if (run_settings_table[i].header_at) rows.push_back(i);
  std::sort(rows.begin(), rows.end(),
            [](int a, int b) { return run_settings_table[a].header_at < run_settings_table[b].header_at; });
  return rows;
}

const std::vector<int>& header_order() {
  static const std::vector<int> rows = header_rows();
  return rows;
}

int slot_bytes(const run_setting& s) { return s.real ? 8 : 4; }

}  // namespace

circuit_settings current_circuit_settings() {
  circuit_settings s;
  for (int i : header_order()) s.value[i] = run_settings_table[i].value();
  return s;
}

void apply_circuit_settings(const circuit_settings& s) {
  for (int i : header_order()) run_settings_table[i].set(s.value[i]);
}

void write_circuit_header(std::FILE* f, const circuit_settings& s) {
  static const unsigned char zeros[circuit_header_bytes] = {};
  write_int(f, circuit_version);
  int at = 4;
  for (int i : header_order()) {
    const run_setting& r = run_settings_table[i];
    write_bytes(f, zeros, r.header_at - at);
    if (r.real)
      write_double(f, s.value[i]);
    else
      write_int(f, static_cast<std::int32_t>(s.value[i]));
    at = r.header_at + slot_bytes(r);
  }
  write_bytes(f, zeros, circuit_header_bytes - at);
}

bool read_circuit_header(std::FILE* f, circuit_settings& s) {
  unsigned char dropped[circuit_header_bytes];
  int at = 4;
  bool ok = true;
  for (int i : header_order()) {
    const run_setting& r = run_settings_table[i];
    ok = ok && read_bytes(f, dropped, r.header_at - at);
    if (r.real) {
      ok = ok && read_double(f, s.value[i]);
    } else {
      std::int32_t v = 0;
      ok = ok && read_int(f, v);
      s.value[i] = v;
    }
    at = r.header_at + slot_bytes(r);
  }
  return ok && read_bytes(f, dropped, circuit_header_bytes - at);
}

void write_circuit(std::FILE* f) {
  write_circuit_header(f, current_circuit_settings());
  write_records(f, circuit);
}

namespace {

// Positions far off the sheet come only from damaged files, and would overflow
// the sums of hit tests and terminal positions later.
constexpr std::int32_t max_position = 1000000;

bool position_sound(std::int32_t v) { return v >= -max_position && v <= max_position; }

bool positions_sound(elist& l, std::string& error) {
  for (enode* n = l.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    bool ok = true;
    if (is_line_element(e->kind)) {
      const line_shape& s = static_cast<bl_element*>(e)->shape;
      ok = position_sound(s.x1) && position_sound(s.y1) && position_sound(s.x2) && position_sound(s.y2);
    } else if (const image* im = static_cast<i_element*>(e)->image) {
      ok = position_sound(im->x) && position_sound(im->y) && position_sound(im->w) && position_sound(im->h);
    }
    if (!ok) {
      error = "element id " + std::to_string(e->id) + " lies far outside the sheet";
      return false;
    }
  }
  return true;
}

}  // namespace

int read_circuit(std::FILE* f, const std::string& file_name) {
  if (pending_element) SDI_ASSERT_FAIL();
  const std::string shown = file_name.empty() ? std::string("circuit") : file_name;
  auto damaged = [&shown](const std::string& why) {
    show_message("File " + shown + " is damaged or truncated (" + why + ")");
    return circuit_damaged;
  };
  std::int32_t stamp = 0;
  if (!read_int(f, stamp)) return damaged("byte 0: the file ends inside its header");
  // Anything but a stamp of an earlier version is some other kind of file: a text file's
  // first four bytes read as a stamp in the hundreds of millions.
  if (stamp < 1 || stamp > circuit_version) {
    show_message("File " + shown + " is not a circuit file.");
    return circuit_stamp_refused;
  }
  if (stamp != oldest_circuit_version && stamp != circuit_version) {
    char text[120];
    std::snprintf(text, sizeof text, "(%d, %d) %s", circuit_version, static_cast<int>(stamp),
                  "Can't read circuit with older version stamp.");
    show_message(text);
    return circuit_stamp_refused;
  }
  circuit_settings s;
  if (!read_circuit_header(f, s)) return damaged("byte 4: the file ends inside its header");
  elist got;
  std::string error;
  if (!read_records(f, got, stamp, error)) return damaged(error);
  if (!positions_sound(got, error)) {
    delete_list_elements(got);
    return damaged(error);
  }
  delete_list_elements(circuit);
  for (enode* n = got.head; n; n = static_cast<enode*>(n->next)) n->value->selected = 0;
  circuit.head = got.head;
  circuit.current_ = got.current_;
  apply_circuit_settings(s);
  loaded_version = stamp;
  return circuit_read;
}

int open_circuit_file(const std::filesystem::path& path) {
  // Without blocking (a pipe with no writer would hang the editor at start-up), and
  // only a regular file of bounded size.
  int fd = -1;
  const file_check opened = open_regular_file(path.c_str(), max_circuit_file_bytes, fd);
  if (opened != file_check::ok) {
    const std::string refused = refusal_text(opened, path.string(), max_circuit_file_bytes);
    show_message(refused.empty() ? "Couldn't Open File!" : refused);
    return circuit_damaged;
  }
  std::FILE* f = ::fdopen(fd, "rb");
  if (!f) {
    ::close(fd);
    show_message("Couldn't Open File!");
    return circuit_damaged;
  }
  const int result = read_circuit(f, path.string());
  std::fclose(f);
  return result;
}

int save_circuit(const std::filesystem::path& path) {
  std::string refusal;
  int error = 0;
  switch (write_file_atomically(path, [](std::FILE* f) { write_circuit(f); }, &refusal, &error)) {
    case write_outcome::written:
      circuit_modified = 0;
      return 1;
    case write_outcome::not_created:
      show_message(refusal.empty() ? "Couldn't Open File!" : "Couldn't Open File! " + refusal);
      return 0;
    case write_outcome::not_written:
      show_message("Couldn't write file " + path.string() + ": " + std::strerror(error ? error : EIO));
      return 0;
  }
  return 0;
}

}  // namespace sdi
