#include "sdi/elements/simrec.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sdi/base/report.h"
#include "simu/base/exact_number.h"

namespace sdi {

namespace {

// "%-*<conv>" with one blank more when the text fills the width.
void append_field(std::string& out, const char* text, int width) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%-*s", width, text);
  out += buf;
  if (static_cast<int>(std::string(text).size()) >= width) out += ' ';
}

void append_padded_string(std::string& out, const std::string& text, int width) {
  out += text;
  if (static_cast<int>(text.size()) < width) out.append(static_cast<std::size_t>(width) - text.size(), ' ');
  else out += ' ';
}

}  // namespace

std::string double_text(double v) { return exact_number(v, number_form::scientific, 4); }

void simrec::clear() {
  fields.clear();
  name.clear();
}

void simrec::add_int(int v) {
  simrec_field f;
  f.type = 0;
  f.width = int_width;
  f.ival = v;
  fields.push_back(f);
}

void simrec::add_double(double v) {
  simrec_field f;
  f.type = 1;
  f.width = double_width;
  f.dval = v;
  fields.push_back(f);
}

void simrec::add_string(const std::string& text, int width) {
  simrec_field f;
  f.type = 2;
  f.width = width;
  f.text = text;
  fields.push_back(f);
}

std::string comment_text(const std::string& text) {
  std::string out;
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || u == 127 || c == '[' || c == ']' || c == '\'' || c == '%') continue;
    out += c;
  }
  return out;
}

void simrec::set_name(const std::string& text) { name = comment_text(text); }

int simrec::widest_double() const {
  std::size_t widest = 0;
  for (const simrec_field& f : fields)
    if (f.type == 1) widest = std::max(widest, double_text(f.dval).size());
  return static_cast<int>(widest);
}

void simrec::print(std::string& out, int row_width, int double_column) const {
  if (fields.empty()) {
    if (row_width >= 1) out.append(static_cast<std::size_t>(row_width), ' ');
    return;
  }
  int sum = 0;
  char num[64];
  for (const simrec_field& f : fields) {
    switch (f.type) {
      case 0:
        std::snprintf(num, sizeof num, "%d", f.ival);
        append_field(out, num, f.width);
        break;
      case 1:
        // The engine reads no "inf" or "nan": such a row is a broken netlist.
        if (!std::isfinite(f.dval)) SDI_INTERNAL();
        append_field(out, double_text(f.dval).c_str(), std::max(f.width, double_column));
        sum += std::max(f.width, double_column) - f.width;
        break;
      case 2:
        append_padded_string(out, f.text, f.width);
        break;
      default:
        SDI_INTERNAL_CASE();
        break;
    }
    sum += f.width;
  }
  if (sum < row_width) out.append(static_cast<std::size_t>(row_width - sum), ' ');
}

}  // namespace sdi
