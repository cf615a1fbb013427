#include "sdi/elements/sub_element.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <set>

#include "sdi/base/byte_io.h"
#include "sdi/elements/records.h"
#include "sdi/base/report.h"
#include "simu/base/regular_file.h"

namespace sdi {

std::string symbol_folder;

namespace {
constexpr int max_symbol_segments = 10000;
constexpr int max_symbol_pins = 1000;
// Sizes and coordinates beyond this are no drawing; they would overflow the
// sums of hit tests and clipping once the symbol is placed.
constexpr int max_symbol_coordinate = 1000000;

bool coordinate(int v) { return v >= -max_symbol_coordinate && v <= max_symbol_coordinate; }

// One line of at most 255 characters, its end of line removed; false at end of file.
bool next_line(std::FILE* f, char (&buf)[256]) {
  if (!std::fgets(buf, sizeof buf, f)) return false;
  std::size_t n = std::strlen(buf);
  if (n > 0 && buf[n - 1] != '\n' && !std::feof(f)) {  // overlong: drop the rest of the line
    int c;
    while ((c = std::fgetc(f)) != EOF && c != '\n') {}
  }
  while (n > 0 && (buf[n - 1] == '\n' || buf[n - 1] == '\r')) buf[--n] = '\0';
  return true;
}

// At most max characters of src into dst (zeroed first, so always terminated).
void copy_capped(char* dst, std::size_t size, const char* src, std::size_t max) {
  std::memset(dst, 0, size);
  if (src) std::memcpy(dst, src, strnlen(src, max < size ? max : size - 1));
}

bool read_count_line(std::FILE* f, int& n, int max) {
  char buf[256];
  return next_line(f, buf) && std::sscanf(buf, "%d", &n) == 1 && n >= 0 && n <= max;
}
}  // namespace

bool plain_file_name(const char* name) {
  if (!name || !*name) return false;
  if (std::strchr(name, '/') || std::strchr(name, '\\')) return false;
  return std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0;
}

sub::sub(int o) : i_element(kind_sub, o) {
  image = image_from_table(nullptr);
}

sub::sub(const char* name, int o) : sub(o) {
  copy_capped(sub_name, sizeof sub_name, name, 34);
  read_symbol(sub_name);
}

bool sub::read_symbol(const char* name) {
  std::string why;
  if (load_symbol(name, why)) return true;
  show_message(why);
  return false;
}

namespace {
// Symbol files that could not be read, by path, each said once: every Undo and Redo
// reads the circuit again. A name missing in one folder is said again in another.
std::set<std::string> unreadable_symbols;

std::string symbol_path(const char* name) {
  const std::string file = std::string(name) + ".sym";
  return symbol_folder.empty() ? file : symbol_folder + "/" + file;
}

// A crossed box centred on the reference point: seen, selectable, no pins.
image* placeholder_image() {
  shape s;
  s.w = s.h = 33;
  s.ref_x = s.ref_y = 16;
  s.segments = {line(0, 0, 32, 0), line(32, 0, 32, 32), line(32, 32, 0, 32), line(0, 32, 0, 0),
                line(0, 0, 32, 32), line(0, 32, 32, 0)};
  return image_from_table(&s);
}
}  // namespace

void forget_reported_symbols() { unreadable_symbols.clear(); }

bool sub::load_symbol(const char* name, std::string& why) {
  const std::string file = std::string(name) + ".sym";
  const std::string path = symbol_path(name);
  // Without blocking and bounded: the editor reads symbols while it repaints.
  int fd = -1;
  const file_check opened =
      plain_file_name(name) ? open_regular_file(path.c_str(), max_symbol_file_bytes, fd) : file_check::cannot_open;
  std::FILE* f = opened == file_check::ok ? ::fdopen(fd, "r") : nullptr;
  if (!f) {
    if (fd >= 0) ::close(fd);
    why = refusal_text(opened, file, max_symbol_file_bytes);
    if (why.empty()) why = "File " + file + " couldn't be opened";
    return false;
  }
  char buf[256];
  char word[256];
  char tname[256];
  shape s;
  bool ok = next_line(f, buf) && std::sscanf(buf, "%255s", tname) == 1;
  ok = ok && next_line(f, buf) && std::sscanf(buf, "%d,%d,%d,%d", &s.w, &s.h, &s.ref_x, &s.ref_y) == 4 &&
       coordinate(s.w) && coordinate(s.h) && coordinate(s.ref_x) && coordinate(s.ref_y);
  int n = 0, m = 0, k = 0;
  ok = ok && read_count_line(f, n, max_symbol_segments);
  for (int i = 0; ok && i < n; ++i) {
    line l;
    ok = next_line(f, buf) && std::sscanf(buf, "%d,%d,%d,%d", &l.x1, &l.y1, &l.x2, &l.y2) == 4 && coordinate(l.x1) &&
         coordinate(l.y1) && coordinate(l.x2) && coordinate(l.y2);
    s.segments.push_back(l);
  }
  std::vector<point> pin_list;
  ok = ok && read_count_line(f, m, max_symbol_pins);
  for (int i = 0; ok && i < m; ++i) {
    point p;
    ok = next_line(f, buf) && std::sscanf(buf, "%d,%d", &p.x, &p.y) == 2 && coordinate(p.x) && coordinate(p.y);
    pin_list.push_back(p);
  }
  std::vector<std::string> names;
  ok = ok && read_count_line(f, k, max_symbol_pins);
  for (int i = 0; ok && i < k; ++i) {
    ok = next_line(f, buf) && std::sscanf(buf, "%255s", word) == 1;
    if (ok && names.size() < 10) names.push_back(word);  // more than ten do not fit
  }
  std::fclose(f);
  if (!ok) {
    why = "File " + file + " is not a valid symbol file";
    return false;
  }
  // Rebuild the image in orientation 1 and one node per pin.
  type_name = tname;
  delete image;
  image = image_from_table(&s);
  nodes.list_clear();
  for (const point& p : pin_list) {
    add_pin(image, p);
    nodes.append(-1);
  }
  string_count = static_cast<std::int32_t>(names.size());
  for (int i = 0; i < 10; ++i) strings[i] = i < string_count ? names[static_cast<std::size_t>(i)] : std::string();
  flags.set(flag_no_values);
  return true;
}

void sub::write(std::FILE* f) {
  write_common(this, f);
  char field[35];
  copy_capped(field, sizeof field, sub_name, 34);
  write_bytes(f, field, sizeof field);
  write_i_part(this, f);
}

bool sub::read(std::FILE* f, int) {
  if (!read_common(this, f)) return false;
  char field[35];
  if (!read_name_field(f, field, 35)) return false;
  if (!plain_file_name(field)) {
    set_record_error(std::string("A subcircuit record names \"") + field + "\", which is not a plain file name");
    return false;
  }
  copy_capped(sub_name, sizeof sub_name, field, 34);
  // The record is still read whole; without its symbol the instance is a placeholder.
  std::string why;
  if (load_symbol(sub_name, why)) {
    unreadable_symbols.erase(symbol_path(sub_name));
  } else {
    if (unreadable_symbols.insert(symbol_path(sub_name)).second) show_message(why);
    delete image;
    image = placeholder_image();
  }
  return read_i_part(this, f);
}

}  // namespace sdi
