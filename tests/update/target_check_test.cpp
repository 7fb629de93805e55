#include <gtest/gtest.h>

#include "kit/ui_expect.h"
#include "update/bas_public.h"
#include "update/target_check.h"
#include "update/update_fixture.h"

namespace qz::update {
namespace {

using testing::UpdateTest;
using Lines = std::vector<std::string>;

TEST(SectionNameTest, NumberZeroIsTheBareName) {
  struct Case {
    const char* base;
    int i;
    const char* name;
  } cases[] = {{"Convert", 0, "Convert"}, {"Convert", 1, "Convert_001"}, {"Import", 42, "Import_042"},
               {"EndMessage", 100, "EndMessage_100"}, {"QZPCNV", 1000, "QZPCNV_1000"}};
  for (const Case& c : cases) EXPECT_EQ(SectionName(c.base, c.i), c.name);
}

TEST_F(UpdateTest, VersionNumbersJoinTheirPartsInFiveDigits) {
  struct Case {
    const char* version;
    double number;
    const char* line;  // the reason logged for -1
  } cases[] = {
      {"1.2.3", 10000200003.0, nullptr},
      {"3.10.0", 30001000000.0, nullptr},
      {"0.0.0", 0, nullptr},
      {"99999.99999.99999", 999999999999999.0, nullptr},
      {"1.00002.3", 10000200003.0, nullptr},
      // A part of six digits would run into its neighbour (1.100000.0 is
      // not 11.0.0).
      {"1.100000.0", -1, "    バージョン文字列の桁数が不正です。 : 2個目"},
      {"1.123456.0", -1, "    バージョン文字列の桁数が不正です。 : 2個目"},
      {"1.2", -1, "    バージョン文字列のピリオドの数が一致しません。"},
      {"1.2.3.4", -1, "    バージョン文字列のピリオドの数が一致しません。"},
      {"", -1, "    バージョン文字列のピリオドの数が一致しません。"},
      {"1.x.3", -1, "    バージョン文字列が数値ではありません。 : 2個目"},
      {"1.2.", -1, "    バージョン文字列が数値ではありません。 : 3個目"},
      {"-1.2.3", -1, "    バージョン文字列が数値ではありません。 : 1個目"},
      {"1.1E2.3", -1, "    バージョン文字列が数値ではありません。 : 2個目"},
      {"1.&H1.3", -1, "    バージョン文字列が数値ではありません。 : 2個目"},
  };
  for (const Case& c : cases) {
    shell_.ClearRecords();
    if (c.line) shell_.AnswerBox(ui::MsgResult::kOk);
    MarkLog();
    EXPECT_EQ(Fnc_VersionToNum(c.version), c.number) << c.version;
    Lines log = LogTexts();
    ASSERT_EQ(log.size(), 2u) << c.version;
    EXPECT_EQ(log[0], std::string("  バージョンの数値変換開始 : ") + c.version);
    if (c.line) {
      EXPECT_EQ(log[1], c.line);
      ASSERT_EQ(shell_.boxes().size(), 1u);
      EXPECT_EQ(shell_.boxes()[0].request.text, std::string("バージョンの書式が不正です。\r\n\r\nバージョン情報 : ") + c.version);
      EXPECT_EQ(shell_.boxes()[0].request.icon, ui::MsgIcon::kCritical);
    } else {
      EXPECT_TRUE(shell_.boxes().empty());
    }
  }
  EXPECT_SCRIPT_OK(shell_);
}

class TargetCheckTest : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    WriteFile("D:\\REL\\Update.INI",
              "[Setting]\r\nTargetMin=3.0.0\r\nTargetMax=3.2.0\r\n"
              "[Convert_001]\r\nTargetMin=3.1.0\r\n"
              "[Convert_002]\r\nTargetMin=\r\nTargetMax=3.0.5\r\n"
              "[Convert_003]\r\nTargetMax=3.x.0\r\n");
    basPublic.UpdateIniPath = "D:\\REL\\Update.INI";
    basPublic.VersionCheck = true;
    basPublic.TargetMin = "3.0.0";
    basPublic.TargetMax = "3.2.0";
  }
};

TEST_F(TargetCheckTest, SectionsNarrowTheRangeWithInclusiveBounds) {
  struct Case {
    const char* section;
    const char* installed;
    std::int16_t result;
  } cases[] = {
      {"Convert", "3.0.0", kTargetApplies},   {"Convert", "3.2.0", kTargetApplies},
      {"Convert", "2.9.9", kTargetBelow},     {"Convert", "3.2.1", kTargetAbove},
      {"Convert_001", "3.0.9", kTargetBelow}, {"Convert_001", "3.1.0", kTargetApplies},
      {"Convert_002", "3.0.0", kTargetApplies}, {"Convert_002", "3.0.6", kTargetAbove},
  };
  for (const Case& c : cases) {
    basPublic.CurrentVersionNum = Fnc_VersionToNum(c.installed);
    EXPECT_EQ(Fnc_TargetCheck(c.section), c.result) << c.section << " " << c.installed;
  }
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(TargetCheckTest, TheLogShowsTheRangeAndWhyASectionIsLeftOut) {
  basPublic.CurrentVersionNum = 30000000009.0;
  MarkLog();
  EXPECT_EQ(Fnc_TargetCheck("Convert_001"), kTargetBelow);
  Lines log = LogTexts();
  EXPECT_EQ(log.front(), "対象バージョンのチェック開始 : Convert_001");
  EXPECT_EQ(log[log.size() - 2], "  対象バージョンの範囲 : 30000100000 <= 30000000009 <= 30000200000");
  EXPECT_EQ(log.back(), "  30000100000 > 30000000009 のため対象外です。");
  basPublic.CurrentVersionNum = 30000200001.0;
  EXPECT_EQ(Fnc_TargetCheck("Setting"), kTargetAbove);
  EXPECT_EQ(LogTexts().back(), "  30000200000 < 30000200001 のため対象外です。");
}

TEST_F(TargetCheckTest, AMalformedBoundLeavesItUndecided) {
  shell_.AnswerBox(ui::MsgResult::kOk, "バージョンの書式が不正です。");
  basPublic.CurrentVersionNum = 30000100000.0;
  EXPECT_EQ(Fnc_TargetCheck("Convert_003"), kTargetUndecided);
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(TargetCheckTest, EverySectionAppliesWithoutVersionCheck) {
  basPublic.VersionCheck = false;
  basPublic.CurrentVersionNum = 0;
  MarkLog();
  EXPECT_EQ(Fnc_TargetCheck("Convert_003"), kTargetApplies);
  EXPECT_EQ(LogTexts(), (Lines{"対象バージョンのチェック開始 : Convert_003", "  バージョンチェック不要のため無視します。"}));
}

}  // namespace
}  // namespace qz::update
