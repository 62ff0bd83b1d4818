// Readable test output for cp936 byte texts: failure messages show a text as UTF-8
// on the terminal, with \xHH for any byte that is not part of a valid cp936
// character and C escapes for control bytes, so a failing case reads without a
// hex dump.
//
//   EXPECT_TEXT_EQ(format_time_text(v), "2021年8月19日");
//   EXPECT_TEXT_LIST_EQ(text_split(s, "\r\n"), (TextList{"a", "b"}));
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace tc::test {

// The bytes as a quoted UTF-8 string: "2021年8月19日\r\n", "ab\xC4".
std::string readable(std::string_view cp936);
// A list as {"a", "", "b"}.
std::string readable(const std::vector<std::string>& list);

// gtest predicate formatters behind the two macros below: byte-exact comparison,
// both sides shown readably on failure.
::testing::AssertionResult text_eq(const char* actual_expr, const char* expected_expr,
                                   std::string_view actual, std::string_view expected);
::testing::AssertionResult text_list_eq(const char* actual_expr, const char* expected_expr,
                                        const std::vector<std::string>& actual,
                                        const std::vector<std::string>& expected);

}  // namespace tc::test

#define EXPECT_TEXT_EQ(actual, expected) EXPECT_PRED_FORMAT2(::tc::test::text_eq, actual, expected)
#define ASSERT_TEXT_EQ(actual, expected) ASSERT_PRED_FORMAT2(::tc::test::text_eq, actual, expected)
#define EXPECT_TEXT_LIST_EQ(actual, expected) EXPECT_PRED_FORMAT2(::tc::test::text_list_eq, actual, expected)
