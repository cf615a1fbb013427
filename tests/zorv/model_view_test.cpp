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
using ModelUndoPoint = ModelDocument;

}  // namespace

TEST(ModelView, ResistorAndWirePixels) {
  ModelCircuit circuit;
  AddResistor({200, 160});  // image (194, 135), 13 x 51; leads on x = 200
  AddWire({200, 184}, {296, 184});
  sdi::frame_buffer fb(400, 300);
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, Unit(), {0, 0}, true, dots);
  // The resistor's upper lead runs from (200, 135) down to (200, 148).
  EXPECT_EQ(fb.pixel(200, 138), kBlue);
  EXPECT_EQ(fb.pixel(200, 146), kBlue);
  // The wire along y = 184.
  EXPECT_EQ(fb.pixel(240, 184), kBlue);
  EXPECT_EQ(fb.pixel(290, 184), kBlue);
  EXPECT_EQ(fb.pixel(240, 186), kWhite);
  // A junction dot at the wire's free end, none where it meets the resistor.
  ASSERT_EQ(dots.Points().size(), 1u);
  EXPECT_EQ(dots.Points()[0], sdi::point(296, 184));
  for (int y = 183; y <= 185; ++y)
    for (int x = 295; x <= 297; ++x) EXPECT_EQ(fb.pixel(x, y), kBlue) << x << "," << y;
  // The grid goes on elsewhere.
  EXPECT_EQ(fb.pixel(64, 64), kGreen);
  EXPECT_EQ(fb.pixel(352, 264), kGreen);
}

TEST(ModelView, ZoomedAndScrolledResistor) {
  ModelCircuit circuit;
  AddResistor({200, 160});
  zorv::ViewMapping m = Unit();
  m.zoom = 2.0;
  sdi::frame_buffer fb(200, 200);
  zorv::JunctionDots dots;
  zorv::RenderClient(fb, m, {300, 250}, false, dots);
  // Sheet (200, 140) is device (400, 280) of the whole sheet, (100, 30) in the client.
  EXPECT_EQ(fb.pixel(100, 30), kBlue);
  EXPECT_EQ(fb.pixel(104, 30), kWhite);
}

TEST(ModelView, JunctionRuleOnTheCircuit) {
  ModelCircuit circuit;
  AddWire({80, 80}, {160, 80});    // T at (160, 80) with the next two
  AddWire({160, 80}, {240, 80});
  AddWire({160, 80}, {160, 160});  // L corner at (160, 160) with the next
  AddWire({160, 160}, {240, 160});
  AddResistor({240, 184});         // terminal (240, 160): the wire's end is connected
  std::vector<sdi::point> dots = zorv::FindJunctions(zorv::CircuitConnections());
  const std::vector<sdi::point> expected = {{80, 80}, {160, 80}, {240, 80}};
  EXPECT_EQ(dots, expected);
}

TEST(ModelView, ExtentOfTheCircuit) {
  ModelCircuit circuit;
  EXPECT_TRUE(zorv::CircuitIsEmpty());
  AddWire({400, 300}, {480, 300});
  AddResistor({200, 160});
  const zorv::SheetRect r = zorv::CircuitExtent();
  EXPECT_EQ(r.x, 174);
  EXPECT_EQ(r.y, 115);
  EXPECT_EQ(r.w, 480 - 174);
  EXPECT_EQ(r.h, 300 - 115);
  EXPECT_FALSE(zorv::CircuitIsEmpty());
}

TEST_F(ModelDocument, SaveNewOpenRoundTrip) {
  zorv::DocCore doc(host, zorv::ModelCircuitFiles());
  doc.OnNewDocument();
  AddResistor({200, 160});
  AddWire({200, 184}, {296, 184});
  const std::string path = (dir.path() / "buck.v2.ckt").string();
  ASSERT_TRUE(doc.OnSaveDocument(path));
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(::base_name, (dir.path() / "buck").string());
  EXPECT_EQ(host.title, "ZORV - " + path);

  doc.OnNewDocument();
  EXPECT_EQ(CircuitCount(), 0);
  EXPECT_EQ(::base_name, (dir.path() / "Untitled").string());
  EXPECT_EQ(host.title, "ZORV - Untitled.ckt");

  ASSERT_TRUE(doc.OnOpenDocument(path));
  EXPECT_EQ(CircuitCount(), 2);
  EXPECT_EQ(::base_name, (dir.path() / "buck").string());
  EXPECT_EQ(host.title, "ZORV - " + path);
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(ModelDocument, DamagedFileIsReportedAndTheCircuitKept) {
  zorv::DocCore doc(host, zorv::ModelCircuitFiles());
  doc.OnNewDocument();
  AddResistor({200, 160});
  host.modified = true;
  std::ofstream(dir.path() / "bad.ckt", std::ios::binary) << "ZORV";
  EXPECT_FALSE(doc.OnOpenDocument((dir.path() / "bad.ckt").string()));
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(CircuitCount(), 1);
  EXPECT_EQ(host.title, "ZORV - Untitled.ckt");
  EXPECT_TRUE(host.modified);

  g_messages.clear();
  EXPECT_FALSE(doc.OnOpenDocument((dir.path() / "missing.ckt").string()));
  EXPECT_EQ(g_messages, std::vector<std::string>{"Couldn't Open File!"});
  EXPECT_EQ(CircuitCount(), 1);
}

TEST_F(ModelDocument, FailedSaveKeepsTheDocumentModified) {
  zorv::DocCore doc(host, zorv::ModelCircuitFiles());
  doc.OnNewDocument();
  host.modified = true;
  EXPECT_FALSE(doc.OnSaveDocument((dir.path() / "no" / "such" / "x.ckt").string()));
  EXPECT_EQ(g_messages, std::vector<std::string>{"Couldn't Open File!"});
  EXPECT_TRUE(host.modified);
  EXPECT_EQ(doc.FileName(), "Untitled.ckt");
}

TEST_F(ModelUndoPoint, BackupHoldsTheCircuitAsSaved) {
  zorv::UndoFiles undo(dir.path() / "undo");
  zorv::ViewCore view(host, undo, zorv::ModelCircuitFiles().save);
  AddResistor({200, 160});
  view.SaveBackup();
  ASSERT_TRUE(sdi::save_circuit(dir.path() / "reference.ckt"));
  EXPECT_EQ(slurp(undo.Backup()), slurp(dir.path() / "reference.ckt"));
  EXPECT_TRUE(host.modified);
  // Two undo points in a row: only the state before the second is kept.
  AddWire({200, 184}, {296, 184});
  view.SaveBackup();
  ASSERT_TRUE(sdi::save_circuit(dir.path() / "reference2.ckt"));
  EXPECT_EQ(slurp(undo.Backup()), slurp(dir.path() / "reference2.ckt"));
  EXPECT_NE(slurp(undo.Backup()), slurp(dir.path() / "reference.ckt"));
  // An empty circuit is the 100-byte header and the end code.
  sdi::delete_all_elements();
  view.SaveBackup();
  EXPECT_EQ(slurp(undo.Backup()).size(), 104u);
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(ModelUndoPoint, AnUnwritableUndoFileIsReportedAndTheChangeGoesAhead) {
  zorv::UndoFiles undo(dir.path() / "undo");
  zorv::ViewCore view(host, undo, zorv::ModelCircuitFiles().save);
  view.SetCanRedo(true);
  // A folder where "backup.ckt" should be: the file cannot be created.
  std::filesystem::create_directory(undo.Backup());
  AddResistor({200, 160});
  view.SaveBackup();
  EXPECT_EQ(g_messages, std::vector<std::string>{"Couldn't Open File!"});
  EXPECT_TRUE(host.modified);
  EXPECT_FALSE(view.CanRedo());
  EXPECT_EQ(CircuitCount(), 1);
  std::filesystem::remove(undo.Backup());
}
