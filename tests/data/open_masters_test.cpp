#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "kit/suite_builder.h"
#include "kit/ui_expect.h"
#include "platform/record/btr_file.h"
#include "platform/record/status.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/scripted_shell.h"

namespace qz {
namespace {

using testkit::SuiteBuilder;

// Records what the opening shows: the caption and the gauge at each caption.
class RecordingGuide : public GuideProgress {
 public:
  float StateWidth() const override { return 2000; }
  void SetGageWidth(float width) override { gage = width; }
  void SetStateCaption(std::string_view caption) override {
    captions.emplace_back(caption);
    gages.push_back(gage);
  }
  float gage = -1;
  std::vector<std::string> captions;
  std::vector<float> gages;  // the gauge when each caption was set
};

const std::array<const char*, 20> kCaptions = {
    "受診者マスタオープン中", "団体マスタオープン中", "受診項目マスタオープン中", "受診歴マスタオープン中",
    "コースマスタオープン中", "コース項目マスタオープン中", "検査項目マスタオープン中",
    "入力グループマスタオープン中", "検査結果マスタオープン中", "判定マスタオープン中",
    "所見マスタオープン中", "所見マスタオープン中", "所見マスタオープン中", "所見マスタオープン中",
    "設定マスタオープン中", "設定マスタオープン中", "所見タブマスタオープン中",
    "政管受付番号履歴マスタオープン中", "診断項目マスタ２オープン中", "受診券履歴マスタオープン中"};

// The slots the open-all fills, by step (step 1 fills two).
const std::array<BtrObject BasFileAccess::*, 21> kStepSlots = {
    &BasFileAccess::QZJSNLFObj,  &BasFileAccess::QZJSN2LFObj, &BasFileAccess::QZDANLFObj,
    &BasFileAccess::QZJKOLFObj,  &BasFileAccess::QZJRKLFObj,  &BasFileAccess::QZKOSLFObj,
    &BasFileAccess::QZKSKLFObj,  &BasFileAccess::QZKOMLFObj,  &BasFileAccess::QZGRPLFObj,
    &BasFileAccess::QZKKKLFObj,  &BasFileAccess::QZHATLFObj,  &BasFileAccess::QZSYOLFObj,
    &BasFileAccess::QZSYO2LFObj, &BasFileAccess::QZSYO3LFObj, &BasFileAccess::QZSYO4LFObj,
    &BasFileAccess::SysObj,      &BasFileAccess::SysChohyoObj, &BasFileAccess::QZOCL2LFObj,
    &BasFileAccess::QZCARLFObj,  &BasFileAccess::QZSYN2LFObj, &BasFileAccess::QZJKRLFObj};

// Replaces the line of the definitions file that begins with `key` by
// `line` (or drops it when `line` is empty).
void EditSpec(const std::string& path, const std::string& key, const std::string& line) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string defs = text.str();
  const auto at = defs.find(key);
  ASSERT_NE(at, std::string::npos) << key;
  defs.replace(at, defs.find('\n', at) - at + 1, line.empty() ? "" : line + "\r\n");
  std::ofstream(path, std::ios::binary | std::ios::trunc) << defs;
}

class OpenMastersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    basPublic = BasPublic{};
    basFileAccess = BasFileAccess{};
  }
  void TearDown() override {
    Sub_CloseAllMasters(nullptr);
    Sub_ClosePreviewFiles();
    basFileAccess = BasFileAccess{};
  }
  void Build() {
    suite.Build();
    suite.ApplyPaths();
  }

  ui::ScriptedShell shell;
  SuiteBuilder suite;
};

TEST_F(OpenMastersTest, OpenAllShowsEveryStepAndFillsTheSlots) {
  suite.Add("QZJSNLF", {{"CODE", "0000000001"}, {"NAME", "山田　太郎"}, {"SEX", 1}, {"IKANID", "P12345"}});
  Build();
  RecordingGuide guide;
  ASSERT_TRUE(Fnc_OpenAllMasters(guide));
  EXPECT_TRUE(testkit::ScriptOk(shell));
  EXPECT_TRUE(shell.boxes().empty());
  ASSERT_EQ(guide.captions.size(), 20u);
  for (int k = 1; k <= 20; ++k) {
    EXPECT_EQ(guide.captions[k - 1], kCaptions[k - 1]) << "step " << k;
    EXPECT_FLOAT_EQ(guide.gages[k - 1], 2000.0f * k / 20) << "step " << k;
  }
  for (auto slot : kStepSlots) EXPECT_NE(basFileAccess.*slot, nullptr);
  EXPECT_EQ(basFileAccess.QZUSRLFObj, nullptr);  // the log-on step opens it
  EXPECT_EQ(basFileAccess.QJJRKLFObj, nullptr);

  // The examinee master is declared under both definitions.
  auto& jsn = *basFileAccess.QZJSNLFObj;
  jsn.SetField("CODE", "0000000001");
  ASSERT_EQ(jsn.GetEqual("QZJSNLF"), record::kStatusOk);
  EXPECT_EQ(jsn.GetField("NAME").ToText().substr(0, 15), "山田　太郎");
  EXPECT_EQ(jsn.GetField("SEX").ToLong(), 1);
  auto& jsn2 = *basFileAccess.QZJSN2LFObj;
  jsn2.SetField("IKANID", "P12345");
  ASSERT_EQ(jsn2.GetEqual("QZJSN2LF"), record::kStatusOk);
  EXPECT_EQ(jsn2.GetField("CODE").ToText(), "0000000001");

  // The two settings objects keep their own positions.
  suite.Add("QZSYSLF", {{"KBN", 3}, {"HCODE_1", 1}, {"HKBN_1", "  Ａ"}});
  suite.Add("QZSYSLF.CHOHYO", {{"KBN", 9}, {"CODE", "000001"}, {"CHOHYOMEI", "個人結果票"}});
  basFileAccess.SysObj->SetField("KBN", 3);
  basFileAccess.SysObj->SetField("CODE", "");
  ASSERT_EQ(basFileAccess.SysObj->GetEqual("QZSYSLF"), record::kStatusOk);
  basFileAccess.SysChohyoObj->SetField("KBN", 9);
  basFileAccess.SysChohyoObj->SetField("CODE", "000000");
  ASSERT_EQ(basFileAccess.SysChohyoObj->GetGreater("QZSYSLF"), record::kStatusOk);
  EXPECT_EQ(basFileAccess.SysObj->GetField("HKBN_1").ToText(), "  Ａ");
}

TEST_F(OpenMastersTest, OpenAllOnTheProgressWindowEndsWithAFullGauge) {
  Build();
  frmGuide.Reset();
  frmGuide->Show();
  ASSERT_TRUE(Fnc_OpenAllMasters());
  EXPECT_EQ(frmGuide->lblState.caption, "受診券履歴マスタオープン中");
  EXPECT_EQ(frmGuide->lblGage.width, frmGuide->lblState.width);
  Sub_CloseAllMasters();
  EXPECT_EQ(frmGuide->lblGage.width, frmGuide->lblState.width);
  EXPECT_EQ(basFileAccess.QZJKRLFObj, nullptr);
  frmGuide->Unload();
  frmGuide.Reset();
  EXPECT_TRUE(testkit::ScriptOk(shell));
}

TEST_F(OpenMastersTest, AMissingFileStopsTheOpeningAtItsStep) {
  struct Case {
    const char* file;
    int step;
    const char* message;
  };
  const Case cases[] = {{"QZJSNLF.BTR", 1, "受診者マスタオープンエラー"},
                        {"QZKOMLF.BTR", 7, "検査項目マスタオープンエラー"},
                        {"QZSYOLF.BTR", 11, "所見マスタオープンエラー"},
                        {"QZSYSLF.BTR", 15, "設定マスタオープンエラー"},
                        {"QZJKRLF.BTR", 20, "受診券履歴マスタオープンエラー"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    basFileAccess = BasFileAccess{};
    ui::ScriptedShell case_shell;
    SuiteBuilder s;
    s.Omit(c.file).Build();
    s.ApplyPaths();
    case_shell.AnswerBox(ui::MsgResult::kOk, c.message);
    RecordingGuide guide;
    EXPECT_FALSE(Fnc_OpenAllMasters(guide));
    EXPECT_TRUE(testkit::ScriptOk(case_shell));
    ASSERT_EQ(case_shell.boxes().size(), 1u);
    const ui::MessageBoxRequest& box = case_shell.boxes()[0].request;
    EXPECT_EQ(box.text, c.message);
    EXPECT_EQ(box.title, "エラー");
    EXPECT_EQ(box.icon, ui::MsgIcon::kCritical);
    ASSERT_EQ(guide.captions.size(), static_cast<std::size_t>(c.step));
    EXPECT_FLOAT_EQ(guide.gage, 2000.0f * c.step / 20);
    // Slots of the steps not reached stay empty; the failed step keeps its
    // unopened object.
    const int first_slot_of_step = c.step == 1 ? 0 : c.step;  // step 1 fills slots 0 and 1
    EXPECT_NE(basFileAccess.*kStepSlots[first_slot_of_step], nullptr);
    for (std::size_t i = first_slot_of_step + (c.step == 1 ? 2 : 1); i < kStepSlots.size(); ++i) {
      EXPECT_EQ(basFileAccess.*kStepSlots[i], nullptr) << "slot " << i;
    }
    Sub_CloseAllMasters(&guide);  // passes over the empty slots silently
    EXPECT_EQ(case_shell.boxes().size(), 1u);
  }
}

// A run-time error between the steps (here the progress window's caption)
// ends the opening with the routine's own error report.
TEST_F(OpenMastersTest, ARunTimeErrorEndsTheOpeningWithItsReport) {
  Build();
  struct FailingGuide : RecordingGuide {
    void SetStateCaption(std::string_view caption) override {
      RecordingGuide::SetStateCaption(caption);
      if (captions.size() == 3) throw RunTimeError(5);
    }
  } guide;
  shell.AnswerBox(ui::MsgResult::kOk, "ファイルのオープン処理処理でエラーが発生しました。\r\nエラー番号 : 5\r\n");
  EXPECT_FALSE(Fnc_OpenAllMasters(guide));
  EXPECT_TRUE(testkit::ScriptOk(shell));
  ASSERT_EQ(shell.boxes().size(), 1u);
  EXPECT_EQ(shell.boxes()[0].request.title, "QZP140");
  EXPECT_EQ(shell.boxes()[0].request.icon, ui::MsgIcon::kCritical);
  EXPECT_NE(basFileAccess.QZDANLFObj, nullptr);
  EXPECT_EQ(basFileAccess.QZJKOLFObj, nullptr);  // step 3 never ran
}

TEST_F(OpenMastersTest, ExamineeMasterSecondDefinitionMissing) {
  Build();
  EditSpec(suite.paths().spec_file, "QZJSN2LF=", "");  // no patient-ID definition
  shell.AnswerBox(ui::MsgResult::kOk, "受診者マスタ２オープンエラー");
  EXPECT_FALSE(Fnc_OpenJsnMaster());
  EXPECT_TRUE(testkit::ScriptOk(shell));
  ASSERT_NE(basFileAccess.QZJSNLFObj, nullptr);
  // The first definition is open (but declared nothing).
  EXPECT_EQ(basFileAccess.QZJSNLFObj->CloseFile(), record::kStatusOk);
}

TEST_F(OpenMastersTest, AFieldOutsideTheRecordIsReportedAsTheProceduresError) {
  Build();
  // An organisation master whose records are too short for its name.
  EditSpec(suite.paths().spec_file, "QZDANLF.BTR=", "QZDANLF.BTR=48");
  ASSERT_EQ(record::CreateRecordFile(suite.paths().spec_file, "QZDANLF.BTR", suite.paths().data, true),
            record::kStatusOk);
  shell.AnswerBox(ui::MsgResult::kOk, "団体マスタのオープン処理でエラーが発生しました。\r\nエラー番号 : ");
  EXPECT_FALSE(Fnc_OpenDanMaster());
  EXPECT_TRUE(testkit::ScriptOk(shell));
  ASSERT_EQ(shell.boxes().size(), 1u);
  EXPECT_EQ(shell.boxes()[0].request.title, "QZP140");
  EXPECT_EQ(shell.boxes()[0].request.icon, ui::MsgIcon::kCritical);
  EXPECT_NE(shell.boxes()[0].request.text.find("\r\nエラー内容 : "), std::string::npos);
}

TEST_F(OpenMastersTest, CloseAllEmptiesEverySlotAndFillsTheGauge) {
  Build();
  RecordingGuide guide;
  ASSERT_TRUE(Fnc_OpenAllMasters(guide));
  ASSERT_TRUE(Fnc_OpenUsrMaster());
  Sub_CloseAllMasters(&guide);
  EXPECT_FLOAT_EQ(guide.gage, 2000.0f);
  for (auto slot : kStepSlots) EXPECT_EQ(basFileAccess.*slot, nullptr);
  EXPECT_EQ(basFileAccess.QZUSRLFObj, nullptr);
  EXPECT_TRUE(shell.boxes().empty());
  // Opening again after the close works: nothing is left locked.
  ASSERT_TRUE(Fnc_OpenAllMasters(guide));
}

TEST_F(OpenMastersTest, OpeningTwiceReplacesTheObject) {
  Build();
  ASSERT_TRUE(Fnc_OpenKkkMaster());
  record::BtrAccess* first = basFileAccess.QZKKKLFObj.get();
  ASSERT_TRUE(Fnc_OpenKkkMaster());
  EXPECT_NE(basFileAccess.QZKKKLFObj.get(), first);
}

TEST_F(OpenMastersTest, PreviewFilesOpenDeclareAndClose) {
  Build();
  ASSERT_TRUE(Sub_OpenPreviewFiles());
  auto& kkk = *basFileAccess.QJKKKLFObj;
  kkk.SetField("CODE", "0000000001");
  kkk.SetField("JDATE", 20260301);
  kkk.SetField("KKMKNO", 3001);
  kkk.SetField("KNSACH", "5.4");
  kkk.SetField("SOKUTEI", 0);
  ASSERT_EQ(kkk.Insert("QJKKKLF"), record::kStatusOk);
  kkk.SetField("KNSACH", "");
  ASSERT_EQ(kkk.GetEqual("QJKKKLF"), record::kStatusOk);
  EXPECT_EQ(kkk.GetField("KNSACH").ToText(), "5.4       ");
  ASSERT_NE(basFileAccess.QJJRKLFObj, nullptr);
  Sub_ClosePreviewFiles();
  EXPECT_EQ(basFileAccess.QJJRKLFObj, nullptr);
  EXPECT_EQ(basFileAccess.QJKKKLFObj, nullptr);
  // The record went to the work folder, not the data folder.
  EXPECT_TRUE(std::filesystem::exists(suite.paths().work + "QJKKKLF.BTR"));
  EXPECT_FALSE(std::filesystem::exists(suite.paths().data + "QJKKKLF.BTR"));
  // A second round makes fresh objects.
  ASSERT_TRUE(Sub_OpenPreviewFiles());
  Sub_ClosePreviewFiles();
  EXPECT_TRUE(shell.boxes().empty());
}

TEST_F(OpenMastersTest, PreviewResultsFileMissing) {
  suite.Omit("QJKKKLF.BTR");
  Build();
  shell.AnswerBox(ui::MsgResult::kOk, "プレビュー用受診歴マスタオープンエラー");
  EXPECT_FALSE(Sub_OpenPreviewFiles());  // reported to the caller as well
  EXPECT_TRUE(testkit::ScriptOk(shell));
  EXPECT_EQ(shell.boxes().at(0).request.title, "エラー");
  ASSERT_NE(basFileAccess.QJJRKLFObj, nullptr);
  Sub_ClosePreviewFiles();
  EXPECT_EQ(basFileAccess.QJJRKLFObj, nullptr);
  EXPECT_EQ(basFileAccess.QJKKKLFObj, nullptr);
  EXPECT_EQ(shell.boxes().size(), 1u);
}

TEST_F(OpenMastersTest, APreviewFileTooShortForItsFieldsGivesTheOpenReport) {
  Build();
  EditSpec(suite.paths().spec_file, "QJKKKLF.BTR=", "QJKKKLF.BTR=200");  // SYOKEN ends at 238
  ASSERT_EQ(record::CreateRecordFile(suite.paths().spec_file, "QJKKKLF.BTR", suite.paths().work, true),
            record::kStatusOk);
  shell.AnswerBox(ui::MsgResult::kOk, "プレビューファイルのオープン処理でエラーが発生しました。\r\nエラー番号 : ");
  EXPECT_FALSE(Sub_OpenPreviewFiles());
  EXPECT_TRUE(testkit::ScriptOk(shell));
  ASSERT_EQ(shell.boxes().size(), 1u);
  EXPECT_EQ(shell.boxes()[0].request.title, "QZP140");
  Sub_ClosePreviewFiles();
  EXPECT_EQ(basFileAccess.QJJRKLFObj, nullptr);
  EXPECT_EQ(basFileAccess.QJKKKLFObj, nullptr);
  EXPECT_EQ(shell.boxes().size(), 1u);
}

TEST_F(OpenMastersTest, ClosingPreviewFilesNeverOpenedShowsNothing) {
  Build();
  Sub_ClosePreviewFiles();
  EXPECT_TRUE(shell.boxes().empty());
  EXPECT_TRUE(testkit::ScriptOk(shell));
}

}  // namespace
}  // namespace qz
