// Expects a statement to fail through the matrix library's Fatal handler with the given
// texts: the line on standard output and the thrown char* both read
// "Fatal Error : <msg> - <where>\n".
#pragma once
#include <gtest/gtest.h>

#include <string>

#define EXPECT_FATAL(stmt, msg, where)                                            \
  do {                                                                           \
    std::string expected_ = std::string("Fatal Error : ") + (msg) + " - " + (where) + "\n"; \
    bool thrown_ = false;                                                        \
    testing::internal::CaptureStdout();                                          \
    try {                                                                        \
      stmt;                                                                      \
    } catch (const char* text_) {                                                \
      thrown_ = true;                                                            \
      EXPECT_EQ(std::string(text_), expected_);                                  \
    }                                                                            \
    std::string out_ = testing::internal::GetCapturedStdout();                   \
    EXPECT_TRUE(thrown_) << "no fatal error from: " #stmt;                      \
    EXPECT_EQ(out_, expected_);                                                  \
  } while (0)
