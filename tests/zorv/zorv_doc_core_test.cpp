// The document's logic on a fake model: new, open and save, the file names, titles and
// working folder they set, and what a failure leaves.
#include "sdi/zorv/core/zorv_doc_core.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sdi/zorv/core/messages.h"

namespace {

using Names = std::vector<std::string>;

struct FakeHost : zorv::DocHost {
  std::vector<std::string> titles;
  bool modified = false;
  void SetMainTitle(const std::string& t) override { titles.push_back(t); }
  void SetModified(bool m) override { modified = m; }
  bool IsModified() const override { return modified; }
};

class DocCoreTest : public ::testing::Test {
protected:
  DocCoreTest() {
    previous = zorv::SetMessageSink([this](const std::string& t) { messages.push_back(t); });
  }
  ~DocCoreTest() override { zorv::SetMessageSink(previous); }
  zorv::CircuitFiles Files() {
    return {[this] { ++clears; },
            [this](const std::string& p) { opened.push_back(p); return openResult; },
            [this](const std::string& p) {
              saved.push_back(p);
              if (!saveOk) zorv::ShowMessage(zorv::kCouldntOpenFile);
              return saveOk;
            },
            [this](const std::string& b) { base = b; }, {}};
  }
  // The document's names as (file, base, published base, work folder, last title).
  std::vector<std::string> Now() {
    return {doc.FileName(), doc.BasePath(), base, doc.WorkDir(), host.titles.empty() ? "" : host.titles.back()};
  }

  int clears = 0;
  std::vector<std::string> opened, saved, messages;
  std::string base = "<none>";
  zorv::OpenResult openResult = zorv::OpenResult::Read;
  bool saveOk = true;
  FakeHost host;
  zorv::DocCore doc{host, Files()};
  zorv::MessageSink previous;
};


TEST_F(DocCoreTest, NewOpenSave) {
  host.modified = true;
  ASSERT_TRUE(doc.OnNewDocument());
  EXPECT_EQ(Now(), (Names{"Untitled.ckt", "Untitled", "Untitled", "", "ZORV - Untitled.ckt"}));
  EXPECT_EQ(clears, 1);
  EXPECT_FALSE(host.modified);
  EXPECT_EQ(doc.SizeDoc().cx, 2000);
  EXPECT_EQ(doc.SizeDoc().cy, 3000);
  EXPECT_EQ(doc.Title(), "ZORV - Untitled.ckt");
  host.modified = true;
  ASSERT_TRUE(doc.OnOpenDocument("/w/my.dir/buck.ckt"));
  EXPECT_EQ(opened, Names{"/w/my.dir/buck.ckt"});
  EXPECT_EQ(Now(), (Names{"/w/my.dir/buck.ckt", "/w/my.dir/buck", "/w/my.dir/buck", "/w/my.dir/", "ZORV - /w/my.dir/buck.ckt"}));
  EXPECT_FALSE(host.modified);
  ASSERT_TRUE(doc.OnOpenDocument("/second/b.ckt"));  // the working folder is the first one's
  EXPECT_EQ(doc.WorkDir(), "/w/my.dir/");
  doc.OnNewDocument();  // keeps the folder
  EXPECT_EQ(Now(), (Names{"Untitled.ckt", "/second/Untitled", "/second/Untitled", "/w/my.dir/", "ZORV - Untitled.ckt"}));
  host.modified = true;
  ASSERT_TRUE(doc.OnSaveDocument("/w/x.v2.ckt"));  // exactly the chosen path
  EXPECT_EQ(saved, Names{"/w/x.v2.ckt"});
  EXPECT_EQ(Now(), (Names{"/w/x.v2.ckt", "/w/x", "/w/x", "/w/my.dir/", "ZORV - /w/x.v2.ckt"}));
  EXPECT_FALSE(host.modified);
  EXPECT_TRUE(messages.empty());
}

TEST_F(DocCoreTest, FailuresChangeNothing) {
  doc.OnOpenDocument("/w/c.ckt");
  const Names names = Now();
  host.modified = true;
  const size_t titles = host.titles.size();
  const int cleared = clears;
  openResult = zorv::OpenResult::CannotOpen;
  EXPECT_FALSE(doc.OnOpenDocument("/nowhere/x.ckt"));
  EXPECT_EQ(messages, Names{"Couldn't Open File!"});
  openResult = zorv::OpenResult::Unreadable;  // the reader showed its own message
  EXPECT_FALSE(doc.OnOpenDocument("/w/old.ckt"));
  EXPECT_EQ(messages.size(), 1u);
  saveOk = false;
  EXPECT_FALSE(doc.OnSaveDocument("/readonly/d.ckt"));
  EXPECT_EQ(messages, (Names{"Couldn't Open File!", "Couldn't Open File!"}));
  EXPECT_EQ(Now(), names);
  EXPECT_EQ(host.titles.size(), titles);
  EXPECT_TRUE(host.modified);
  EXPECT_EQ(clears, cleared);
}

TEST_F(DocCoreTest, ARefusedFirstFileSetsNoWorkingFolder) {
  doc.OnNewDocument();
  openResult = zorv::OpenResult::Unreadable;
  EXPECT_FALSE(doc.OnOpenDocument("/w/old.ckt"));
  EXPECT_EQ(doc.WorkDir(), "");
  EXPECT_EQ(doc.Title(), "ZORV - Untitled.ckt");
}

}  // namespace
