// Every kind code through the factory: the element made is of the kind asked
// for, with one node per pin its symbol draws; codes without a class make
// nothing (reported), the two old source codes a controlled source.
#include <gtest/gtest.h>

#include <memory>

#include "capture.h"
#include "sdi/elements/factories.h"
#include "sdi/elements/i_element.h"
#include "sdi/elements/image.h"
#include "sdi/elements/placement.h"

namespace {

TEST(KindTable, EveryCodeMakesItsKindWithAsManyNodesAsPins) {
  for (int k = -1; k <= sdi::kind_count + 1; ++k) {
    if (k == sdi::kind_sub) continue;  // needs a symbol file
    SCOPED_TRACE(k);
    Capture cap;
    sdi::pending_element = nullptr;
    sdi::create_element(k);
    std::unique_ptr<sdi::element> e(sdi::pending_element);
    sdi::pending_element = sdi::previous_pending_element = nullptr;
    const bool old_source = k == sdi::kind_old_voltage || k == sdi::kind_old_current;
    const bool classless = k < 0 || k >= sdi::kind_count || k == sdi::kind_old_switch || k == sdi::kind_end ||
                           k == sdi::kind_old_bar || k == sdi::kind_old_x;
    if (classless) {
      EXPECT_EQ(e, nullptr);
      EXPECT_EQ(cap.errors, (std::vector<std::string>{"sdi/elements/factories.cpp: Internal"}));
      continue;
    }
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->kind, old_source ? sdi::kind_icis : k);
    EXPECT_EQ(cap.errors.size(), old_source ? 1u : 0u);
    if (sdi::is_line_element(k)) {
      EXPECT_EQ(e->terminal_count(), 2);
    } else {
      auto* s = static_cast<sdi::i_element*>(e.get());
      ASSERT_NE(s->image, nullptr);
      EXPECT_EQ(e->terminal_count(), s->image->pin_count());
    }
  }
}

}  // namespace
