// The view's Simulation and Steady_State commands: the toolkit's side of
// core/sim_commands.h (menu and toolbar events, the dialogs' parent, the status
// line, the sequence window).
#include <exception>

#include <wx/app.h>

#include "sdi/zorv/form_dialog.h"
#include "sdi/zorv/main_frame.h"
#include "sdi/zorv/sequence_window.h"
#include "sdi/zorv/toolkit_ids.h"
#include "sdi/zorv/zorv_doc.h"
#include "sdi/zorv/zorv_view.h"

namespace {

// A close asked for during a run is settled however the run's command ends: done
// once it has returned, forgotten when it threw.
class RunCommandEnd {
public:
  explicit RunCommandEnd(CMainFrame* frame) : m_frame(frame) {}
  ~RunCommandEnd() {
    if (!m_frame) return;
    if (std::uncaught_exceptions() > m_exceptions)
      m_frame->ForgetCloseAskedDuringRun();
    else
      m_frame->CloseIfAskedDuringRun();
  }
  RunCommandEnd(const RunCommandEnd&) = delete;
  RunCommandEnd& operator=(const RunCommandEnd&) = delete;

private:
  CMainFrame* m_frame;
  int m_exceptions = std::uncaught_exceptions();
};

}  // namespace

void CZorvView::BindSimulationCommands() {
  m_dialogs = std::make_unique<CFormDialogService>(GetFrame());
  m_sim = std::make_unique<zorv::SimCommands>(*m_core, *this, *m_dialogs, m_launcher);
  // A pasted group floating with the cursor must be dropped or discarded first.
  m_sim->SetRunBlocker([this] { return m_core->Edit().Floating(); });
  const struct {
    int id;
    void (zorv::SimCommands::*command)();
  } commands[] = {
      {ZORV_ID(SimulationRun), &zorv::SimCommands::OnSimulationRun},
      {ZORV_ID(SimulationParameters), &zorv::SimCommands::OnSimulationParameters},
      {ZORV_ID(SimulationOptions), &zorv::SimCommands::OnSimulationOptions},
      {ZORV_ID(ViewPlot), &zorv::SimCommands::OnSimulationViewPlot},
      {ZORV_ID(SteadyStateRun), &zorv::SimCommands::OnSsRun},
      {ZORV_ID(SteadyStateOptions), &zorv::SimCommands::OnSsOptions},
      {ZORV_ID(ViewSequence), &zorv::SimCommands::OnSsViewSequence},
      {ZORV_ID(LimitedRun), &zorv::SimCommands::OnSsLimsimRun},
      {ZORV_ID(LimitedCycles), &zorv::SimCommands::OnSsLimsimCycles},
  };
  for (const auto& c : commands)
    Bind(wxEVT_MENU, [this, c](wxCommandEvent&) {
      RunCommandEnd end(dynamic_cast<CMainFrame*>(GetFrame()));
      ((*m_sim).*c.command)();
    }, c.id);
  for (int id : {ZORV_ID(SimulationRun), ZORV_ID(SteadyStateRun), ZORV_ID(LimitedRun)})
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(m_sim->RunEnabled()); }, id);
}

void CZorvView::SetProcessLauncher(zorv::ProcessLauncher& launcher) { m_sim->SetLauncher(launcher); }

std::string CZorvView::BasePath() const {
  auto* doc = dynamic_cast<CZorvDoc*>(GetDocument());
  return doc ? doc->Core().BasePath() : std::string();
}

std::string CZorvView::ExecutableFolder() const { return zorv::ExecutableFolder(); }

void CZorvView::SetStatusLine(const std::string& text) {
  if (auto* frame = dynamic_cast<CMainFrame*>(GetFrame())) frame->SetStatusText(wxString::FromUTF8(text), 0);
}

void CZorvView::ShowSequence(const std::string& path, const std::string& text) {
  CSequenceWindow::Show(GetFrame(), path, text);
}
