// The buttons and check boxes of the main form outside the result grid:
// display switches, the sub-menu, the unperformed and unconfirmed item
// lists, the option programs and the two group windows.
#include <exception>
#include <filesystem>
#include <string>

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "examinee/save_and_end.h"
#include "grid/column_toggles.h"
#include "grid/screen_reload.h"
#include "grid/searched_row.h"
#include "judgement/default_findings_set.h"
#include "loading/group_forms.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/path/host_path.h"
#include "platform/process/child_process.h"
#include "platform/runtime/app.h"
#include "platform/text/vb.h"
#include "platform/ui/work_in_progress.h"
#include "tools/copy_previous_results.h"
#include "tools/frm_chk_input.h"
#include "tools/frm_opchk.h"
#include "tools/frm_sub_menu.h"
#include "tools/function_key_tools.h"

namespace qz {

namespace {

// Width of the item column of the unperformed list (twips).
constexpr int kOpchkColumnWidth = 3000;

// Runs a button's body; a run-time error shows the result screen's error
// report with `job_text` and ends the handler.
template <class F>
void Reporting(const char* job_text, F&& body) {
  try {
    body();
  } catch (const std::exception& e) {
    ShowLoadErrorReport(job_text, e);
  }
}

// Whether item i belongs in the unperformed list.
bool IsUnperformed(int i) {
  const KomInfo& item = frmResultIn.ItemTable[i];
  if (item.Past != 0 || item.Opchk != "1") return false;
  if (item.Sex != 0 && item.Sex != frmResultIn.ExamineeSex) return false;
  const std::string flag = vb::Trim(frmResultIn.ResultMatrix(i, 0).Opflg);
  return flag.empty() || flag == "0" || flag == "1";
}

void ReloadLayout() { Sub_ReloadScreen(false, "QZKKKLF", true); }

// The display-mode option button whose lines are shown; -1 before the
// first load chose one.
int shownKirikae = -1;
// Set while a refused display switch is put back, whose own Click then
// does nothing.
bool puttingSwitchBack = false;

// A display switch that would rebuild the item lines under an open
// findings search: refused, and `put_back` returns the switch to what the
// screen shows. True when refused.
template <class F>
bool DisplaySwitchRefused(F&& put_back) {
  if (frmResultIn.Loading || !Fnc_RowsRebuildRefused()) return false;
  puttingSwitchBack = true;
  put_back();
  puttingSwitchBack = false;
  return true;
}

}  // namespace

void FrmResultIn::chkSokutei_Click() {
  try {
    Sub_ToggleMeasureClassColumn();
    Sub_FitResultColumn(basPublic.ResultCol, false);
    chkSokutei.tool_tip_text = chkSokutei.value() == 1 ? "チェックをはずすと測定区分欄を非表示にします"
                                                        : "チェックをつけると測定区分欄を表示します";
    sprResult.SetFocus();
  } catch (const std::exception&) {
    // The switch has no report of its own.
  }
}

void FrmResultIn::chkOperation_Click() {
  chkOperation.tool_tip_text = chkOperation.value() != 0 ? "チェックをはずすと未実施検査項目のチェックを行いません"
                                                         : "チェックをつけると未実施検査項目のチェックを行います";
}

void FrmResultIn::chkPastDisp_Click() {
  if (puttingSwitchBack ||
      DisplaySwitchRefused([this] { chkPastDisp.SetValue(chkPastDisp.value() == 1 ? 0 : 1); })) {
    return;
  }
  if (!frmResultIn.Loading) ReloadLayout();
  chkPastDisp.tool_tip_text = chkPastDisp.value() == 1 ? "チェックをはずすと過去に受診した検査項目を全て非表示にします"
                                                        : "チェックをつけると過去に受診した検査項目を全て表示します";
}

void FrmResultIn::optKirikae_Click(int index) {
  if (puttingSwitchBack || DisplaySwitchRefused([this] {
        if (shownKirikae >= 0) optKirikae[static_cast<std::size_t>(shownKirikae)]->SetValue(true);
      })) {
    return;
  }
  shownKirikae = index;
  if (!frmResultIn.Loading) ReloadLayout();
}

void FrmResultIn::cmdSubMenu_Click() {
  if (!Fnc_ExamineeOnScreen()) return;
  frmSubMenu->Show(true, this);
  const int choice = basPublic.SubMenuChoice;
  const bool changes_items = choice == kSubMenuResetDoneChecks || choice == kSubMenuSetDoneChecks ||
                             choice == kSubMenuDefaultFindings || choice == kSubMenuCopyPrevious;
  if (changes_items && Fnc_RowsRebuildRefused()) return;
  switch (choice) {
    case kSubMenuUpdater: Sub_ToggleUpdaterColumn(); break;
    case kSubMenuUpdateTime: Sub_ToggleUpdateTimeColumn(); break;
    case kSubMenuJudge: Sub_ToggleJudgeColumn(); break;
    case kSubMenuJudgeFinding: Sub_ToggleJudgeFindingColumn(); break;
    case kSubMenuResetDoneChecks: Sub_ResetDoneChecks(); break;
    case kSubMenuSetDoneChecks: Sub_SetDoneChecks(); break;
    case kSubMenuDefaultFindings: Sub_AutoSetDefaultFindings(); break;
    case kSubMenuCopyPrevious: Sub_CopyPreviousResults(-1); break;
    default: break;
  }
}

void FrmResultIn::cmdOpchk_Click() {
  Reporting("未実施検査一覧ボタンボタンのクリック処理でエラーが発生しました。", [&] {
    if (!Fnc_ExamineeOnScreen() || Fnc_FindingsSearchRefuses()) return;
    FrmOpchk& dialog = *frmOpchk;
    dialog.Load();
    int listed = 0;
    for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
      if (!IsUnperformed(i)) continue;
      dialog.flxOpchk.AddItem(frmResultIn.ItemTable[i].KomName);
      ++listed;
    }
    if (listed > 0) {
      if (ui::Control* check = dialog.Find("lblCheck")) check->caption.clear();
    }
    SetEnabled(false);
    dialog.flxOpchk.SetColWidth(0, kOpchkColumnWidth);
    dialog.Show(true, this);
    SetEnabled(true);
    sprResult.SetFocus();
    if (basPublic.OpchkAnswer == 1) Sub_EndExaminee();
  });
}

void FrmResultIn::cmdOption_Click(int index) {
  if (!Fnc_ExamineeOnScreen()) return;
  const std::string path =
      path::JoinPath(App().path, basPublic.OptionTable[static_cast<std::size_t>(index)].PgName);
  try {
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) {
      process::ChildProcess::Start(path, basPublic.ExamineeNo + "," + vb::Format(basPublic.ConsultDate, "00000000"));
      sprResult.SetFocus();
      return;
    }
    ShowLoadWarning("プログラムが見つかりません。\r\n" + path);
    sprResult.SetFocus();
  } catch (const std::exception& e) {
    ShowLoadErrorReport("オプションボタンのクリック処理でエラーが発生しました。", e);
  }
}

void FrmResultIn::cmdChkInput_Click() {
  Reporting("未入力項目チェックボタンのクリック処理でエラーが発生しました。", [&] {
    if (!Fnc_ExamineeOnScreen() || Fnc_FindingsSearchRefuses()) return;
    SetEnabled(false);
    FrmChkInput& dialog = *frmChkInput;
    dialog.Load();
    dialog.Move(left + width, top);
    dialog.Show(true, this);
    SetEnabled(true);
    sprResult.SetFocus();
    if (basPublic.ChkInputAnswer != 1) return;
    // Saved as F12 saves, with every result check; a refusal or a
    // write-back that failed keeps the examinee on screen.
    ui::WorkInProgress busy;
    if (Fnc_SaveConfirmedResults()) Sub_EndExaminee();
  });
}

void FrmResultIn::cmdGrpSel_Click() {
  Reporting("グループ選択ボタンのクリック処理でエラーが発生しました。", [&] {
    if (!Fnc_ExamineeOnScreen() || Fnc_FindingsSearchRefuses()) return;
    FrmGrpSel& sel = *frmGrpSel;
    if (sel.window_state() != ui::WindowState::kNormal) sel.SetWindowState(ui::WindowState::kNormal);
    sel.Show();
    sel.ZOrder(0);
  });
}

void FrmResultIn::cmdGrpJmp_Click() {
  Reporting("入力グループ移動ボタンのクリック処理でエラーが発生しました。", [&] {
    FrmGrpJmp& jmp = *frmGrpJmp;
    if (jmp.window_state() != ui::WindowState::kNormal) jmp.SetWindowState(ui::WindowState::kNormal);
    const WorkAreaInfo& w = basPublic.WorkArea;
    if (w.Right - width - left >= jmp.width) {
      jmp.Move(left + width, top);
    } else {
      jmp.Move(w.Right - jmp.width, w.Top);
    }
    if (!frmResultIn.Loading) {
      jmp.Show();
      jmp.ZOrder(0);
      jmp.SetFocus();
    } else if (basPublic.JmpState == 0) {
      jmp.SetWindowState(ui::WindowState::kMinimized);
    }
  });
}

}  // namespace qz
