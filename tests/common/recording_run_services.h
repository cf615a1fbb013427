// run_services that record every call, for tests of the engine.
//
//     recording_run_services host;
//     host.escape_at_poll = 3;            // the third poll answers Esc
//     main_window_scope scope(host);
//     ... run ...
//     EXPECT_EQ(host.steps, 50);
//     EXPECT_EQ(host.boxes[0].text, "Simulation terminated by user");
#pragma once
#include <string>
#include <vector>

#include "simu/base/run_services.h"

struct recorded_box {
  std::string text;
  box_style style;
};

class recording_run_services : public run_services {
public:
  int creates = 0;            // CreateProgressBar calls
  int steps = 0;              // StepProgressBar calls while a bar exists
  int deletes = 0;            // DeleteProgressBar calls
  int polls = 0;              // poll_escape calls
  bool bar = false;           // a bar exists now
  int escape_at_poll = 0;     // the poll with this number (1-based) sees Esc; 0: never
  int box_result = 1;         // what every box returns
  std::vector<recorded_box> boxes;
  std::vector<std::string> reports;   // secs texts of simulation_done

  void CreateProgressBar() override {
    ++creates;
    bar = true;
  }
  void StepProgressBar() override {
    if (bar) ++steps;
  }
  void DeleteProgressBar() override {
    ++deletes;
    bar = false;
  }
  bool poll_escape() override { return ++polls == escape_at_poll; }
  int message_box(const char* text, box_style style) override {
    boxes.push_back({text, style});
    return box_result;
  }
  void simulation_done(const char* secs) override { reports.push_back(secs); }
};
