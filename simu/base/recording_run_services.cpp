#include "simu/base/recording_run_services.h"

void recording_run_services::CreateProgressBar() {
  ++creates;
  bar = true;
}

void recording_run_services::StepProgressBar() {
  if (bar) ++steps;
}

void recording_run_services::DeleteProgressBar() {
  ++deletes;
  bar = false;
}

bool recording_run_services::poll_escape() { return ++polls == escape_at_poll; }

int recording_run_services::message_box(const char* text, box_style style) {
  boxes.push_back({text, style});
  return box_result;
}

void recording_run_services::simulation_done(const char* secs) { reports.push_back(secs); }
