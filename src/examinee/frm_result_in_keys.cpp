// The keyboard map of the main form: the Ctrl, Alt and Shift function keys
// start the screen's tools, the plain function keys its buttons. The form
// sees every key before the focused control (key preview).
#include <exception>

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "grid/column_toggles.h"
#include "grid/findings_search_launch.h"
#include "grid/screen_reload.h"
#include "grid/searched_row.h"
#include "judgement/default_findings_set.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/shell.h"
#include "tools/copy_previous_results.h"
#include "tools/frm_debug.h"
#include "tools/dummy_data_fill.h"
#include "tools/function_key_tools.h"

namespace qz {

namespace {

// The key as the form receives it: an action may swallow it (key code and
// shift 0) so that it goes no further.
struct Key {
  int& code;
  int& shift;
  void Swallow() { code = shift = 0; }
};

// One row of the map: key and exact shift state, or any shift state the
// rows before it did not take.
struct KeyRow {
  int key;
  int shift;  // kAny: any
  void (*act)(FrmResultIn& form, Key key);
};

constexpr int kAny = -1;

// A tool after which the key is swallowed.
template <void (*Tool)()>
void ToolThenSwallow(FrmResultIn&, Key key) {
  Tool();
  key.Swallow();
}

// A tool that rebuilds the item lines or changes every item: refused
// (and the key swallowed) while a findings search holds its row.
template <void (*Tool)()>
void RowsToolThenSwallow(FrmResultIn&, Key key) {
  if (!Fnc_RowsRebuildRefused()) Tool();
  key.Swallow();
}

void ReloadResults() { Sub_ReloadScreen(true, "QZKKKLF", true); }

// Cancel lets the key pass on.
void AskClearResults(FrmResultIn&, Key key) {
  if (Fnc_RowsRebuildRefused()) return key.Swallow();
  if (ui::MsgBox("検査結果をクリアします。よろしいですか？", ui::MsgButtons::kOkCancel, ui::MsgIcon::kNone,
                 kResultScreenTitle) != ui::MsgResult::kOk) {
    return;
  }
  Sub_ClearResults();
  key.Swallow();
}

void PreviewWithSelection(FrmResultIn& form, Key key) {
  basPublic.PrintSelect = true;
  form.cmdPreview_Click();
  key.Swallow();
}

// No lets the key pass on.
void AskDefaultFindings(FrmResultIn&, Key key) {
  if (Fnc_RowsRebuildRefused()) return key.Swallow();
  if (ui::MsgBox("所見項目のデフォルト値をセットします。\r\nよろしいですか？", ui::MsgButtons::kYesNo,
                 ui::MsgIcon::kQuestion, kResultScreenTitle) != ui::MsgResult::kYes) {
    return;
  }
  Sub_AutoSetDefaultFindings();
  key.Swallow();
}

// The key is swallowed before the copy, which shows its own dialog.
void CopyPrevious(FrmResultIn&, Key key) {
  key.Swallow();
  if (Fnc_RowsRebuildRefused()) return;
  Sub_CopyPreviousResults(-1);
}

void FindingsSearch(FrmResultIn&, Key) { cmdSearch_Click(); }

// F2 is the grid's own: in edit mode it is swallowed (the key code only),
// otherwise it starts editing and still reaches the grid.
void EditKey(FrmResultIn& form, Key key) {
  if (form.sprResult.edit_mode()) {
    key.code = 0;
  } else {
    form.sprResult.SetEditMode(true);
  }
}

void Again(FrmResultIn& form, Key) {
  if (!form.sprResult.edit_mode()) form.cmdAgain_Click();
}

void Preview(FrmResultIn& form, Key) { form.cmdPreview_Click(); }

void End(FrmResultIn& form, Key) { form.cmdEnd_Click(); }

constexpr KeyRow kKeyMap[] = {
    {ui::kKeyF9, ui::kCtrlMask, RowsToolThenSwallow<ReloadResults>},
    {ui::kKeyF8, ui::kCtrlMask, ToolThenSwallow<Sub_ToggleJudgeColumn>},
    {ui::kKeyF3, ui::kCtrlMask, AskClearResults},
    {ui::kKeyF4, ui::kCtrlMask, RowsToolThenSwallow<Sub_ResetDoneChecks>},
    {ui::kKeyF5, ui::kCtrlMask, RowsToolThenSwallow<Sub_SetDoneChecks>},
    {ui::kKeyF1, ui::kCtrlMask, ToolThenSwallow<Sub_ShowVersion>},
    {ui::kKeyF2, ui::kCtrlMask, ToolThenSwallow<Sub_ToggleUpdaterColumn>},
    {ui::kKeyF10, ui::kShiftMask, PreviewWithSelection},
    {ui::kKeyF6, ui::kCtrlMask, RowsToolThenSwallow<Sub_RejudgeAllGroups>},
    {ui::kKeyF3, ui::kAltMask, RowsToolThenSwallow<Sub_DeleteResultsAsk>},
    {ui::kKeyF11, ui::kCtrlMask, ToolThenSwallow<Sub_ToggleUpdateTimeColumn>},
    {ui::kKeyF1, ui::kAltMask, ToolThenSwallow<Sub_ShowHint>},
    {ui::kKeyF2, ui::kAltMask, ToolThenSwallow<Sub_ShowDebugWindow>},
    {ui::kKeyF7, ui::kCtrlMask, ToolThenSwallow<Sub_ToggleJudgeFindingColumn>},
    {ui::kKeyF4, ui::kAltMask, RowsToolThenSwallow<Sub_ShowDummyDataDialog>},
    {ui::kKeyF5, ui::kAltMask, AskDefaultFindings},
    {ui::kKeyF6, ui::kAltMask, CopyPrevious},
    {ui::kKeyF5, kAny, FindingsSearch},
    {ui::kKeyF2, kAny, EditKey},
    {ui::kKeyF9, kAny, Again},
    {ui::kKeyF10, kAny, Preview},
    {ui::kKeyF12, kAny, End},
};

}  // namespace

void FrmResultIn::Form_KeyDown(int& key_code, int& shift) {
  try {
    // Between cycles, or before a load has drawn the grid, the keys have
    // nothing to work on; an examinee whose load failed can be discarded.
    if (!Fnc_ExamineeOnScreen()) {
      if (key_code == ui::kKeyF9 && shift != ui::kCtrlMask && Fnc_ExamineeHeld()) cmdAgain_Click();
      return;
    }
    for (const KeyRow& row : kKeyMap) {
      if (row.key != key_code || (row.shift != kAny && row.shift != shift)) continue;
      row.act(*this, Key{key_code, shift});
      return;
    }
  } catch (const std::exception& e) {
    ShowLoadErrorReport("結果入力フォームのキーボード処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
