// The netlist reader: parameter lines, then the "X", "Y" and "numn" blocks.
//
// The grammar is the one the netlist writer relies on, quirks included: outside
// the number set, characters inside a matrix vanish, a newline ends a matrix row,
// "thon"/"thoff" lines pile up below each other, an int keyword takes the integer
// prefix of its number ("1e3" gives 1), element and output labels are the letters
// and digits of the rest of their line. Every failure ends the read with a text
// naming the problem and the place; nothing is read through a fixed-size buffer.
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "matrix/dm.h"
#include "matrix/dm_ops.h"
#include "simu/input/netlist.h"
#include "simu/input/netlist_scan.h"
#include "simu/input/sim_params.h"

netlist_records sim_netlist;

namespace {

using namespace netlist_scan;

// The matrix library's largest dimension: a larger table is refused by its name here
// rather than by the library's constructor later.
const std::size_t max_table_size = 15000;

class reader {
public:
  reader(std::string text, std::string file, sim_params* p)
      : s_(std::move(text)), file_(std::move(file)), p_(p), table_(param_table(*p)) {}

  void read_all() {
    // A NUL would also cut every message that quotes its line short.
    const std::size_t nul = s_.find('\0');
    if (nul != std::string::npos) fail("NUL byte in netlist", file_, nul);
    read_params();
    std::size_t start = pos_;
    std::size_t n_elem = count_lines("X");
    std::size_t end_x = pos_;
    sim_netlist.places["Y"].open = std::min(s_.find('[', pos_), s_.size());
    std::size_t n_out = count_lines("Y");
    std::size_t end_y = pos_;
    pos_ = start;
    skip_to_open("X");
    sim_netlist.elements.reserve(n_elem);
    for (std::size_t i = 0; i < n_elem; ++i) read_element();
    // Each block is read from behind the previous one's closing bracket, so an
    // empty block does not hand its neighbour's text to the next scan.
    if (pos_ < end_x) pos_ = end_x;
    sim_netlist.outputs.reserve(n_out);
    for (std::size_t i = 0; i < n_out; ++i) read_output();
    if (pos_ < end_y) pos_ = end_y;
    read_numn();
  }

private:
  std::string s_;
  std::string file_;
  sim_params* p_;
  std::size_t pos_ = 0;
  std::vector<param_entry> table_;
  // Where each element row's two node fields stand, for the check against numn.
  std::vector<std::size_t> node1_at_, node2_at_;

  // ---- characters ----
  int peek() const { return pos_ < s_.size() ? static_cast<unsigned char>(s_[pos_]) : eof; }
  int get() { return pos_ < s_.size() ? static_cast<unsigned char>(s_[pos_++]) : eof; }
  void skip_space() {
    while (is_space(peek())) ++pos_;
  }
  void skip_line() {
    for (int c = get(); c != eof && c != '\n'; c = get()) {
    }
  }

  // ---- failures: the reader's text, then where it happened ----
  [[noreturn]] void fail(const std::string& what, const std::string& name, std::size_t at) const {
    throw_text(sread_text(what, name) + place_text(s_, file_, at));
  }
  [[noreturn]] void fail(const std::string& what, const std::string& name) const {
    fail(what, name, pos_);
  }

  const param_entry* find_param(const std::string& name) const {
    for (const param_entry& e : table_)
      if (name == e.name) return &e;
    return nullptr;
  }

  // ---- tokens ----
  std::string read_ident() {
    skip_space();
    std::size_t b = pos_;
    while (is_ident_char(peek())) ++pos_;
    return s_.substr(b, pos_ - b);
  }

  // Blanks before a number are skipped, line ends are not.
  std::string read_number() {
    skip_space_on_line();
    std::size_t b = pos_;
    while (is_number_char(peek())) ++pos_;
    return s_.substr(b, pos_ - b);
  }

  // The whole token must be one finite number; an empty token is 0.
  double token_double(const std::string& tok, std::size_t at, const std::string& name) const {
    if (tok.empty()) return 0.0;
    double v = 0.0;
    const char* end = scan_double(tok.data(), tok.data() + tok.size(), v);
    if (end != tok.data() + tok.size()) fail("bad number " + tok, name, at);
    return v;
  }

  // An int keyword takes the integer prefix of a valid number: "1e3" gives 1.
  int token_int(const std::string& tok, std::size_t at, const std::string& name) const {
    token_double(tok, at, name);
    const char* b = tok.data();
    const char* e = b + tok.size();
    bool negative = false;
    if (b < e && (*b == '+' || *b == '-')) negative = *b++ == '-';
    long long v = 0;
    for (; b < e && *b >= '0' && *b <= '9'; ++b) {
      v = v * 10 + (*b - '0');
      if (v > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
        fail("number out of range " + tok, name, at);
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
      fail("number out of range " + tok, name, at);
    return static_cast<int>(v);
  }

  // ---- parameter lines ----
  void read_params() {
    for (;;) {
      skip_space();
      if (peek() == eof) fail("netlist has no element block", file_);
      if (peek() == '%') {
        skip_line();
        continue;
      }
      std::size_t at = pos_;
      std::string ident = read_ident();
      if (ident == "X") {
        pos_ = at;  // the element block starts here
        return;
      }
      const param_entry* entry = find_param(ident);
      if (!entry) {
        std::string shown = ident.empty() ? std::string(1, s_[at]) : ident;
        fail("undefined identifier", shown, at);
      }
      for (;;) {  // "thon(3,:)=" targets thon: skip to '=' on this line
        int c = peek();
        if (c == '=') break;
        if (c == eof || c == '\n') fail("missing '='", ident);
        ++pos_;
      }
      ++pos_;
      netlist_records::place& pl = sim_netlist.places[ident];
      if (entry->type != type_append || pl.numbers.empty())
        pl = {std::min(s_.find_first_not_of(" \t", pos_), s_.size()), {}};
      switch (entry->type) {
        case type_matrix: {
          DM m = read_matrix(ident, &pl.numbers);
          if (entry->target) *static_cast<DM*>(entry->target) = m;
          break;
        }
        case type_append: {
          DM& field = *static_cast<DM*>(entry->target);
          DM more = read_matrix(ident, &pl.numbers, field.rows);
          DM joined = vconcat(field, more);
          field = joined;
          break;
        }
        case type_int: {
          std::size_t tat = (skip_space_on_line(), pos_);
          pl.numbers.push_back(tat);
          const int v = token_int(read_number(), tat, ident);
          if (entry->target) *static_cast<int*>(entry->target) = v;
          end_param_number(tat, ident);
          break;
        }
        case type_double: {
          std::size_t tat = (skip_space_on_line(), pos_);
          const double v = token_double(read_number(), tat, ident);
          if (entry->target) *static_cast<double*>(entry->target) = v;
          end_param_number(tat, ident);
          break;
        }
        case type_bounds:
          *static_cast<bound_list*>(entry->target) = read_bounds(ident);
          break;
      }
      skip_line();
    }
  }

  void skip_space_on_line() {
    while (peek() == ' ' || peek() == '\t') ++pos_;
  }

  void end_param_number(std::size_t at, const std::string& name) const {
    if (ends_param_number(peek())) return;
    std::size_t e = pos_;
    while (e < s_.size() && !is_space(static_cast<unsigned char>(s_[e])) && s_[e] != ';') ++e;
    fail("bad number " + s_.substr(at, e - at), name, pos_);
  }

  // A row's number must end where its field does.
  void end_row_number(const std::string& what, const std::string& row) const {
    if (!ends_row_number(peek())) fail("bad " + what + " in row", row, pos_);
  }

  // After '=', only blanks may stand before the opening bracket.
  void open_bracket(const std::string& name) {
    skip_space();
    if (peek() != '[') fail("missing '['", name);
    ++pos_;
  }

  // The offset of each number goes to at_list, when given. rows_before: the rows that an
  // appended matrix joins, which count towards the size limit.
  DM read_matrix(const std::string& name, std::vector<std::size_t>* at_list = nullptr, int rows_before = 0) {
    open_bracket(name);
    std::size_t start = pos_ - 1;
    std::vector<std::vector<double>> rows(1);
    std::vector<std::size_t> row_at{pos_};
    std::size_t numbers = 0;
    for (;;) {
      int c = get();
      if (c == eof) fail("missing ']'", name, start);
      if (c == '[') fail("missing ']'", name, start);
      if (c == ',' || c == ' ' || c == '\t') continue;
      if (c == ';' || c == '\n' || c == ']') {
        if (c == ']') break;
        rows.emplace_back();
        row_at.push_back(pos_);
        continue;
      }
      if (!is_number_char(c)) continue;  // anything else vanishes
      --pos_;
      std::size_t at = pos_;
      std::string tok = read_number();
      rows.back().push_back(token_double(tok, at, name));
      if (at_list) at_list->push_back(at);
      ++numbers;
    }
    if (numbers == 0) return DM();
    std::size_t cols = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (rows[r].empty()) fail("empty row in matrix", name, row_at[r]);
      if (cols == 0) cols = rows[r].size();
      if (rows[r].size() != cols) fail("rows of unequal length in matrix", name, row_at[r]);
    }
    const std::size_t all_rows = rows.size() + static_cast<std::size_t>(rows_before);
    if (all_rows > max_table_size || cols > max_table_size) {
      // Rows appended line by line are counted as they come: the table's whole size is
      // not known where it passes the limit.
      const std::string limit = std::to_string(max_table_size) + " x " + std::to_string(max_table_size);
      fail(rows_before > 0 ? name + " passes the size limit of " + limit + " at row " + std::to_string(all_rows) +
                                 " (" + std::to_string(cols) + " columns)"
                           : name + " is " + std::to_string(all_rows) + " x " + std::to_string(cols) +
                                 ", above the size limit of " + limit,
           name, start);
    }
    DM m(static_cast<int>(rows.size()), static_cast<int>(cols));
    for (std::size_t r = 0; r < rows.size(); ++r)
      for (std::size_t c = 0; c < cols; ++c)
        m(static_cast<double>(r + 1), static_cast<double>(c + 1)) = rows[r][c];
    return m;
  }

  // Entries 'name value', one per line, the last line closed by ']'.
  bound_list read_bounds(const std::string& name) {
    open_bracket(name);
    std::size_t start = pos_ - 1;
    bound_list list;
    for (;;) {
      int c;
      while ((c = peek()) != '\'' && c != ']' && c != eof) ++pos_;
      if (c == eof) fail("missing ']'", name, start);
      if (c == ']') break;
      ++pos_;
      std::size_t at = pos_;
      state_bound b;
      skip_space_on_line();
      int first = peek();
      if (!is_ident_char(first) || (first >= '0' && first <= '9'))
        fail("missing state name", name, pos_);
      b.name = read_ident();
      skip_space_on_line();
      at = pos_;
      std::string tok = read_number();
      if (tok.empty()) fail("missing value of " + b.name, name, at);
      b.value = token_double(tok, at, name);
      while ((c = peek()) != '\'') {
        if (c == eof || c == '\n') fail("missing closing apostrophe", name, at);
        ++pos_;
      }
      ++pos_;
      list.push_back(b);
      while ((c = peek()) != '\n' && c != ']') {
        if (c == eof) fail("missing ']'", name, start);
        ++pos_;
      }
      ++pos_;
      if (c == ']') break;
    }
    return list;
  }

  // ---- element and output blocks ----
  void skip_to_open(const char* block) {
    int c;
    while ((c = peek()) != '[') {
      if (c == eof) fail("missing '['", block);
      ++pos_;
    }
    ++pos_;
  }

  std::size_t count_lines(const char* block) {
    skip_to_open(block);
    std::size_t start = pos_ - 1;
    std::size_t n = 0;
    for (;;) {
      int c;
      while ((c = peek()) != ']' && !is_kind(c)) {
        if (c == eof) fail("missing ']'", block, start);
        ++pos_;
      }
      ++pos_;
      if (c == ']') return n;
      ++n;
      while ((c = peek()) != '\n' && c != ']') {
        if (c == eof) fail("missing ']'", block, start);
        ++pos_;
      }
      ++pos_;
      if (c == ']') return n;
    }
  }

  // Row fields are separated by blanks and stay on the row's line, so a truncated
  // row is reported instead of taking its fields from the next one.
  std::string scan_word(const std::string& what, const std::string& row) {
    skip_space_on_line();
    std::size_t b = pos_;
    while (peek() != eof && !is_space(peek())) ++pos_;
    if (b == pos_ || s_[b] == ']' || (pos_ - b == 1 && s_[b] == '\''))
      fail("missing " + what + " in row", row, b);
    return s_.substr(b, pos_ - b);
  }

  static std::string drop_apostrophe(std::string w) {
    if (!w.empty() && w.back() == '\'') w.pop_back();
    return w;
  }

  std::string scan_name(const std::string& what, const std::string& row) {
    std::size_t at = pos_;
    std::string w = drop_apostrophe(scan_word(what, row));
    if (w.empty()) fail("missing " + what + " in row", row, at);
    return w;
  }

  std::uint32_t scan_unsigned(const std::string& what, const std::string& row) {
    std::uint32_t v = scan_unsigned_as("bad " + what + " in row", row);
    end_row_number(what, row);
    return v;
  }

  std::uint32_t scan_unsigned_as(const std::string& message, const std::string& name) {
    skip_space_on_line();
    std::size_t b = pos_;
    std::uint64_t v = 0;
    if (peek() == '+') ++pos_;
    std::size_t digits = pos_;
    while (peek() >= '0' && peek() <= '9') {
      v = v * 10 + static_cast<std::uint64_t>(get() - '0');
      if (v > 0xffffffffu) fail(message, name, b);
    }
    if (pos_ == digits) fail(message, name, b);
    return static_cast<std::uint32_t>(v);
  }

  int scan_int(const std::string& what, const std::string& row) {
    skip_space_on_line();
    std::size_t b = pos_;
    bool negative = false;
    if (peek() == '+' || peek() == '-') negative = get() == '-';
    std::size_t digits = pos_;
    long long v = 0;
    while (peek() >= '0' && peek() <= '9') {
      v = v * 10 + (get() - '0');
      if (v > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
        fail("bad " + what + " in row", row, b);
    }
    if (pos_ == digits) fail("bad " + what + " in row", row, b);
    if (negative) v = -v;
    if (v > std::numeric_limits<int>::max()) fail("bad " + what + " in row", row, b);
    end_row_number(what, row);
    return static_cast<int>(v);
  }

  double scan_double_field(const std::string& what, const std::string& row) {
    skip_space_on_line();
    double v = 0.0;
    const char* b = s_.data() + pos_;
    const char* end = scan_double(b, s_.data() + s_.size(), v);
    if (!end || end == b) fail("bad " + what + " in row", row);
    pos_ += static_cast<std::size_t>(end - b);
    end_row_number(what, row);
    return v;
  }

  // Letters and digits of the rest of the line.
  std::string rest_label() {
    std::string label;
    for (int c = get(); c != eof && c != '\n'; c = get())
      if (is_alnum(c)) label += static_cast<char>(c);
    return label;
  }

  void read_element() {
    int c;
    while (!is_kind(c = peek())) {
      if (c == eof || c == ']') fail("element block ends early", "X");
      ++pos_;
    }
    netlist_element e;
    e.kind = static_cast<char>(get());
    // The name is the rest of the word that the kind letter begins.
    if (peek() == eof || is_space(peek())) fail("missing name in row", std::string(1, e.kind));
    e.name = scan_word("name", std::string(1, e.kind));
    const std::string row = e.kind + e.name;
    std::size_t n1 = std::string::npos, n2 = std::string::npos;
    auto node = [&](std::size_t& at) {
      skip_space_on_line();
      at = pos_;
      return scan_unsigned("node", row);
    };
    auto has_prefix = [&](const char* pre) { return e.name.compare(0, 2, pre) == 0; };
    switch (e.kind) {
      case 'M':
        e.value = scan_double_field("coupling", row);
        e.ref1 = scan_word("first inductor", row);
        e.ref2 = scan_name("second inductor", row);
        break;
      case 'P':
        e.node1 = node(n1);
        e.node2 = node(n2);
        e.value = scan_double_field("value", row);
        e.ival = static_cast<int>(scan_unsigned("number", row));
        break;
      case 'E':
      case 'H':
      case 'G':
      case 'F':
        e.node1 = node(n1);
        e.node2 = node(n2);
        e.value = scan_double_field("value", row);
        e.ref1 = scan_name("controlling element", row);
        break;
      default:  // V R L C I S D
        e.node1 = node(n1);
        e.node2 = node(n2);
        e.value = scan_double_field("value", row);
        if (has_prefix("#D") || has_prefix("#R")) {
          e.word1 = scan_name("word", row);
        } else if (has_prefix("#M")) {
          e.numbers[0] = scan_double_field("gain", row);
          e.word1 = scan_word("first output", row);
          e.word2 = scan_name("second output", row);
        } else if (has_prefix("#P")) {
          e.value = scan_double_field("value", row);
          e.ival = scan_int("number", row);
          e.word1 = scan_word("first name", row);
          e.word2 = scan_word("second name", row);
          e.word3 = scan_name("third name", row);
          for (double& v : e.numbers) v = scan_double_field("number", row);
        }
        break;
    }
    e.label = rest_label();
    sim_netlist.elements.push_back(std::move(e));
    node1_at_.push_back(n1);
    node2_at_.push_back(n2);
  }

  void read_output() {
    int c;
    while ((c = peek()) != 'V' && c != 'I') {
      if (c == eof) fail("output block ends early", "Y");
      ++pos_;
    }
    netlist_output o;
    o.kind = static_cast<char>(get());
    o.name = scan_name("name", std::string(1, o.kind));
    o.label = rest_label();
    sim_netlist.outputs.push_back(std::move(o));
  }

  // Only a "numn = N" statement gives numn; blanks, ';' and comment lines may stand
  // before it, and anything else means it is missing. Blanks and line ends may stand
  // between the keyword, '=' and the count.
  void read_numn() {
    for (;;) {
      skip_space();
      if (peek() == ';') {
        ++pos_;
      } else if (peek() == '%') {
        skip_line();
      } else {
        break;
      }
    }
    const std::size_t at = pos_;
    if (read_ident() != "numn") fail("missing numn", file_, at);
    skip_space();   // '=' may follow on a later line
    if (peek() != '=') fail("missing numn", file_, at);
    ++pos_;
    skip_space();
    const std::size_t number_at = pos_;
    sim_netlist.numn = scan_unsigned_as("bad number", "numn");
    check_nodes();
    check_unused_nodes(number_at);
  }

  // Nodes no row uses make the circuit singular: numn above the highest node + 1, or a
  // node below it that no row uses, is refused here, before anything is sized by numn.
  // The highest node counts every pin; a row between a node and itself carries no branch,
  // so it does not make its node used.
  void check_unused_nodes(std::size_t numn_at) const {
    std::vector<std::uint32_t> used;
    std::uint32_t highest = 0;
    for (const netlist_element& e : sim_netlist.elements) {
      if (e.kind == 'M') continue;
      highest = std::max({highest, e.node1, e.node2});
      if (e.node1 != e.node2) used.insert(used.end(), {e.node1, e.node2});
    }
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    const std::uint32_t numn = sim_netlist.numn;
    if (numn > static_cast<std::uint64_t>(highest) + 1)
      fail("numn = " + std::to_string(numn) + " but the highest node of the element rows is " +
               std::to_string(highest),
           "numn", numn_at);
    std::uint32_t next = 1;   // nodes 1 .. numn - 1 in order; ground may stay unused
    for (std::uint32_t node : used) {
      if (node == 0) continue;
      if (node != next) break;
      ++next;
    }
    if (next < numn)
      fail("node " + std::to_string(next) +
               (self_row_at(next) ? " is used only by rows from a node to itself" : " is used by no element row") +
               " (numn = " + std::to_string(numn) + ")",
           "numn", numn_at);
  }

  static bool self_row_at(std::uint32_t node) {
    for (const netlist_element& e : sim_netlist.elements)
      if (e.kind != 'M' && e.node1 == node && e.node2 == node) return true;
    return false;
  }

  // Nodes are 0 (ground) to numn - 1; a row between one node and itself carries no
  // branch and is not checked, as the model builder does not stamp it.
  void check_nodes() const {
    const std::uint32_t numn = sim_netlist.numn;
    const std::uint32_t last = numn > 0 ? numn - 1 : 0;
    for (std::size_t i = 0; i < sim_netlist.elements.size(); ++i) {
      const netlist_element& e = sim_netlist.elements[i];
      if (e.kind == 'M' || e.node1 == e.node2) continue;
      const std::uint32_t bad = e.node1 > last ? e.node1 : e.node2 > last ? e.node2 : 0;
      if (!bad) continue;
      fail("node " + std::to_string(bad) + " beyond numn = " + std::to_string(numn) + " in row",
           e.kind + e.name, bad == e.node1 ? node1_at_[i] : node2_at_[i]);
    }
  }
};

}  // namespace

void read_netlist(const char* file, sim_params* p) {
  sim_netlist = netlist_records();
  if (!file || !*file) throw_text(sread_text("Can't open file for reading", "(no file name)"));
  std::string text = read_file(file);
  // Read as text: a CR before a newline belongs to the line end.
  std::string clean;
  clean.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) clean += text[i];
  reader r(clean, file, p);
  r.read_all();
  sim_netlist.file = file;
  sim_netlist.text = std::move(clean);
}

void free_netlist() { sim_netlist = netlist_records(); }
