// The end of a run in the running editor: the report the launcher chooses and the
// busy cursor while the engine runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <wx/utils.h>

#include "sdi/launcher.h"
#include "sdi/wait_cursor.h"
#include "sdi/zorv/grats_dlg.h"
#include "simu/run_services.h"
#include "zorv/smoke/gui_session.h"

namespace {

std::vector<std::string> g_finish;
void RecordFinish(const char* text) { g_finish.push_back(text); }

}  // namespace

TEST(Smoke, TheEndOfARunIsReportedAsTheLauncherChooses) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  const sdi::finish_dialog_fn previousHook = sdi::finish_dialog_hook;
  const int previousChoice = sdi::plain_finish_message;
  sdi::finish_dialog_hook = RecordFinish;
  g_finish.clear();

  // At start: the information box.
  sdi::plain_finish_message = 1;
  main_window().simulation_done("1.005");
  ASSERT_FALSE(s.Messages().empty());
  EXPECT_EQ(s.Messages().back(), "Simulation completed! Total simulation time = 1.005 secs.");
  EXPECT_TRUE(g_finish.empty());

  // After F8: the finish dialog, and no box.
  const std::size_t boxes = s.Messages().size();
  sdi::plain_finish_message = 0;
  main_window().simulation_done("0.25");
  EXPECT_EQ(s.Messages().size(), boxes);
  ASSERT_EQ(g_finish.size(), 1u);
  EXPECT_EQ(g_finish[0], "Total simulation time = 0.25 secs.");

  sdi::finish_dialog_hook = previousHook;
  sdi::plain_finish_message = previousChoice;
}

TEST(Smoke, TheCursorIsBusyWhileTheEngineRuns) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  EXPECT_FALSE(wxIsBusy());
  {
    sdi::wait_cursor busy;
    EXPECT_TRUE(wxIsBusy());
    {
      sdi::wait_cursor nested;
      EXPECT_TRUE(wxIsBusy());
    }
    EXPECT_TRUE(wxIsBusy());
  }
  EXPECT_FALSE(wxIsBusy());
}

TEST(Smoke, AfterF8TheFinishDialogReportsTheRun) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  const int previousChoice = sdi::plain_finish_message;
  sdi::plain_finish_message = 0;
  wxString text;
  s.dialogs.onEnter = [&](wxDialog* dialog) {
    if (auto* grats = dynamic_cast<GRATS_Dg*>(dialog)) text = grats->Text();
  };
  s.dialogs.answers = {wxID_OK};
  main_window().simulation_done("0.25");
  sdi::plain_finish_message = previousChoice;
  ASSERT_FALSE(s.dialogs.seen.empty());
  EXPECT_EQ(s.dialogs.seen.back().title, "ZORV");
  EXPECT_EQ(text, "Total simulation time = 0.25 secs.");
  EXPECT_TRUE(s.Messages().empty());

  // Shown, the picture starts at 15 pixels, 3.5 units down.
  auto* dlg = new GRATS_Dg(s.Frame(), "Total simulation time = 0.25 secs.");
  dlg->Show();
  ASSERT_TRUE(s.WaitFor([&] { return dlg->Slide().UnitX() > 0; }));
  EXPECT_EQ(dlg->Slide().Picture().x, 15);
  EXPECT_EQ(dlg->Slide().Picture().y, static_cast<int>(dlg->Slide().UnitY() * 3.5));
  dlg->Destroy();
}

TEST(Smoke, TheEnginesBoxesArePlainOrInformation) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  std::vector<long> icons;
  s.dialogs.onEnter = [&](wxDialog* dialog) {
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog))
      icons.push_back(box->GetMessageDialogStyle() & (wxICON_NONE | wxICON_INFORMATION));
  };
  EXPECT_EQ(main_window().message_box("Simulation terminated by user", box_style::plain), 1);
  EXPECT_EQ(main_window().message_box("Simulation completed!", box_style::information), 1);
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0], wxICON_NONE);
  EXPECT_EQ(icons[1], wxICON_INFORMATION);
  EXPECT_EQ(s.Messages(), (std::vector<std::string>{"Simulation terminated by user", "Simulation completed!"}));
}
