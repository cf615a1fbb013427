// The running editor with circuit files: open from the command line, drop, the recent
// file list, Save, the clipboard picture and printing, and what a failure shows.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <fstream>
#include <memory>
#include <tuple>

#include <wx/clipbrd.h>
#include <wx/dcmemory.h>
#include <wx/filedlg.h>
#include <wx/fileconf.h>
#include <wx/filehistory.h>
#include <wx/print.h>

#include "sdi/draw/drawing.h"
#include "sdi/elements/elist.h"
#include "sdi/files/record_stream.h"
#include "sdi/zorv/core/document/settings_file.h"
#include "sdi/zorv/core/view/view_render.h"
#include "sdi/zorv/drop_target.h"
#include "sdi/zorv/picture.h"
#include "sdi/zorv/settings_store.h"
#include "sdi/zorv/toolkit_ids.h"
#include "sdi/zorv/zorv_canvas.h"
#include "sdi/zorv/zorv_printout.h"
#include "simu/base/run_services.h"
#include "simu/input/run_settings.h"
#include "zorv/circuit_builder.h"
#include "zorv/smoke/buck_circuit.h"
#include "zorv/smoke/gui_session.h"
#include "zorv/smoke/screen_grab.h"

namespace {

bool IsBlue(const wxImage& image, wxPoint p) { return Rgb(image, p.x, p.y, 0, 0, 255); }

wxPoint OnView(GuiSession& s, sdi::point p) { return s.SheetToClient(p.x, p.y); }

struct Ink {
  int blue = 0, red = 0, green = 0;  // strokes, texts, grid dots
  int left = 1 << 30, right = -1;               // columns holding a stroke
};

// Prints page 1 of a Letter page (8.5 x 11 in at `ppi`) into a w x h bitmap, as the
// printer (the page's own size) or a preview (smaller) gives it.
Ink PrintInto(GuiSession& s, int ppi, int w, int h) {
  std::unique_ptr<wxPrintout> printout(s.View()->OnCreatePrintout());
  int pages[4] = {};  // one page
  printout->GetPageInfo(&pages[0], &pages[1], &pages[2], &pages[3]);
  EXPECT_EQ(std::vector<int>(pages, pages + 4), std::vector<int>(4, 1));
  wxBitmap bitmap(w, h, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    printout->SetDC(&dc);
    printout->SetPPIPrinter(ppi, ppi);
    printout->SetPageSizePixels(ppi * 17 / 2, ppi * 11);
    printout->OnPreparePrinting();
    EXPECT_EQ(sdi::grid_shown, 0);  // no grid on paper
    printout->OnBeginPrinting();
    EXPECT_TRUE(printout->OnPrintPage(1));
    printout->OnEndPrinting();
    printout->SetDC(nullptr);
  }
  EXPECT_EQ(sdi::grid_shown, 1);
  Ink ink;
  const wxImage image = bitmap.ConvertToImage();
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x) {
      const int r = image.GetRed(x, y), g = image.GetGreen(x, y), b = image.GetBlue(x, y);
      if (r == 0 && g == 0 && b == 255) ++ink.blue, ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
      ink.red += r == 200 && g == 0 && b == 0;
      ink.green += r == 0 && g == 128 && b == 0;
    }
  return ink;
}

}  // namespace

TEST(Smoke, OpensDrawsCopiesSavesAndReopensAFile) {
  TempDir files;
  const std::string path = (files.path() / "buck.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  const std::string bytes = slurp(path);
  GuiSession s({"--nosplash", path});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - " + path);
  EXPECT_EQ(::base_name, (files.path() / "buck").string());
  EXPECT_EQ(CircuitCount(), 17);
  EXPECT_TRUE(s.Messages().empty());
  s.Pump(20);
  const wxImage view = GrabClient(s.View()->Canvas());
  EXPECT_TRUE(IsBlue(view, OnView(s, kBuckResistorLead)));
  EXPECT_TRUE(IsBlue(view, OnView(s, kBuckWirePoint)));
  EXPECT_TRUE(IsBlue(view, OnView(s, {249, 193})));  // the dot of the T at the diode
  const wxPoint beside = OnView(s, {180, 268});
  EXPECT_EQ(view.GetRed(beside.x, beside.y), 255);

  const zorv::ViewMapping& m = s.View()->Core().Mapping();  // the clipboard picture
  const zorv::PictureFrame frame = zorv::ClipboardPictureFrame(zorv::CircuitExtent(), m);
  const wxImage picture = CircuitPicture(m, true).ConvertToImage();
  ASSERT_EQ(picture.GetWidth(), frame.size.w);
  ASSERT_EQ(picture.GetHeight(), frame.size.h);
  EXPECT_TRUE(IsBlue(picture, wxPoint(m.ToDeviceX(kBuckResistorLead.x) - frame.origin.x, m.ToDeviceY(kBuckResistorLead.y) - frame.origin.y)));
  wxUpdateUIEvent update(ToolkitCommandId(zorv::cmd::CopyToClipboard));
  s.Frame()->GetEventHandler()->ProcessEvent(update);
  EXPECT_TRUE(update.GetEnabled());
  s.Command(ToolkitCommandId(zorv::cmd::CopyToClipboard));
  {
    wxClipboardLocker lock;
    ASSERT_TRUE(!!lock);
    wxBitmapDataObject data;
    ASSERT_TRUE(wxTheClipboard->GetData(data));
    EXPECT_EQ(data.GetBitmap().GetWidth(), frame.size.w);
    EXPECT_EQ(data.GetBitmap().GetHeight(), frame.size.h);
  }

  std::filesystem::remove(path);  // Save writes the same bytes and clears the change
  s.View()->SaveBackup();
  s.Command(wxID_SAVE);
  EXPECT_FALSE(s.Doc()->IsModified());
  EXPECT_EQ(slurp(path), bytes);
  s.View()->SaveBackup();  // a failed save keeps the change and the name
  EXPECT_FALSE(s.Doc()->OnSaveDocument("/no/such/folder/kept.ckt"));
  EXPECT_EQ(s.Messages(), std::vector<std::string>{"Couldn't Open File!"});
  EXPECT_TRUE(s.Doc()->IsModified());
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - " + path);
  s.dialogs.answers = {wxID_NO};
  s.Command(wxID_NEW);
  EXPECT_EQ(s.dialogs.seen.back().message, "Save changes to buck.ckt?");
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - Untitled.ckt");
  EXPECT_EQ(CircuitCount(), 0);
  EXPECT_EQ(::base_name, (files.path() / "Untitled").string());
  wxFileHistory* history = s.App().DocManager()->GetFileHistory();  // the recent files
  ASSERT_EQ(history->GetCount(), 1u);
  EXPECT_EQ(history->GetHistoryFile(0), path);
  s.Command(wxID_FILE1);
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - " + path);
  EXPECT_EQ(CircuitCount(), 17);
  const std::string copy = (files.path() / "copy.ckt").string();  // saved under a new name: that name is the file's
  ASSERT_TRUE(s.Doc()->OnSaveDocument(copy));
  EXPECT_EQ(s.Doc()->GetFilename(), copy);
  EXPECT_EQ(history->GetHistoryFile(0), copy);
  s.Command(wxID_SELECTALL);
  int selected = 0;
  for (sdi::enode* n = sdi::circuit.head; n; n = static_cast<sdi::enode*>(n->next)) selected += n->value->selected != 0;
  EXPECT_EQ(selected, 17);
  s.Command(ToolkitCommandId(zorv::cmd::SubcircuitNew));  // the circuit's file name goes with it
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - Untitled.sct");
  EXPECT_TRUE(s.Doc()->GetFilename().empty());
}

TEST(Smoke, AFailedOpenKeepsTheChangedCircuitMarkedModified) {
  TempDir files;
  const std::string path = (files.path() / "buck.ckt").string();
  const std::string notes = (files.path() / "notes.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  std::ofstream(notes) << "not a circuit\n";
  GuiSession s({"--nosplash", path});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.View()->SaveBackup();  // an edit
  s.dialogs.onEnter = [&](wxDialog* dialog) {
    auto* chooser = dynamic_cast<wxFileDialog*>(dialog);
    if (!chooser) return;
    chooser->SetPath(notes);
    s.WaitFor([&] { return !chooser->GetPath().empty(); });  // the chooser selects it once the folder is read
  };
  s.dialogs.answers = {wxID_OK, wxID_NO};  // the file chosen, then "No" to saving the changes
  s.Command(wxID_OPEN);
  s.dialogs.onEnter = nullptr;
  const std::vector<std::string> said{"Save changes to buck.ckt?",
                                      "File " + notes + " is not a circuit file."};
  EXPECT_EQ(s.Messages(), said);
  EXPECT_EQ(CircuitCount(), 17);
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - " + path);
  EXPECT_TRUE(s.Doc()->IsModified());
  s.dialogs.answers = {wxID_CANCEL};  // so New still asks, and Cancel keeps the edits
  s.Command(wxID_NEW);
  EXPECT_EQ(s.Messages().back(), "Save changes to buck.ckt?");
  EXPECT_EQ(CircuitCount(), 17);
  EXPECT_TRUE(s.Doc()->IsModified());
}

TEST(Smoke, DroppedFilesOpenExceptDuringARun) {
  TempDir files;
  const std::string path = (files.path() / "dropped.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  auto* target = dynamic_cast<CZorvDropTarget*>(s.Frame()->GetDropTarget());
  ASSERT_NE(target, nullptr);
  wxArrayString missing, dropped;
  missing.push_back("/no/such/folder/dropped.ckt");
  dropped.push_back(path);
  EXPECT_TRUE(target->OnDropFiles(10, 10, missing));
  ASSERT_TRUE(s.WaitFor([&] { return !s.Messages().empty(); }));
  EXPECT_EQ(s.Messages(), std::vector<std::string>{"Couldn't Open File!"});
  // Dropped just before a run starts, or during it: refused, the circuit stays.
  EXPECT_TRUE(target->OnDropFiles(20, 20, dropped));
  main_window().CreateProgressBar();
  EXPECT_FALSE(target->OnDropFiles(20, 20, dropped));
  for (int i = 0; i < 10; ++i) main_window().poll_escape();
  s.Pump(10);
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - Untitled.ckt");
  EXPECT_EQ(CircuitCount(), 0);
  main_window().DeleteProgressBar();
  EXPECT_TRUE(target->OnDropFiles(20, 20, dropped));
  ASSERT_TRUE(s.WaitFor([&] { return s.Frame()->GetTitle() == "ZORV - " + path; }));
  EXPECT_EQ(CircuitCount(), 17);
  EXPECT_EQ(s.Messages().size(), 1u);
}

TEST(Smoke, UnopenableFileOnTheCommandLineIsReported) {
  GuiSession s({"--nosplash", "/no/such/folder/buck.ckt"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  EXPECT_EQ(s.Messages(), std::vector<std::string>{"Couldn't Open File!"});
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - Untitled.ckt");
}

// A settings file far larger than any the program writes (here sparse) is not read
// whole into memory at start: it is refused by name and the program starts.
TEST(Smoke, AnOversizedSettingsFileIsRefusedAndTheProgramStarts) {
  std::string settings;
  GuiSession s({"--nosplash"}, [&](const std::filesystem::path& home) {
    settings = (home / ".ZORV").string();
    std::ofstream(settings) << "[RecentFiles]\n";
    std::filesystem::resize_file(settings, zorv::kMaxSettingsFileBytes + 1);
  });
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  EXPECT_EQ(s.Messages(), std::vector<std::string>{"File " + settings +
                                                   " is larger than 65536 bytes.\nThe recent files are neither "
                                                   "read nor kept."});
}

// What the editor writes back holds its recent files alone, replacing a store filled near
// the bound with entries of no one's; files too long for the bound together are left out,
// oldest first, so that the next start never refuses what was written.
TEST(Smoke, TheSettingsWrittenBackHoldTheRecentFilesAlone) {
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  TempDir dir;
  const std::string path = (dir.path() / "settings").string();
  {
    std::ofstream out(path);
    out << "[Other]\nx=1\n";
    for (int k = 0; out.tellp() < static_cast<std::streamoff>(zorv::kMaxSettingsFileBytes) - 16; ++k) out << "k" << k << "=v\n";
  }
  wxFileHistory history(4);
  ASSERT_TRUE(KeepRecentFiles(history, path));
  EXPECT_EQ(slurp(path), "file1=\nfile2=\nfile3=\nfile4=\n");
  EXPECT_EQ(zorv::SettingsFileRefusal(path), "");
  // Four lines of 19,000 bytes would pass the bound: the newest three are written. Each
  // backslash is written as two.
  const std::string backslashes(5000, '\\'), escaped(10000, '\\');
  for (char c : {'d', 'c', 'b', 'a'}) history.AddFileToHistory("/" + std::string(8992, c) + backslashes);
  ASSERT_TRUE(KeepRecentFiles(history, path));
  std::string expected;
  for (char c : {'a', 'b', 'c'}) expected += std::string("file") + char('1' + c - 'a') + "=/" + std::string(8992, c) + escaped + "\n";
  expected += "file4=\n";
  EXPECT_EQ(slurp(path), expected);
  EXPECT_EQ(zorv::SettingsFileRefusal(path), "");
  // A file name that is no UTF-8, as the toolkit holds it (its bytes as private-use
  // characters), is written as UTF-8 and read back the same.
  const char* odd = "/a/\xff\xfe\xc3(b.ckt";
  wxFileHistory named(4);
  named.AddFileToHistory(wxString(odd, wxMBConvUTF8(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA)));
  ASSERT_TRUE(KeepRecentFiles(named, path));
  EXPECT_EQ(zorv::SettingsFileRefusal(path), "");
  bool keep = false;
  std::unique_ptr<wxConfigBase> store(OpenSettingsStore(path, keep));
  wxFileHistory read(4);
  read.Load(*store);
  EXPECT_EQ(slurp(path), "file1=/a/\xf4\x80\x83\xbf\xf4\x80\x83\xbe\xf4\x80\x83\x83(b.ckt\nfile2=\nfile3=\nfile4=\n");
  ASSERT_EQ(std::make_tuple(read.GetCount(), keep), std::make_tuple(size_t{1}, true));
  EXPECT_EQ(read.GetHistoryFile(0), named.GetHistoryFile(0));
  EXPECT_EQ(s.Messages().size(), 0u);
}

TEST(Smoke, PrintingFitsTheCircuitWithoutGridAndTextsInProportion) {
  const std::filesystem::path example = std::filesystem::path(__FILE__).parent_path() / "../../../examples/buck.ckt";
  ASSERT_TRUE(std::filesystem::exists(example));
  GuiSession s({"--nosplash", std::filesystem::canonical(example).string()});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  // A preview of a 1200 dpi printer's page in 510 x 660 pixels: the circuit across the
  // page within its margins (a twentieth a side), strokes kept, texts smaller.
  const Ink preview = PrintInto(s, 1200, 510, 660);
  EXPECT_GE(preview.left, 510 / 20 - 2);
  EXPECT_LE(preview.right, 510 - 510 / 20 + 2);
  EXPECT_GE(preview.right - preview.left, 510 * 7 / 10);
  EXPECT_GT(preview.blue, 1000);
  EXPECT_LT(preview.red, preview.blue);
  const Ink page = PrintInto(s, 100, 850, 1100);  // the printer's own page at 100 dpi
  EXPECT_GE(page.right - page.left, 850 * 7 / 10);
  EXPECT_LT(page.red, page.blue);
  EXPECT_LT(preview.blue, page.blue);  // strokes one pixel wide at either size
  const Ink fine = PrintInto(s, 400, 3400, 4400);  // drawn at 300 dpi, then stretched over the page
  EXPECT_GE(fine.right - fine.left, 3400 * 7 / 10);
  EXPECT_EQ(page.green, 0);
  std::unique_ptr<wxPrintout> cancelled(s.View()->OnCreatePrintout());  // the grid back without printing
  cancelled->OnPreparePrinting();
  cancelled.reset();
  EXPECT_EQ(sdi::grid_shown, 1);
}

// Subcircuit Open and Save As: the files chosen in the dialogs are read and written.
TEST(Smoke, TheSubcircuitFilesChosenAreReadAndWritten) {
  TempDir files;
  const std::string path = (files.path() / "stage.sct").string(), copy = (files.path() / "copy.sct").string();
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  AddResistor({200, 160});
  AddWire({200, 184}, {200, 232});
  ASSERT_TRUE(sdi::write_element_file(path, sdi::circuit));
  sdi::delete_all_elements();
  std::string chosen = path;
  s.dialogs.onEnter = [&](wxDialog* dialog) {
    if (auto* chooser = dynamic_cast<wxFileDialog*>(dialog)) {
      chooser->SetPath(chosen);
      s.WaitFor([&] { return !chooser->GetPath().empty(); });
    }
  };
  s.Command(ToolkitCommandId(zorv::cmd::SubcircuitOpen));
  EXPECT_EQ(CircuitCount(), 2);
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - " + path);
  chosen = copy;
  s.Command(ToolkitCommandId(zorv::cmd::SubcircuitSaveAs));
  s.dialogs.onEnter = nullptr;
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - " + copy);
  sdi::elist back;
  EXPECT_TRUE(sdi::read_element_file(copy, back));
  EXPECT_EQ(back.count(), 2);
  sdi::delete_list_elements(back);
}

// File > Save on a circuit never saved asks for a name, and the circuit is saved there.
TEST(Smoke, SaveOnACircuitNeverSavedAsksForAName) {
  TempDir files;
  const std::string path = (files.path() / "named.ckt").string();
  GuiSession s({"--nosplash"});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.View()->SaveBackup();
  AddResistor({200, 160});
  int asked = 0;
  s.dialogs.onEnter = [&](wxDialog* dialog) {
    if (auto* chooser = dynamic_cast<wxFileDialog*>(dialog)) {
      ++asked;
      chooser->SetPath(path);
      s.WaitFor([&] { return !chooser->GetPath().empty(); });
    }
  };
  s.Command(wxID_SAVE);
  s.dialogs.onEnter = nullptr;
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(s.Messages().empty());
  EXPECT_EQ(s.Frame()->GetTitle(), "ZORV - " + path);
  EXPECT_FALSE(s.Doc()->IsModified());
  sdi::delete_all_elements();
  ASSERT_EQ(sdi::open_circuit_file(path), sdi::circuit_read);
  EXPECT_EQ(CircuitCount(), 1);
}

// A save that a file-size limit cuts short says why, and keeps the old file and the change.
TEST(Smoke, ASaveCutShortSaysWhyAndKeepsTheOldFile) {
  TempDir files;
  const std::string path = (files.path() / "buck.ckt").string();
  ASSERT_TRUE(WriteBuckCircuit(path));
  const std::string bytes = slurp(path);
  GuiSession s({"--nosplash", path});
  ASSERT_TRUE(s.WaitFor([&] { return Shown(s); }));
  s.View()->SaveBackup();  // an edit
  AddResistor({600, 160});
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit was = limit;
  limit.rlim_cur = bytes.size() / 2;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  s.Command(wxID_SAVE);
  setrlimit(RLIMIT_FSIZE, &was);
  EXPECT_EQ(s.Messages(), std::vector<std::string>{"Couldn't write file " + path + ": File too large"});
  EXPECT_EQ(slurp(path), bytes);
  EXPECT_TRUE(s.Doc()->IsModified());
  for (const auto& e : std::filesystem::directory_iterator(files.path()))
    EXPECT_EQ(e.path().filename(), "buck.ckt");  // no temporary left
}
