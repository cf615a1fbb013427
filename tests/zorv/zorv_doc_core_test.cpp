#include "sdi/zorv/core/zorv_doc_core.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sdi/zorv/core/messages.h"

namespace {

struct FakeHost : zorv::DocHost {
  std::vector<std::string> titles;
  bool modified = false;
  void SetMainTitle(const std::string& t) override { titles.push_back(t); }
  void SetModified(bool m) override { modified = m; }
  bool IsModified() const override { return modified; }
};

// A model whose files are a map from path to "readable or not".
struct FakeFiles {
  int clears = 0;
  std::vector<std::string> opened, saved;
  std::string base = "<none>";
  zorv::OpenResult openResult = zorv::OpenResult::Read;
  bool saveOk = true;

  zorv::CircuitFiles Make() {
    zorv::CircuitFiles f;
    f.clear = [this] { ++clears; };
    f.open = [this](const std::string& p) {
      opened.push_back(p);
      return openResult;
    };
    f.save = [this](const std::string& p) {
      saved.push_back(p);
      if (!saveOk) zorv::ShowMessage(zorv::kCouldntOpenFile);
      return saveOk;
    };
    f.publishBaseName = [this](const std::string& b) { base = b; };
    return f;
  }
};

class DocCoreTest : public ::testing::Test {
protected:
  DocCoreTest() : doc(host, files.Make()) {
    previous = zorv::SetMessageSink([this](const std::string& t) { messages.push_back(t); });
  }
  ~DocCoreTest() override { zorv::SetMessageSink(previous); }

  FakeHost host;
  FakeFiles files;
  zorv::DocCore doc;
  std::vector<std::string> messages;
  zorv::MessageSink previous;
};

}  // namespace

TEST_F(DocCoreTest, NewDocumentIsUntitled) {
  host.modified = true;
  ASSERT_TRUE(doc.OnNewDocument());
  EXPECT_EQ(doc.FileName(), "Untitled.ckt");
  EXPECT_EQ(doc.BasePath(), "Untitled");
  EXPECT_EQ(files.base, "Untitled");
  EXPECT_EQ(host.titles.back(), "ZORV - Untitled.ckt");
  EXPECT_EQ(files.clears, 1);
  EXPECT_FALSE(host.modified);
  EXPECT_EQ(doc.SizeDoc().cx, 2000);
  EXPECT_EQ(doc.SizeDoc().cy, 3000);
}

TEST_F(DocCoreTest, OpenTakesTheFileNames) {
  doc.OnNewDocument();
  host.modified = true;
  ASSERT_TRUE(doc.OnOpenDocument("/w/my.dir/buck.ckt"));
  EXPECT_EQ(files.opened, std::vector<std::string>{"/w/my.dir/buck.ckt"});
  EXPECT_EQ(doc.FileName(), "/w/my.dir/buck.ckt");
  EXPECT_EQ(doc.BasePath(), "/w/my.dir/buck");
  EXPECT_EQ(files.base, "/w/my.dir/buck");
  EXPECT_EQ(doc.WorkDir(), "/w/my.dir/");
  EXPECT_EQ(host.titles.back(), "ZORV - /w/my.dir/buck.ckt");
  EXPECT_FALSE(host.modified);
  EXPECT_TRUE(messages.empty());
}

TEST_F(DocCoreTest, WorkDirIsSetByTheFirstOpenOnly) {
  doc.OnOpenDocument("/first/a.ckt");
  doc.OnOpenDocument("/second/b.ckt");
  EXPECT_EQ(doc.WorkDir(), "/first/");
}

TEST_F(DocCoreTest, NewAfterOpenKeepsTheFolder) {
  doc.OnOpenDocument("/w/c.ckt");
  doc.OnNewDocument();
  EXPECT_EQ(doc.BasePath(), "/w/Untitled");
  EXPECT_EQ(files.base, "/w/Untitled");
  EXPECT_EQ(doc.FileName(), "Untitled.ckt");
  EXPECT_EQ(host.titles.back(), "ZORV - Untitled.ckt");
}

TEST_F(DocCoreTest, UnopenableFileIsReportedAndChangesNothing) {
  doc.OnOpenDocument("/w/c.ckt");
  host.modified = true;
  const int clears = files.clears;
  files.openResult = zorv::OpenResult::CannotOpen;
  EXPECT_FALSE(doc.OnOpenDocument("/nowhere/x.ckt"));
  EXPECT_EQ(messages, std::vector<std::string>{"Couldn't Open File!"});
  EXPECT_EQ(doc.FileName(), "/w/c.ckt");
  EXPECT_EQ(doc.BasePath(), "/w/c");
  EXPECT_EQ(files.base, "/w/c");
  EXPECT_EQ(host.titles.back(), "ZORV - /w/c.ckt");
  EXPECT_TRUE(host.modified);
  EXPECT_EQ(files.clears, clears);
}

TEST_F(DocCoreTest, RefusedFileShowsOnlyTheReadersMessage) {
  doc.OnNewDocument();
  files.openResult = zorv::OpenResult::Unreadable;
  EXPECT_FALSE(doc.OnOpenDocument("/w/old.ckt"));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(doc.FileName(), "Untitled.ckt");
  EXPECT_EQ(doc.WorkDir(), "");
}

TEST_F(DocCoreTest, SaveWritesExactlyTheChosenPath) {
  doc.OnNewDocument();
  host.modified = true;
  ASSERT_TRUE(doc.OnSaveDocument("/w/x.v2.ckt"));
  EXPECT_EQ(files.saved, std::vector<std::string>{"/w/x.v2.ckt"});
  EXPECT_EQ(doc.BasePath(), "/w/x");
  EXPECT_EQ(files.base, "/w/x");
  EXPECT_EQ(doc.FileName(), "/w/x.v2.ckt");
  EXPECT_EQ(host.titles.back(), "ZORV - /w/x.v2.ckt");
  EXPECT_FALSE(host.modified);
}

TEST_F(DocCoreTest, FailedSaveKeepsTheDocumentModified) {
  doc.OnOpenDocument("/w/c.ckt");
  host.modified = true;
  const std::size_t titles = host.titles.size();
  files.saveOk = false;
  EXPECT_FALSE(doc.OnSaveDocument("/readonly/d.ckt"));
  EXPECT_EQ(messages, std::vector<std::string>{"Couldn't Open File!"});
  EXPECT_TRUE(host.modified);
  EXPECT_EQ(doc.BasePath(), "/w/c");
  EXPECT_EQ(files.base, "/w/c");
  EXPECT_EQ(doc.FileName(), "/w/c.ckt");
  EXPECT_EQ(host.titles.size(), titles);
}

TEST_F(DocCoreTest, TitleIsComputedFromTheFileName) {
  doc.OnNewDocument();
  EXPECT_EQ(doc.Title(), "ZORV - Untitled.ckt");
  files.openResult = zorv::OpenResult::CannotOpen;
  doc.OnOpenDocument("/x.ckt");
  EXPECT_EQ(doc.Title(), "ZORV - Untitled.ckt");
}
