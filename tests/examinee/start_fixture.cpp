#include "examinee/start_fixture.h"

#include <unistd.h>

#include <chrono>
#include <climits>

#include "data/bas_file_access.h"
#include "examinee/bas_get_user.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "platform/clock/clock.h"
#include "platform/record/btr_file.h"
#include "platform/runtime/app.h"
#include "platform/system/instance_lock.h"
#include "platform/system/system_info.h"
#include "platform/system/window_finder.h"
#include "platform/ui/controls.h"
#include "suite/call_log.h"
#include "suite/qzpclr.h"

namespace qz::test {
namespace {

// The record manager's own busy wait, which a start replaces with the
// program's setting.
constexpr int kRecordBusyWaitMs = 5000;

void ResetProgramState() {
  basPublic = BasPublic{};
  basFileAccess = BasFileAccess{};
  basGetUser = BasGetUser{};
  frmGuide.Reset();
  suite::ClearCalls();
}

}  // namespace

std::unique_ptr<ui::Form> MakeResultInForm() {
  auto f = std::make_unique<ui::Form>("frmResultIn");
  f->Move(0, 0, 12000, 9000);
  f->Add<ui::Frame>("fraHead");
  f->Add<ui::Control>("sprResult", -1, ui::ControlKind::kSpread);
  f->Add<ui::Label>("lblStatus");
  for (const char* name : {"cmdEnd", "cmdGrpSel", "cmdAutoJudge", "cmdGrpJmp", "cmdAgain", "cmdPreview",
                           "cmdSubMenu", "cmdSearch", "cmdChkInput", "cmdOpchk"}) {
    f->Add<ui::CommandButton>(name);
  }
  for (const char* name : {"chkPastDisp", "chkSokutei", "chkOperation"}) f->Add<ui::CheckBox>(name);
  f->Add<ui::Frame>("fraKirikae");
  for (int n = 1; n <= 4; ++n) {
    f->Add<ui::CommandButton>("cmdOption", n).caption = "オプション" + std::to_string(n);
  }
  for (const char* name : {"txtID", "txtHassou", "txtKana", "txtName", "txtSex", "txtBirth", "txtAge",
                           "txtDanname"}) {
    f->Add<ui::TextBox>(name).SetText("designed");
  }
  return f;
}

std::unique_ptr<ui::Form> MakeGrpJmpForm() {
  auto f = std::make_unique<ui::Form>("frmGrpJmp");
  f->Move(0, 0, 3000, 9000);
  f->Add<ui::Control>("flxGroop", -1, ui::ControlKind::kListGrid);
  f->Add<ui::Label>("lblInfo");
  return f;
}

StartTest::StartTest() {
  ResetProgramState();
  char cwd[PATH_MAX];
  if (::getcwd(cwd, sizeof cwd) != nullptr) old_cwd_ = cwd;
  old_app_path_ = App().path;
  FixClockForTest(LocalDateTime{2026, 12, 9, 9, 30, 0, 0});
  system::SetComputerNameForTest(kTerminal);
  system::SetInstanceCheckForTest([this](std::string_view) { return another_copy_; });
  system::SetWindowFinderForTest([this](std::string_view title) {
    return menu_window_open_ && title == "バントリク初期メニュー";
  });
}

StartTest::~StartTest() {
  frmGuide.Reset();
  ResetProgramState();
  suite::SetQzpclrStatusForTest(nullptr);
  system::SetWindowFinderForTest(nullptr);
  system::SetInstanceCheckForTest(nullptr);
  system::SetComputerNameForTest(std::nullopt);
  SetClockForTest(nullptr);
  record::SetBusyTimeout(std::chrono::milliseconds(kRecordBusyWaitMs));  // the start set the program's wait
  App().path = old_app_path_;
  if (!old_cwd_.empty() && ::chdir(old_cwd_.c_str()) != 0) ADD_FAILURE() << "cannot go back to " << old_cwd_;
}

void StartTest::AddLogon(int ren, const std::string& user, const std::string& terminal, int date) {
  suite_.Add("QZLOGLF", {{"REN", ren}, {"UNAME", user}, {"TNAME", terminal}, {"DATE", date}});
}

void StartTest::AddUser(const std::string& id, const std::string& name, int first_group, int slot, int group) {
  testkit::RecordInit fields = {{"ID", id}, {"EXPLAIN", name}, {"1STGRP", first_group}};
  if (group != 0) fields.push_back({"INPGRP_" + std::to_string(slot), group});
  suite_.Add("QZUSRLF", fields);
}

void StartTest::Build() {
  const testkit::SuitePaths& paths = suite_.Build();
  App().path = paths.program;
  if (::chdir(paths.program.c_str()) != 0) FAIL() << "cannot enter " << paths.program;
}

}  // namespace qz::test
