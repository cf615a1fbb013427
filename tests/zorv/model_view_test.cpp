// The view and the document on the real circuit model.
#include <fstream>

#include "sdi/files/circuit_file.h"
#include "sdi/zorv/core/view/model_link.h"
#include "simu/input/run_settings.h"
#include "zorv/edit_fixture.h"
#include "zorv/render_pixels.h"

TEST(ModelView, ResistorAndWirePixelsDotsAndExtent) {
  ModelCircuit circuit;
  EXPECT_TRUE(zorv::CircuitIsEmpty());
  AddResistor({200, 160});  // image (194, 135), 13 x 51; leads on x = 200
  AddWire({200, 184}, {296, 184});
  sdi::frame_buffer fb(400, 300);
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, Unit(), {0, 0}, true, dots);
  // The resistor's upper lead from (200, 135) to (200, 148), the wire along y = 184, the
  // grid elsewhere.
  for (auto [x, y] : {std::pair{200, 138}, {200, 146}, {240, 184}, {290, 184}}) EXPECT_EQ(fb.pixel(x, y), kBlue) << x << "," << y;
  EXPECT_EQ(fb.pixel(240, 186), kWhite);
  EXPECT_EQ(fb.pixel(64, 64), kGreen);
  EXPECT_EQ(fb.pixel(352, 264), kGreen);
  // A junction dot at the wire's free end, none where it meets the resistor.
  EXPECT_EQ(dots.Points(), std::vector<sdi::point>{sdi::point(296, 184)});
  EXPECT_EQ(fb.pixel(297, 185), kBlue);
  AddWire({400, 300}, {480, 300});
  const zorv::SheetRect r = zorv::CircuitExtent();
  EXPECT_EQ(std::vector<int>({r.x, r.y, r.w, r.h}), std::vector<int>({174, 115, 480 - 174, 300 - 115}));
  EXPECT_FALSE(zorv::CircuitIsEmpty());
}

TEST_F(EditTest, SaveNewOpenRoundTrip) {
  doc.OnNewDocument();
  AddResistor({200, 160});
  AddWire({200, 184}, {296, 184});
  const std::string path = (dir.path() / "buck.v2.ckt").string();
  ASSERT_TRUE(doc.OnSaveDocument(path));  // exactly the chosen name; the base cut at the first dot
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(::base_name, (dir.path() / "buck").string());
  EXPECT_EQ(host.title, "ZORV - " + path);
  EXPECT_EQ(doc.WorkDir(), "");  // set by the first open
  doc.OnNewDocument();  // keeps the folder
  EXPECT_EQ(CircuitCount(), 0);
  EXPECT_EQ(::base_name, (dir.path() / "Untitled").string());
  EXPECT_EQ(host.title, "ZORV - Untitled.ckt");
  ASSERT_TRUE(doc.OnOpenDocument(path));
  EXPECT_EQ(CircuitCount(), 2);
  EXPECT_EQ(::base_name, (dir.path() / "buck").string());
  EXPECT_EQ(doc.FileName(), path);
  EXPECT_EQ(host.title, "ZORV - " + path);
  EXPECT_EQ(doc.WorkDir(), dir.path().string() + "/");
  std::filesystem::create_directory(dir.path() / "other");
  ASSERT_TRUE(doc.OnSaveDocument((dir.path() / "other" / "b.ckt").string()));
  EXPECT_EQ(sdi::in_circuit_folder("s.dat"), dir.path() / "other" / "s.dat");  // the model's files follow
  doc.OnOpenDocument(path);
  EXPECT_EQ(sdi::in_circuit_folder("s.dat"), dir.path() / "s.dat");
  ASSERT_TRUE(doc.OnOpenDocument((dir.path() / "other" / "b.ckt").string()));
  EXPECT_EQ(doc.WorkDir(), dir.path().string() + "/");  // the first open's folder stays
  EXPECT_FALSE(host.modified);
  EXPECT_TRUE(g_editMessages.empty());
}

TEST_F(EditTest, FailedOpenAndSaveAreReportedAndKeepTheCircuit) {
  doc.OnNewDocument();
  AddResistor({200, 160});
  host.modified = true;
  std::ofstream(dir.path() / "bad.ckt", std::ios::binary) << "ZORV";
  EXPECT_FALSE(doc.OnOpenDocument((dir.path() / "bad.ckt").string()));
  ASSERT_EQ(g_editMessages.size(), 1u);  // the reader's own message alone
  EXPECT_NE(g_editMessages[0], "Couldn't Open File!");
  g_editMessages.clear();
  EXPECT_FALSE(doc.OnOpenDocument((dir.path() / "missing.ckt").string()));
  EXPECT_FALSE(doc.OnSaveDocument((dir.path() / "no" / "such" / "x.ckt").string()));
  EXPECT_EQ(g_editMessages, (std::vector<std::string>{"Couldn't Open File!", "Couldn't Open File!"}));
  EXPECT_EQ(CircuitCount(), 1);
  EXPECT_EQ(host.title, "ZORV - Untitled.ckt");
  EXPECT_EQ(doc.FileName(), "Untitled.ckt");
  EXPECT_TRUE(host.modified);
}

TEST_F(EditTest, UndoPointHoldsTheCircuitAsSaved) {
  EXPECT_FALSE(view.CanRedo());  // nothing to redo at the start
  view.SetCanRedo(true);
  AddResistor({200, 160});
  view.SaveBackup();
  ASSERT_TRUE(sdi::save_circuit(dir.path() / "reference.ckt"));
  EXPECT_EQ(slurp(undo.Backup()), slurp(dir.path() / "reference.ckt"));
  EXPECT_TRUE(host.modified);
  EXPECT_FALSE(view.CanRedo());
  sdi::delete_all_elements();  // the next point replaces it: the 100-byte header and the end code
  view.SaveBackup();
  EXPECT_EQ(slurp(undo.Backup()).size(), 104u);
  EXPECT_TRUE(g_editMessages.empty());
  std::filesystem::remove(undo.Backup());  // a folder where the file should be: reported, the change goes ahead
  std::filesystem::create_directory(undo.Backup());
  host.modified = false;
  view.SaveBackup();
  EXPECT_EQ(g_editMessages, std::vector<std::string>{"The undo point could not be saved: Is a directory"});
  EXPECT_TRUE(host.modified);
  std::filesystem::remove(undo.Backup());
}
