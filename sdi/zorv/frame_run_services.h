// The engine's services during a run, provided by the main frame: the progress bar
// in the status bar, the poll for Esc, message boxes and the end-of-run report.
//
// The run blocks the one GUI thread. The poll lets the window system repaint (the
// progress bar, exposed windows: painting only copies frame buffers) and swallows
// every key, mouse and command event meanwhile, so nothing the user does starts a
// command during the run; an Esc key-down aimed at the main window or one of its
// children ends the run. Closing the window is refused while a run is going on.
#pragma once
#include "simu/base/run_services.h"

class CMainFrame;

class CFrameRunServices : public run_services {
public:
  explicit CFrameRunServices(CMainFrame& frame);
  ~CFrameRunServices() override;

  void CreateProgressBar() override;
  void StepProgressBar() override;
  void DeleteProgressBar() override;
  bool poll_escape() override;
  int message_box(const char* text, box_style style) override;
  void simulation_done(const char* secs) override;

private:
  CMainFrame& m_frame;
};
