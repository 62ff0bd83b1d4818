// Byte texts, the time text and number conversion: the rules' own cases, named.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <random>

#include "text/runtime_error.h"
#include "text/text.h"
#include "text/time_text.h"
#include "text/value.h"
#include "tests/support/cp936_print.h"

namespace tc {
namespace {

using test::readable;

TimeValue at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return *fields_to_time(y, mo, d, h, mi, s); }

TEST(TextOps, CompareLengthJoinLeftRight) {
  EXPECT_EQ(text_compare("", ""), 0);
  EXPECT_EQ(text_compare("", "0"), -1);
  EXPECT_EQ(text_compare("0", ""), 1);
  EXPECT_EQ(text_compare("\xB5", "z"), 1);  // unsigned byte order
  EXPECT_EQ(text_compare("ab", "abc"), -1);
  EXPECT_EQ(text_length("目标"), 4);
  EXPECT_TEXT_EQ(text_join({"", ""}), "");
  EXPECT_TEXT_EQ(text_join({"a", "", "目标", "c"}), "a目标c");
  EXPECT_TEXT_EQ(text_join({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}), "12345678910");
  EXPECT_TEXT_EQ(text_join({std::string_view("a\0b", 3), "c"}), "ac");  // a text ends at a zero byte
  EXPECT_TEXT_EQ(text_left("abc", 0), "");
  EXPECT_TEXT_EQ(text_left("abc", -2), "");
  EXPECT_TEXT_EQ(text_left("abc", 9), "abc");
  EXPECT_TEXT_EQ(text_right("0-12", 2), "12");
  EXPECT_TEXT_EQ(text_right("05", 5), "05");
}

TEST(TextOps, FindStepsOverTwoByteCharacters) {
  EXPECT_EQ(text_find("name=value", "="), 5);
  EXPECT_EQ(text_find("name", "="), -1);
  EXPECT_EQ(text_find("", "="), -1);
  EXPECT_EQ(text_find("=x", "="), 1);
  // 0xB5 0x3D is one character: its trail byte is "=" but never matches.
  EXPECT_EQ(text_find("\xB5=", "="), -1);
  EXPECT_EQ(text_find("\xB5=a=", "="), 4);
  // A needle of one character's trail byte and the next's lead byte.
  EXPECT_EQ(text_find("\xC4\xEA\xD4\xC2", "\xEA\xD4"), -1);
  EXPECT_EQ(text_find("\xC4", "x"), -1);  // lone lead byte at the end
  EXPECT_EQ(text_find("a=b", "=", 0), 2);
  EXPECT_EQ(text_find("a=b", "=", -3), 2);
  EXPECT_EQ(text_find("a=b", "=", 9), -1);
  EXPECT_EQ(text_find("aB", "b", std::nullopt, true), 2);
}

TEST(TextOps, ReplaceAt) {
  EXPECT_TEXT_EQ(text_replace_at("当前: 第 ", 1, 4, "1选中"), "1选中: 第 ");
  EXPECT_TEXT_EQ(text_replace_at("abc", 9, 2, "x"), "abcx");
  EXPECT_TEXT_EQ(text_replace_at("abc", 2, -1, "x"), "axbc");
  EXPECT_TEXT_EQ(text_replace_at("abc", 2, 1), "ac");
  EXPECT_TEXT_EQ(text_replace_at("abc", 0, 1, "x"), "xbc");        // start below 1 is the first byte
  EXPECT_TEXT_EQ(text_replace_at("abc", 2, 99, "x"), "ax");        // count cut at the end
  EXPECT_TEXT_EQ(text_replace_at("年月", 2, 2, "x"), "\xC4x\xC2");  // bytes, not characters
}

TEST(TextOps, Split) {
  struct Case { const char* name; const char* text; TextList pieces; } cases[] = {
      {"empty text", "", {}},
      {"no delimiter", "abc", {"abc"}},
      {"leading delimiter", "\r\nx", {"", "x"}},
      {"final delimiter adds nothing", "a\r\nb\r\n", {"a", "b"}},
      {"empty line then end", "a\r\n\r\n", {"a", ""}},
      {"lone line feeds", "a\nb\n", {"a\nb\n"}},
      {"delimiter inside a character is not one", "\xB5\r\n", {"\xB5\r\n"}},
  };
  for (const Case& c : cases) EXPECT_TEXT_LIST_EQ(text_split(c.text, "\r\n"), c.pieces) << c.name;
  EXPECT_TEXT_LIST_EQ(text_split("a,b,c", ",", 2), (TextList{"a", "b"}));
  EXPECT_TEXT_LIST_EQ(text_split("a,b,c", ",", 0), TextList{});
  EXPECT_TEXT_LIST_EQ(text_split("a,b,c", ",", -1), TextList{});
  EXPECT_TEXT_LIST_EQ(text_split("a,b", ""), TextList{"a,b"});
  EXPECT_TEXT_LIST_EQ(text_split("a,,b"), (TextList{"a", "", "b"}));
  // 年 is C4 EA: inside B0 C4 | EA it straddles two characters and is no delimiter;
  // after a whole character it is one.
  EXPECT_TEXT_LIST_EQ(text_split("\xB0\xC4\xEA", "年"), TextList{"\xB0\xC4\xEA"});
  EXPECT_TEXT_LIST_EQ(text_split("日年月", "年"), (TextList{"日", "月"}));
  EXPECT_TEXT_LIST_EQ(text_split("a\xC4", ","), TextList{"a\xC4"});  // lone lead byte at the end
}

TEST(TextOps, FromBytesFoldAndPad) {
  EXPECT_TEXT_EQ(text_from_bytes(std::string_view("ab\0c", 4)), "ab");
  EXPECT_TEXT_EQ(fold_half_width("２０２１／１／１"), "2021/1/1");
  EXPECT_TEXT_EQ(fold_half_width("\xA1\xA1x"), " x");
  EXPECT_TEXT_EQ(fold_half_width("～＊"), "~*");
  EXPECT_TEXT_EQ(fold_half_width("ab\xC4"), "ab");  // trailing lead byte dropped
  EXPECT_TEXT_EQ(fold_half_width("年\xC4"), "年");
  EXPECT_TEXT_EQ(fold_half_width("\xA3"), "");
  EXPECT_TEXT_EQ(fold_half_width("\xA3\xA0"), "\xA3\xA0");  // below the full-width block
  EXPECT_TEXT_EQ(fold_half_width("\xA3\xFE"), "~");
  EXPECT_TEXT_EQ(fold_half_width("\xA1\xEE\xA1\xEF"), "**");
  EXPECT_TEXT_EQ(fold_half_width("年"), "年");
  EXPECT_TEXT_EQ(zero_pad("5", 2), "05");
  EXPECT_TEXT_EQ(zero_pad("12", 2), "12");
  EXPECT_TEXT_EQ(zero_pad("7", 3), "007");
  EXPECT_TEXT_EQ(zero_pad("45", 3), "045");
  EXPECT_TEXT_EQ(zero_pad("123", 2), "23");
  EXPECT_TEXT_EQ(zero_pad("-5", 2), "-5");
  EXPECT_TEXT_EQ(zero_pad("-12", 2), "12");
  EXPECT_TEXT_EQ(zero_pad("0", 2), "00");
}

TEST(TimeText, Formats) {
  struct Case { const char* name; TimeValue v; const char* text; } cases[] = {
      {"seconds", at(2021, 8, 19, 13, 5, 7), "2021年8月19日13时5分7秒"},
      {"minutes", at(2021, 8, 19, 0, 5), "2021年8月19日0时5分"},
      {"hour", at(2021, 8, 19, 13), "2021年8月19日13时"},
      {"midnight", at(2021, 8, 19), "2021年8月19日"},
      {"seconds after midnight", at(2021, 8, 19, 0, 0, 7), "2021年8月19日0时0分7秒"},
      {"hour and seconds", at(2021, 8, 19, 13, 0, 7), "2021年8月19日13时0分7秒"},
      {"above the range", at(9999, 12, 31, 23, 59, 59), "9999年12月31日"},
      {"below the range", -1e7, "100年1月1日"},
      {"rounded up", at(2021, 8, 19, 12, 34, 56) + 0.6 / 86400, "2021年8月19日12时34分57秒"},
  };
  for (const Case& c : cases) EXPECT_TEXT_EQ(format_time_text(c.v), c.text) << c.name;
}

TEST(TimeText, ParsesAcceptedForms) {
  struct Case { const char* name; const char* text; TimeValue v; } cases[] = {
      {"slashes and colons", "2021/1/1 00:00:00", at(2021, 1, 1)},
      {"full time text", "2021年8月19日13时5分7秒", at(2021, 8, 19, 13, 5, 7)},
      {"to minutes", "2021年8月19日13时5分", at(2021, 8, 19, 13, 5)},
      {"to hours", "2021年8月19日13时", at(2021, 8, 19, 13)},
      {"date only", "2021年8月19日", at(2021, 8, 19)},
      {"dashes", "2021-8-19 13:05:07", at(2021, 8, 19, 13, 5, 7)},
      {"dots", "2021.8.19", at(2021, 8, 19)},
      {"digits only", "20210819", at(2021, 8, 19)},
      {"all digits", "20210819130507", at(2021, 8, 19, 13, 5, 7)},
      {"hour and minute", "2021/1/1 12:30", at(2021, 1, 1, 12, 30)},
      {"hour alone", "2021/1/1 1", at(2021, 1, 1, 1)},
      {"unit characters after a space", "2021/1/1 12时30分", at(2021, 1, 1, 12, 30)},
      {"second character at the end", "2021/1/1 12:30:15秒", at(2021, 1, 1, 12, 30, 15)},
      {"anything after 秒", "2021年8月19日13时5分7秒xyz", at(2021, 8, 19, 13, 5, 7)},
      {"colons everywhere", "2021:1:1:1:1:1", at(2021, 1, 1, 1, 1, 1)},
      {"digit limits move digits on", "2021/123/1", at(2021, 12, 3, 1)},
      {"five-digit year", "20211/1/1", at(2021, 1, 1, 1)},
      {"full-width", "２０２１／１／１", at(2021, 1, 1)},
      {"one trailing space", "2021/1/1 ", at(2021, 1, 1)},
      {"year 100", "100/1/1", at(100, 1, 1)},
      {"leap 2020", "2020/2/29", at(2020, 2, 29)},
      {"century leap 2000", "2000/2/29", at(2000, 2, 29)},
      {"above the range", "9999/12/31 23:59:59", at(9999, 12, 31, 23, 59, 59)},
  };
  for (const Case& c : cases) {
    const auto v = parse_time_text(c.text);
    ASSERT_TRUE(v) << c.name;
    EXPECT_EQ(*v, c.v) << c.name;
  }
}

TEST(TimeText, RejectsOtherTexts) {
  const char* rejected[] = {
      "2021/1/1  ", " 2021/1/1", "2021年8月19日 13时5分7秒", "2021年08月19日 13:05:07", "2021/1/1 12 30",
      "2021年8月19日13时5分7xyz", "2021/1/1 0:0:0.5", "2021//1/1", "2021/1/1T12:00", "2021年8月", "2021",
      "21/8/19", "0099/1/1", "2021/2/29", "1900/2/29", "2021/13/1", "2021/0/1", "2021/1/0", "2021/1/1 24:00:00",
      "2021/1/1 23:60:00", "2021/1/1 23:59:60", "",
  };
  for (const char* text : rejected) EXPECT_FALSE(parse_time_text(text)) << readable(text);
  EXPECT_EQ(value_to_time(Text("nonsense")), TIME_MIN);
  EXPECT_TEXT_EQ(format_time_text(value_to_time(Text("nonsense"))), "100年1月1日");
  EXPECT_EQ(value_to_time(TimeOf{3e6}), 3e6);  // a time passes unchanged
  EXPECT_EQ(value_to_time(std::int32_t{5}), TIME_MIN);
}

TEST(TimeText, RoundTripOverTheRange) {
  std::mt19937_64 rng(42);
  const std::int64_t first = to_whole_seconds(TIME_MIN), last = to_whole_seconds(TIME_MAX);
  std::uniform_int_distribution<std::int64_t> pick(first, last);
  for (int i = 0; i < 200000; ++i) {
    const TimeValue v = from_whole_seconds(i % 10 == 0 ? pick(rng) % (86400 * 3000) : pick(rng));
    const auto back = parse_time_text(format_time_text(v));
    ASSERT_TRUE(back) << readable(format_time_text(v));
    ASSERT_EQ(*back, v) << readable(format_time_text(v));
  }
}

TEST(Numbers, DecimalText) {
  struct Case { const char* name; double v; const char* text; } cases[] = {
      {"tenths sum", 0.1 + 0.2, "0.3"},          {"a third", 1.0 / 3, "0.3333333333333"},
      {"two thirds", 2.0 / 3, "0.6666666666667"}, {"sevenths", 100.0 / 7, "14.28571428571"},
      {"whole", 365, "365"},                      {"half", 2.5, "2.5"},
      {"small positional", 0.0001, "0.0001"},     {"small exponent", 0.00001, "1e-005"},
      {"thirteen digits", 1234567890123, "1234567890123"},
      {"fourteen digits", 12345678901234, "1.234567890123e+013"},
      {"three-digit exponent", 1e20, "1e+020"},   {"negative zero", -0.0, "0"},
      {"negative", -1.5, "-1.5"},                 {"large exponent", 1.5e300, "1.5e+300"},
      {"small with fraction", 1.5e-5, "1.5e-005"},  {"negative exponent form", -2.5e-7, "-2.5e-007"},
      {"rounded to 13 digits", 0.1234567890123456, "0.1234567890123"},
      {"rounding carries into the exponent", 9999999999999.9, "1e+013"},
      {"smallest subnormal", 4.9406564584124654e-324, "4.940656458412e-324"},
      {"not a number", std::numeric_limits<double>::quiet_NaN(), "nan"},
      {"infinity", std::numeric_limits<double>::infinity(), "inf"},
      {"negative infinity", -std::numeric_limits<double>::infinity(), "-inf"},
  };
  for (const Case& c : cases) EXPECT_TEXT_EQ(value_to_text(c.v), c.text) << c.name;
  EXPECT_TEXT_EQ(value_to_text(std::int32_t{-42}), "-42");
  EXPECT_TEXT_EQ(value_to_text(TimeOf{at(2021, 8, 19)}), "2021年8月19日");
  EXPECT_TEXT_EQ(value_to_text(ByteSequence{std::string("ab\0c", 4)}), "ab");
}

// The C library's own "%.13g" is an independent reference: glibc writes at least
// two exponent digits, so its text with the exponent widened to three must match.
TEST(Numbers, DecimalTextMatchesPrintf) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 100000; ++i) {
    const std::uint64_t bits = rng();
    double x;
    if (i % 2 == 0) {
      std::memcpy(&x, &bits, sizeof x);  // any bit pattern
      if (!std::isfinite(x) || x == 0) continue;
    } else {
      x = std::ldexp(static_cast<double>(bits >> 11), static_cast<int>(rng() % 120) - 90);  // common sizes
      if (rng() & 1) x = -x;
      if (x == 0) continue;
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.13g", x);
    std::string expected = buffer;
    const std::size_t e = expected.find('e');
    if (e != std::string::npos && expected.size() - (e + 2) < 3) expected.insert(e + 2, 1, '0');
    ASSERT_TEXT_EQ(value_to_text(x), expected) << "for " << buffer;
  }
}

// Formatting against the fields written by printf: the four forms, over the range.
TEST(TimeText, FormatMatchesPrintfOfFields) {
  std::mt19937_64 rng(9);
  std::uniform_int_distribution<std::int64_t> pick(to_whole_seconds(TIME_MIN), to_whole_seconds(TIME_MAX));
  for (int i = 0; i < 50000; ++i) {
    std::int64_t seconds = pick(rng);
    switch (i % 4) {  // make each of the four forms common
      case 1: seconds -= seconds % 60; break;
      case 2: seconds -= seconds % 3600; break;
      case 3: seconds -= seconds % 86400; break;
      default: break;
    }
    const TimeValue v = from_whole_seconds(seconds);
    const CalendarFields f = *time_to_fields(v);
    char buffer[64];
    int n = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", f.year, f.month, f.day);
    const auto room = [&] { return sizeof buffer - static_cast<std::size_t>(n); };
    if (f.second != 0) {
      std::snprintf(buffer + n, room(), "%d时%d分%d秒", f.hour, f.minute, f.second);
    } else if (f.minute != 0) {
      std::snprintf(buffer + n, room(), "%d时%d分", f.hour, f.minute);
    } else if (f.hour != 0) {
      std::snprintf(buffer + n, room(), "%d时", f.hour);
    }
    ASSERT_TEXT_EQ(format_time_text(v), buffer);
  }
}

// Exit code -1 as the parent process sees it: the low 8 bits on POSIX, all 32 on
// Windows.
#ifdef _WIN32
constexpr int EXIT_MINUS_ONE = -1;
#else
constexpr int EXIT_MINUS_ONE = 255;
#endif

TEST(RuntimeErrorDeathTest, OutOfMemoryReportNamesTheByteCount) {
  EXPECT_EXIT(raise_out_of_memory(123456), ::testing::ExitedWithCode(EXIT_MINUS_ONE),
              "\xB7\xD6\xC5\xE4 123456 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!");
}

TEST(RuntimeErrorDeathTest, InstalledReportRunsInsteadOfTheDefault) {
  EXPECT_EXIT(
      {
        install_runtime_error_report([](std::int32_t, TextView message, std::int32_t, std::int32_t) {
          std::fputs("installed report: ", stderr);
          std::fwrite(message.data(), 1, message.size(), stderr);
          std::fflush(stderr);
          std::_Exit(3);
        });
        divide_to_whole(1, {2, 0});
      },
      ::testing::ExitedWithCode(3), "installed report: \xB2\xBB\xC4\xDC");
}

// The test printer itself: UTF-8 for valid cp936, \xHH for anything else.
TEST(TestSupport, ReadableShowsUtf8AndRawBytes) {
  EXPECT_EQ(readable("年"), "\"\xE5\xB9\xB4\"");
  EXPECT_EQ(readable("a\xC4"), "\"a\\xC4\"");            // lone lead byte at the end
  EXPECT_EQ(readable("\xFF\xFF" "b"), "\"\\xFF\\xFFb\"");  // not a cp936 pair
  EXPECT_EQ(readable("\r\n"), "\"\\r\\n\"");
  EXPECT_EQ(readable(TextList{"a", ""}), "{\"a\", \"\"}");
}

TEST(Numbers, TextToInteger) {
  struct Case { const char* name; const char* text; std::int32_t value; } cases[] = {
      {"digits then letters", "12abc", 12}, {"leading space", " 5", 5},   {"minus", "-3", -3},
      {"empty", "", 0},                     {"letters", "abc", 0},         {"decimal point", "1.9", 1},
      {"plus", "+7", 7},                    {"leading zeros", "007", 7},   {"minus then space", "- 3", 0},
      {"two signs", "+-3", 0},              {"hex", "0x1A", 0},            {"control blanks", "\t\r\n42", 42},
      {"full-width digits", "１２", 12},     {"full-width minus", "－５", -5}, {"ideographic space", "\xA1\xA1" "3", 3},
      {"wraps to minimum", "2147483648", -2147483647 - 1}, {"wraps modulo 2^32", "4294967297", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(text_to_integer(c.text), c.value) << c.name;
  EXPECT_EQ(value_to_integer(Text("12")), 12);
  EXPECT_EQ(value_to_integer(-2.9), -2);
  EXPECT_EQ(value_to_integer(1e30), 0);
  EXPECT_EQ(value_to_integer(TimeOf{5.0}), 0);
}

TEST(Numbers, RoundTruncateDivideAbs) {
  struct Round { double x; std::int32_t places; double r; } rounds[] = {
      {2.675, 2, 2.68},  {1.005, 2, 1.01},   {-1.005, 2, -1.01}, {0.125, 2, 0.13},      {2.5, 0, 3},
      {-2.5, 0, -3},     {0.499999999999, 0, 1}, {0.49999999999, 0, 0}, {1234.5, -2, 1200}, {1250, -2, 1300},
      {-150, -2, -200},  {0, 2, 0},
  };
  for (const Round& c : rounds) EXPECT_DOUBLE_EQ(round_to_places(c.x, c.places), c.r) << c.x << " at " << c.places;
  const double tiny = round_to_places(-0.001, 2);
  EXPECT_TRUE(tiny == 0 && std::signbit(tiny));
  EXPECT_TEXT_EQ(value_to_text(tiny), "0");

  struct Trunc { double x; std::int32_t r; } truncs[] = {
      {2.9, 2}, {-2.9, -2}, {-2.5, -2}, {2.9999999999995, 3}, {-2.9999999999995, -3},
      {-0.9999999999995, -1}, {2.99999999999, 2}, {2147483648.0, -2147483647 - 1},
  };
  for (const Trunc& c : truncs) EXPECT_EQ(truncate_with_tolerance(c.x), c.r) << c.x;

  EXPECT_EQ(divide_to_whole(7, {2}), 3);
  EXPECT_EQ(divide_to_whole(-7, {2}), -3);
  EXPECT_EQ(divide_to_whole(100000, {86400}), 1);
  EXPECT_EQ(divide_to_whole(3700, {60, 60}), 1);
  EXPECT_TEXT_EQ(value_to_text(divide_to_whole(-1, {86400})), "0");
  EXPECT_TRUE(std::signbit(abs_decimal(-0.0)));
  EXPECT_EQ(abs_decimal(-2.5), 2.5);
}

TEST(RuntimeErrorDeathTest, ZeroDivisorEndsWithReport) {
  EXPECT_EXIT(divide_to_whole(5, {0}), ::testing::ExitedWithCode(EXIT_MINUS_ONE), "\xB2\xBB\xC4\xDC\xD5\xFB\xB3\xFD\xD3\xDA\xC1\xE3");
}

TEST(RuntimeError, ReportTextLayout) {
  EXPECT_TEXT_EQ(runtime_error_report_text(5, "数据或数组类型不匹配", 0, 0),
              "运行时出错!\r\n\r\n错误代码：5\r\n\r\n错误信息：数据或数组类型不匹配\r\n\r\n0, 0\r\n");
  EXPECT_TEXT_EQ(runtime_error_report_text(0, "", 3, 4), "运行时出错!\r\n\r\n3, 4\r\n");
}

// Arbitrary bytes never crash, hang or read out of bounds (run under ASan too):
// mixes of time-text bytes and high bytes, texts of high bytes only, and texts
// ending in a lead byte. Each text is copied to a heap buffer of its exact size so
// that a read one past the end is caught.
TEST(Robustness, RandomBytes) {
  std::mt19937 rng(1);
  const char alphabet[] = "0123456789/-:. 年月日时分秒\xA3\xB0\xA1\r\n,";
  for (int i = 0; i < 30000; ++i) {
    Text s;
    const int n = static_cast<int>(rng() % 40);
    const bool high_only = i % 4 == 1;
    for (int k = 0; k < n; ++k) {
      const auto r = static_cast<unsigned>(rng());
      char c;
      if (high_only) {
        c = static_cast<char>(0x80 | (r & 0x7F));
      } else if ((r & 3) == 0) {
        c = static_cast<char>(r >> 8);  // any byte
      } else {
        c = alphabet[(r >> 8) % (sizeof alphabet - 1)];
      }
      if (c == 0) c = 'x';
      s += c;
    }
    if (i % 3 == 0 && !s.empty()) s.back() = '\xC4';  // ends in a lead byte
    const std::unique_ptr<char[]> exact(new char[s.size()]);
    std::copy(s.begin(), s.end(), exact.get());
    const TextView view(exact.get(), s.size());

    const auto parsed = parse_time_text(view);
    if (parsed) {
      ASSERT_GE(*parsed, TIME_MIN) << readable(s);
      ASSERT_LT(*parsed, TIME_MAX + 1) << readable(s);
    }
    (void)text_to_integer(view);
    for (TextView delimiter : {TextView("\r\n"), TextView("年"), TextView(",")}) {
      std::size_t bytes = 0;
      const TextList pieces = text_split(view, delimiter);
      for (const Text& piece : pieces) bytes += piece.size();
      ASSERT_LE(bytes, s.size()) << readable(s);
    }
    (void)text_find(view, "年");
    const Text folded = fold_half_width(view);
    ASSERT_LE(folded.size(), s.size()) << readable(s);
  }
}

}  // namespace
}  // namespace tc
