// The commands of the Simulation and Steady_State menus, part of the view.
//
//     SimCommands sim(view, host, dialogs, launcher);
//     sim.OnSimulationRun();       // transient run; the plotting program after it
//     sim.OnSsOptions();           // SS_Dlg; OK: undo point, then the settings
//
// Runs go through the launcher (sdi/netlist/launcher.h), which prepares the circuit,
// writes "<base>.m" and calls the engine in this thread. A run first removes an
// element being placed (nothing placed is lost), then needs a base path without a
// control character (NameRefusal, doc_names.h), a port and a ground; View Plot
// refuses such a base path too, before anything is written or started.
// After a transient run run_ss, run_one_c and run_stop_close stay 0; after a
// steady-state run run_ss is 1; a limited run puts run_stop_close back.
// External programs that cannot start leave a status-bar line, never a box.
#pragma once
#include <cstddef>
#include <functional>
#include <string>

#include "sdi/zorv/core/dialogs/dialog_service.h"
#include "sdi/zorv/core/base/process_launcher.h"

namespace zorv {

class ViewCore;

// View Sequence reads the first kMaxShownSequenceBytes of "<base>.seq" and one byte more,
// whatever its size, and shows them as SequenceShown gives (sequence_text.h). A pipe, a
// device or a folder is refused at once: "File <base>.seq is not a regular file.".

// What the commands need from the window system.
class SimHost {
public:
  virtual ~SimHost() = default;
  virtual std::string BasePath() const = 0;          // the open circuit's path up to its first "."
  virtual std::string ExecutableFolder() const = 0;  // where "rurozuze" is
  virtual void SetStatusLine(const std::string& text) = 0;
  // The switching-sequence report in a read-only text window.
  virtual void ShowSequence(const std::string& path, const std::string& text) = 0;
};

class SimCommands {
public:
  SimCommands(ViewCore& view, SimHost& host, DialogService& dialogs, ProcessLauncher& launcher);

  void OnSimulationRun();
  void OnSimulationParameters();
  void OnSimulationOptions();
  void OnSimulationViewPlot();
  void OnSsRun();
  void OnSsOptions();
  void OnSsViewSequence();
  void OnSsLimsimRun();
  void OnSsLimsimCycles();

  // 1 when the circuit has a port and a ground; else the message shown and 0.
  int CheckPortAndGround();

  // The run commands are off while this says so (a pasted group floats, a pick is open).
  void SetRunBlocker(std::function<bool()> blocked) { m_runBlocked = std::move(blocked); }
  bool RunEnabled() const { return !m_runBlocked || !m_runBlocked(); }

  // The launcher of the plotting program from now on.
  void SetLauncher(ProcessLauncher& launcher) { m_launcher = &launcher; }

  // The "# cycles reached" box of SS_Dlg, kept between two openings.
  int CyclesReached() const { return m_cyclesReached; }

  // The plotting program's one argument for a base path: the table's exact path.
  static std::string PlotArgument(const std::string& basePath);

private:
  // Before a run: the element being placed removed, a port and a ground required.
  bool BeginRun();
  void EndRun();

  ViewCore& m_view;
  SimHost& m_host;
  DialogService& m_dialogs;
  ProcessLauncher* m_launcher;
  std::function<bool()> m_runBlocked;
  int m_cyclesReached = 1;
};

}  // namespace zorv
