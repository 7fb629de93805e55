#include "examinee/save_and_end.h"


#include <exception>
#include <string>

#include "data/count_input_rows.h"
#include "data/program_log.h"
#include "examinee/bas_public.h"
#include "examinee/cls_vlmf_qzonllf.h"
#include "examinee/frm_guide.h"
#include "examinee/frm_result_in.h"
#include "examinee/result_check.h"
#include "examinee/update_masters.h"
#include "grid/grid_edit_events.h"
#include "judgement/frm_syo_comb.h"
#include "loading/group_forms.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/work_in_progress.h"
#include "tools/delete_list.h"
#include "tools/frm_chk_input.h"

namespace qz {

namespace {

// Runs `step`, ignoring a run-time error: the end processing goes on.
template <class F>
void IgnoringErrors(F&& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

// Clears frmResultIn.ForceSave when the save returns, whichever way.
struct ForceSaveReset {
  ~ForceSaveReset() { frmResultIn.ForceSave = false; }
};

// The confirmation list of the unconfirmed items. True when the operator
// chose to save and end.
bool ConfirmUnconfirmedItems(FrmResultIn& form) {
  form.SetEnabled(false);
  FrmChkInput& dialog = *frmChkInput;
  dialog.Load();
  dialog.Move(form.left + form.width, form.top);
  dialog.Show(true, &form);
  form.SetEnabled(true);
  form.sprResult.SetFocus();
  return basPublic.ChkInputAnswer == 1;
}

// `list_confirmed`: the operator chose save and end in the list of the
// unconfirmed items already; it is not shown again.
bool SaveResults(FrmResultIn& form, bool list_confirmed) {
  // A value still being typed goes in first, as when the grid is left: F12,
  // the right button on cmdEnd and the right click on an earlier date take
  // no focus from the grid. A refused one keeps the screen.
  if (!Fnc_EnterEditedCell()) return false;
  if (Fnc_FindingsSearchRefuses()) return false;
  if (!form.txtHassou.text().empty() && !vb::IsDate(form.txtHassou.text())) {
    ShowLoadWarning("結果発送日が正しくありません。");
    form.txtHassou.SetFocus();
    return false;
  }
  bool save_needed = false;
  if (!Fnc_CheckResultsBeforeSave(!frmResultIn.ForceSave, save_needed)) return false;
  if (!list_confirmed && !frmResultIn.ForceSave && basPublic.DecisionCheck != 0 &&
      (Fnc_CountInputRows(form.sprResult) > 0 || !basPublic.AutoJudgeDone)) {
    if (!ConfirmUnconfirmedItems(form)) return false;
  }
  if (!save_needed) return true;
  if (Fnc_ShowDeleteList() == 1) return false;
  Sub_KeepSaveScreen();
  // The write-back reports its own failures and undoes them; the examinee
  // then stays on screen with every entry, for another save.
  return Sub_UpdateMasters();
}

bool Save(bool list_confirmed) {
  ForceSaveReset reset;
  try {
    // The write-back yields at every item: no second save, no entry into
    // the cells being written, until it has ended.
    ui::WorkInProgress busy;
    return SaveResults(*frmResultInForm, list_confirmed);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("結果の保存処理でエラーが発生しました。", e);
    return false;
  }
}

}  // namespace

bool Fnc_SaveResults() { return Save(false); }

bool Fnc_SaveConfirmedResults() { return Save(true); }

void Sub_EndExaminee() {
  ui::WorkInProgress busy;
  FrmResultIn& form = *frmResultInForm;
  IgnoringErrors([&] { form.Hide(); });
  IgnoringErrors([&] {
    frmGuide->Show(false, &form);
    frmGuide->lblGuide.caption = "終了処理中です．．．";
    frmGuide->lblState.caption = "受診者更新情報削除中";
    ui::DoEvents();
  });
  bool released = false;
  try {
    ClsVlmfQzonllf().Sub_DelOnlineInfo(std::to_string(basPublic.OnlineRen), released);
  } catch (const std::exception&) {
    released = false;
  }
  if (!released) {
    // The examinee stays on screen as loaded, and the operator may go on
    // typing, save or end it again: the discard that led here no longer
    // leaves the cycle, so typed values are processed and saved again.
    frmResultIn.ReturnToSearch = false;
    IgnoringErrors([] { frmGuide->Unload(); });
    IgnoringErrors([&] { form.Show(); });
    return;
  }
  program_log::ExamineeReleased();
  basPublic.OnlineRen = 0;
  IgnoringErrors([&] {
    frmGuide->lblState.caption = "グループ画面終了中";
    ui::DoEvents();
  });
  IgnoringErrors([] { frmGrpJmp->Unload(); });
  IgnoringErrors([] { frmGrpSel->Unload(); });
  IgnoringErrors([&] {
    for (ui::TextBox* box : {&form.txtID, &form.txtKana, &form.txtName, &form.txtSex, &form.txtBirth, &form.txtAge,
                             &form.txtDanname}) {
      box->SetText("");
    }
  });
  basPublic.ExamineeNo.clear();
  basPublic.ConsultDate = 0;
  form.tmrSyoSearch.enabled = false;
  IgnoringErrors([] {
    if (frmSyoComb.loaded()) frmSyoComb->Unload();
  });
  basPublic.SyoSearchOpen = false;
  frmResultIn.Activated = false;
  form.sprResult.visible = false;
  IgnoringErrors([&] { form.Move(basPublic.WorkArea.Left, basPublic.WorkArea.Top); });
  IgnoringErrors([&] { form.Show(); });
  IgnoringErrors([] { frmGuide->Unload(); });
  if (!Fnc_HasCommandLine()) return;
  frmResultIn.ReturnToSearch = true;
  if (!form.UnloadRunning) form.Unload();
}

void FrmResultIn::cmdEnd_Click() {
  if (!Fnc_ExamineeOnScreen()) return;  // nothing to save: between cycles, or loading
  ui::WorkInProgress busy;
  try {
    // F12 leaves the focus on the grid: a value still being typed is
    // entered first, and one refused stops the save.
    if (!Fnc_EnterEditedCell()) {
      frmResultIn.ForceSave = false;  // a forced save never outlives its try
      return;
    }
    if (Fnc_SaveResults()) Sub_EndExaminee();
  } catch (const std::exception& e) {
    ShowLoadErrorReport("終了ボタンのクリック処理でエラーが発生しました。", e);
  }
}

void FrmResultIn::cmdEnd_MouseUp(int button, int /*shift*/, float /*x*/, float /*y*/) {
  if (button != 2 || !Fnc_ExamineeOnScreen()) return;
  if (ui::MsgBox("入力チェックをせずに強制保存します。\r\nよろしいですか？", ui::MsgButtons::kOkCancel,
                 ui::MsgIcon::kNone, kResultScreenTitle) != ui::MsgResult::kOk) {
    return;
  }
  frmResultIn.ForceSave = true;
  cmdEnd_Click();
}

void FrmResultIn::cmdAgain_Click() {
  if (!Fnc_ExamineeHeld()) return;
  try {
    if (Fnc_FindingsSearchRefuses()) return;
    if (ui::MsgBox("保存せずに終了します。よろしいですか？", ui::MsgButtons::kOkCancel, ui::MsgIcon::kNone,
                   kResultScreenTitle) != ui::MsgResult::kOk) {
      return;
    }
    frmResultIn.ReturnToSearch = true;
    Sub_EndExaminee();
  } catch (const std::exception& e) {
    ShowLoadErrorReport("やり直しボタンのクリック処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
