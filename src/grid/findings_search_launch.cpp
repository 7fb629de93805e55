#include "grid/findings_search_launch.h"

#include <string>

#include "data/bas_rank_change.h"
#include "data/ini_access.h"
#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "grid/grid_procedure.h"
#include "grid/item_row_map.h"
#include "grid/searched_row.h"
#include "judgement/edit_permission.h"
#include "judgement/frm_syo_comb.h"
#include "judgement/overall_lock.h"
#include "judgement/syo_search_handoff.h"
#include "loading/group_forms.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "loading/result_cell_texts.h"
#include "platform/grid/spread.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"

namespace qz {

FindingsSearchChecks findingsSearchChecks = DefaultFindingsSearchChecks();

FindingsSearchChecks DefaultFindingsSearchChecks() {
  FindingsSearchChecks checks;
  checks.edit_permission = [](std::int32_t row) { return Fnc_CheckEditPermission(row); };
  checks.overall_judged = [](std::int16_t item) { return Fnc_CheckOverallJudged(item) == kOverallChangeRefused; };
  return checks;
}

namespace {

// The settings file that numbers the first tab of a judgement item's search.
constexpr std::string_view kProgramIni = "./QZP140.INI";
// Length limit of a findings text whose item sets none.
constexpr std::int16_t kDefaultSyoMaxLen = 100;
// What a findings item's result cell shows while a modeless search is open.
constexpr std::string_view kSearchingText = "所見検索中です";

bool MustPickFromList(Currency code) {
  const CodeList& list = basPublic.ListHissuKomCode;
  for (std::size_t n = 1; n <= static_cast<std::size_t>(list.Count) && n < list.Items.size(); ++n) {
    if (list.Items[n] == code) return true;
  }
  return false;
}

// The tab the search of judgement item `kom` opens on: [SougouSyoken] of
// the settings file under the last three digits of the item number.
std::int16_t JudgementItemTab(const KomInfo& kom) {
  const std::string key = vb::Right(kom.KomCode.ToString(), 3);
  return vb::CInt(Fnc_GetIni("SougouSyoken", key, "0", kProgramIni));
}

// A second search while one is open: names the item being searched.
void WarnSecondSearch() {
  std::string name;
  const std::int16_t item = frmResultIn.SyoSearchItem;
  if (item >= 1 && item <= frmResultIn.ItemCount()) name = frmResultIn.ItemTable[item].KomName;
  ShowLoadWarning("所見検索画面は「" + name + "」で開かれています。");
  if (frmSyoComb.loaded()) frmSyoComb->ZOrder(0);
}

void FocusGrid(grid::Spread& spr) {
  FrmResultIn& form = frmResultInForm.get();
  if (form.visible() && spr.CanFocus()) form.SetFocusTo(&spr);
}

// The dialog found nothing to show: it goes; a typed code that named one
// finding is applied as the operator's decision.
void EndWithoutDialog(grid::Spread& spr) {
  frmSyoComb->Unload();
  if (basPublic.SyoSearchDecided) {
    // The code became its finding: it is not kept, as a typed code is not.
    spr.SetText(basPublic.SyoCodeCol, frmResultIn.SyoSearchRow, "");
    Sub_ApplyFindingSearchResult();
  }
  frmResultIn.SyoSearchRow = 0;
  frmResultIn.SyoSearchItem = 0;
  FocusGrid(spr);
}

void Launch() {
  grid::Spread& spr = ResultGrid();
  if (spr.active_col() > basPublic.SearchColMax) return;
  const std::int32_t r = spr.active_row();
  const std::int16_t item = Fnc_RowToItem(r);
  if (item <= 0) return;
  KomInfo& kom = frmResultIn.ItemTable[item];
  if (kom.Past != kPastBookedNow) return;

  const std::string code_text = spr.TextAt(basPublic.SyoCodeCol, r);
  const KekkaData& current = frmResultIn.ResultMatrix(item, 0);
  const std::string back = ResultCellText(item);
  const auto put_back = [&] { spr.SetText(basPublic.ResultCol, r, back); };

  if (kom.Ksyub != kKsyubFindings && kom.Ksyub != kKsyubGroupJudgement) {
    frmResultInForm->lblStatus.caption = "  この項目の所見検索はできません。";
    ui::Beep();
    return;
  }
  if (findingsSearchChecks.edit_permission && !findingsSearchChecks.edit_permission(r)) {
    put_back();
    return;
  }
  if (current.Hekbn == 1) {
    ShowLoadWarning("「" + kom.KomName + "」は" + std::string(kCrLf) + "チェックがついてるため変更できません。");
    spr.SetText(basPublic.SyoCodeCol, r, code_text);
    put_back();
    return;
  }
  if (findingsSearchChecks.overall_judged && findingsSearchChecks.overall_judged(item)) return;
  if (Fnc_FindingsSearchPending()) {
    put_back();
    WarnSecondSearch();
    return;
  }
  if (kom.Ksyub == kKsyubFindings && spr.FormatAt(basPublic.ResultCol, r).type != grid::CellType::kComboBox &&
      MustPickFromList(kom.KomCode)) {
    ShowLoadWarning("「" + kom.KomName + "」は" + std::string(kCrLf) + "リストから選択して下さい。");
    put_back();
    return;
  }
  // The summary-findings item a judgement item's search shows; it is taken
  // only when the decided finding is written there.
  std::int16_t summary = kom.SougouDest;
  if (kom.Ksyub == kKsyubGroupJudgement && summary <= 0) {
    summary = syoSearchSteps.find_summary_item ? syoSearchSteps.find_summary_item(item) : 0;
    if (summary <= 0) {
      frmResultInForm->lblStatus.caption = "  総合所見欄がいっぱいです。";
      return;
    }
  }

  basPublic.SyoSearchKomCode = kom.Skomcd;
  basPublic.SyoSearchRcode = vb::Trim(code_text);
  basPublic.SyoSearchMaxLen = kom.Keta != 0 ? kom.Keta : kDefaultSyoMaxLen;
  if (kom.Ksyub == kKsyubFindings) {
    // The cell's text, typed or stored; the search entry of the findings
    // list that started this search is no finding.
    const std::string shown = spr.TextAt(basPublic.ResultCol, r);
    basPublic.SyoSearchText = vb::Trim(shown) == vb::Trim(basPublic.SearchCombo) ? back : shown;
    basPublic.SyoSearchHan = current.Han;
    basPublic.SyoSearchTab = 0;
  } else {
    const KekkaData& shown = frmResultIn.ResultMatrix(summary, 0);
    basPublic.SyoSearchText = shown.Syoken;
    basPublic.SyoSearchHan = shown.Han;
    basPublic.SyoSearchTab = JudgementItemTab(kom);
  }
  frmResultIn.SyoSearchRow = r;
  frmResultIn.SyoSearchItem = item;

  FrmSyoComb& dialog = *frmSyoComb;
  dialog.Load();
  if (dialog.tag == "1") {
    EndWithoutDialog(spr);
    return;
  }

  for (int col : {basPublic.SyoCodeCol, basPublic.ResultCol, basPublic.ChkCol}) {
    spr.SetLock(grid::Range::Cell(col, r), true);
  }
  frmGrpSel->cmdSelectEnd.enabled = false;
  basPublic.SyoSearchOpen = true;

  FrmResultIn& form = frmResultInForm.get();
  if (basPublic.SearchModal != 0) {
    dialog.Show(true, &form);
    tmrSyoSearch_Timer();
    return;
  }
  Sub_StartSyoSearchPolling();
  // Only a findings item's cell is given back by the apply.
  if (kom.Ksyub == kKsyubFindings) spr.SetText(basPublic.ResultCol, r, kSearchingText);
  dialog.Show(false, &form);
}

}  // namespace

std::string ResultCellText(std::int16_t item) {
  const KomInfo& kom = frmResultIn.ItemTable[item];
  const KekkaData& result = frmResultIn.ResultMatrix(item, 0);
  const std::string mark = MeasureClassMark(result.Sokutei, result.Syoken);
  if (!mark.empty()) return mark;
  if (kom.Ksyub == kKsyubGroupJudgement) {
    std::string judgement;
    std::string letter;
    if (result.Han == 0 || Fnc_JudgeCodeToMark(result.Han, judgement, letter) != 0) return "";
    return vb::Trim(judgement);
  }
  return vb::Trim(result.Syoken);
}

void cmdSearch_Click() { RunGridProcedure("検索ボタンのクリック処理でエラーが発生しました。", Launch); }

}  // namespace qz
