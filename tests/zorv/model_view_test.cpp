// The view and the document on the real circuit model.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "sdi/circuit_file.h"
#include "sdi/report.h"
#include "sdi/zorv/core/circuit_files.h"
#include "sdi/zorv/core/model_link.h"
#include "sdi/zorv/core/view_core.h"
#include "sdi/zorv/core/view_render.h"
#include "sdi/zorv/core/zorv_doc_core.h"
#include "simu/run_settings.h"
#include "zorv/circuit_builder.h"
#include "zorv/render_pixels.h"

namespace {

std::vector<std::string> g_messages;
void Record(const char* text) { g_messages.push_back(text); }

// Captures the model's message boxes for one test.
struct MessageCapture {
  MessageCapture() : previous(sdi::message_box_hook) {
    g_messages.clear();
    sdi::message_box_hook = Record;
  }
  ~MessageCapture() { sdi::message_box_hook = previous; }
  sdi::message_fn previous;
};

struct Host : zorv::DocHost, zorv::ViewHost {
  std::string title;
  bool modified = false;
  void SetMainTitle(const std::string& t) override { title = t; }
  void SetModified(bool m) override { modified = m; }
  bool IsModified() const override { return modified; }
  zorv::Size ClientSize() const override { return {800, 600}; }
  zorv::Pos ScrollPosition() const override { return {}; }
  void ApplyScroll(const zorv::ScrollState&) override {}
  void Invalidate() override {}
  void SetDocumentModified() override { modified = true; }
};

// A document or view on the model in a fresh folder, its message boxes captured.
class ModelDocument : public ::testing::Test {
protected:
  TempDir dir;
  ModelCircuit circuit;
  MessageCapture messages;
  Host host;
};

}  // namespace

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
  for (int y = 183; y <= 185; ++y)
    for (int x = 295; x <= 297; ++x) EXPECT_EQ(fb.pixel(x, y), kBlue) << x << "," << y;
  zorv::ViewMapping m = Unit();
  m.zoom = 2.0;
  sdi::frame_buffer zoomed(200, 200);
  zorv::RenderClient(zoomed, m, {300, 250}, false, dots);
  // Sheet (200, 140) is device (400, 280) of the whole sheet, (100, 30) in the client.
  EXPECT_EQ(zoomed.pixel(100, 30), kBlue);
  EXPECT_EQ(zoomed.pixel(104, 30), kWhite);
  AddWire({400, 300}, {480, 300});
  const zorv::SheetRect r = zorv::CircuitExtent();
  EXPECT_EQ(std::vector<int>({r.x, r.y, r.w, r.h}), std::vector<int>({174, 115, 480 - 174, 300 - 115}));
  EXPECT_FALSE(zorv::CircuitIsEmpty());
}

TEST(ModelView, JunctionRuleOnTheCircuit) {
  ModelCircuit circuit;
  AddWire({80, 80}, {160, 80});    // T at (160, 80) with the next two
  AddWire({160, 80}, {240, 80});
  AddWire({160, 80}, {160, 160});  // L corner at (160, 160) with the next
  AddWire({160, 160}, {240, 160});
  AddResistor({240, 184});         // terminal (240, 160): the wire's end is connected
  const std::vector<sdi::point> expected = {{80, 80}, {160, 80}, {240, 80}};
  EXPECT_EQ(zorv::FindJunctions(zorv::CircuitConnections()), expected);
}

TEST_F(ModelDocument, SaveNewOpenRoundTrip) {
  zorv::DocCore doc(host, zorv::ModelCircuitFiles());
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
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(ModelDocument, FailedOpenAndSaveAreReportedAndKeepTheCircuit) {
  zorv::DocCore doc(host, zorv::ModelCircuitFiles());
  doc.OnNewDocument();
  AddResistor({200, 160});
  host.modified = true;
  std::ofstream(dir.path() / "bad.ckt", std::ios::binary) << "ZORV";
  EXPECT_FALSE(doc.OnOpenDocument((dir.path() / "bad.ckt").string()));
  ASSERT_EQ(g_messages.size(), 1u);  // the reader's own message alone
  EXPECT_NE(g_messages[0], "Couldn't Open File!");
  g_messages.clear();
  EXPECT_FALSE(doc.OnOpenDocument((dir.path() / "missing.ckt").string()));
  EXPECT_FALSE(doc.OnSaveDocument((dir.path() / "no" / "such" / "x.ckt").string()));
  EXPECT_EQ(g_messages, (std::vector<std::string>{"Couldn't Open File!", "Couldn't Open File!"}));
  EXPECT_EQ(CircuitCount(), 1);
  EXPECT_EQ(host.title, "ZORV - Untitled.ckt");
  EXPECT_EQ(doc.FileName(), "Untitled.ckt");
  EXPECT_TRUE(host.modified);
}

TEST_F(ModelDocument, UndoPointHoldsTheCircuitAsSaved) {
  zorv::UndoFiles undo(dir.path() / "undo");
  zorv::ViewCore view(host, undo, zorv::ModelCircuitFiles().save);
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
  EXPECT_TRUE(g_messages.empty());
  std::filesystem::remove(undo.Backup());  // a folder where the file should be: reported, the change goes ahead
  std::filesystem::create_directory(undo.Backup());
  host.modified = false;
  view.SaveBackup();
  EXPECT_EQ(g_messages, std::vector<std::string>{"Couldn't Open File!"});
  EXPECT_TRUE(host.modified);
  std::filesystem::remove(undo.Backup());
}
