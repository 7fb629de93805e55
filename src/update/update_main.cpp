#include "update/update_main.h"

#include <string>

#include "data/common_sub.h"
#include "platform/runtime/app.h"
#include "platform/system/instance_lock.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/shell.h"
#include "update/bas_public.h"
#include "update/path_set.h"
#include "update/run_log.h"
#include "update/steps.h"
#include "update/unfinished_run.h"
#include "update/version_check.h"

namespace qz::update {

namespace {

void Critical(const std::string& text) {
  ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kTitle);
}

}  // namespace

std::unique_ptr<FrmMain>& TheMainForm() {
  static std::unique_ptr<FrmMain> form;
  return form;
}

void Sub_End() {
  Sub_Log("");
  Sub_Log("■■■■■ バージョンアップ処理終了 ■■■■■");
  ui::Shell::Require().End();
}

int ExitStatus() {
  if (!TheMainForm()) return 1;
  if (RunCompleted()) return 0;
  return RunPassedOverFailure() ? 2 : 1;
}

int ProgramMain(ui::Shell& shell, std::string_view command_line) {
  // The run happens in the main form's first activation, which may come
  // while Main is still being driven: the end of the program (the form's
  // unload) then ends the driver, and the run's result alone decides.
  if (shell.Step([&] { Main(command_line); }) && TheMainForm()) shell.Run(*TheMainForm());
  return ExitStatus();
}

void Main(std::string_view command_line) {
  TheMainForm().reset();
  App().title = kTitle;
  if (!Fnc_LogInit()) {
    Critical("ログの初期化に失敗しました。");
    ui::Shell::Require().End();
  }
  Sub_Log("★★★★★ プログラム開始 ★★★★★");
  Sub_Log("");
  Sub_Log("◆◇◆ 実行環境チェック開始 ◆◇◆");
  Sub_Log("コンピュータ名 : " + Fnc_GetComputerName());
  // A run under way holds its run folder: seen also where the per-user
  // test cannot see it (another operator), and never taken for a killed
  // run to put back.
  if (system::AnotherInstanceRunning(App().exe_name) || AnotherRunInProgress()) {
    Critical("既に起動中です。");
    Sub_Log("２重起動のため、バージョンアップ処理を終了します。");
    Sub_End();
  }
  if (!Fnc_PathEdit(command_line)) {
    Sub_Log("パス情報の編集エラーのため、バージョンアップ処理を終了します。");
    Sub_End();
  }
  if (!Fnc_PutBackUnfinishedRun()) Sub_End();
  if (!Fnc_GetVersion()) Sub_End();
  if (!Fnc_VersionCheck()) Sub_End();
  Sub_GetSetting();
  if (basPublic.RunCheck) {
    Sub_Log("");
    Sub_Log("◆◇◆ バントリクの実行状態チェック開始 ◆◇◆");
    std::string text = "バントリクを「 " + basPublic.CurrentVersion + " 」から「 " + basPublic.NewVersion +
                       " 」へバージョンアップします。\r\n\r\n"
                       "他のバントリク端末は、全て電源を切って下さい。\r\n\r\n"
                       "「OK」ボタンをクリックすると初期メニューが手前に表示されますので、\r\n"
                       "メニューを終了して下さい。\r\n\r\n"
                       "「キャンセル」をクリックするとバージョンアップを中止します。";
    if (ui::MsgBox(text, ui::MsgButtons::kOkCancel, ui::MsgIcon::kInformation, kTitle) != ui::MsgResult::kOk) {
      Critical("バージョンアップを中止します。");
      Sub_Log("「キャンセル」を選択されたため、バージョンアップ処理を終了します。");
      Sub_End();
    }
    basPublic.WaitProceed = false;
    Sub_ShowWaitWindow();
    if (!basPublic.WaitProceed) Sub_End();
  }
  TheMainForm() = std::make_unique<FrmMain>();
  ui::Shell::Require().SetMainForm(TheMainForm().get());
  TheMainForm()->Show();
}

}  // namespace qz::update
