// A DialogService for tests: each opening dialog takes the next step (expected
// dialog, texts typed, buttons clicked, the end). An OK that FormProblem refuses
// is recorded and keeps the dialog open for the next step, as the real one does.
//     dialogs.steps = {{"sim_dlg", {{1001, "0"}}, {}, zorv::DialogEnd::Ok},   // refused
//                      {"sim_dlg", {}, {}, zorv::DialogEnd::Cancel}};
#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "sdi/zorv/core/dialogs/dialog_service.h"

struct ScriptedDialogs : zorv::DialogService {
  struct Step {
    std::string dialog;
    std::map<int, std::string> texts;
    std::vector<int> clicks;
    zorv::DialogEnd end = zorv::DialogEnd::Ok;
  };
  std::deque<Step> steps;
  std::vector<zorv::Form> opened;   // each dialog as it opened
  std::vector<std::string> refusals;

  zorv::DialogEnd Run(zorv::Form& form) override {
    opened.push_back(form);
    while (!steps.empty()) {
      const Step s = steps.front();
      steps.pop_front();
      EXPECT_EQ(s.dialog, form.name);
      for (const auto& [id, text] : s.texts) {
        zorv::Field* f = form.Find(id);
        if (!f) ADD_FAILURE() << form.name << " has no field " << id;
        else f->text = text;
      }
      for (int id : s.clicks) form.Click(id);
      if (s.end != zorv::DialogEnd::Ok) return s.end;
      const std::string problem = zorv::FormProblem(form);
      if (problem.empty()) return s.end;
      refusals.push_back(problem);
    }
    ADD_FAILURE() << "unexpected or unanswered dialog " << form.name;
    return zorv::DialogEnd::Cancel;
  }
  ~ScriptedDialogs() override { EXPECT_TRUE(steps.empty()) << steps.size() << " dialog steps left"; }
};
