#include "sdi/netlist/netlist_writer.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "sdi/elements/base_elements.h"
#include "sdi/elements/control_elements.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/netlist_writer_state.h"
#include "sdi/elements/node_errors.h"
#include "sdi/elements/node_numbering.h"
#include "sdi/elements/simrec.h"
#include "sdi/base/report.h"
#include "sdi/elements/source_elements.h"
#include "simu/base/control_characters.h"
#include "simu/input/run_settings.h"

namespace sdi {

namespace {

// Internal reports made while a file is written are shown as usual and
// counted: a netlist known to be broken must not reach the engine.
int hook_errors = 0;
error_fn outer_hook = nullptr;

void counting_hook(const char* format, ...) {
  char text[200];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  ++hook_errors;
  if (outer_hook) outer_hook("%s", text);
}

class counting_scope {
public:
  counting_scope() : saved_(error_hook), saved_count_(hook_errors) {
    outer_hook = saved_;
    hook_errors = 0;
    error_hook = counting_hook;
  }
  ~counting_scope() {
    error_hook = saved_;
    outer_hook = nullptr;
    hook_errors = saved_count_;
  }
  int count() const { return hook_errors; }
  counting_scope(const counting_scope&) = delete;
  counting_scope& operator=(const counting_scope&) = delete;

private:
  error_fn saved_;
  int saved_count_;
};

int counter_kind(int kind) { return describe(kind).counter; }

void compute_ordinals() {
  writer.switch_ordinal.clear();
  writer.output_ordinal.clear();
  int s = 0, o = 0;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e) continue;
    if (describe(e->kind).switching) writer.switch_ordinal[e] = ++s;
    if (e->flags.test(flag_output)) writer.output_ordinal[e] = ++o;
  }
  writer.output_count = o;
}

// Condition numbers belong to one file.
void clear_conditions() {
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next))
    if (n->value) n->value->forget_condition();
}

bool write_text_file(const std::string& text, std::FILE* f) {
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = std::fflush(f) == 0 && ok;
  ok = !std::ferror(f) && ok;
  ok = std::fclose(f) == 0 && ok;
  return ok;
}

}  // namespace

void name_elements() {
  for (int& c : writer.counters) c = 1;
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || !e->flags.test(flag_branch)) continue;
    int k = counter_kind(e->kind);
    if (k < 0 || k >= kind_count) {
      SDI_INTERNAL_CASE();
      continue;
    }
    std::string name = type_letter(e) + std::to_string(writer.counters[k]++);
    e->set_netname(name.c_str());
  }
  for (enode* n = circuit.head; n; n = static_cast<enode*>(n->next)) {
    element* e = n->value;
    if (!e || e->kind != kind_primary) continue;
    int w = 0;
    for (inode* s = static_cast<xform*>(e)->secondaries.head; s; s = static_cast<inode*>(s->next)) {
      element* sec = element_by_id(s->value);
      if (sec && sec->kind == kind_secondary) static_cast<xform*>(sec)->winding = ++w;
      else SDI_INTERNAL();
    }
  }
}

int write_netlist_file(const std::string& path, const std::string& circuit_name, int& node_count) {
  // The circuit's name is a line of the file: a line end in it would add lines of its own.
  if (has_control_character(path) || has_control_character(circuit_name)) {
    show_message("Couldn't write " + shown_name(path) + ": " +
                 (has_control_character(path) ? std::string("its name has a control character")
                                              : "the circuit name " + shown_name(circuit_name) +
                                                    " has a control character"));
    return 1;
  }
  counting_scope counting;
  writer.conditions = 0;
  writer.hidden_ids.clear();
  writer.limiter_ports.clear();
  writer.node_count = node_count;
  writer.user_errors = 0;

  clear_conditions();
  add_hidden_ports();
  compute_ordinals();

  char line[160];
  std::snprintf(line, sizeof line, "points = %d\n", run_points);
  std::string out = "tsim = " + double_text(run_tsim) + "\ntd = " + double_text(run_td) + "\n" + line;
  out += write_swinit();
  out += write_x0();
  out += write_timing();
  out += write_state_limits();
  out += write_conditions();
  out += write_switch_lines();

  out += "% Circuit name : " + circuit_name + "\n\n";
  out += "% Circuit Description\n";
  out += write_elements();
  out += "\n% Output Description\n";
  out += write_outputs();
  std::snprintf(line, sizeof line, "\n%% Number of nodes\nnumn = %u;\n", static_cast<unsigned>(writer.node_count));
  out += line;

  remove_hidden_ports();
  // The text is complete before the file is opened, so nothing can leave it open.
  int file_errors = 0;
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f || !write_text_file(out, f)) {
    // A read-only or full folder is the user's to fix: say which file and why.
    show_message("Couldn't write " + path + ": " + std::strerror(errno ? errno : EIO));
    file_errors = 1;
  }
  node_count = writer.node_count;
  return counting.count() + writer.user_errors + file_errors;
}

// The file and node count come from the run's process-wide state.
void write_netlist() {
  int nodes = numn;
  run_error_count += write_netlist_file(base_name + ".m", base_name, nodes);
  numn = nodes;
}

}  // namespace sdi
