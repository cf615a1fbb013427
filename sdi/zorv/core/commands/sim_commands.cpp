#include "sdi/zorv/core/commands/sim_commands.h"

#include <algorithm>

#include "sdi/elements/element.h"
#include "sdi/elements/elist.h"
#include "sdi/netlist/launcher.h"
#include "sdi/zorv/core/base/messages.h"
#include "sdi/zorv/core/commands/run_excitation.h"
#include "sdi/zorv/core/commands/sequence_text.h"
#include "sdi/zorv/core/dialogs/settings_forms.h"
#include "sdi/zorv/core/document/doc_names.h"
#include "sdi/zorv/core/view/view_core.h"
#include "simu/base/regular_file.h"
#include "simu/input/run_settings.h"

namespace zorv {

namespace {

bool CircuitHasKind(std::initializer_list<int> kinds) {
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next))
    if (n->value && std::find(kinds.begin(), kinds.end(), n->value->kind) != kinds.end()) return true;
  return false;
}

// Puts a value back when the scope ends, however it ends.
class Restore {
public:
  explicit Restore(int& v) : m_ref(v), m_kept(v) {}
  ~Restore() { m_ref = m_kept; }
  Restore(const Restore&) = delete;
  Restore& operator=(const Restore&) = delete;

private:
  int& m_ref;
  int m_kept;
};

}  // namespace

SimCommands::SimCommands(ViewCore& view, SimHost& host, DialogService& dialogs, ProcessLauncher& launcher)
    : m_view(view), m_host(host), m_dialogs(dialogs), m_launcher(&launcher) {}

int SimCommands::CheckPortAndGround() {
  if (!CircuitHasKind({sdi::kind_voltage_port, sdi::kind_current_port})) {
    ShowMessage("Must have a port in the circuit");
    return 0;
  }
  if (!CircuitHasKind({sdi::kind_ground})) {
    ShowMessage("Must have a ground in the circuit");
    return 0;
  }
  return 1;
}

bool SimCommands::BeginRun() {
  // What Select does: the element being placed goes, what is placed stays, and
  // the selection ends (run preparation deselects every element anyway).
  m_view.Edit().OnSelect();
  // The netlist and the plotting program's script hold the files' names as text.
  const std::string refused =
      NameRefusal(m_host.BasePath() + ".m", "the simulation is not run. Save the circuit under a name without one.");
  if (!refused.empty()) {
    ShowMessage(refused);
    return false;
  }
  return CheckPortAndGround() != 0;
}

void SimCommands::EndRun() {
  // Run preparation deselected every element (faulty ones come back marked).
  m_view.OnViewRedraw();
}

void SimCommands::OnSimulationRun() {
  run_stop_close = 0;
  run_ss = 0;
  run_one_c = 0;
  if (!BeginRun()) return;
  int result = 0;
  if (CircuitIsExcited()) {
    result = sdi::run_simulation();
  } else {
    TemporaryExcitation add;
    result = sdi::run_simulation();
  }
  EndRun();
  if (result) OnSimulationViewPlot();
}

void SimCommands::OnSsRun() {
  run_ss = 1;
  run_one_c = 0;
  if (!BeginRun()) return;
  sdi::run_simulation();
  EndRun();
}

void SimCommands::OnSsLimsimRun() {
  int result = 0;
  {
    Restore stopClose(run_stop_close);
    run_stop_close = 0;
    run_one_c = 1;
    if (!BeginRun()) return;
    result = sdi::run_simulation();
    EndRun();
  }
  if (result) OnSimulationViewPlot();
}

std::string SimCommands::PlotArgument(const std::string& basePath) {
  // The exact path, blanks and all (the program is started without a shell): a path with
  // its blanks as "*" could not be told back from one holding a "*" of its own.
  return basePath + ".plt";
}

void SimCommands::OnSimulationViewPlot() {
  if (const std::string refused = NameRefusal(m_host.BasePath() + ".plt", "it is not plotted."); !refused.empty()) {
    ShowMessage(refused);
    return;
  }
  const std::string program = m_host.ExecutableFolder() + "/rurozuze";
  std::string why;
  if (!m_launcher->StartDetached(program, {"rurozuze", PlotArgument(m_host.BasePath())}, why))
    m_host.SetStatusLine("Could not start the plotting program " + program + ": " + why);
}

void SimCommands::OnSsViewSequence() {
  const std::string path = m_host.BasePath() + ".seq";
  std::string text;
  // Never blocking (a pipe would freeze the window); only what the window shows is read,
  // and one byte more to tell that there is more.
  file_check read = read_regular_file_head(path.c_str(), kMaxShownSequenceBytes + 1, text);
  if (read == file_check::cannot_open && is_there_but_not_regular(path.c_str())) read = file_check::not_regular;
  if (read == file_check::cannot_open) {
    ShowMessage("No switching sequence exists yet (" + path +
                ").\nSteady_State > Run writes it when it reaches the steady state.");
    return;
  }
  if (read != file_check::ok) {
    ShowMessage(refusal_text(read, path, 0));  // a pipe, a device, a folder: no size is refused
    return;
  }
  m_host.ShowSequence(path, SequenceShown(text, path));
}

void SimCommands::OnSimulationParameters() {
  Form f = SimParametersForm();
  if (m_dialogs.Run(f) != DialogEnd::Ok) return;
  m_view.SaveBackup();
  StoreSimParameters(f);
}

void SimCommands::OnSimulationOptions() {
  Form f = SimOptionsForm();
  if (m_dialogs.Run(f) != DialogEnd::Ok) return;
  m_view.SaveBackup();
  StoreSimOptions(f);
}

void SimCommands::OnSsOptions() {
  Form f = SteadyStateForm(m_cyclesReached);
  if (m_dialogs.Run(f) != DialogEnd::Ok) return;
  m_view.SaveBackup();
  StoreSteadyState(f, m_cyclesReached);
}

void SimCommands::OnSsLimsimCycles() {
  Form f = LimitedCyclesForm();
  if (m_dialogs.Run(f) == DialogEnd::Ok) StoreLimitedCycles(f);
}

}  // namespace zorv
