#include "sdi/zorv/core/doc_names.h"

#include <gtest/gtest.h>

using zorv::BaseNameOf;
using zorv::FolderOf;

TEST(BaseNameOf, CutsAtTheFirstDotOfTheFileName) {
  EXPECT_EQ(BaseNameOf("/home/ann/buck.ckt"), "/home/ann/buck");
  EXPECT_EQ(BaseNameOf("/home/ann/x.v2.ckt"), "/home/ann/x");
}

TEST(BaseNameOf, NeverCutsAFolder) {
  EXPECT_EQ(BaseNameOf("/home/j.doe/buck.ckt"), "/home/j.doe/buck");
  EXPECT_EQ(BaseNameOf("/a.b/c"), "/a.b/c");
}

TEST(BaseNameOf, KeepsANameWithoutDot) {
  EXPECT_EQ(BaseNameOf("/tmp/circuit"), "/tmp/circuit");
  EXPECT_EQ(BaseNameOf("circuit"), "circuit");
  EXPECT_EQ(BaseNameOf("Untitled"), "Untitled");
}

TEST(BaseNameOf, ALeadingDotIsPartOfTheName) {
  EXPECT_EQ(BaseNameOf("/tmp/.hidden"), "/tmp/.hidden");
  EXPECT_EQ(BaseNameOf("/tmp/.hidden.ckt"), "/tmp/.hidden");
}

TEST(BaseNameOf, RelativeNames) {
  EXPECT_EQ(BaseNameOf("buck.ckt"), "buck");
  EXPECT_EQ(BaseNameOf("sub/buck.ckt"), "sub/buck");
}

TEST(FolderOf, UpToAndIncludingTheLastSlash) {
  EXPECT_EQ(FolderOf("/home/ann/buck.ckt"), "/home/ann/");
  EXPECT_EQ(FolderOf("buck.ckt"), "");
  EXPECT_EQ(FolderOf("/buck.ckt"), "/");
}

TEST(UntitledBaseAfter, KeepsTheFolder) {
  EXPECT_EQ(zorv::UntitledBaseAfter("/w/c"), "/w/Untitled");
  EXPECT_EQ(zorv::UntitledBaseAfter(""), "Untitled");
  EXPECT_EQ(zorv::UntitledBaseAfter("Untitled"), "Untitled");
}

TEST(MainTitle, PrefixesTheProgramName) {
  EXPECT_EQ(zorv::MainTitle("Untitled.ckt"), "ZORV - Untitled.ckt");
  EXPECT_EQ(zorv::MainTitle("/w/c.ckt"), "ZORV - /w/c.ckt");
}

TEST(SavePrompt, NamesTheFile) {
  EXPECT_EQ(zorv::SavePrompt("buck.ckt"), "Save changes to buck.ckt?");
  EXPECT_EQ(zorv::SavePrompt("Untitled.ckt"), "Save changes to Untitled.ckt?");
}
