#include "sdi/report.h"

#include <gtest/gtest.h>

#include <string>

#include "capture.h"

TEST(Report, DefaultHookFormatsAndShowsTheText) {
  Capture cap;
  sdi::default_error_hook("%s, %d: Internal Assertion", "sdi/Elist", 42);
  sdi::default_error_hook("%s, %d: Internal Case", "sdi/Image", 7);
  EXPECT_EQ(cap.messages, (std::vector<std::string>{"sdi/Elist, 42: Internal Assertion", "sdi/Image, 7: Internal Case"}));
  EXPECT_TRUE(cap.errors.empty());
}

TEST(Report, DefaultHookCutsAtItsEightyCharacterBuffer) {
  Capture cap;
  const std::string tag(100, 'x');
  sdi::default_error_hook("%s, %d: Internal", tag.c_str(), 1);
  ASSERT_EQ(cap.messages.size(), 1u);
  EXPECT_EQ(cap.messages[0], std::string(79, 'x'));
}

TEST(Report, MacrosNameTheFormatTagAndLine) {
  Capture cap;
  SDI_ASSERT_FAIL("sdi/Elist");
  SDI_INTERNAL("sdi/Element");
  SDI_INTERNAL_CASE("sdi/Image");
  EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/Elist: Internal Assertion", "sdi/Element: Internal",
                                                   "sdi/Image: Internal Case"}));
}

TEST(Report, ShowMessagePassesTheTextUnchanged) {
  Capture cap;
  sdi::show_message("Only one probe allowed.");
  sdi::show_message(std::string("Couldn't Open File!"));
  sdi::show_message(static_cast<const char*>(nullptr));
  EXPECT_EQ(cap.messages, (std::vector<std::string>{"Only one probe allowed.", "Couldn't Open File!", ""}));
}
