// Internal reports name the file and the line of the check that failed, so a
// report read off a box leads to its code.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "capture.h"
#include "sdi/base/ilist.h"
#include "sdi/elements/elist.h"
#include "sdi/elements/i_element.h"

namespace {

// The source line a report "file, line: kind" points at.
std::string SourceLine(const std::string& report) {
  const auto comma = report.find(", ");
  std::ifstream in(std::string(ZORV_TEST_DATA) + "/../../../" + report.substr(0, comma));
  const int wanted = std::stoi(report.substr(comma + 2));
  std::string line;
  for (int n = 1; n <= wanted && std::getline(in, line); ++n) {}
  return in ? line : std::string();
}

}  // namespace

TEST(Report, EachInternalReportNamesTheFileAndLineOfItsCheck) {
  const struct { const char* label; std::function<void()> fail; const char* file; const char* code; } rows[] = {
      {"a check in a source file", [] { sdi::list_last(nullptr); }, "sdi/base/list.cpp", "SDI_INTERNAL()"},
      {"a check in a template header", [] { sdi::ilist l; l.next(); }, "sdi/base/list.h", "SDI_ASSERT_FAIL()"},
      {"a checked cast", [] { sdi::as_cmutind(nullptr); }, "sdi/elements/i_element.cpp", "checked_cast<cmutind>"},
  };
  for (const auto& row : rows) {
    Capture cap;
    row.fail();
    ASSERT_EQ(cap.reports.size(), 1u) << row.label;
    EXPECT_EQ(cap.reports[0].rfind(std::string(row.file) + ", ", 0), 0u) << cap.reports[0];
    EXPECT_NE(SourceLine(cap.reports[0]).find(row.code), std::string::npos) << cap.reports[0];
  }
}
