// The running editor with circuit files: open from the command line, drop, the
// recent-file list, Save, and the picture on the screen.
#include <gtest/gtest.h>

#include <cstdlib>

#include <wx/clipbrd.h>
#include <wx/filehistory.h>

#include "sdi/elist.h"
#include "sdi/zorv/core/view_render.h"
#include "sdi/zorv/drop_target.h"
#include "sdi/zorv/picture.h"
#include "sdi/zorv/toolkit_ids.h"
#include "sdi/zorv/zorv_canvas.h"
#include "simu/run_services.h"
#include "simu/run_settings.h"
#include "zorv/circuit_builder.h"
#include "zorv/smoke/buck_circuit.h"
#include "zorv/smoke/gui_session.h"
#include "zorv/smoke/screen_grab.h"

namespace {

wxImage Screen(const wxRect& r) { return GrabScreen(r); }

bool IsBlue(const wxImage& image, wxPoint p) {
  return p.x >= 0 && p.y >= 0 && p.x < image.GetWidth() && p.y < image.GetHeight() && image.GetRed(p.x, p.y) == 0 &&
         image.GetGreen(p.x, p.y) == 0 && image.GetBlue(p.x, p.y) == 255;
}

// Where a sheet point shows in the view's client area.
wxPoint OnView(GuiSession& s, sdi::point p) {
  const zorv::ViewMapping& m = s.View()->Core().Mapping();
  const zorv::Pos scroll = s.View()->Canvas()->ScrollPos();
  return {m.ToDeviceX(p.x) - scroll.x, m.ToDeviceY(p.y) - scroll.y};
}

}  // namespace

TEST(Smoke, OpensTheFileNamedOnTheCommandLineAndDrawsIt) {
  TempDir files;
  const std::string path = (files.path() / "buck.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  GuiSession s({"--nosplash", path});
  ASSERT_TRUE(s.Started());
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - " + path);
  EXPECT_EQ(::base_name, (files.path() / "buck").string());
  EXPECT_EQ(CircuitCount(), 17);
  EXPECT_TRUE(s.Messages().empty());
  EXPECT_FALSE(s.Doc()->IsModified());
  s.Pump(20);

  CZorvCanvas* canvas = s.View()->Canvas();
  const wxImage view = Screen(wxRect(canvas->ClientToScreen(wxPoint(0, 0)), canvas->GetClientSize()));
  EXPECT_TRUE(IsBlue(view, OnView(s, kBuckResistorLead)));
  EXPECT_TRUE(IsBlue(view, OnView(s, kBuckWirePoint)));
  // The T where the diode meets the switch and the inductor has its dot.
  EXPECT_TRUE(IsBlue(view, OnView(s, {249, 193})));
  // White beside the wire.
  const wxPoint beside = OnView(s, {180, 268});
  EXPECT_EQ(view.GetRed(beside.x, beside.y), 255);

  if (const char* shot = std::getenv("ZORV_SCREENSHOT")) wxBitmap(Screen(s.Frame()->GetScreenRect())).SaveFile(shot, wxBITMAP_TYPE_PNG);
}

TEST(Smoke, ADroppedFileOpens) {
  TempDir files;
  const std::string path = (files.path() / "dropped.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  auto* target = dynamic_cast<CZorvDropTarget*>(s.Frame()->GetDropTarget());
  ASSERT_NE(target, nullptr);
  wxArrayString dropped;
  dropped.push_back(path);
  EXPECT_TRUE(target->OnDropFiles(20, 20, dropped));
  ASSERT_TRUE(s.WaitFor([&] { return s.Frame()->GetTitle() == "ZORV - " + path; }));
  EXPECT_EQ(CircuitCount(), 17);
  EXPECT_TRUE(s.Messages().empty());
}

TEST(Smoke, NothingDroppedOpensDuringARun) {
  TempDir files;
  const std::string path = (files.path() / "dropped.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  auto* target = dynamic_cast<CZorvDropTarget*>(s.Frame()->GetDropTarget());
  ASSERT_NE(target, nullptr);
  wxArrayString dropped;
  dropped.push_back(path);
  // Dropped just before a run starts, or during it: refused, the circuit stays.
  EXPECT_TRUE(target->OnDropFiles(20, 20, dropped));
  main_window().CreateProgressBar();
  EXPECT_FALSE(target->OnDropFiles(20, 20, dropped));
  for (int i = 0; i < 10; ++i) main_window().poll_escape();
  s.Pump(10);
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - Untitled.ckt");
  EXPECT_EQ(CircuitCount(), 0);
  main_window().DeleteProgressBar();
  // After the run a drop opens again.
  EXPECT_TRUE(target->OnDropFiles(20, 20, dropped));
  ASSERT_TRUE(s.WaitFor([&] { return s.Frame()->GetTitle() == "ZORV - " + path; }));
}

TEST(Smoke, RecentFileListReopens) {
  TempDir files;
  const std::string path = (files.path() / "recent.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  GuiSession s({"--nosplash", path});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  wxFileHistory* history = s.App().DocManager()->GetFileHistory();
  ASSERT_NE(history, nullptr);
  EXPECT_EQ(history->GetMaxFiles(), 4u);
  ASSERT_EQ(history->GetCount(), 1u);
  EXPECT_EQ(history->GetHistoryFile(0), path);
  s.Command(wxID_NEW);
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - Untitled.ckt");
  EXPECT_EQ(CircuitCount(), 0);
  EXPECT_EQ(::base_name, (files.path() / "Untitled").string());
  s.Command(wxID_FILE1);
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - " + path);
  EXPECT_EQ(CircuitCount(), 17);
}

TEST(Smoke, NewAfterAnEditAsksToSaveFirst) {
  TempDir files;
  const std::string path = (files.path() / "edited.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  GuiSession s({"--nosplash", path});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.View()->SaveBackup();
  s.dialogs.answers = {wxID_CANCEL};
  s.Command(wxID_NEW);
  ASSERT_EQ(s.dialogs.seen.size(), 1u);
  EXPECT_NE(s.dialogs.seen[0].message.Find("edited.ckt"), wxNOT_FOUND);
  EXPECT_EQ(CircuitCount(), 17);  // cancelled: nothing happened
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - " + path);
}

TEST(Smoke, SaveWritesTheOpenFileAndClearsTheChange) {
  TempDir files;
  const std::string path = (files.path() / "saved.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  const std::string before = slurp(path);
  std::filesystem::remove(path);
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  ASSERT_TRUE(WriteBuckCircuit(path));
  s.App().DocManager()->CreateDocument(path, wxDOC_SILENT);
  ASSERT_EQ(s.Frame()->GetTitle(), "ZORV - " + path);
  std::filesystem::remove(path);
  s.View()->SaveBackup();
  EXPECT_TRUE(s.Doc()->IsModified());
  s.Command(wxID_SAVE);
  EXPECT_FALSE(s.Doc()->IsModified());
  EXPECT_EQ(slurp(path), before);
  EXPECT_TRUE(s.Frame()->Close(false));  // nothing left to ask
  EXPECT_TRUE(s.dialogs.seen.empty());
}

TEST(Smoke, CopyToClipboardPutsTheCircuitsPicture) {
  TempDir files;
  const std::string path = (files.path() / "picture.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  GuiSession s({"--nosplash", path});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  const zorv::ViewMapping& m = s.View()->Core().Mapping();
  const zorv::SheetRect extent = zorv::CircuitExtent();
  const zorv::PictureFrame frame = zorv::ClipboardPictureFrame(extent, m);

  // The picture itself: the extent at the view's scale, the circuit inside.
  const wxImage picture = CircuitPicture(m, true).ConvertToImage();
  ASSERT_EQ(picture.GetWidth(), frame.size.w);
  ASSERT_EQ(picture.GetHeight(), frame.size.h);
  const wxPoint lead(m.ToDeviceX(kBuckResistorLead.x) - frame.origin.x, m.ToDeviceY(kBuckResistorLead.y) - frame.origin.y);
  EXPECT_TRUE(IsBlue(picture, lead));

  // The command enables with a circuit and puts a bitmap of that size on the clipboard.
  wxUpdateUIEvent update(ToolkitCommandId(zorv::cmd::CopyToClipboard));
  s.Frame()->GetEventHandler()->ProcessEvent(update);
  EXPECT_TRUE(update.GetEnabled());
  s.Command(ToolkitCommandId(zorv::cmd::CopyToClipboard));
  wxClipboardLocker lock;
  ASSERT_TRUE(!!lock);
  ASSERT_TRUE(wxTheClipboard->IsSupported(wxDF_BITMAP));
  wxBitmapDataObject data;
  ASSERT_TRUE(wxTheClipboard->GetData(data));
  EXPECT_EQ(data.GetBitmap().GetWidth(), frame.size.w);
  EXPECT_EQ(data.GetBitmap().GetHeight(), frame.size.h);
}

TEST(Smoke, CopyToClipboardIsDisabledForAnEmptyCircuit) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  wxUpdateUIEvent update(ToolkitCommandId(zorv::cmd::CopyToClipboard));
  s.Frame()->GetEventHandler()->ProcessEvent(update);
  EXPECT_FALSE(update.GetEnabled());
}

TEST(Smoke, AFailedSaveKeepsTheChangeAndTheExitPrompt) {
  TempDir files;
  const std::string path = (files.path() / "kept.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  GuiSession s({"--nosplash", path});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.View()->SaveBackup();
  EXPECT_FALSE(s.Doc()->OnSaveDocument("/no/such/folder/kept.ckt"));
  EXPECT_EQ(s.Messages(), std::vector<std::string>{"Couldn't Open File!"});
  EXPECT_TRUE(s.Doc()->IsModified());
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - " + path);
  EXPECT_EQ(s.App().DocManager()->GetFileHistory()->GetCount(), 1u);
  s.dialogs.seen.clear();
  s.dialogs.answers = {wxID_CANCEL};
  EXPECT_FALSE(s.Frame()->Close(false));
  ASSERT_EQ(s.dialogs.seen.size(), 1u);
  EXPECT_NE(s.dialogs.seen[0].message.Find("kept.ckt"), wxNOT_FOUND);
}
