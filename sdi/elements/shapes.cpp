// Symbol and glyph drawing data.
#include "sdi/elements/shapes.h"

#include <cmath>
#include <map>

#include "sdi/elements/kinds.h"
#include "sdi/base/report.h"

namespace sdi {

void octagon(std::vector<line>& s, int cx, int cy, int r) {
  const int d = static_cast<int>(std::lround(r * 0.7071067811865476));
  const point v[8] = {point(cx + r, cy), point(cx + d, cy + d), point(cx, cy + r), point(cx - d, cy + d),
                      point(cx - r, cy), point(cx - d, cy - d), point(cx, cy - r), point(cx + d, cy - d)};
  for (int i = 0; i < 8; ++i) s.push_back(line(v[i], v[(i + 1) % 8]));
}

shape box_lead() {
  return shape{17, 25, 8, 24,
               {line(0, 0, 16, 0), line(16, 0, 16, 16), line(16, 16, 0, 16), line(0, 16, 0, 0), line(8, 16, 8, 24)}};
}

namespace {
using segs = std::vector<line>;

void add(segs& s, std::initializer_list<line> more) { s.insert(s.end(), more.begin(), more.end()); }

// The leads and terminal squares that every horizontal standard table shares.
segs standard_frame() {
  return {line(50, 6, 37, 6), line(13, 6, 0, 6),
          line(48, 7, 50, 7), line(50, 7, 50, 5), line(50, 5, 48, 5), line(48, 5, 48, 7),
          line(2, 5, 0, 5),   line(0, 5, 0, 7),   line(0, 7, 2, 7),   line(2, 7, 2, 5)};
}

void humps(segs& s, int y_dir) {
  for (int a = 13; a < 37; a += 6)
    add(s, {line(a, 6, a + 1, 6 - 3 * y_dir), line(a + 1, 6 - 3 * y_dir, a + 2, 6 - 4 * y_dir),
            line(a + 2, 6 - 4 * y_dir, a + 4, 6 - 4 * y_dir), line(a + 4, 6 - 4 * y_dir, a + 5, 6 - 3 * y_dir),
            line(a + 5, 6 - 3 * y_dir, a + 6, 6)});
}

shape standard(segs body) {
  shape s{51, 13, 25, 6, standard_frame()};
  s.segments.insert(s.segments.end(), body.begin(), body.end());
  return s;
}

shape make_kind(int kind) {
  segs b;
  switch (kind) {
    case kind_resistor:
      b = {line(13, 6, 16, 3), line(16, 3, 22, 9), line(22, 9, 28, 3), line(28, 3, 34, 9), line(34, 9, 37, 6),
           line(7, 4, 9, 6), line(7, 8, 9, 6)};
      // The resistor's table puts its body before the leads.
      return shape{51, 13, 25, 6,
                   {b[0], b[1], b[2], b[3], b[4], b[5], b[6], line(50, 6, 37, 6), line(13, 6, 0, 6),
                    line(48, 7, 50, 7), line(50, 7, 50, 5), line(50, 5, 48, 5), line(48, 5, 48, 7),
                    line(2, 5, 0, 5), line(0, 5, 0, 7), line(0, 7, 2, 7), line(2, 7, 2, 5)}};
    case kind_capacitor:
      b = {line(13, 6, 23, 6), line(23, 1, 23, 12), line(27, 1, 27, 12), line(27, 6, 37, 6), line(7, 4, 9, 6),
           line(7, 8, 9, 6)};
      return standard(b);
    case kind_inductor:
      humps(b, 1);
      add(b, {line(8, 3, 10, 3)});
      return standard(b);
    case kind_old_voltage:
      octagon(b, 25, 6, 6);
      add(b, {line(13, 6, 19, 6), line(31, 6, 37, 6), line(21, 6, 24, 6), line(22, 5, 22, 8), line(28, 4, 28, 9),
              line(29, 4, 29, 9)});
      return standard(b);
    case kind_old_current:
      octagon(b, 25, 6, 6);
      // The arrow's shaft runs on from the left lead.
      add(b, {line(13, 6, 31, 6), line(31, 6, 37, 6), line(28, 4, 30, 6), line(28, 8, 30, 6)});
      return standard(b);
    case kind_primary:
      humps(b, 1);
      add(b, {line(13, 0, 38, 0), line(8, 3, 10, 3)});
      return standard(b);
    case kind_secondary:
      humps(b, -1);
      add(b, {line(13, 12, 38, 12), line(8, 9, 10, 9)});
      return standard(b);
    case kind_voltage_port:
    case kind_current_port:
      octagon(b, 25, 6, 6);
      add(b, {line(13, 6, 19, 6), line(31, 6, 37, 6), line(16, 4, 16, 9)});  // a tick at terminal 0
      return standard(b);
    case kind_old_switch:
      b = {line(13, 6, 19, 6), line(19, 6, 31, 1), line(31, 6, 37, 6), line(30, 5, 30, 8)};
      return standard(b);
    case kind_icis:
    case kind_icvs:
    case kind_vcis:
    case kind_vcvs:
      b = {line(13, 6, 19, 6), line(19, 6, 25, 0), line(25, 0, 31, 6), line(31, 6, 25, 12), line(25, 12, 19, 6),
           line(31, 6, 37, 6)};
      if (kind == kind_icis || kind == kind_vcis) add(b, {line(21, 6, 29, 6)});
      else add(b, {line(21, 6, 24, 6), line(22, 5, 22, 8), line(28, 4, 28, 9)});
      return standard(b);
    case kind_junction:
      return shape{3, 3, 1, 1, {line(0, 0, 2, 0), line(2, 0, 2, 2), line(2, 2, 0, 2), line(0, 2, 0, 0), line(1, 1, 2, 1)}};
    case kind_old_bar:
      b = {line(13, 1, 38, 1), line(37, 11, 12, 11)};  // a bar above and below the gap between the leads
      return standard(b);
    default:
      return shape{};
  }
}

shape glyph(segs s) { return shape{5, 7, 2, 3, std::move(s)}; }

// Upright 5 x 7 letters, strokes chained so that each stroke's left-out end
// pixel is the start of the next.
shape make_letter(char c) {
  switch (c) {
    case 'P': return glyph({line(0, 6, 0, 0), line(4, 3, 0, 3), line(4, 0, 4, 3), line(0, 0, 4, 0)});
    case 'S': return glyph({line(0, 2, 0, 0), line(4, 2, 4, 6), line(0, 2, 4, 2), line(4, 0, 0, 0), line(4, 6, 0, 6)});
    case 'I': return glyph({line(4, 0, 0, 0), line(4, 5, 0, 5), line(2, 0, 2, 5)});
    case 'V': return glyph({line(0, 2, 0, 0), line(2, 6, 0, 2), line(4, 2, 2, 6), line(4, 0, 4, 2)});
    case 'a': return glyph({line(0, 7, 0, 0), line(0, 0, 4, 0), line(4, 0, 4, 7), line(0, 3, 4, 3)});
    case 'b': return glyph({line(0, 6, 0, 0), line(0, 0, 3, 0), line(3, 0, 3, 3), line(0, 3, 4, 3), line(4, 3, 4, 6), line(4, 6, 0, 6)});
    case 'c': return glyph({line(4, 0, 0, 0), line(0, 0, 0, 6), line(0, 6, 5, 6)});
    case 'd': return glyph({line(0, 6, 0, 0), line(0, 0, 3, 0), line(3, 0, 4, 1), line(4, 1, 4, 5), line(4, 5, 3, 6), line(3, 6, 0, 6)});
    case 'e': return glyph({line(4, 0, 0, 0), line(0, 0, 0, 6), line(0, 6, 5, 6), line(0, 3, 3, 3)});
    case 'f': return glyph({line(4, 0, 0, 0), line(0, 0, 0, 7), line(0, 3, 3, 3)});
    case 'g': return glyph({line(4, 0, 0, 0), line(0, 0, 0, 6), line(0, 6, 4, 6), line(4, 6, 4, 3), line(4, 3, 1, 3)});
    case 'h': return glyph({line(0, 0, 0, 7), line(4, 0, 4, 7), line(0, 3, 4, 3)});
    case 'i': return glyph({line(0, 0, 5, 0), line(0, 6, 5, 6), line(2, 0, 2, 6)});
    case 'j': return glyph({line(4, 0, 4, 6), line(4, 6, 0, 6), line(0, 6, 0, 3)});
    case 'k': return glyph({line(0, 0, 0, 7), line(0, 4, 4, 0), line(1, 3, 5, 7)});
    case 'l': return glyph({line(0, 0, 0, 6), line(0, 6, 5, 6)});
    case 'm': return glyph({line(0, 6, 0, 0), line(0, 0, 2, 2), line(2, 2, 4, 0), line(4, 0, 4, 7)});
    case 'n': return glyph({line(0, 6, 0, 0), line(0, 0, 4, 6), line(4, 6, 4, -1)});
    case 'o': return glyph({line(0, 0, 4, 0), line(4, 0, 4, 6), line(4, 6, 0, 6), line(0, 6, 0, 0)});
    case 'p': return glyph({line(0, 6, 0, 0), line(4, 3, 0, 3), line(4, 0, 4, 3), line(0, 0, 4, 0)});
    case 'q': return glyph({line(0, 0, 4, 0), line(4, 0, 4, 6), line(4, 6, 0, 6), line(0, 6, 0, 0), line(2, 4, 5, 7)});
    case 'r': return glyph({line(0, 6, 0, 0), line(0, 0, 4, 0), line(4, 0, 4, 3), line(4, 3, 0, 3), line(1, 3, 5, 7)});
    case 's': return glyph({line(0, 2, 0, 0), line(4, 2, 4, 6), line(0, 2, 4, 2), line(4, 0, 0, 0), line(4, 6, 0, 6)});
    case 't': return glyph({line(0, 0, 5, 0), line(2, 0, 2, 7)});
    case 'u': return glyph({line(0, 0, 0, 6), line(0, 6, 4, 6), line(4, 6, 4, -1)});
    case 'v': return glyph({line(0, 2, 0, 0), line(2, 6, 0, 2), line(4, 2, 2, 6), line(4, 0, 4, 2)});
    case 'w': return glyph({line(0, 0, 0, 6), line(0, 6, 2, 4), line(2, 4, 4, 6), line(4, 6, 4, -1)});
    case 'x': return glyph({line(0, 0, 4, 6), line(4, 0, 0, 6), line(4, 6, 5, 7), line(0, 6, -1, 7)});
    case 'y': return glyph({line(0, 0, 2, 3), line(4, 0, 2, 3), line(2, 3, 2, 7)});
    case 'z': return glyph({line(0, 0, 4, 0), line(4, 0, 0, 6), line(0, 6, 5, 6)});
    default: return shape{};
  }
}

template <std::size_t N, class F>
const shape* table(std::size_t i, F make) {
  static const std::vector<shape> all = [&] {
    std::vector<shape> v;
    for (std::size_t k = 0; k < N; ++k) v.push_back(make(k));
    return v;
  }();
  return i < N ? &all[i] : nullptr;
}
}  // namespace

const shape* shape_for_kind(int kind) {
  if (!describe(kind).standard_shape) {
    SDI_INTERNAL_CASE();
    return nullptr;
  }
  return table<kind_count>(static_cast<std::size_t>(kind), [](std::size_t k) { return make_kind(static_cast<int>(k)); });
}

const shape* glyph_for_char(char c) {
  if (!(c == 'P' || c == 'S' || c == 'I' || c == 'V' || (c >= 'a' && c <= 'z'))) return nullptr;
  return table<128>(static_cast<unsigned char>(c), [](std::size_t k) { return make_letter(static_cast<char>(k)); });
}

const shape* class_shape(shape_maker make) {
  static std::map<shape_maker, shape> made;
  if (!make) return nullptr;
  auto it = made.find(make);
  if (it == made.end()) it = made.emplace(make, make()).first;
  return &it->second;
}

}  // namespace sdi
