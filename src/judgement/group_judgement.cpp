#include "judgement/group_judgement.h"

#include <array>
#include <exception>
#include <string>

#include "examinee/bas_public.h"
#include "grid/cell_colors.h"
#include "judgement/judgement_finding.h"
#include "judgement/result_update.h"
#include "judgement/summary_auto_set.h"
#include "loading/group_forms.h"
#include "loading/jump_group_index.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"

namespace qz {

namespace {

constexpr int kSlots = 4;
constexpr std::int16_t kOverallGroup = 999;
constexpr int kJumpMarkCol = 2;
constexpr std::string_view kGroupItemPrefix = "9999999";

// Rank of judgement `code` in basPublic.HanSort.
std::int16_t Rank(std::int16_t code) {
  if (code < 0 || code >= static_cast<int>(basPublic.HanSort.size())) throw RunTimeError(kErrSubscript);
  return basPublic.HanSort[static_cast<std::size_t>(code)];
}

GroupItemInfo& GroupEntry(std::int16_t group) {
  if (group < 0 || group > kMaxDecisionGroup) throw RunTimeError(kErrSubscript);
  return frmResultIn.GroupItems[static_cast<std::size_t>(group)];
}

std::string GroupItemNumber(std::int16_t group) {
  return std::string(kGroupItemPrefix) + vb::Format(group, "000");
}

bool InGroup(const KomInfo& k, std::int16_t group) {
  for (int n = 1; n <= kSlots; ++n) {
    if (k.Hgrp[n] == group) return true;
  }
  return false;
}

// The group-jump mark of the input group of item `item`.
void ShowJumpMark(std::int16_t item, const std::string& mark, const std::string& letter) {
  const std::int16_t j = Fnc_GetJumpGroupIndex(frmResultIn.ItemTable[item].NgrpIndex);
  if (j == -1) return;
  frmGrpJmp->flxGroop.SetTextMatrix(j, kJumpMarkCol, vb::Trim(mark));
  Sub_SetJumpCellColor(kJumpMarkCol, j, letter);
}

// Result and judgement cells of a recomputed group or overall item, with
// their colour, the jump mark (when `jump`) and the stamp cells.
void DrawJudgement(std::int16_t item, std::int32_t row, const std::string& mark, const std::string& letter,
                   bool jump) {
  SetResultCell(basPublic.ResultCol, row, vb::Trim(mark));
  SetResultCell(basPublic.HanCol, row, vb::Trim(mark));
  Sub_SetCellForeColor(basPublic.ResultCol, row, letter);
  Sub_SetCellForeColor(basPublic.HanCol, row, letter);
  if (jump && basPublic.UserDspKbn == 1) ShowJumpMark(item, mark, letter);
  ShowStampCells(item, row);
}

// Steps 4 and 5 for the slots; false when a judgement had no mark.
bool JudgeGroups(std::int16_t item, std::int16_t mode, std::int16_t force, std::array<std::int16_t, kSlots>& grp) {
  std::array<std::int16_t, kSlots> worst{};
  for (int d = 1; d <= frmResultIn.ItemCount(); ++d) {
    const KomInfo& k = frmResultIn.ItemTable[d];
    const KekkaData& r = frmResultIn.ResultMatrix(d, 0);
    if (k.Past != kPastBookedNow || r.Sokutei == kSokuteiNotPerformed || r.Sokutei == kSokuteiUnmeasurable ||
        d == frmResultIn.OverallItem) {
      continue;
    }
    for (int s = 0; s < kSlots && grp[s] != 0; ++s) {
      if (grp[s] == kOverallGroup || !InGroup(k, grp[s])) continue;
      if (vb::CStr(k.KomCode) == GroupItemNumber(grp[s])) continue;
      if (Rank(r.Han) > Rank(worst[s])) worst[s] = r.Han;
    }
  }

  for (int s = 0; s < kSlots && grp[s] != 0; ++s) {
    GroupItemInfo& entry = GroupEntry(grp[s]);
    const std::int16_t gi = entry.Item;
    if (grp[s] == kOverallGroup || (gi != 0 && frmResultIn.ItemTable[gi].Past != kPastBookedNow)) continue;
    if (gi == 0) {
      ShowStatusText("  受診項目に「 " + GroupItemNumber(grp[s]) + " 」が登録されていません");
      entry.Han = worst[s];
      continue;
    }
    KekkaData& r = frmResultIn.ResultMatrix(gi, 0);
    if (r.Hekbn != 0 && force != kJudgeForceYes) continue;
    entry.Han = worst[s];
    const bool changed = r.Han != worst[s] || r.Sokutei != kSokuteiNone || force == kJudgeForceYes;
    if (gi == item && mode != kJudgeModeExternal) continue;
    if (changed) {
      r.Han = worst[s];
      StampCurrentResult(gi);
    }
    const std::int32_t row = ScreenRowOf(gi);
    if (row == 0) continue;
    std::string mark;
    std::string letter;
    if (!JudgementMarkOf(worst[s], mark, letter)) {
      ShowJudgeConversionWarning(worst[s], frmResultIn.ItemTable[gi].KomName);
      return false;
    }
    if (!changed) continue;
    DrawJudgement(gi, row, mark, letter, frmResultIn.ItemTable[gi].Ksyub == kKsyubGroupJudgement);
    Sub_SetJudgementFinding(gi);
    Sub_AutoSetSummaryFindings(gi);
  }
  return true;
}

// Step 6: the overall judgement.
void JudgeOverall(std::int16_t item) {
  const std::int16_t o = GroupEntry(kOverallGroup).Item;
  if (o == 0 || item == frmResultIn.OverallItem || frmResultIn.ResultMatrix(o, 0).Hekbn == 1) return;
  KekkaData& r = frmResultIn.ResultMatrix(o, 0);
  r.Han = 0;
  for (std::int16_t g = 1; g < kOverallGroup; ++g) {
    const std::int16_t gi = GroupEntry(g).Item;
    if (gi == 0 || !InGroup(frmResultIn.ItemTable[gi], kOverallGroup)) continue;
    const std::int16_t c = frmResultIn.ResultMatrix(gi, 0).Han;
    if (c < 0 || c >= static_cast<int>(basPublic.AutoSougouOut.size())) throw RunTimeError(kErrSubscript);
    if (!basPublic.AutoSougouOut[static_cast<std::size_t>(c)] && Rank(c) > Rank(r.Han)) r.Han = c;
  }
  StampCurrentResult(o);

  const std::int32_t row = ScreenRowOf(o);
  if (row != 0) {
    std::string mark;
    std::string letter;
    if (!JudgementMarkOf(r.Han, mark, letter)) {
      ShowJudgeConversionWarning(r.Han, "総合判定");
      return;
    }
    DrawJudgement(o, row, mark, letter, true);
  }
  if (frmResultIn.ItemTable[item].KomCode != frmResultIn.ItemTable[o].Hansyo) Sub_SetJudgementFinding(o);
}

void JudgeGroup(std::int16_t item, std::int16_t mode, std::int16_t force) {
  const KomInfo& k = frmResultIn.ItemTable[item];
  if (k.Hgrp[1] == 0) return;
  std::array<std::int16_t, kSlots> grp{};
  for (int s = 0; s < kSlots; ++s) grp[s] = k.Hgrp[s + 1];
  if (mode == kJudgeModeExternal && k.Ksyub == kKsyubGroupJudgement) {
    const std::int16_t t = vb::CInt(vb::Right(vb::CStr(k.KomCode), 3));
    for (int s = 0; s < kSlots; ++s) {
      if (grp[s] == t) break;
      if (grp[s] == 0) {
        grp[s] = t;
        break;
      }
    }
  }
  if (!JudgeGroups(item, mode, force, grp)) return;
  JudgeOverall(item);
}

}  // namespace

bool Fnc_IsGroupItem(std::int16_t item) {
  for (std::int16_t g = 1; g < kOverallGroup; ++g) {
    if (item != 0 && GroupEntry(g).Item == item) return true;
  }
  return false;
}

void Sub_JudgeGroup(std::int16_t item, std::int16_t mode, std::int16_t force) {
  try {
    JudgeGroup(item, mode, force);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("グループ判定処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
