// File > Exit in the running editor: the menu command, and no key of its own.
#include <gtest/gtest.h>

#include <wx/uiaction.h>
#include <wx/utils.h>

#include "sdi/zorv/toolkit_ids.h"
#include "sdi/zorv/zorv_canvas.h"
#include "zorv/smoke/gui_session.h"

TEST(Smoke, ExitHasNoKeyOfItsOwnAndAsksToSave) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.View()->SaveBackup();
  s.Frame()->Raise();
  s.View()->Canvas()->SetFocus();
  ASSERT_TRUE(s.WaitFor([&] { return wxWindow::FindFocus() == s.View()->Canvas(); }));

  // The accelerator table has no Ctrl+Q: pressing it starts nothing.
  wxUIActionSimulator keys;
  keys.Char('q', wxMOD_CONTROL);
  for (int i = 0; i < 20; ++i) {
    s.Pump(2);
    wxMilliSleep(5);
  }
  EXPECT_TRUE(s.dialogs.seen.empty());
  // Ctrl+N, which it has, does (the save prompt shows the key arrived).
  s.dialogs.answers = {wxID_CANCEL};
  keys.Char('n', wxMOD_CONTROL);
  ASSERT_TRUE(s.WaitFor([&] { return !s.dialogs.seen.empty(); }));
  s.dialogs.seen.clear();

  // The menu command closes the window, asking first.
  s.dialogs.answers = {wxID_CANCEL};
  s.Command(ZORV_ID(AppExit));
  ASSERT_EQ(s.dialogs.seen.size(), 1u);
  EXPECT_EQ(s.dialogs.seen[0].message, "Save changes to Untitled.ckt?");
  EXPECT_TRUE(s.Frame()->IsShown());
}
