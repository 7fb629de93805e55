#include "platform/ini/profile.h"

#include <gtest/gtest.h>

#include "kit/scratch_dir.h"
#include "platform/ini/profile_file.h"
#include "platform/text/cp932.h"

namespace qz::ini {
namespace {

// A CP932 profile with CRLF line ends, as the suite's INI files are.
std::string Cp932Ini(std::string_view utf8_lf) {
  std::string crlf;
  for (char c : utf8_lf) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return text::ToCp932(crlf);
}

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("QZPPATH.ini", Cp932Ini(
        "; paths of the suite\n"
        "[FILE_PATH]\n"
        "VLMP=C:\\VLMP\\\n"
        "  VLMF = D:\\DATA\\  \n"
        "CPFSPEC =C:\\SPEC\\\n"
        "EMPTY=\n"
        "QUOTED=\" 結果 \"\n"
        "HALF=\"abc\n"
        ";VLMP=commented\n"
        "NOEQUALS\n"
        "VLMP=second\n"
        "[file_path]\n"
        "HOPE=from the duplicate\n"
        "[Other]\n"
        "CPFSPEC=plain\n"));
  }
  std::string File() const { return dir_.Path("qzppath.INI"); }  // found without regard to case
  testkit::ScratchDir dir_;
};

TEST_F(ProfileTest, ValueRules) {
  struct Case {
    const char* section;
    const char* key;
    const char* want;
  } cases[] = {
      {"FILE_PATH", "VLMP", "C:\\VLMP\\"},         // first of duplicate keys
      {"file_path", "vlmp", "C:\\VLMP\\"},         // names without regard to case
      {"FILE_PATH", "VLMF", "D:\\DATA\\"},         // leading blanks of the key, value trimmed
      {"FILE_PATH", "EMPTY", ""},                  // present but empty: not the default
      {"FILE_PATH", "QUOTED", " 結果 "},           // one pair of quotes removed, inside kept
      {"FILE_PATH", "HALF", "\"abc"},              // an unpaired quote stays
      {"FILE_PATH", "NOEQUALS", ""},               // an entry without "=" is an empty value
      {"FILE_PATH", ";VLMP", "(default)"},         // a comment line is no key
      {"FILE_PATH", "HOPE", "(default)"},          // the duplicate section is not read
      {"FILE_PATH", "MISSING", "(default)"},
      {"NOSECTION", "VLMP", "(default)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetProfileString(File(), c.section, c.key, "(default)"), c.want) << c.section << "/" << c.key;
  }
}

TEST_F(ProfileTest, KeyWithATrailingBlank) {
  // "CPFSPEC " finds only a key written with the blank; "CPFSPEC" finds both.
  EXPECT_EQ(GetProfileString(File(), "FILE_PATH", "CPFSPEC ", "-"), "C:\\SPEC\\");
  EXPECT_EQ(GetProfileString(File(), "FILE_PATH", "CPFSPEC", "-"), "C:\\SPEC\\");
  EXPECT_EQ(GetProfileString(File(), "Other", "CPFSPEC", "-"), "plain");
  EXPECT_EQ(GetProfileString(File(), "Other", "CPFSPEC ", "-"), "-");
}

TEST_F(ProfileTest, MissingFileGivesDefaults) {
  EXPECT_EQ(GetProfileString(dir_.Path("none.ini"), "A", "B", " keep "), " keep ");
  EXPECT_TRUE(GetProfileSection(dir_.Path("none.ini"), "A").empty());
  EXPECT_TRUE(GetProfileSectionNames(dir_.path() + "/no/folder.ini").empty());
}

TEST_F(ProfileTest, LongValuesAreCutAt255BytesNeverInsideACharacter) {
  std::string ascii(300, 'x');
  std::string kanji;
  for (int i = 0; i < 130; ++i) kanji += "結";  // 260 CP932 bytes
  dir_.Write("long.ini", Cp932Ini("[S]\nA=" + ascii + "\nK=" + kanji + "\n"));
  EXPECT_EQ(GetProfileString(dir_.Path("long.ini"), "S", "A", ""), std::string(255, 'x'));
  std::string cut = GetProfileString(dir_.Path("long.ini"), "S", "K", "");
  EXPECT_EQ(text::Cp932Length(cut), 254u);  // 127 characters; the 128th would need byte 256
  EXPECT_EQ(GetProfileString(dir_.Path("long.ini"), "S", "A", "", 10), std::string(10, 'x'));
}

TEST_F(ProfileTest, SectionInFileOrder) {
  std::vector<Entry> want = {
      {"VLMP", "C:\\VLMP\\"}, {"VLMF", "D:\\DATA\\"}, {"CPFSPEC", "C:\\SPEC\\"}, {"EMPTY", ""},
      {"QUOTED", "\" 結果 \""}, {"HALF", "\"abc"},  {"NOEQUALS", ""},          {"VLMP", "second"},
  };
  EXPECT_EQ(GetProfileSection(File(), "File_Path"), want);
  EXPECT_TRUE(GetProfileSection(File(), "nothing").empty());
}

TEST_F(ProfileTest, SectionNamesInFileOrderFirstOfDuplicates) {
  EXPECT_EQ(GetProfileSectionNames(File()), (std::vector<std::string>{"FILE_PATH", "Other"}));
}

TEST_F(ProfileTest, UnicodeFileWithByteOrderMark) {
  dir_.Write("u.ini", "\xEF\xBB\xBF[結果]\nタイトル=結果入力\n");
  EXPECT_EQ(GetProfileString(dir_.Path("u.ini"), "結果", "タイトル", ""), "結果入力");
  EXPECT_EQ(GetProfileSectionNames(dir_.Path("u.ini")), std::vector<std::string>{"結果"});
}

TEST_F(ProfileTest, WriteChangesOneLineAndKeepsEveryOther) {
  std::string before = dir_.Read("QZPPATH.ini");
  ASSERT_TRUE(WriteProfileString(File(), "file_path", "vlmf", "E:\\新\\"));
  std::string after = dir_.Read("QZPPATH.ini");  // the file keeps its own name
  std::string old_line = text::ToCp932("  VLMF = D:\\DATA\\  \r\n");
  std::string new_line = text::ToCp932("  VLMF =E:\\新\\\r\n");
  std::string expected = before;
  expected.replace(expected.find(old_line), old_line.size(), new_line);
  EXPECT_EQ(after, expected);
  EXPECT_EQ(GetProfileString(File(), "FILE_PATH", "VLMF", ""), "E:\\新\\");
}

TEST_F(ProfileTest, WriteAppendsKeysAndSections) {
  dir_.Write("w.ini", "; top\n[A]\nX=1\n\n[B]\nY=2");  // LF ends, no end on the last line
  ASSERT_TRUE(WriteProfileString(dir_.Path("w.ini"), "a", "Z", "3"));
  ASSERT_TRUE(WriteProfileString(dir_.Path("w.ini"), "B", "W", "4"));
  ASSERT_TRUE(WriteProfileString(dir_.Path("w.ini"), "C", "V", "5"));
  EXPECT_EQ(dir_.Read("w.ini"), "; top\n[A]\nX=1\nZ=3\n\n[B]\nY=2\nW=4\n[C]\nV=5\n");
}

TEST_F(ProfileTest, WriteCreatesAMissingFileAndKeepsUtf8) {
  ASSERT_TRUE(WriteProfileString(dir_.Path("new.ini"), "S", "K", "値"));
  EXPECT_EQ(dir_.Read("new.ini"), text::ToCp932("[S]\r\nK=値\r\n"));
  dir_.Write("u.ini", "\xEF\xBB\xBF[S]\r\nK=old\r\n");
  ASSERT_TRUE(WriteProfileString(dir_.Path("u.ini"), "S", "K", "値"));
  EXPECT_EQ(dir_.Read("u.ini"), "\xEF\xBB\xBF[S]\r\nK=値\r\n");
  EXPECT_FALSE(WriteProfileString(dir_.path() + "/no/folder/x.ini", "S", "K", "v"));
}

TEST(ProfileFile, TrailBytesThatLookLikeSyntaxAreCharacters) {
  // In CP932 "ゾ" is 0x83 0x5D (a "]" as its second byte) and "ソ" 0x83 0x5C.
  ProfileFile p = ProfileFile::Parse(text::ToCp932("[A] ゾーン\r\nソ=ソ\r\n"));
  EXPECT_EQ(p.SectionNames(), std::vector<std::string>{"A"});
  EXPECT_EQ(p.Find("A", "ソ"), "ソ");
}

}  // namespace
}  // namespace qz::ini
