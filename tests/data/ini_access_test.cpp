#include "data/ini_access.h"

#include <gtest/gtest.h>

#include "kit/scratch_dir.h"
#include "platform/text/cp932.h"

namespace qz {
namespace {

class IniAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("QZP140.INI", text::ToCp932(
        "[SysInfo]\r\n"
        "Title=\" 結果入力\"\r\n"
        "Blank=\r\n"
        "[Import]\r\n"
        "1=QZPCSV.EXE /I=A=B\r\n"
        "; 2=skipped\r\n"
        "FLAG\r\n"
        "3 = spaced \r\n"));
    dir_.Enter();
  }
  testkit::ScratchDir dir_;
};

TEST_F(IniAccessTest, GetIniGivesTheValueAsRead) {
  // A quoted value keeps its leading blank whole.
  EXPECT_EQ(Fnc_GetIni("SysInfo", "Title", "", "./qzp140.ini"), " 結果入力");
  EXPECT_EQ(Fnc_GetIni("SysInfo", "Blank", "def", "./QZP140.INI"), "");
  EXPECT_EQ(Fnc_GetIni("SysInfo", "Missing", " def ", "./QZP140.INI"), " def ");
  EXPECT_EQ(Fnc_GetIni("SysInfo", "Title", "def", "./NONE.INI"), "def");
}

TEST_F(IniAccessTest, SectionEntriesFromIndexOne) {
  std::vector<std::string> keys{"old"}, values{"old"};
  std::int16_t count = -1;
  Sub_GetSection(".\\QZP140.ini", "import", keys, values, count);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(keys, (std::vector<std::string>{"", "1", "FLAG", "3"}));
  EXPECT_EQ(values, (std::vector<std::string>{"", "QZPCSV.EXE /I=A=B", "", "spaced"}));

  Sub_GetSection("./QZP140.INI", "Absent", keys, values, count);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(keys.empty());
  EXPECT_TRUE(values.empty());
}

}  // namespace
}  // namespace qz
