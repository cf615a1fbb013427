#include "sdi/elements/records.h"

#include <cstring>
#include <string>

#include "sdi/base/byte_io.h"
#include "sdi/elements/i_element.h"

namespace sdi {

namespace {
const char* const eof_text = "The file ends inside an element record";
}

bool record_int(std::FILE* f, std::int32_t& v) {
  if (read_int(f, v)) return true;
  set_record_error(eof_text);
  return false;
}

bool record_double(std::FILE* f, double& v) {
  if (read_double(f, v)) return true;
  set_record_error(eof_text);
  return false;
}

bool record_count(std::FILE* f, std::int32_t& n) {
  if (!record_int(f, n)) return false;
  if (n >= 0 && n <= max_record_count) return true;
  set_record_error("An element record holds a bad count (" + std::to_string(n) + ")");
  return false;
}

void write_name_field(std::FILE* f, const char* field, int width) {
  write_bytes(f, field, static_cast<std::size_t>(width));
}

bool read_name_field(std::FILE* f, char* field, int width) {
  bool ok = read_bytes(f, field, static_cast<std::size_t>(width));
  field[width - 1] = '\0';
  if (!ok) set_record_error(eof_text);
  return ok;
}

void write_common(element* e, std::FILE* f) {
  write_int(f, e->kind);
  write_double(f, e->values[0]);
  write_int(f, static_cast<std::int32_t>(e->flags.word()));
  write_int(f, e->id);
}

bool read_common(element* e, std::FILE* f) {
  std::int32_t flags = 0;
  if (!record_double(f, e->values[0]) || !record_int(f, flags) || !record_int(f, e->id)) return false;
  e->flags.set_word(static_cast<std::uint32_t>(flags));
  return true;
}

void write_ilist(std::FILE* f, ilist& l) {
  write_int(f, l.count());
  for (inode* n = l.head; n; n = static_cast<inode*>(n->next)) write_int(f, n->value);
}

bool read_ilist(std::FILE* f, ilist& l, int grow) {
  std::int32_t n = 0;
  if (!record_count(f, n)) return false;
  if (grow) l.grow(n);
  else if (l.count() < n) SDI_ASSERT_FAIL();
  for (int i = 0; i < n; ++i) {
    std::int32_t v = 0;
    if (!record_int(f, v)) return false;
    if (std::int32_t* slot = l.list_value_at(i)) *slot = v;
  }
  return true;
}

void write_i_part(i_element* e, std::FILE* f) {
  write_int(f, e->orientation);
  write_int(f, e->mirrored);
  write_ilist(f, e->links);
  write_name_field(f, e->name_, 8);
  write_name_field(f, e->netname_, 8);
  point r = e->ref_point();
  write_int(f, r.x);
  write_int(f, r.y);
}

bool read_i_part(i_element* e, std::FILE* f) {
  std::int32_t x = 0, y = 0;
  if (!record_int(f, e->orientation) || !record_int(f, e->mirrored)) return false;
  if (e->orientation < 0 || e->orientation > 3) {
    set_record_error("An element record holds a bad orientation (" + std::to_string(e->orientation) + ")");
    return false;
  }
  if (!read_ilist(f, e->links, 1)) return false;
  if (!read_name_field(f, e->name_, 8) || !read_name_field(f, e->netname_, 8)) return false;
  if (!record_int(f, x) || !record_int(f, y)) return false;
  if (x < -max_record_position || x > max_record_position || y < -max_record_position || y > max_record_position) {
    set_record_error("An element record places its symbol far outside the sheet (" + std::to_string(x) + ", " +
                     std::to_string(y) + ")");
    return false;
  }
  if (e->image) {
    e->image->place_ref_at(point(x, y));
    e->image->rotate(e->orientation == 0 ? 4 : e->orientation);
    if (e->mirrored) e->image->mirror();
  }
  e->flags.set(flag_on_sheet);
  return true;
}

}  // namespace sdi
