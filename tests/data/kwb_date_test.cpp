#include "data/kwb_date.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "data/sys_kbn.h"
#include "data/tiny_suite.h"
#include "kit/ui_expect.h"
#include "platform/record/btr_access.h"
#include "platform/ui/scripted_shell.h"

namespace qz {
namespace {

using record::KeySegment;
using record::SegmentKind;

// The settings master with an era record (and a settings record in front of
// nothing: KBN 3 must not be mistaken for the era record).
class KwbDateTest : public ::testing::Test {
 protected:
  void SetUp() override { basDate = BasDate{}; }
  void TearDown() override { basDate = BasDate{}; }

  void MakeSysFile() {
    suite->AddFile("QZSYSLF.BTR", "QZSYSLF", 256,
                  {KeySegment{1, 2, SegmentKind::kNumeric}, KeySegment{3, 6, SegmentKind::kAlpha}});
  }

  // Writes a record of class `kbn` with the era fields.
  void WriteEraRecord(int kbn, const std::array<const char*, 6>& names, const std::array<int, 6>& starts) {
    record::BtrAccess sys;
    ASSERT_TRUE(sys.OpenFile("QZSYSLF.BTR", "QZSYSLF", suite->folder(), suite->folder()));
    sys.DefineNumericField("KBN", 1, 2, 0);
    sys.DefineAlphaField("CODE", 3, 6);
    for (int n = 1; n <= 6; ++n) {
      sys.DefineKanjiField("GNMEI_" + std::to_string(n), 10 + 12 * (n - 1), 4);
      sys.DefineNumericField("GNSYMD_" + std::to_string(n), 14 + 12 * (n - 1), 8, 0);
    }
    sys.SetField("KBN", kbn);
    sys.SetField("CODE", kSysBlankCode);
    for (int n = 1; n <= 6; ++n) {
      sys.SetField("GNMEI_" + std::to_string(n), names[n - 1]);
      sys.SetField("GNSYMD_" + std::to_string(n), starts[n - 1]);
    }
    ASSERT_EQ(sys.Insert("QZSYSLF"), record::kStatusOk);
    sys.CloseFile();
  }

  void WriteStandardEras() {
    WriteEraRecord(kSysKbnEra, {"明治", "大正", "昭和", "平成", "令和", ""},
                   {18680101, 19120730, 19261225, 19890108, 20190501, 0});
  }

  // One call with every parameter; the outputs land in the members.
  void Call(std::int16_t mode, std::int16_t kind, std::int32_t date1, std::int32_t date2 = 0) {
    Mode = mode;
    Kind = kind;
    Date1 = date1;
    Date2 = date2;
    Sub_KwbDate(Mode, Kind, Date1, Date2, InText, EraNo, EraName, DateText, OutNo, EraText, ErrorCode, Note,
                suite->folder(), suite->folder());
  }

  std::unique_ptr<testkit::TinySuite> suite = std::make_unique<testkit::TinySuite>();
  ui::ScriptedShell shell;
  std::int16_t Mode = 0, Kind = 0, EraNo = 0, ErrorCode = -1;
  std::int32_t Date1 = 0, Date2 = 0, OutNo = 77;
  std::string InText = "in", EraName = "name", DateText = "date", EraText = "era", Note = "note";
};

TEST_F(KwbDateTest, LoadsTheEraRecordOnceAndPadsTheFixedTexts) {
  MakeSysFile();
  WriteEraRecord(kSysKbnSettings, {"ＸＸ", "ＸＸ", "ＸＸ", "ＸＸ", "ＸＸ", "ＸＸ"}, {1, 2, 3, 4, 5, 6});
  WriteStandardEras();
  Call(1, 1, 19890108);
  EXPECT_EQ(ErrorCode, kKwbDateOk);
  EXPECT_EQ(EraNo, 4);
  EXPECT_EQ(EraName, "平成  ");  // four characters
  EXPECT_EQ(DateText, "0001010800");
  EXPECT_EQ(EraText, "01.01.08  ");
  EXPECT_EQ(InText, "in        ");
  EXPECT_EQ(Note, "note");
  EXPECT_EQ(OutNo, 0);
  EXPECT_EQ(basDate.EraStarts[5], kEraNeverStarts);
  EXPECT_EQ(basDate.EraNames[4], "令和");

  // The table stays for the run: a changed file is not read again.
  record::BtrAccess sys;
  ASSERT_TRUE(sys.OpenFile("QZSYSLF.BTR", "QZSYSLF", suite->folder(), suite->folder()));
  sys.DefineNumericField("KBN", 1, 2, 0);
  sys.DefineAlphaField("CODE", 3, 6);
  sys.SetField("KBN", kSysKbnEra);
  sys.SetField("CODE", kSysBlankCode);
  ASSERT_EQ(sys.GetEqual("QZSYSLF"), record::kStatusOk);
  ASSERT_EQ(sys.Delete(), record::kStatusOk);
  sys.CloseFile();
  Call(1, 0, 20190430);
  EXPECT_EQ(ErrorCode, kKwbDateOk);
  EXPECT_EQ(EraName, "平成  ");
  EXPECT_EQ(DateText, "0031043000");
  EXPECT_EQ(EraText, std::string(10, ' '));
  EXPECT_TRUE(shell.boxes().empty());
}

TEST_F(KwbDateTest, AnErrorCodeStillPadsAndCutsTheTexts) {
  basDate.EraNames = {"明治", "大正", "昭和", "平成", "令和", ""};
  basDate.EraStarts = {18680101, 19120730, 19261225, 19890108, 20190501, kEraNeverStarts};
  InText = "0123456789ABC";
  EraName = "平成元年度";
  Call(0, 0, 20260301);
  EXPECT_EQ(ErrorCode, kKwbDateBadMode);
  EXPECT_EQ(Mode, 0);
  EXPECT_EQ(Date1, 20260301);
  EXPECT_EQ(InText, "0123456789");
  EXPECT_EQ(EraName, "平成元年");
  EXPECT_EQ(DateText, "date      ");
  EXPECT_EQ(EraText, "era       ");
  EXPECT_EQ(OutNo, 77);
  // Mode 3, kind 1: the age is characters 2 to 4.
  Call(3, 1, 19800315, 20260301);
  EXPECT_EQ(ErrorCode, kKwbDateOk);
  EXPECT_EQ(DateText, "0045111700");
  Call(3, 1, 20260302, 20260301);
  EXPECT_EQ(DateText, "00000000  ");
}

struct LoadFailure {
  bool make_file;
  int kbn;  // class of the one record written; 0 for none
  const char* message;
};

TEST_F(KwbDateTest, AFailedLoadIsAnErrorAndIsTriedAgain) {
  const LoadFailure cases[] = {
      {false, 0, "QZSYSLFの初期化に失敗しました"},
      {true, 0, "QZSYSLFの値取得に失敗しました"},
      {true, kSysKbnSettings, "QZSYSLFの値取得に失敗しました"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    suite = std::make_unique<testkit::TinySuite>();
    basDate = BasDate{};
    shell.ClearRecords();
    if (c.make_file) MakeSysFile();
    if (c.kbn != 0) WriteEraRecord(c.kbn, {"明治", "大正", "昭和", "平成", "令和", ""}, {18680101, 0, 0, 0, 0, 0});
    ErrorCode = -1;
    InText = "in";
    shell.AnswerBox(ui::MsgResult::kOk, c.message);
    Call(1, 0, 20260301);
    EXPECT_EQ(ErrorCode, kKwbDateFailed);
    EXPECT_EQ(InText, "in") << "nothing is copied back";
    EXPECT_EQ(DateText, "date");
    EXPECT_EQ(EraNo, 0);
    ASSERT_EQ(shell.boxes().size(), 1u);
    EXPECT_EQ(shell.boxes()[0].request.text, c.message);
    EXPECT_EQ(shell.boxes()[0].request.title, "BTRエラー");
    EXPECT_EQ(shell.boxes()[0].request.icon, ui::MsgIcon::kCritical);
    EXPECT_TRUE(basDate.IsEmpty());
    EXPECT_SCRIPT_OK(shell);
  }
  // Once the record is there, the next call loads it.
  WriteStandardEras();
  Call(1, 0, 20260301);
  EXPECT_EQ(ErrorCode, kKwbDateOk);
  EXPECT_EQ(DateText, "0008030100");
}

}  // namespace
}  // namespace qz
