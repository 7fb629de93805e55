#include "judgement/library_area.h"
#include "judgement/calc_items.h"

#include <exception>
#include <string>
#include <vector>

#include "data/value_digits.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "examinee/save_screen.h"
#include "grid/cell_colors.h"
#include "judgement/auto_judge.h"
#include "judgement/calc_order.h"
#include "judgement/group_judgement.h"
#include "judgement/result_update.h"
#include "judgement/summary_auto_set.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "suite/qzp315.h"

namespace qz {
namespace {

constexpr int kOperands = 3;
constexpr std::int16_t kJudgedByLibrary = 1;

// True when every operand `calc` has carries a value that can be used.
bool OperandsReady(const CalcKomInfo& calc) {
  for (int k = 1; k <= kOperands; ++k) {
    if (calc.Opnd[k] == 0) continue;
    const KekkaData& r = frmResultIn.ResultMatrix(calc.Opnd[k], 0);
    if (vb::Trim(r.Knsach).empty() || r.Sokutei == kSokuteiNotPerformed || r.Sokutei == kSokuteiUnmeasurable) {
      return false;
    }
  }
  return true;
}

// The library's value for `calc`, trimmed ("" when it gave none).
std::string Calculate(const CalcKomInfo& calc) {
  const KomInfo& k = frmResultIn.ItemTable[calc.Item];
  std::string area = vb::Space(static_cast<std::int64_t>(suite::kQzp315AreaLength));
  PlaceInArea(area, 1, 3, vb::Format(k.Calpt, "000"));
  for (int n = 1; n <= kOperands; ++n) {
    const std::string value =
        calc.Opnd[n] == 0 ? "" : vb::Format(vb::Trim(frmResultIn.ResultMatrix(calc.Opnd[n], 0).Knsach), "@@@@@@@@@@");
    PlaceInArea(area, 4 + (n - 1) * 10, 10, value);
  }
  PlaceInArea(area, 34, 1, vb::CStr(frmResultIn.ExamineeSex));
  PlaceInArea(area, 35, 3, vb::Format(frmResultIn.ExamineeAge, "000"));
  PlaceInArea(area, 38, 1, vb::CStr(k.Krkbn));
  PlaceInArea(area, 39, 2, k.Stype);
  PlaceInArea(area, 41, 10, "");
  return vb::Trim(vb::Mid(CallWithArea(area, suite::QZP315), 41, 10));
}

// Judges calculated item `c` with value `text` and shows the outcome.
void JudgeCalculated(std::int16_t c, const std::string& text, std::int32_t row) {
  const KomInfo& k = frmResultIn.ItemTable[c];
  std::int16_t han = 0;
  std::string mark;
  std::string letter;
  std::string finding;
  if (Fnc_AutoJudgeItem(k.KomCode, text, k.Skomcd, han, mark, letter, finding)) {
    KekkaData& r = frmResultIn.ResultMatrix(c, 0);
    r.Han = han;
    r.Syoken = finding;
    if (row != 0) {
      SetResultCell(basPublic.HanSyoCol, row, vb::RTrim(finding));
      Sub_SetCellForeColor(basPublic.HanSyoCol, row, letter);
      SetResultCell(basPublic.HanCol, row, vb::Trim(mark));
      Sub_SetCellForeColor(basPublic.ResultCol, row, letter);
      Sub_SetCellForeColor(basPublic.HanCol, row, letter);
    }
  } else {
    ShowLoadWarning("自動判定に失敗しました。" + std::string(kCrLf) + "項目名 : " + k.KomName + std::string(kCrLf) +
                    "検査値 : " + text);
  }
  Sub_JudgeGroup(c, kJudgeModeEntry, kJudgeForceNo);
  Sub_AutoSetSummaryFindings(c);
}

// Recomputes calculated item `calc.Item` once; true when it took a value.
bool Recompute(const CalcKomInfo& calc) {
  if (!OperandsReady(calc)) return false;
  const std::int16_t c = calc.Item;
  const KomInfo& k = frmResultIn.ItemTable[c];
  const std::string value = Calculate(calc);
  std::string edited;
  std::int16_t error = 1;
  if (!value.empty()) Sub_EditValueByDigits(value, k.Stype, k.Yuko, edited, error);
  if (error != 0) {
    ShowLoadWarning("計算項目の計算に失敗しました。" + std::string(kCrLf) + "項目名 : " + k.KomName +
                    std::string(kCrLf) + "計算値 : " + value);
    return false;
  }
  const std::string text = vb::Trim(edited) + " ";
  KekkaData& r = frmResultIn.ResultMatrix(c, 0);
  if (vb::Trim(text) != vb::Trim(r.Knsach)) StampCurrentResult(c);
  r.Knsach = text;

  const std::int32_t row = ScreenRowOf(c);
  if (row != 0) {
    SetResultCell(basPublic.ResultCol, row, text);
    ShowStampCells(c, row);
  }
  if (k.Jhkbn == kJudgedByLibrary) {
    JudgeCalculated(c, text, row);
  } else if (row != 0) {
    Sub_SetCellForeColor(basPublic.ResultCol, row, frmResultIn.DefaultColorLetter);
  }
  return true;
}

// Walks the calculated items in dependency order: an item whose operand
// is `changed` is recomputed once per operand slot naming it, an item whose
// operand was recomputed on this walk once. `changed` itself is never
// recomputed, and each item is visited once, so definitions in a cycle end.
void CheckCalcItems(std::int16_t changed) {
  std::vector<bool> changed_now(static_cast<std::size_t>(frmResultIn.ItemCount()) + 1, false);
  auto was_changed = [&](std::int16_t item) {
    return item > 0 && item < static_cast<int>(changed_now.size()) && changed_now[static_cast<std::size_t>(item)];
  };
  for (int n : CalcOrder()) {
    const CalcKomInfo calc = frmResultIn.CalcItems[n];
    const KomInfo& k = frmResultIn.ItemTable[calc.Item];
    if (calc.Item == changed) continue;
    if (frmResultIn.ResultMatrix(calc.Item, 0).Hekbn != 0 || !k.Editable || k.Past != kPastBookedNow) continue;
    int times = 0;
    bool follows = false;
    for (int slot = 1; slot <= kOperands; ++slot) {
      if (calc.Opnd[slot] == changed) ++times;
      if (was_changed(calc.Opnd[slot])) follows = true;
    }
    if (times == 0 && follows) times = 1;
    for (int t = 0; t < times; ++t) {
      if (Recompute(calc)) changed_now[static_cast<std::size_t>(calc.Item)] = true;
      if (frmResultIn.Unloaded) return;
    }
  }
}

}  // namespace

void Sub_CheckCalcItems(std::int16_t changed) {
  try {
    CheckCalcItems(changed);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("計算項目チェック処理でエラーが発生しました。", e);
  }
}

void Sub_RecalcAllItems() {
  try {
    frmGuide->Show(false, SaveOwnerForm());
    frmGuide->lblGuide.caption = "計算処理中です．．．";
    frmGuide->lblGage.width = 0;
    ui::DoEvents();
    frmGuide->lblState.caption = "処理中です．．．";
    const int count = frmResultIn.ItemCount();
    for (int n = 1; n <= count; ++n) {
      frmGuide->SetGauge(n, count);
      if (frmResultIn.ItemTable[n].Past == kPastBookedNow) Sub_CheckCalcItems(static_cast<std::int16_t>(n));
    }
  } catch (const std::exception& e) {
    ShowLoadErrorReport("計算処理でエラーが発生しました。", e);
  }
  frmGuide->Unload();
}

}  // namespace qz
