// The report dialog: the list of reports, the preselected course report,
// the start during the load, the request records handed to QZP206, the
// report program's parameter, and the messages that keep the dialog open.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "kit/ui_expect.h"
#include "loading/load_fixture.h"
#include "suite/call_log.h"
#include "tools/frm_qzp_print.h"

namespace qz::testing {
namespace {

class ReportDialog : public ::testing::Test {
 protected:
  ReportDialog() {
    AddReport("000000", "見出し", "QZP500");  // never listed
    AddReport("000025", "個人結果票  ", "QZP501", "1");
    AddReport("000030", "経年結果票", "QZP502", "2");
    bed.suite.Add("QZSYSLF.CHOHYO", {{"KBN", 10}, {"CODE", "000001"}, {"CHOHYOMEI", "別区分"}});
  }
  ~ReportDialog() override {
    frmQZPprint.Reset();
    suite::ClearCalls();
  }
  void AddReport(const char* code, const char* name, const char* program, const char* kind = " ") {
    bed.suite.Add("QZSYSLF.CHOHYO", {{"KBN", 9}, {"CODE", code}, {"CHOHYOMEI", name},
                                     {"CHOHYOPGM", program}, {"CHOHYOKBN", kind}});
  }
  void Open(int report_code, bool print_select, int preview_select) {
    bed.Open();
    basPublic.ReportCode = static_cast<std::int16_t>(report_code);
    basPublic.PrintSelect = print_select;
    basPublic.PreviewSelect = static_cast<std::int16_t>(preview_select);
    // The report programs in the program folder (the current folder).
    for (const char* name : {"QZP501", "QZP502"}) {
      std::ofstream(name) << "#!/bin/sh\necho \"$0 $*\" >> reports.out\n";
      std::filesystem::permissions(name, std::filesystem::perms::owner_all);
    }
    suite::ClearCalls();
  }
  static std::string Ran() {
    std::ifstream in("reports.out");
    std::string all, line;
    while (std::getline(in, line)) all += line.substr(line.rfind('/') + 1) + ";";
    return all;
  }
  bool Shown() const {
    for (const ui::ShownForm& f : bed.shell.shown_forms()) {
      if (f.name == "frmQZPprint") return true;
    }
    return false;
  }

  LoadBed bed;
};

TEST_F(ReportDialog, TheCourseReportStartsDuringTheLoadWithoutBeingSeen) {
  Open(25, false, 0);
  ASSERT_TRUE(bed.shell.Drive([] { frmQZPprint->Show(true); }));
  EXPECT_SCRIPT_OK(bed.shell);
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(frmQZPprint.loaded());
  EXPECT_EQ(Ran(), "QZP501 000025;");
  const std::string r1 = std::string(kExaminee) + "20261209" + std::string(10, ' ') + "1" + std::string(29, ' ');
  const std::string r2 = "**********" + std::string(18, ' ') + "1" + std::string(29, ' ');
  EXPECT_EQ(suite::Calls(), (std::vector<std::string>{"QZP206 " + r1, "QZP206 " + r2}));
}

TEST_F(ReportDialog, ShiftF10OrAPreviewSettingOnlyPreselectsTheReport) {
  struct Case {
    bool print_select;
    int preview_select;
  } cases[] = {{true, 0}, {false, 1}};
  Open(25, true, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.print_select);
    frmQZPprint.Reset();
    std::filesystem::remove("reports.out");
    basPublic.PrintSelect = c.print_select;
    basPublic.PreviewSelect = static_cast<std::int16_t>(c.preview_select);
    std::vector<std::string> entries;
    int selected = -2;
    std::vector<ReportInfo> table;
    bed.shell.Do([&] {
      table = frmQZPprint->ReportTable;
      for (int i = 0; i < frmQZPprint->cboPrintSelect.list_count(); ++i) {
        entries.push_back(frmQZPprint->cboPrintSelect.List(i));
      }
      selected = frmQZPprint->cboPrintSelect.list_index();
      EXPECT_EQ(Ran(), "") << "nothing runs before Run";
    });
    bed.shell.Click("frmQZPprint", "cmdRun");
    ASSERT_TRUE(bed.shell.Drive([] { frmQZPprint->Show(true); }));
    EXPECT_SCRIPT_OK(bed.shell);
    EXPECT_EQ(entries, (std::vector<std::string>{"個人結果票", "経年結果票"}));
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(Ran(), "QZP501 000025;");
    EXPECT_FALSE(frmQZPprint.loaded());
    EXPECT_EQ(table, (std::vector<ReportInfo>{{25, "QZP501", "1"}, {30, "QZP502", "2"}}));
  }
}

TEST_F(ReportDialog, WithoutACourseReportRunAsksForAChoice) {
  for (int code : {0, 26}) {
    SCOPED_TRACE(code);
    frmQZPprint.Reset();
    if (code == 0) {
      Open(code, false, 0);
    } else {
      basPublic.ReportCode = static_cast<std::int16_t>(code);
    }
    bed.shell.ClearRecords();
    bed.shell.Click("frmQZPprint", "cmdRun")
        .AnswerBox(ui::MsgResult::kOk, "帳票を選択して下さい。")
        .Do([] { frmQZPprint->cboPrintSelect.SetListIndex(1); })
        .Click("frmQZPprint", "cmdRun");
    ASSERT_TRUE(bed.shell.Drive([] { frmQZPprint->Show(true); }));
    EXPECT_SCRIPT_OK(bed.shell);
    ASSERT_EQ(bed.shell.boxes().size(), 1u);
    EXPECT_EQ(bed.shell.boxes()[0].request.icon, ui::MsgIcon::kCritical);
    EXPECT_TRUE(Shown());
  }
  EXPECT_EQ(Ran(), "QZP502 000030;QZP502 000030;");
}

TEST_F(ReportDialog, AMissingProgramKeepsTheDialogOpenWithItsReportPreselected) {
  AddReport("000040", "欠番帳票", "QZP999");
  Open(40, false, 0);
  int selected = -2;
  bed.shell.AnswerBox(ui::MsgResult::kOk, "「QZP999.EXE」\r\nが見つかりません。")
      .Do([&] { selected = frmQZPprint->cboPrintSelect.list_index(); })
      .Click("frmQZPprint", "cmdRun")
      .AnswerBox(ui::MsgResult::kOk, "「QZP999.EXE」\r\nが見つかりません。")
      .Click("frmQZPprint", "cmdCancel");
  ASSERT_TRUE(bed.shell.Drive([] { frmQZPprint->Show(true); }));
  EXPECT_SCRIPT_OK(bed.shell);
  EXPECT_TRUE(Shown());
  EXPECT_EQ(selected, 2);
  EXPECT_TRUE(suite::Calls().empty()) << "no request without a program";
  EXPECT_EQ(Ran(), "");
}

}  // namespace
}  // namespace qz::testing

namespace qz::testing {
namespace {

TEST_F(ReportDialog, AReportProgramThatDoesNotStartKeepsTheDialogOpen) {
  AddReport("000050", "壊れた帳票", "QZP503");
  Open(50, false, 0);
  std::ofstream("QZP503") << "#!/nonexistent/interpreter\n";
  std::filesystem::permissions("QZP503", std::filesystem::perms::owner_all);
  bed.shell.AnswerBox(ui::MsgResult::kOk, "の実行に失敗しました。").Click("frmQZPprint", "cmdCancel");
  ASSERT_TRUE(bed.shell.Drive([] { frmQZPprint->Show(true); }));
  EXPECT_SCRIPT_OK(bed.shell);
  EXPECT_TRUE(Shown()) << "a report that did not run is no success";
}

TEST_F(ReportDialog, AListThatCannotBeReadClosesOnlyTheDialog) {
  Open(25, false, 0);
  basFileAccess.SysChohyoObj.reset();
  bed.shell.AnswerBox(ui::MsgResult::kOk, "エラーが発生しました。");
  ASSERT_TRUE(bed.shell.Drive([] { frmQZPprint->Show(true); }));
  EXPECT_SCRIPT_OK(bed.shell);
  ASSERT_EQ(bed.shell.boxes().size(), 1u);
  EXPECT_EQ(bed.shell.boxes()[0].request.title, "ﾒｯｾｰｼﾞ");
  EXPECT_FALSE(frmQZPprint.loaded());
  EXPECT_EQ(Ran(), "");
}

TEST_F(ReportDialog, ReportCodesAreSixDigitNumbers) {
  AddReport("040000", "健診結果票", "QZP501", "1");
  AddReport("065561", "特定健診票", "QZP502", "2");
  AddReport("12A", "不正コード票", "QZP502", "2");
  Open(25, true, 0);
  struct Case {
    int entry;
    const char* ran;
    const char* box;  // "" when the report runs
  };
  const Case cases[] = {
      {2, "QZP501 040000;", ""},
      {3, "QZP502 065561;", ""},
      {4, "", "「不正コード票」の帳票コードが正しくありません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    frmQZPprint.Reset();
    std::filesystem::remove("reports.out");
    suite::ClearCalls();
    bed.shell.ClearRecords();
    int preselected = -2;
    bed.shell.Do([&] {
      preselected = frmQZPprint->cboPrintSelect.list_index();
      frmQZPprint->cboPrintSelect.SetListIndex(c.entry);
    });
    bed.shell.Click("frmQZPprint", "cmdRun");
    if (*c.box != '\0') bed.shell.AnswerBox(ui::MsgResult::kOk, c.box).Click("frmQZPprint", "cmdCancel");
    ASSERT_TRUE(bed.shell.Drive([] { frmQZPprint->Show(true); }));
    EXPECT_SCRIPT_OK(bed.shell);
    EXPECT_EQ(preselected, 0) << "065561 is not the course's report 25";
    EXPECT_EQ(Ran(), c.ran);
    EXPECT_EQ(suite::Calls().size(), *c.box == '\0' ? 2u : 0u);
    EXPECT_FALSE(frmQZPprint.loaded());
  }
}

TEST_F(ReportDialog, WhileTheReportRunsTheDialogTakesNoClick) {
  Open(25, true, 0);
  // A report program that takes a moment.
  std::ofstream("QZP501") << "#!/bin/sh\nsleep 0.4\necho \"$0 $*\" >> reports.out\n";
  bool checked = false;
  bed.shell.Click("frmQZPprint", "cmdRun")
      .Do([&] {
        FrmQZPprint& f = *frmQZPprint;
        ui::Shell& shell = ui::Shell::Require();
        EXPECT_TRUE(f.ReportRunning);
        EXPECT_FALSE(shell.UserClick(f.cmdRun));
        EXPECT_FALSE(shell.UserClick(f.cmdCancel));
        f.cmdRun_Click();  // a click that reaches the handler all the same
        f.cmdCancel_Click();
        shell.UserCloseBox(f);
        EXPECT_TRUE(frmQZPprint.loaded());
        checked = true;
      })
      .AtYield();
  ASSERT_TRUE(bed.shell.Drive([] { frmQZPprint->Show(true); }));
  EXPECT_SCRIPT_OK(bed.shell);
  EXPECT_TRUE(checked);
  EXPECT_EQ(Ran(), "QZP501 000025;");
  EXPECT_EQ(suite::Calls().size(), 2u) << "one request";
  EXPECT_FALSE(frmQZPprint.loaded()) << "the run's own end closes the dialog";
}

}  // namespace
}  // namespace qz::testing
