// The examinee cycle of the result screen: the start, the search screen or
// the command line, the load, and the end by discarding or saving.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "examinee/bas_public.h"
#include "examinee/cls_vlmf_qzonllf.h"
#include "examinee/examinee_selection.h"
#include "examinee/frm_guide.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "kit/demo_data.h"
#include "kit/ui_expect.h"
#include "loading/group_forms.h"
#include "loading/load_driver.h"
#include "loading/load_state.h"
#include "platform/runtime/app.h"
#include "platform/text/vb.h"
#include "platform/ui/shell.h"
#include "suite/call_log.h"

namespace qz::test {
namespace {

using ui::MsgResult;

constexpr const char* kFirst = "0000000001";

class ExamineeCycleTest : public ScreenTest {};

TEST_F(ExamineeCycleTest, AChoiceOnTheSearchScreenLoadsTheExamineeAndTheDiscardBringsTheSearchBack) {
  BuildDemo();
  ASSERT_TRUE(Start());
  EXPECT_TRUE(SearchShown());
  EXPECT_FALSE(form().cmdEnd.enabled);
  EXPECT_FALSE(form().chkSokutei.enabled);
  EXPECT_FALSE(form().sprResult.visible);

  ASSERT_TRUE(Choose(kFirst, kToday));
  EXPECT_FALSE(SearchShown());
  EXPECT_EQ(form().txtID.text(), frmResultIn.txtID);
  EXPECT_FALSE(form().txtID.text().empty());
  EXPECT_FALSE(form().txtName.text().empty());
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_TRUE(form().enabled());
  EXPECT_TRUE(form().cmdEnd.enabled);
  EXPECT_FALSE(frmResultIn.Loading);
  EXPECT_GT(frmResultIn.RowCount(), 0);
  EXPECT_EQ(basPublic.ExamineeNo, kFirst);
  EXPECT_EQ(basPublic.ConsultDate, kToday);
  const auto held = OnlineRows();
  ASSERT_EQ(held.size(), 1u);
  EXPECT_EQ(held[0].examinee, kFirst);
  EXPECT_EQ(held[0].terminal, kTerminal);
  EXPECT_EQ(held[0].ren, basPublic.OnlineRen);

  shell_.AnswerBox(MsgResult::kOk, "保存せずに終了します。よろしいですか？");
  ASSERT_TRUE(Drive([&] { form().cmdAgain_Click(); }));
  EXPECT_TRUE(OnlineRows().empty());
  EXPECT_EQ(basPublic.OnlineRen, 0);
  EXPECT_TRUE(basPublic.ExamineeNo.empty());
  EXPECT_TRUE(form().txtID.text().empty());
  EXPECT_FALSE(form().sprResult.visible);
  EXPECT_TRUE(form().visible());
  EXPECT_FALSE(frmGrpJmp.loaded());
  EXPECT_TRUE(SearchShown());
  EXPECT_FALSE(form().cmdEnd.enabled);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

}  // namespace
}  // namespace qz::test

namespace qz::test {
namespace {

TEST(CommandLineTest, NumberPatientIdAndDateAreTakenByPosition) {
  struct Case {
    const char* command;
    const char* number;
    bool patient_id;
    const char* date;  // nullptr: the latest consultation
  } cases[] = {
      {"0000000001", "0000000001", false, nullptr},
      {"0000000001 202612", "0000000001", false, nullptr},  // 17 characters
      {"000000000120261209", "0000000001", false, "20261209"},
      {"0000000001 xx 20251210", "0000000001", false, "20251210"},
      {"P000100001I20261209", "P000100001", true, "20261209"},
      {"  12345   ", "  12345   ", false, nullptr},
      // Counted in characters: a full-width one is one, and so is one the
      // code page does not have (two UTF-16 units).
      {"０００００００００１20261209", "０００００００００１", false, "20261209"},
      {"000000001\U0001F6002026120", "000000001\U0001F600", false, nullptr},  // 17 characters
      {"000000001\U0001F60020261209", "000000001\U0001F600", false, "20261209"},
  };
  for (const Case& c : cases) {
    const CommandLineExaminee read = ReadCommandLine(c.command);
    EXPECT_EQ(read.Number, c.number) << c.command;
    EXPECT_EQ(read.IsPatientId, c.patient_id) << c.command;
    EXPECT_EQ(read.DateText.has_value(), c.date != nullptr) << c.command;
    if (read.DateText && c.date != nullptr) {
      EXPECT_EQ(*read.DateText, c.date) << c.command;
    }
  }
}

}  // namespace
}  // namespace qz::test

namespace qz::test {
namespace {

using ui::MsgResult;

class CommandLineStartTest : public ScreenTest {};

TEST_F(CommandLineStartTest, TheLatestConsultationIsLoadedAndRegisteredAndItsEndEndsTheProgram) {
  BuildDemo();
  ASSERT_TRUE(Start("0000000002"));
  EXPECT_FALSE(SearchShown());
  EXPECT_EQ(basPublic.ConsultDate, kToday);
  EXPECT_EQ(basPublic.StartExamineeNo, "0000000002");
  const auto held = OnlineRows();
  ASSERT_EQ(held.size(), 1u);
  EXPECT_EQ(held[0].examinee, "0000000002");
  EXPECT_EQ(held[0].job, 3);
  EXPECT_EQ(held[0].ren, basPublic.OnlineRen);

  shell_.AnswerBox(MsgResult::kOk, "保存せずに終了します。");
  EXPECT_FALSE(Drive([&] { form().cmdAgain_Click(); }));  // the program ends
  EXPECT_TRUE(OnlineRows().empty());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(CommandLineStartTest, APatientIdWithADateLoadsThatConsultation) {
  BuildDemo();
  ASSERT_TRUE(Start("P000100001I" + std::to_string(testkit::YearsBefore(kToday, 1))));
  EXPECT_EQ(basPublic.ExamineeNo, "0000000001");
  EXPECT_EQ(basPublic.ConsultDate, testkit::YearsBefore(kToday, 1));
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(CommandLineStartTest, AnUnknownPatientIdEndsTheProgramAfterItsMessage) {
  BuildDemo();
  shell_.AnswerBox(MsgResult::kOk, "医事患者番号 : P999999999の受診者マスタが見つかりません。");
  EXPECT_FALSE(Start("P999999999I"));
  EXPECT_TRUE(OnlineRows().empty());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(CommandLineStartTest, ALoadToRegisterAnExamineeInUseElsewhereEndsTheProgramBeforeAnythingIsRead) {
  BuildDemo();
  AddOnlineRow(1, "0000000002", "TERM99");
  ASSERT_TRUE(Start());
  shell_.AnswerBox(MsgResult::kOk, "TERM99で『受付』に使用されています。");
  EXPECT_FALSE(Drive([] {
    basPublic.ExamineeNo = "0000000002";
    basPublic.ConsultDate = kToday;
    Sub_LoadExaminee(true);
  }));
  EXPECT_TRUE(frmResultIn.txtID.empty());
  ASSERT_EQ(OnlineRows().size(), 1u);
  EXPECT_EQ(OnlineRows()[0].terminal, "TERM99");
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

// A command line whose date is no date ends the program after its one
// message, through the real main form: no empty screen is left waiting.
class CommandLineDateTest : public ScreenTest, public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(CommandLineDateTest, ADateThatIsNoDateEndsTheProgramWithItsMessage) {
  BuildDemo();
  shell_.AnswerBox(MsgResult::kOk, GetParam().second);
  EXPECT_FALSE(Start(GetParam().first));
  EXPECT_EQ(shell_.boxes().size(), 1u);
  EXPECT_TRUE(OnlineRows().empty());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

INSTANTIATE_TEST_SUITE_P(Dates, CommandLineDateTest,
                         ::testing::Values(std::pair{"0000000002xx2026120x", "フォームのアクティブ処理でエラーが発生しました。"},
                                           std::pair{"000000000220261340", "受診項目が登録されていません。"}));

class SearchResultTest : public ScreenTest {
 protected:
  // The choice of an examinee without a consultation date, as a search
  // server that lists examinees without one raises it (this program's
  // screen lists only today's consultations): the server holds the
  // examinee in the on-line table, hides its screen and raises the event.
  bool ChooseWithoutDate(const std::string& examinee) {
    return Drive([&] {
      std::int32_t ren = 0;
      ClsVlmfQzonllf().Sub_HoldOnlineInfo(examinee, ren);
      ASSERT_GT(ren, 0);
      ui::Shell::Require().FindForm("frmSearch")->Hide();
      form().SearchDysp_SearchResult(SearchResultRecord{examinee, 0, kSearchChosen, static_cast<std::int16_t>(ren)});
    });
  }
};

TEST_F(SearchResultTest, ANewRegistrationIsRefusedAndTheSearchComesBack) {
  BuildDemo();
  ASSERT_TRUE(Start());
  shell_.AnswerBox(MsgResult::kOk, "受診者の新規登録はできません。");
  ASSERT_TRUE(Drive([&] {
    form().SearchDysp_SearchResult(SearchResultRecord{"", 0, kSearchNewRegistration, 0});
  }));
  EXPECT_FALSE(frmResultIn.Activated);
  EXPECT_TRUE(SearchShown());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(SearchResultTest, AnExamineeWithoutAConsultationIsReleasedAndTheSearchComesBack) {
  suite_.Add("QZJSNLF", {{"CODE", "0000000099"}, {"NAME", "受診歴なし"}, {"SEX", 1}, {"BIRTH", 19700101}});
  BuildDemo();
  ASSERT_TRUE(Start());
  EXPECT_EQ(SearchRow("0000000099", 0), -1) << "this program's screen lists no examinee without today's consultation";
  shell_.AnswerBox(MsgResult::kOk, "受診者番号「0000000099」は\r\n受診日が登録されていません。");
  ASSERT_TRUE(ChooseWithoutDate("0000000099"));
  EXPECT_TRUE(OnlineRows().empty());
  EXPECT_TRUE(SearchShown());
  EXPECT_FALSE(form().sprResult.visible);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

// A choice without a consultation date whose release fails: after both
// messages the search screen is there again.
TEST_F(SearchResultTest, AChoiceWithoutADateWhoseReleaseFailsShowsTheSearchAgain) {
  suite_.Add("QZJSNLF", {{"CODE", "0000000099"}, {"NAME", "受診歴なし"}, {"SEX", 1}, {"BIRTH", 19700101}});
  BuildDemo();
  ASSERT_TRUE(Start());
  shell_.on_box = [&](const ui::MessageBoxRequest&) {
    std::filesystem::remove(suite_.paths().data + "QZONLLF.BTR");
  };
  shell_.AnswerBox(MsgResult::kOk, "受診者番号「0000000099」は\r\n受診日が登録されていません。")
      .AnswerBox(MsgResult::kOk, "オンラインマスタのレコードの削除時にエラーが発生しました。");
  ASSERT_TRUE(ChooseWithoutDate("0000000099"));
  shell_.on_box = nullptr;
  EXPECT_TRUE(SearchShown());
  EXPECT_FALSE(form().sprResult.visible);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(SearchResultTest, ClosingTheSearchEndsTheProgramWithoutReleasingARowItNoLongerHolds) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose("0000000001", kToday));
  const int ren = basPublic.OnlineRen;
  shell_.AnswerBox(MsgResult::kOk, "保存せずに終了します。");
  ASSERT_TRUE(Drive([&] { form().cmdAgain_Click(); }));
  // The number is given again on this terminal, to another job.
  AddOnlineRow(ren, "0000000003", kTerminal);
  EXPECT_FALSE(Drive([] { ui::Shell::Require().FindForm("frmSearch")->Get<ui::CommandButton>("cmdClose").on_click(); }));
  ASSERT_EQ(OnlineRows().size(), 1u);
  EXPECT_EQ(OnlineRows()[0].examinee, "0000000003");
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

class StartScreenTest : public ScreenTest {};

TEST_F(StartScreenTest, TheCloseBoxIsRefused) {
  BuildDemo();
  ASSERT_TRUE(Start());
  EXPECT_FALSE(shell_.UserCloseBox(form()));
  EXPECT_TRUE(form().loaded());
}

TEST_F(StartScreenTest, TheSearchObjectIsCreatedOnTheFourthAttempt) {
  BuildDemo();
  SetSearchCreateFailuresForTest(3);
  ASSERT_TRUE(Start());
  EXPECT_NE(form().SearchDysp, nullptr);
  EXPECT_TRUE(SearchShown());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(StartScreenTest, WithoutASearchObjectTheActivationIsReportedAndTheProgramEnds) {
  BuildDemo();
  SetSearchCreateFailuresForTest(4);
  // Nothing is said when the fourth attempt fails; the activation then
  // cannot show the search screen, and no screen is left that takes
  // nothing and refuses its close box.
  shell_.AnswerBox(MsgResult::kOk, "フォームのアクティブ処理でエラーが発生しました。");
  suite::ClearCalls();
  EXPECT_FALSE(Start());
  EXPECT_EQ(shell_.boxes().size(), 1u);
  ASSERT_FALSE(suite::Calls().empty());
  EXPECT_EQ(suite::Calls().back(), "JMPCINT3") << "the program's end ran";
  EXPECT_FALSE(frmResultInForm.loaded());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

// A second start says only that the program runs already: no beep, no
// failure of the on-line table, no screen left standing.
TEST_F(StartScreenTest, ASecondStartEndsTheProgramWithItsOneMessage) {
  another_copy_ = true;
  BuildDemo();
  shell_.AnswerBox(MsgResult::kOk, "既に起動しています。");
  EXPECT_FALSE(Start("0000000002"));
  EXPECT_EQ(shell_.boxes().size(), 1u);
  EXPECT_EQ(shell_.beeps(), 0);
  EXPECT_FALSE(SearchShown());
  for (const ui::ShownForm& f : shell_.shown_forms()) EXPECT_NE(f.name, "frmResultIn");
  EXPECT_TRUE(OnlineRows().empty());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

}  // namespace
}  // namespace qz::test

namespace qz::test {
namespace {

using ui::MsgResult;

class CycleEndTest : public ScreenTest {};

TEST_F(CycleEndTest, ClosingTheSearchRunsTheProgramsEnd) {
  BuildDemo();
  ASSERT_TRUE(Start());
  suite::ClearCalls();
  EXPECT_FALSE(Drive([] { ui::Shell::Require().FindForm("frmSearch")->Get<ui::CommandButton>("cmdClose").on_click(); }));
  EXPECT_EQ(suite::Calls(), std::vector<std::string>{"JMPCINT3"});
  EXPECT_EQ(ui::Shell::Require().FindForm("frmSearch"), nullptr);
  EXPECT_FALSE(frmGuide.loaded());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(CycleEndTest, TheGroupWindowsFollowTheWindowStateOfTheMainForm) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose("0000000001", kToday));
  ASSERT_TRUE(frmGrpJmp->visible());
  ASSERT_TRUE(Drive([&] { form().SetWindowState(ui::WindowState::kMinimized); }));
  EXPECT_FALSE(frmGrpJmp->visible());
  EXPECT_FALSE(frmGrpSel->visible());
  ASSERT_TRUE(Drive([&] { form().SetWindowState(ui::WindowState::kNormal); }));
  EXPECT_TRUE(frmGrpJmp->visible());
  EXPECT_TRUE(frmGrpSel->visible());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

// After a discard whose release fails the screen works as loaded: a value
// typed and entered is processed, one still being typed goes in with F12,
// and the save stores both.
TEST_F(CycleEndTest, AReleaseThatFailsKeepsTheExamineeOnScreen) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose("0000000001", kToday));
  std::filesystem::remove(suite_.paths().data + "QZONLLF.BTR");
  shell_.AnswerBox(MsgResult::kOk, "保存せずに終了します。")
      .AnswerBox(MsgResult::kOk, "オンラインマスタのレコードの削除時にエラーが発生しました。");
  ASSERT_TRUE(Drive([&] { form().cmdAgain_Click(); }));
  EXPECT_TRUE(form().visible());
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_EQ(basPublic.ExamineeNo, "0000000001");
  EXPECT_FALSE(form().txtID.text().empty());
  EXPECT_FALSE(frmGuide.loaded());
  EXPECT_NE(basPublic.OnlineRen, 0);
  EXPECT_TRUE(testkit::ScriptOk(shell_));

  const auto row_of = [](long long code) {
    return Fnc_ItemToRow(Fnc_FindItemRow(static_cast<std::int16_t>(ItemIndex(code))));
  };
  ASSERT_TRUE(Drive([&] {
    form().sprResult.TypeIntoCell(basPublic.ResultCol, row_of(1001), "171.5");
    form().sprResult.DeliverKeyDown(ui::kKeyReturn, 0);
  }));
  EXPECT_EQ(vb::Trim(frmResultIn.ResultMatrix(ItemIndex(1001), 0).Knsach), "171.5");
  ASSERT_TRUE(Drive([&] { form().sprResult.TypeIntoCell(basPublic.ResultCol, row_of(1002), "61.5"); }));
  shell_.auto_answer = true;
  shell_.Key(ui::kKeyF12);
  ASSERT_TRUE(shell_.Play());
  shell_.auto_answer = false;
  const auto stored = StoredResults("0000000001", kToday);
  EXPECT_NE(std::find(stored.begin(), stored.end(), "1001=171.5"), stored.end());
  EXPECT_NE(std::find(stored.begin(), stored.end(), "1002=61.5"), stored.end());
  // The release failed once more: the examinee is still on screen.
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_EQ(basPublic.ExamineeNo, "0000000001");
}

TEST_F(CycleEndTest, SaveAndEndInTheUnconfirmedListWritesBackAndEnds) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose("0000000004", kToday));
  frmResultIn.ResultMatrix(ItemIndex(1001), 0).Knsach = "160.0 ";
  shell_.Click("frmChkInput", "cmdSave");
  ASSERT_TRUE(Drive([&] { form().cmdChkInput_Click(); }));
  const auto stored = StoredResults("0000000004", kToday);
  EXPECT_NE(std::find(stored.begin(), stored.end(), "1001=160.0"), stored.end());
  EXPECT_TRUE(OnlineRows().empty());
  EXPECT_TRUE(SearchShown());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

// Save and end in the list checks the results as F12 does: a value with
// more integer digits than its item allows is refused, nothing is written.
TEST_F(CycleEndTest, SaveAndEndInTheUnconfirmedListChecksTheResultsFirst) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose("0000000004", kToday));
  const auto before = StoredResults("0000000004", kToday);
  frmResultIn.ResultMatrix(ItemIndex(1001), 0).Knsach = "12345 ";  // digits "31"
  shell_.Click("frmChkInput", "cmdSave").AnswerBox(MsgResult::kOk);
  ASSERT_TRUE(Drive([&] { form().cmdChkInput_Click(); }));
  ASSERT_EQ(shell_.boxes().size(), 1u);
  EXPECT_EQ(StoredResults("0000000004", kToday), before);
  EXPECT_EQ(OnlineRows().size(), 1u);
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_EQ(vb::Trim(frmResultIn.ResultMatrix(ItemIndex(1001), 0).Knsach), "12345");
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(CycleEndTest, TheDeletionToolDeletesTheStoredResultsOnlyOnYesAndEndsTheExamineeThen) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose("0000000001", kToday));
  const auto before = StoredResults("0000000001", kToday);
  ASSERT_FALSE(before.empty());
  int key = ui::kKeyF3, shift = ui::kAltMask;
  shell_.AnswerBox(MsgResult::kNo, "結果を削除しますか？");
  ASSERT_TRUE(Drive([&] { form().Form_KeyDown(key, shift); }));
  EXPECT_EQ(key, 0);
  EXPECT_EQ(StoredResults("0000000001", kToday), before);
  EXPECT_TRUE(form().sprResult.visible);

  key = ui::kKeyF3;
  shift = ui::kAltMask;
  shell_.AnswerBox(MsgResult::kYes, "結果を削除しますか？");
  ASSERT_TRUE(Drive([&] { form().Form_KeyDown(key, shift); }));
  EXPECT_TRUE(StoredResults("0000000001", kToday).empty());
  EXPECT_TRUE(OnlineRows().empty());
  EXPECT_TRUE(SearchShown());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

}  // namespace
}  // namespace qz::test

namespace qz::test {
namespace {

using ui::MsgResult;

class ProgramFolderTest : public ScreenTest {};

TEST_F(ProgramFolderTest, AProgramFolderThatCannotBeEnteredEndsTheProgramAtOnce) {
  BuildDemo();
  App().path = suite_.paths().root + "missing";
  suite::ClearCalls();
  shell_.AnswerBox(MsgResult::kOk, "「" + App().path + "」への移動に失敗しました。");
  EXPECT_FALSE(Start());
  EXPECT_EQ(shell_.boxes().at(0).request.icon, ui::MsgIcon::kCritical);
  // It says what to do, and the program ends with a failure.
  const std::string text = shell_.boxes().at(0).request.text;
  EXPECT_NE(text.find("「qz140 init \"" + App().path + "\" \"" + suite_.paths().root.substr(0, suite_.paths().root.size() - 1) +
                      "\"」"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("QZ_FOLDER_QZP140"), std::string::npos) << text;
  EXPECT_TRUE(frmResultIn.StartFailed);
  // No start and no end processing ran.
  EXPECT_TRUE(suite::Calls().empty());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

}  // namespace
}  // namespace qz::test
