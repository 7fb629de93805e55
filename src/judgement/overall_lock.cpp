#include "judgement/overall_lock.h"

#include <exception>

#include "examinee/bas_public.h"
#include "judgement/result_update.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"

namespace qz {
namespace {

bool LockHolds(std::int16_t item) {
  const std::int16_t overall = frmResultIn.OverallItem;
  if (overall == 0 || frmResultIn.SouChk != "1" || item == overall) return false;
  return frmResultIn.ResultMatrix(overall, 0).Hekbn != 0;
}

std::int16_t CheckOverallJudged(std::int16_t item) {
  if (!LockHolds(item)) return kOverallChangeAllowed;
  ShowLoadWarning("総合判定済みのため変更できません。");
  return kOverallChangeRefused;
}

void UpdateOverallJudge() {
  if (basPublic.HanteiCode == Currency(0)) return;
  const std::int16_t judger = FirstItemNumbered(basPublic.HanteiCode);
  if (judger == 0) return;
  StampUserAndTime(judger);
  const std::int32_t row = ScreenRowOf(judger);
  if (row == 0) return;
  SetResultCell(basPublic.ResultCol, row, basPublic.UserName);
  ShowUpdaterCells(judger, row);
}

}  // namespace

std::int16_t Fnc_CheckOverallJudged(std::int16_t item) {
  try {
    return CheckOverallJudged(item);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("総合判定済みチェック処理でエラーが発生しました。", e);
    return kOverallChangeAllowed;
  }
}

bool OverallLockHolds(std::int16_t item) { return LockHolds(item); }

void Sub_UpdateOverallJudge() {
  try {
    UpdateOverallJudge();
  } catch (const std::exception& e) {
    ShowLoadErrorReport("総合判定者の更新処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
