#include "loading/load_driver.h"

#include <exception>
#include <functional>
#include <string>

#include "data/close_erase.h"
#include "data/form_routines.h"
#include "data/imm_on_off.h"
#include "data/program_log.h"
#include "examinee/bas_public.h"
#include "examinee/cls_vlmf_qzonllf.h"
#include "examinee/frm_guide.h"
#include "examinee/frm_result_in.h"
#include "examinee/save_screen.h"
#include "grid/cell_kinds.h"
#include "grid/cursor_destination.h"
#include "grid/entry_writes.h"
#include "grid/frozen_rows.h"
#include "grid/group_label.h"
#include "grid/item_row_map.h"
#include "grid/result_grid_layout.h"
#include "judgement/calc_order.h"
#include "judgement/summary_findings.h"
#include "loading/consult_history.h"
#include "loading/consult_items.h"
#include "loading/examinee_header.h"
#include "loading/group_forms.h"
#include "loading/history_headers.h"
#include "loading/input_groups.h"
#include "loading/item_master.h"
#include "loading/item_order.h"
#include "loading/item_rows.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "loading/result_cells.h"
#include "loading/result_load.h"
#include "loading/settings_master.h"
#include "platform/text/vb.h"
#include "platform/record/read_batch.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/work_in_progress.h"
#include "tools/copy_previous_results.h"
#include "tools/reservation_lookup.h"

namespace qz {

namespace {

// Column of the group-jump list that holds the grid line of a group's
// first item.
constexpr int kJumpLineCol = 1;

// Writes the progress window's state line and lets it paint.
void StepText(const char* text) {
  frmGuide->lblState.caption = text;
  ui::DoEvents();
}

// Ticks `box` by `on` and sets the tool tip that says what unticking or
// ticking does.
void SetSwitch(ui::CheckBox& box, bool on, const char* tip_on, const char* tip_off) {
  box.SetValue(on ? 1 : 0);
  box.tool_tip_text = on ? tip_on : tip_off;
}

// Registers the command-line examinee in the on-line table. False when the
// examinee is in use elsewhere or the registration failed: the main form
// has been unloaded.
bool RegisterOnline() {
  basPublic.OnlineRen = 0;
  std::int32_t ren = 0;
  ClsVlmfQzonllf().Sub_HoldOnlineInfo(basPublic.ExamineeNo, ren);
  if (ren <= 0) {
    basPublic.OnlineRen = ren < 0 ? -1 : 0;
    frmResultIn.UnloadMainForm();
    return false;
  }
  basPublic.OnlineRen = ren;
  return true;
}

// The header texts of the loading state into the form's boxes.
void ShowHeader(FrmResultIn& form) {
  form.txtID.SetText(frmResultIn.txtID);
  form.txtKana.SetText(frmResultIn.txtKana);
  form.txtName.SetText(frmResultIn.txtName);
  form.txtSex.SetText(frmResultIn.txtSex);
  form.txtBirth.SetText(frmResultIn.txtBirth);
  form.txtAge.SetText(frmResultIn.txtAge);
  form.txtDanname.SetText(frmResultIn.txtDanname);
}

std::string DispatchDateText() {
  const std::string& d = frmResultIn.SendDateText;
  if (d.empty()) return "";
  return vb::Left(d, 4) + "/" + vb::Mid(d, 5, 2) + "/" + vb::Right(d, 2);
}

void SetColumnWidths(grid::Spread& spr) {
  const BasPublic& p = basPublic;
  spr.SetColWidth(p.ItemCol, p.WidthKom);
  spr.SetColWidth(p.StdCol, p.WidthStd);
  spr.SetColWidth(p.UnitCol, p.WidthTani);
  spr.SetColWidth(p.SyoCodeCol, p.WidthSyoCode);
  spr.SetColWidth(p.HanCol, p.HanStart == 1 ? p.WidthHan : 0);
  spr.SetColWidth(p.UpdateCol, p.UpdateStart == 1 ? p.WidthUpdate : 0);
  spr.SetColWidth(p.UptimeCol, p.UptimeStart == 1 ? p.WidthUptime : 0);
  spr.SetColWidth(p.HanSyoCol, p.HanSyoStart == 1 ? p.WidthHanSyo : 0);
  spr.SetColWidth(p.ChkCol, p.WidthChk);
  if (p.SokuteiStart == 1) {
    spr.SetColWidth(p.SokuteiCol, p.WidthSokutei);
    if (spr.ColWidth(p.ResultCol) != p.WidthShort) spr.SetColWidth(p.ResultCol, p.WidthLong - p.WidthSokutei);
  } else {
    spr.SetColWidth(p.SokuteiCol, 0);
  }
}

// The cursor on the first input cell of the logon user's first input
// group, and that group selected in the group-jump list. A list without
// that row (no group shown) leaves the cursor where the cell kinds put it.
void PlaceCursor(grid::Spread& spr) {
  grid::ListGrid& list = frmGrpJmp->flxGroop;
  const int jump_row = frmResultIn.JumpStartRow;
  if (jump_row < 0 || jump_row >= list.rows()) return;
  const auto line = static_cast<std::int16_t>(vb::Val(list.TextMatrix(jump_row, kJumpLineCol)));
  const std::int32_t row = Fnc_ItemToRow(line);
  std::int32_t dest_row = row;
  std::int32_t dest_col = basPublic.StartCol - 1;
  Sub_GetCursorDestination(row, basPublic.StartCol - 1, kEnterKey, dest_row, dest_col);
  spr.col = dest_col;
  spr.row = dest_row;
  spr.SetAction(grid::kActionGotoTop);
  spr.SetAction(grid::kActionActiveCell);

  list.SetRow(jump_row);
  list.SetCol(0);
  list.SetRowSel(jump_row);
  list.SetColSel(0);
  list.SetCellBackColor(static_cast<ui::Color>(basPublic.ColorNgrpSelect));
}

// The input method for the item kind of the active cell. A screen without
// item lines (no group of the user's shown, or none left by the display
// mode) has no item there: nothing to switch, nothing to report.
void SetInputMethod(FrmResultIn& form) {
  grid::Spread& spr = form.sprResult;
  const std::int16_t item = ItemOnRow(spr.active_row());
  if (item >= 1 && item <= frmResultIn.ItemCount()) {
    switch (frmResultIn.ItemTable[item].Ksyub) {
      case kKsyubNumeric:
      case kKsyubCalculated:
        Sub_ImmOnOff(form, 0, false);
        break;
      case kKsyubFindings:
        spr.col = spr.active_col();
        spr.row = spr.active_row();
        if (spr.GetCellType() == grid::CellType::kComboBox) Sub_ImmOnOff(form, 1, false);
        break;
      case kKsyubGroupJudgement:
        if (basPublic.HanIME == 0) Sub_ImmOnOff(form, 0, false);
        if (basPublic.HanIME == 1) Sub_ImmOnOff(form, 1, true);
        if (basPublic.HanIME == 2) Sub_ImmOnOff(form, 1, false);
        break;
      default:
        break;
    }
  }
  if (spr.active_col() == basPublic.SyoCodeCol) Sub_ImmOnOff(form, 0, false);
}

// The steps up to the drawn grid; false when one ended the load.
bool LoadTables(FrmResultIn& form, bool from_command_line) {
  StepText("受診者更新情報登録中");
  if (from_command_line && !RegisterOnline()) return false;

  StepText("設定情報取得中");
  if (!Sub_LoadSettingsMaster()) return false;
  Sub_InitResultSpread();
  SetSwitch(form.chkPastDisp, basPublic.PastDisp == 1, "チェックをはずすと過去に受診した検査項目を全て非表示にします",
            "チェックをつけると過去に受診した検査項目を全て表示します");
  SetSwitch(form.chkSokutei, basPublic.SokuteiStart == 1, "チェックをはずすと測定区分欄を非表示にします",
            "チェックをつけると測定区分欄を表示します");

  StepText("受診者情報取得中");
  if (!Sub_LoadExamineeHeader()) return false;
  ShowHeader(form);

  StepText("受診歴情報取得中");
  if (!Sub_LoadHistory()) return false;

  StepText("受診項目情報取得中");
  if (!Sub_LoadConsultItems() || !Sub_AddResultOnlyItems()) return false;

  StepText("検査項目情報取得中");
  if (!Sub_LoadItemMaster() || !Sub_SortItems() || !Sub_BuildCalcItems()) return false;
  Sub_ReportCalcCycles();
  Sub_CheckSummaryFindingItem();

  StepText("グループ情報取得中");
  const int mode = basPublic.Kirikae == 1 ? 1 : basPublic.Kirikae == 2 ? 2 : 0;
  form.optKirikae[static_cast<std::size_t>(mode)]->SetValue(true);
  if (!Sub_BuildInputGroupList()) return false;

  StepText("受診歴情報設定中");
  if (!Sub_SetHistoryHeaders()) return false;

  StepText("グループ情報取得中");
  if (!Sub_EditInputGroups() || !Sub_SetGroupSelectList() || !Sub_NgrpJmpSet()) return false;
  form.cmdGrpJmp_Click();
  Sub_CloseErase(*frmGrpJmp);
  if (!Sub_JkoInfo()) return false;

  StepText("検査結果情報取得中");
  if (!Sub_LoadResults("QZKKKLF") || !Sub_KekkaInfo()) return false;

  StepText("予約情報取得中");
  Sub_GetReservation();
  Sub_EditGroupLabel();
  Sub_SprSet();
  Sub_LockSet();
  Sub_SprFix();
  return !frmResultIn.Unloaded;
}

void LoadExaminee(FrmResultIn& form, bool from_command_line) {
  Sub_EnableCommandControls(form, true);
  frmGuide->Show(false, &form);
  frmGuide->lblGuide.caption = "結果情報表示中です．．．";
  ui::DoEvents();
  frmResultIn.Loading = true;
  frmResultIn.Unloaded = false;
  form.SetEnabled(false);
  form.sprResult.visible = false;

  {
    // The load reads much and writes nothing: one read transaction serves
    // its reads, given back at every message and now and then at a yield.
    record::ReadBatch batch;
    if (!LoadTables(form, from_command_line)) return;
  }

  form.txtHassou.SetText(DispatchDateText());
  FrmGrpSel& sel = *frmGrpSel;
  sel.Hide();
  Sub_CloseErase(sel);
  sel.SetWindowState(ui::WindowState::kMinimized);
  SetColumnWidths(form.sprResult);
  PlaceCursor(form.sprResult);
  form.sprResult.text_tip = 1;
  form.sprResult.text_tip_delay = 1;
  SetInputMethod(form);

  frmResultIn.Loading = false;
  frmResultIn.ReturnToSearch = false;
  basPublic.SyoSearchOpen = false;
  basPublic.PrintSelect = false;
  frmResultInSave.ResultsDeleted = false;
  frmResultIn.ForceSave = false;
  basPublic.DelListAnswer = 0;
  SetSwitch(form.chkOperation, basPublic.DefaultOpchk != 0, "チェックをはずすと未実施検査項目のチェックを行いません",
            "チェックをつけると未実施検査項目のチェックを行います");

  form.SetEnabled(true);
  form.sprResult.visible = true;
  form.sprResult.SetFocus();
  form.Form_Resize();
  frmGuide->Unload();
  program_log::ExamineeLoaded();

  if (basPublic.OpChkStart == 1) {
    form.cmdOpchk_Click();
  } else if (basPublic.AutoPastCopy == 1) {
    Sub_CopyPreviousResults(0);
  }
}

}  // namespace

void Sub_LoadExaminee(bool from_command_line) {
  FrmResultIn& form = *frmResultInForm;
  try {
    // The load yields at every step: nothing of the screen, the group
    // windows included, takes input until it is done.
    ui::WorkInProgress busy;
    LoadExaminee(form, from_command_line);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("結果入力画面の初期化処理でエラーが発生しました。", e);
    // The operator is not left before a disabled form: the screen comes
    // back without the half-built grid, and the examinee can be discarded.
    if (frmGuide.loaded()) frmGuide->Unload();
    frmResultIn.Loading = false;
    form.SetEnabled(true);
    form.Show();
  }
}

}  // namespace qz
