// The question the running editor asks before a changed circuit is closed.
#include <gtest/gtest.h>

#include <string>

#include "zorv/smoke/buck_circuit.h"
#include "zorv/smoke/gui_session.h"

TEST(Smoke, ClosingAChangedCircuitAsksSaveChangesToTheFile) {
  TempDir files;
  const std::string path = (files.path() / "asked.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  GuiSession s({"--nosplash", path});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.View()->SaveBackup();

  // Cancel keeps the window and the change.
  s.dialogs.answers = {wxID_CANCEL};
  EXPECT_FALSE(s.Frame()->Close(false));
  ASSERT_EQ(s.dialogs.seen.size(), 1u);
  EXPECT_EQ(s.dialogs.seen[0].message, "Save changes to asked.ckt?");
  EXPECT_EQ(s.dialogs.seen[0].title, "ZORV");
  EXPECT_TRUE(s.Doc()->IsModified());

  // No: File > New goes ahead without writing, to an untitled circuit.
  s.dialogs.seen.clear();
  s.dialogs.answers = {wxID_NO};
  s.Command(wxID_NEW);
  ASSERT_EQ(s.dialogs.seen.size(), 1u);
  EXPECT_EQ(s.dialogs.seen[0].message, "Save changes to asked.ckt?");
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - Untitled.ckt");
  EXPECT_FALSE(s.Doc()->IsModified());

  // A change to the new circuit names it.
  s.View()->SaveBackup();
  s.dialogs.seen.clear();
  s.dialogs.answers = {wxID_CANCEL};
  EXPECT_FALSE(s.Frame()->Close(false));
  ASSERT_EQ(s.dialogs.seen.size(), 1u);
  EXPECT_EQ(s.dialogs.seen[0].message, "Save changes to Untitled.ckt?");
}
