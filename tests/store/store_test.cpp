// The countdown store on real files in a fresh directory: the rules every
// platform shares.
#include <gtest/gtest.h>

#include "store/profile.h"
#include "store/store.h"
#include "tests/store/store_fixture.h"

namespace tc {
namespace {

namespace fs = std::filesystem;

TEST_F(StoreTest, FreshWriteThenRewriteAndAppend) {
  EXPECT_FALSE(store_exists(path));
  EXPECT_EQ(store_read_value(path, STORE_SECTION, DEFAULT_TARGET_NAME), "");
  ASSERT_TRUE(store_write_value(path, STORE_SECTION, DEFAULT_TARGET_NAME, "2021年10月1日"));
  EXPECT_TRUE(store_exists(path));
  EXPECT_EQ(contents(), "[倒计时]\r\n目标时间=2021年10月1日\r\n") << readable(contents());
  ASSERT_TRUE(store_write_value(path, STORE_SECTION, DEFAULT_TARGET_NAME, "2022年1月1日"));
  ASSERT_TRUE(store_write_value(path, STORE_SECTION, "考试", "2021年12月25日8时30分"));
  EXPECT_EQ(contents(), "[倒计时]\r\n目标时间=2022年1月1日\r\n考试=2021年12月25日8时30分\r\n") << readable(contents());
  EXPECT_EQ(store_read_value(path, STORE_SECTION, "考试"), "2021年12月25日8时30分");
  EXPECT_EQ(store_list_names(store_read_file(path)), (TextList{"目标时间", "考试"}));
  EXPECT_EQ(entries(), 1u);  // no temporary left behind
}

TEST_F(StoreTest, HandEditedFileKeepsEveryOtherByte) {
  const std::string before =
      "; my targets\r\n[other]\r\nx=1\r\n\r\n[倒计时]\r\n  目标时间 =  2021年1月1日  \r\nno equals here\r\n"
      "bad\xFF\xFE bytes=\x80\r\n\r\n[later]\r\ny=2";
  write(before);
  ASSERT_TRUE(store_write_value(path, STORE_SECTION, DEFAULT_TARGET_NAME, "2030年1月1日"));
  std::string expected = before;
  expected.replace(expected.find("2021年1月1日  "), std::string("2021年1月1日  ").size(), "2030年1月1日");
  EXPECT_EQ(contents(), expected) << readable(contents());
  // A new key goes after the section's last key line, before the blank line.
  ASSERT_TRUE(store_write_value(path, STORE_SECTION, "新", "2040年1月1日"));
  expected.insert(expected.find("\r\n\r\n[later]") + 2, "新=2040年1月1日\r\n");
  EXPECT_EQ(contents(), expected) << readable(contents());
  // A missing section is appended after a line end the file lacked.
  ASSERT_TRUE(store_write_value(path, "sec", "k", "v"));
  EXPECT_EQ(contents(), expected + "\r\n[sec]\r\nk=v\r\n");
}

TEST_F(StoreTest, ReadMatchingRules) {
  write("[Other]\r\nk=wrong\r\n[倒计时]\r\n;k=comment\r\nKey = \"quoted\" \r\nkey=second\r\nq='x'\r\nlone=\"\r\n"
        "empty=\"\"\r\n\xB5K=caps trail\r\n[倒计时]\r\nlater=z\r\n");
  struct Case { const char* name; const char* key; const char* value; } cases[] = {
      {"case-insensitive key, quotes stripped, first wins", "kEY", "quoted"},
      {"single quotes", "q", "x"},
      {"lone quote stays", "lone", "\""},
      {"empty quotes", "empty", ""},
      {"trail byte not case-folded", "\xB5k", ""},
      {"trail byte exact", "\xB5K", "caps trail"},
      {"comment is no key", ";k", ""},
      {"second section of the same name is not read", "later", ""},
      {"leading blanks of the name skipped", "  \tq", "x"},
      {"blank name", "   ", ""},
      {"empty name", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(store_read_value(path, STORE_SECTION, c.key), c.value) << c.name;
  EXPECT_EQ(store_read_value(path, "other", "k"), "wrong");
  EXPECT_EQ(store_read_value(path, STORE_SECTION, "missing", "dflt"), "dflt");
  EXPECT_EQ(store_read_value(path, "nosection", "k", "dflt"), "dflt");
  EXPECT_EQ(store_read_value(store_path(dir / "absent"), STORE_SECTION, "k", "dflt"), "dflt");
}

TEST_F(StoreTest, LongValueIsCutAtACharacter) {
  std::string wide;
  wide += 'a';
  for (int i = 0; i < 6000; ++i) wide += "年";  // 1 + 12000 bytes
  write("[倒计时]\r\nk=" + wide + "\r\n");
  const Text got = store_read_value(path, STORE_SECTION, "k");
  EXPECT_EQ(got.size(), 10239u);  // 1 + 5119 characters, none cut in half
  EXPECT_EQ(got, wide.substr(0, 10239));
  write("[倒计时]\r\nk=" + std::string(12000, 'x') + "\r\n");
  EXPECT_EQ(store_read_value(path, STORE_SECTION, "k").size(), 10239u);
}

TEST(StoreListNames, LinesAfterTheFirst) {
  struct Case { const char* name; std::string bytes; TextList names; } cases[] = {
      {"header only", "[倒计时]\r\n", {}},
      {"empty file", "", {}},
      {"header missing", "目标时间=2021年10月1日\r\n", {}},
      {"empty line between targets", "[倒计时]\r\na=1\r\n\r\nb=2\r\n", {"a", "", "b"}},
      {"lone line feeds", "[倒计时]\na=1\nb=2\n", {}},
      {"zero byte ends the text", std::string("[倒计时]\r\na=1\r\nb=2") + '\0' + "\r\nc=3\r\n", {"a", "b"}},
      {"first = decides", "[x]\r\na=b=c\r\n=v\r\nnoequals\r\n[倒计时]\r\n  sp = 1\r\n", {"a", "", "", "", "  sp "}},
  };
  for (const Case& c : cases) EXPECT_EQ(store_list_names(ByteSequence{c.bytes}), c.names) << c.name;
}

TEST_F(StoreTest, StructureChangingNamesAreRefused) {
  write("[倒计时]\r\na=1\r\n");
  const std::string before = contents();
  for (const char* name : {"", "   ", "x=y", "a\r\nb", "a\nb", "[s]", ";c", "  ;c"}) {
    EXPECT_FALSE(store_write_value(path, STORE_SECTION, name, "v")) << name;
  }
  EXPECT_FALSE(store_write_value(path, STORE_SECTION, "a", "two\r\nlines"));
  EXPECT_FALSE(store_write_value(path, STORE_SECTION, "a", "lone\rreturn"));
  for (const char* section : {"", " ", "s]x", "[s", "a\nb"}) {
    EXPECT_FALSE(store_write_value(path, section, "k", "v")) << section;
  }
  EXPECT_EQ(contents(), before);
  EXPECT_EQ(entries(), 1u);
}

// 0x5D ("]") and 0x5B ("[") are also second bytes of two-byte characters; inside
// such a character they are part of the name, not structure.
TEST_F(StoreTest, BracketBytesInsideTwoByteCharacters) {
  const std::string section = "s\x81\x5D";  // "s" and one two-byte character ending in 0x5D
  const std::string key = "k\x81\x5B\x81\x5D";
  ASSERT_TRUE(store_write_value(path, section, key, "v"));
  EXPECT_EQ(contents(), "[" + section + "]\r\n" + key + "=v\r\n");
  EXPECT_EQ(store_read_value(path, section, key), "v");
  ASSERT_TRUE(store_write_value(path, section, key, "w"));
  EXPECT_EQ(contents(), "[" + section + "]\r\n" + key + "=w\r\n");
  // A key may hold "]" anywhere; the header is not affected by it.
  ASSERT_TRUE(store_write_value(path, section, "x]", "1"));
  EXPECT_EQ(store_read_value(path, section, "x]"), "1");
}

TEST_F(StoreTest, BlanksAroundAWrittenNameAreDropped) {
  ASSERT_TRUE(store_write_value(path, STORE_SECTION, "  考试\t", "2021年12月25日"));
  EXPECT_EQ(contents(), "[倒计时]\r\n考试=2021年12月25日\r\n") << readable(contents());
  ASSERT_TRUE(store_write_value(path, STORE_SECTION, "考试 ", "2022年1月1日"));
  EXPECT_EQ(contents(), "[倒计时]\r\n考试=2022年1月1日\r\n") << readable(contents());
}

// The update on contents alone: each row sets k=new in section s.
TEST(ProfileUpdate, KeepsEveryOtherByte) {
  struct Case { const char* name; std::string before; std::string after; } cases[] = {
      {"lone LF line ends stay", "[s]\nk=old\nz=1\n", "[s]\nk=new\nz=1\n"},
      {"tabs around = stay, quotes replaced", "[s]\r\n\tK\t=\t\"old\"\t\r\n", "[s]\r\n\tK\t=\tnew\r\n"},
      {"first of two keys replaced", "[s]\r\nk=1\r\nk=2\r\n", "[s]\r\nk=new\r\nk=2\r\n"},
      {"comment and no-= line after the last key", "[s]\r\na=1\r\n;c\r\njunk\r\n\r\n[t]\r\n",
       "[s]\r\na=1\r\nk=new\r\n;c\r\njunk\r\n\r\n[t]\r\n"},
      {"header only section", "[s]\r\n[t]\r\nk=x\r\n", "[s]\r\nk=new\r\n[t]\r\nk=x\r\n"},
      {"last line without line end", "[s]\r\na=1", "[s]\r\na=1\r\nk=new\r\n"},
      {"key in another section only", "[t]\r\nk=x\r\n", "[t]\r\nk=x\r\n[s]\r\nk=new\r\n"},
      {"header-less file", "k=x", "k=x\r\n[s]\r\nk=new\r\n"},
      {"section header with blanks and case", "[ S ]  \r\nk=old\r\n", "[ S ]  \r\nk=new\r\n"},
      {"empty value replaced", "[s]\r\nk=\r\n", "[s]\r\nk=new\r\n"},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> got = profile_update(c.before, "s", "k", "new");
    ASSERT_TRUE(got.has_value()) << c.name;
    EXPECT_EQ(*got, c.after) << c.name;
    EXPECT_EQ(profile_lookup(*got, "s", "k"), std::optional<std::string>("new")) << c.name;
  }
}

TEST_F(StoreTest, DirectoryInPlaceOfTheFile) {
  fs::create_directory(path.native);
  EXPECT_TRUE(store_exists(path));
  EXPECT_TRUE(store_read_file(path).bytes.empty());
  EXPECT_EQ(store_read_value(path, STORE_SECTION, "a"), "");
  EXPECT_FALSE(store_write_value(path, STORE_SECTION, "a", "1"));
  EXPECT_TRUE(fs::is_directory(path.native));
  EXPECT_EQ(entries(), 1u);
}

TEST(RunDirectory, IsTheExecutablesDirectory) {
  const fs::path before = fs::current_path();
  fs::current_path(fs::temp_directory_path());
  const fs::path dir = run_directory();
  fs::current_path(before);
  EXPECT_TRUE(fs::exists(dir / TC_TEST_EXE_NAME)) << dir.string();
  EXPECT_NE(dir, fs::temp_directory_path());
}

}  // namespace
}  // namespace tc
