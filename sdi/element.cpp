#include "sdi/element.h"

#include <cstring>

#include "sdi/report.h"

namespace sdi {

namespace {
const char* const tag = "sdi/Element";
std::string record_error;
}  // namespace

element::element(int k) : kind(k) {
  if (k < 19) {
    nodes.insert(-1);
    nodes.insert(-1);
  }
}

element::~element() {
  nodes.list_clear();
  links.list_clear();
}

void element::select() { SDI_INTERNAL(tag); }
void element::deselect() { SDI_INTERNAL(tag); }
int element::hit_test(const point&) { SDI_INTERNAL(tag); return 0; }
void element::move(const point&) { SDI_INTERNAL(tag); }
void element::write(std::FILE*) { SDI_INTERNAL(tag); }
bool element::read(std::FILE*, int) { SDI_INTERNAL(tag); return false; }
char* element::name() { SDI_INTERNAL(tag); return nullptr; }
char* element::netname() { SDI_INTERNAL(tag); return nullptr; }
void element::terminal(point& out, int) { SDI_INTERNAL(tag); out = zero_point; }
int element::has_terminal_at(const point&) { SDI_INTERNAL(tag); return 0; }
int element::overlaps_rect(const rect&) { SDI_INTERNAL(tag); return 0; }
int element::overlaps(element*) { SDI_INTERNAL(tag); return 0; }
void element::clip_to_rect(rect& out, const rect&) { SDI_INTERNAL(tag); out = zero_rect; }
void element::clip_to_element(rect& out, element*) { SDI_INTERNAL(tag); out = zero_rect; }
void element::draw_clipped(const rect&) { SDI_INTERNAL(tag); }
void element::draw() { SDI_INTERNAL(tag); }
void element::place_at(const point&) { SDI_INTERNAL(tag); }
void element::rotate() { SDI_INTERNAL(tag); }
void element::mirror() { SDI_INTERNAL(tag); }

void copy_name_field(char (&field)[8], const char* text) {
  std::memset(field, 0, sizeof field);
  if (text) std::memcpy(field, text, strnlen(text, sizeof field - 1));
}

void element::set_name(const char* text) {
  char* f = name();
  if (f) copy_name_field(*reinterpret_cast<char(*)[8]>(f), text);
}

void element::set_netname(const char* text) {
  char* f = netname();
  if (f) copy_name_field(*reinterpret_cast<char(*)[8]>(f), text);
}

point element::terminal_at(int i) {
  point p;
  terminal(p, i);
  return p;
}

int is_line_element(int k) { return (k == kind_wire || k == kind_mutual) ? 1 : 0; }

const char* name_prefix(int k) {
  switch (k) {
    case 0: return "R";
    case 1: return "C";
    case 2: return "L";
    case 6: return "PRI";
    case 7: return "SEC";
    case 8: return "M";
    case 9: return "VP";
    case 10: return "IP";
    case 12: return "ICIS";
    case 13: return "ICVS";
    case 14: return "VCIS";
    case 15: return "VCVS";
    case 20: return "MOD";
    case 21: return "CLK";
    case 22: return "ULIM";
    case 23: return "LLIM";
    case 24: return "THRES";
    case 25: return "VCO";
    case 26: return "IS";
    case 27: return "OP";
    case 28: return "GND";
    case 29: return "D";
    case 30: return "SW";
    case 31: return "TML";
    case 32: return "V";
    case 33: return "I";
    case 34: return "SINE";
    case 36: return "MULT";
    case 37: return "";
    default: SDI_INTERNAL(tag); return "";
  }
}

const std::string& last_record_error() { return record_error; }
void set_record_error(const std::string& text) { record_error = text; }

}  // namespace sdi
