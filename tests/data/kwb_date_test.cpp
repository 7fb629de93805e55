#include "data/kwb_date.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>

#include "data/bas_file_access.h"
#include "data/record_layouts.h"
#include "kit/suite_builder.h"
#include "kit/ui_expect.h"
#include "platform/record/btr_access.h"
#include "platform/record/btr_file.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/scripted_shell.h"

namespace qz {
namespace {

constexpr const char* kBlank6 = "      ";

testkit::RecordInit EraRecord(int kbn, const std::array<const char*, 6>& names, const std::array<int, 6>& starts) {
  testkit::RecordInit r = {{"KBN", kbn}, {"CODE", kBlank6}};
  for (int n = 1; n <= 6; ++n) {
    r.push_back({"GNMEI_" + std::to_string(n), names[n - 1]});
    r.push_back({"GNSYMD_" + std::to_string(n), starts[n - 1]});
  }
  return r;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

const testkit::RecordInit& StandardEras() {
  static const testkit::RecordInit r = EraRecord(data::kSysKbnEra, {"明治", "大正", "昭和", "平成", "令和", ""},
                                                 {18680101, 19120730, 19261225, 19890108, 20190501, 0});
  return r;
}

class KwbDateTest : public ::testing::Test {
 protected:
  void SetUp() override { basDate = BasDate{}; }
  void TearDown() override { basDate = BasDate{}; }

  // One call with every parameter; the outputs land in the members.
  void Call(std::int16_t mode, std::int16_t kind, std::int32_t date1, std::int32_t date2 = 0) {
    Mode = mode;
    Kind = kind;
    Date1 = date1;
    Date2 = date2;
    Sub_KwbDate(Mode, Kind, Date1, Date2, InText, EraNo, EraName, DateText, OutNo, EraText, ErrorCode, Note,
                suite->paths().data, suite->paths().spec_file);
  }

  std::unique_ptr<testkit::SuiteBuilder> suite = std::make_unique<testkit::SuiteBuilder>();
  ui::ScriptedShell shell;
  std::int16_t Mode = 0, Kind = 0, EraNo = 0, ErrorCode = -1;
  std::int32_t Date1 = 0, Date2 = 0, OutNo = 77;
  std::string InText = "in", EraName = "name", DateText = "date", EraText = "era", Note = "note";
};

TEST_F(KwbDateTest, LoadsTheEraRecordOnceAndPadsTheFixedTexts) {
  // A settings record with era-like bytes must not be taken for the era record.
  suite->Add("QZSYSLF.ERA", EraRecord(data::kSysKbnSettings, {"ＸＸ", "ＸＸ", "ＸＸ", "ＸＸ", "ＸＸ", "ＸＸ"},
                                      {1, 2, 3, 4, 5, 6}));
  suite->Add("QZSYSLF.ERA", StandardEras());
  suite->Build();
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
  const data::FileLayout& era = data::SysEraLayout();
  ASSERT_TRUE(sys.OpenFile(era.file, era.definition, suite->paths().data, suite->paths().spec_file));
  DefineLayoutFields(sys, era);
  sys.SetField("KBN", data::kSysKbnEra);
  sys.SetField("CODE", kBlank6);
  ASSERT_EQ(sys.GetEqual(era.definition), record::kStatusOk);
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

TEST_F(KwbDateTest, AFailedLoadIsAnErrorAndIsTriedAgain) {
  const struct {
    bool omit_file;
    bool settings_only;  // a record of another class, no era record
    const char* message;
  } cases[] = {
      {true, false, "QZSYSLFの初期化に失敗しました"},
      {false, false, "QZSYSLFの値取得に失敗しました"},
      {false, true, "QZSYSLFの値取得に失敗しました"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    suite = std::make_unique<testkit::SuiteBuilder>();
    if (c.omit_file) suite->Omit("QZSYSLF.BTR");
    if (c.settings_only) suite->Add("QZSYSLF.ERA", EraRecord(data::kSysKbnSettings, {"明治", "", "", "", "", ""}, {18680101, 0, 0, 0, 0, 0}));
    suite->Build();
    basDate = BasDate{};
    shell.ClearRecords();
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
  suite->Add("QZSYSLF.ERA", StandardEras());
  Call(1, 0, 20260301);
  EXPECT_EQ(ErrorCode, kKwbDateOk);
  EXPECT_EQ(DateText, "0008030100");
}

TEST_F(KwbDateTest, ARunTimeErrorIsReportedAndCopiesNothingBack) {
  suite->Build();
  // QZSYSLF defined with records too short for the era fields: defining
  // them fails at run time.
  const std::string spec_file = suite->paths().spec_file;
  const std::string definitions = ReadAll(spec_file);
  const std::string short_record =
      std::regex_replace(definitions, std::regex("QZSYSLF\\.BTR=[0-9]+"), "QZSYSLF.BTR=40");
  ASSERT_NE(short_record, definitions);
  std::ofstream(spec_file, std::ios::binary | std::ios::trunc) << short_record;
  ASSERT_EQ(record::CreateRecordFile(spec_file, "QZSYSLF.BTR", suite->paths().data, true), record::kStatusOk);
  const std::string message = "5:" + RunTimeErrorText(kErrInvalidCall);
  shell.AnswerBox(ui::MsgResult::kOk, message);
  Call(1, 0, 20260301);
  EXPECT_EQ(ErrorCode, kKwbDateFailed);
  EXPECT_EQ(InText, "in") << "nothing is copied back";
  EXPECT_EQ(DateText, "date");
  EXPECT_EQ(EraNo, 0);
  EXPECT_EQ(OutNo, 77);
  ASSERT_EQ(shell.boxes().size(), 1u);
  EXPECT_EQ(shell.boxes()[0].request.text, message);
  EXPECT_EQ(shell.boxes()[0].request.title, "KWBDATEエラー");
  EXPECT_EQ(shell.boxes()[0].request.icon, ui::MsgIcon::kExclamation);
  EXPECT_TRUE(basDate.IsEmpty());
  EXPECT_SCRIPT_OK(shell);

  // The file was closed again and the table left empty: with the sound
  // definition the next call loads it.
  std::ofstream(spec_file, std::ios::binary | std::ios::trunc) << definitions;
  ASSERT_EQ(record::CreateRecordFile(spec_file, "QZSYSLF.BTR", suite->paths().data, true), record::kStatusOk);
  suite->Add("QZSYSLF.ERA", StandardEras());
  Call(1, 0, 20260301);
  EXPECT_EQ(ErrorCode, kKwbDateOk);
  EXPECT_EQ(DateText, "0008030100");
}

}  // namespace
}  // namespace qz
