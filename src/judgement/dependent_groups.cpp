#include "judgement/dependent_groups.h"

#include <exception>
#include <string>

#include "data/bas_rank_change.h"
#include "examinee/bas_public.h"
#include "grid/searched_row.h"
#include "judgement/result_update.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "loading/result_cell_texts.h"
#include "platform/grid/spread.h"
#include "platform/text/vb.h"

namespace qz {
namespace {

constexpr int kGroupSlots = 4;
constexpr const char* kJobText = "従属グループの更新処理でエラーが発生しました。";

// The decision group a group item stands for: the last three digits of its
// number; 0 for an item of another kind.
std::int16_t GroupOfGroupItem(const KomInfo& k) {
  if (k.Ksyub != kKsyubGroupJudgement) return 0;
  return vb::CInt(vb::Right(vb::CStr(k.KomCode), 3));
}

// Whether item `b` is a member of group `g` that the routines may change.
// A member whose row an open findings search holds is left to that search.
bool IsChangeableMember(int b, std::int16_t g) {
  const KomInfo& k = frmResultIn.ItemTable[b];
  if (k.Past != kPastBookedNow || !k.Editable) return false;
  if (b == frmResultIn.SyoSearchItem && Fnc_FindingsSearchPending()) return false;
  for (int n = 1; n <= kGroupSlots; ++n) {
    if (k.Hgrp[n] == g) return true;
  }
  return false;
}

void HandDownDoneCheck(std::int16_t s) {
  const std::int16_t g = GroupOfGroupItem(frmResultIn.ItemTable[s]);
  if (g == 0) return;
  for (int b = 1; b <= frmResultIn.ItemCount(); ++b) {
    if (!IsChangeableMember(b, g)) continue;
    const auto member = static_cast<std::int16_t>(b);
    KekkaData& r = frmResultIn.ResultMatrix(member, 0);
    if (frmResultIn.ItemTable[b].Ksyub == kKsyubGroupJudgement && r.Han == 0 && r.Sokutei == kSokuteiNone) continue;
    if (r.Hekbn == 0) StampUserAndTime(member);
    r.Hekbn = 1;
    const std::int32_t row = ScreenRowOf(member);
    if (row == 0) continue;
    SetResultCell(basPublic.ChkCol, row, basPublic.ChkStr);
    ShowUpdaterCells(member, row);
  }
}

// Whether member `b` holds nothing: a blank value, a blank finding text
// for a findings item, no judgement for a group item.
bool IsEmptyMember(int b) {
  const KekkaData& r = frmResultIn.ResultMatrix(b, 0);
  switch (frmResultIn.ItemTable[b].Ksyub) {
    case kKsyubFindings: return vb::Trim(r.Syoken).empty();
    case kKsyubGroupJudgement: return r.Han == 0;
    default: return vb::Trim(r.Knsach).empty();
  }
}

// The result cell of member `b` under its measurement class; false after the
// warning when a group item's judgement has no mark.
bool ResultCellText(std::int16_t b, std::string& text) {
  const KekkaData& r = frmResultIn.ResultMatrix(b, 0);
  if (r.Sokutei != kSokuteiNone) {
    text = MeasureClassMark(r.Sokutei, r.Knsach);
    return true;
  }
  switch (frmResultIn.ItemTable[b].Ksyub) {
    case kKsyubFindings:
      text = r.Syoken;
      return true;
    case kKsyubGroupJudgement: {
      std::string letter;
      if (r.Han == 0) {
        text.clear();
        return true;
      }
      if (Fnc_JudgeCodeToMark(r.Han, text, letter) == 0) {
        text = vb::Trim(text);
        return true;
      }
      ShowLoadWarning("判定変換に失敗しました。" + std::string(kCrLf) + "判定コード : " + std::to_string(r.Han));
      return false;
    }
    default:
      text = r.Knsach;
      return true;
  }
}

void HandDownMeasureClass(std::int16_t s) {
  if (s == frmResultIn.OverallItem) return;
  const std::int16_t g = GroupOfGroupItem(frmResultIn.ItemTable[s]);
  if (g == 0) return;
  const std::int16_t sokutei = frmResultIn.ResultMatrix(s, 0).Sokutei;
  for (int b = 1; b <= frmResultIn.ItemCount(); ++b) {
    if (!IsChangeableMember(b, g) || frmResultIn.ResultMatrix(b, 0).Hekbn != 0) continue;
    if (sokutei != kSokuteiNone && !IsEmptyMember(b)) continue;
    const auto member = static_cast<std::int16_t>(b);
    StampUserAndTime(member);
    frmResultIn.ResultMatrix(member, 0).Sokutei = sokutei;
    const std::int32_t row = ScreenRowOf(member);
    if (row == 0) continue;
    frmResultIn.sprResult->SetComboCurSel(grid::Range::Cell(basPublic.SokuteiCol, row), sokutei - 1);
    ShowUpdaterCells(member, row);
    std::string text;
    if (!ResultCellText(member, text)) return;
    SetResultCell(basPublic.ResultCol, row, text);
  }
}

}  // namespace

void Sub_UpdateDependentGroupFromMember(std::int16_t item) {
  try {
    HandDownDoneCheck(item);
  } catch (const std::exception& e) {
    ShowLoadErrorReport(kJobText, e);
  }
}

void Sub_UpdateDependentGroupMembers(std::int16_t item) {
  try {
    HandDownMeasureClass(item);
  } catch (const std::exception& e) {
    ShowLoadErrorReport(kJobText, e);
  }
}

}  // namespace qz
