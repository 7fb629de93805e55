#include "examinee/result_check.h"

#include <cstdint>
#include <exception>
#include <string>

#include "data/bas_file_access.h"
#include "data/bas_rank_change.h"
#include "data/record_layouts.h"
#include "data/value_digits.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "examinee/save_screen.h"
#include "grid/item_row_map.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"

namespace qz {

namespace {

enum class Outcome { kPassed, kRefused };

bool IsRequiredDoneCheck(const KomInfo& item) {
  const CodeList& list = basPublic.ChkKomCode;
  for (int k = 1; k <= list.Count && k < static_cast<int>(list.Items.size()); ++k) {
    if (list.Items[static_cast<std::size_t>(k)] == item.KomCode) return true;
  }
  return false;
}

// Scrolls to the cell of `item` in column `col` and makes it the active
// cell. An item that is not shown has no cell: the cursor stays.
void StopOnCell(int item, int col) {
  grid::Spread* spr = frmResultIn.sprResult;
  const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(item));
  if (spr == nullptr || line == 0) return;
  spr->col = col;
  spr->row = Fnc_ItemToRow(line);
  spr->SetAction(grid::kActionGotoCell);
  spr->SetAction(grid::kActionActiveCell);
}

void Tell(const std::string& text, ui::MsgIcon icon) {
  ui::MsgBox(text, ui::MsgButtons::kOk, icon, kResultScreenTitle);
}

// The integer digits and the decimals are the two digits of the digit
// format, each shown as two digits: "31" gives "03" and "01".
std::string DigitsMessage(const std::string& value, const std::string& stype) {
  const std::string spec = vb::Format(std::string_view(stype), "00");
  const std::string crlf(kCrLf);
  return "入力値エラー" + crlf + "「" + value + "」" + crlf + crlf + "整数部" + vb::Format(vb::Left(spec, 1), "00") +
         "桁" + crlf + "小数部" + vb::Format(vb::Right(spec, 1), "00") + "桁" + " で入力して下さい。";
}

bool EmptyUnlessMarked(const KekkaData& r) { return r.Hekbn == 0 && r.Sokutei == kSokuteiNone; }

// Checks item `i`; adds to `empty` when it counts as empty.
Outcome CheckItem(int i, bool check_done_checks, int& empty) {
  const KomInfo& item = frmResultIn.ItemTable[i];
  KekkaData& r = frmResultIn.ResultMatrix(i, 0);
  if (item.Past != kPastBookedNow) {
    ++empty;
    return Outcome::kPassed;
  }
  const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(i));
  if (check_done_checks && item.Editable && IsRequiredDoneCheck(item) && r.Hekbn == 0) {
    ui::MsgBox("「" + item.KomName + "」の済チェックが未入力です。", ui::MsgButtons::kOk, ui::MsgIcon::kNone,
               kResultScreenTitle);
    StopOnCell(i, basPublic.ChkCol);
    return Outcome::kRefused;
  }
  switch (item.Ksyub) {
    case kKsyubFindings:
      if (vb::Trim(r.Syoken).empty() && EmptyUnlessMarked(r)) ++empty;
      break;
    case kKsyubGroupJudgement: {
      const std::string code = std::to_string(r.Han);
      if (code != "0") {
        std::string mark, color;
        if (Fnc_JudgeCodeToMark(r.Han, mark, color) != 0) {
          Tell("判定コードエラー" + std::string(kCrLf) + "「" + code + "」", ui::MsgIcon::kExclamation);
          StopOnCell(i, basPublic.ResultCol);
          return Outcome::kRefused;
        }
      } else if (EmptyUnlessMarked(r)) {
        ++empty;
      }
      break;
    }
    case kKsyubNumeric:
    case kKsyubCalculated: {
      const std::string value = vb::Trim(r.Knsach);
      if (value.empty()) {
        if (EmptyUnlessMarked(r)) ++empty;
        break;
      }
      std::string edited;
      std::int16_t error = 0;
      Sub_EditValueByDigits(value, item.Stype, item.Yuko, edited, error);
      if (error != 0) {
        Tell(DigitsMessage(value, item.Stype), ui::MsgIcon::kExclamation);
        StopOnCell(i, basPublic.ResultCol);
        return Outcome::kRefused;
      }
      r.Knsach = vb::Trim(edited) + " ";
      if (line != 0 && r.Sokutei == kSokuteiNone && frmResultIn.sprResult != nullptr) {
        frmResultIn.sprResult->SetText(basPublic.ResultCol, Fnc_ItemToRow(line), edited + " ");
      }
      break;
    }
    default:
      break;  // neither checked nor counted
  }
  return Outcome::kPassed;
}

// Sets `exist` to whether the results file holds a record of the
// consultation; kRefused after the warning of a failed read (the save
// waits for the operator to try again).
Outcome StoredResultsExist(bool& exist) {
  record::BtrAccess& kkk = *basFileAccess.QZKKKLFObj;
  kkk.SetField("CODE", basPublic.ExamineeNo);
  kkk.SetField("JDATE", static_cast<std::int64_t>(basPublic.ConsultDate));
  kkk.SetField("KKMKNO", 0);
  const int status = kkk.GetGreaterOrEqual(data::QzkkklfLayout().definition);
  if (status == record::kStatusOk) {
    exist = vb::RTrim(kkk.GetField("CODE").ToText()) == vb::RTrim(basPublic.ExamineeNo) &&
            kkk.GetField("JDATE").ToLong() == basPublic.ConsultDate;
    return Outcome::kPassed;
  }
  if (status == record::kStatusEndOfFile) {
    exist = false;
    return Outcome::kPassed;
  }
  const std::string crlf(kCrLf);
  Tell("検査結果マスタの読み込みに失敗しました。" + crlf + "受診者番号 : " + basPublic.ExamineeNo + crlf +
           StatusText(status),
       ui::MsgIcon::kExclamation);
  return Outcome::kRefused;
}

Outcome CheckAll(bool check_done_checks, bool& save_needed) {
  const int count = frmResultIn.ItemCount();
  int empty = 0;
  for (int i = 1; i <= count; ++i) {
    frmGuide->SetGauge(i, count);
    const Outcome o = CheckItem(i, check_done_checks, empty);
    if (o != Outcome::kPassed) return o;
  }
  if (empty == count) {
    if (!basFileAccess.QZKKKLFObj) throw RunTimeError(kErrObjectRequired);
    bool exist = true;
    const Outcome o = StoredResultsExist(exist);
    if (o != Outcome::kPassed) return o;
    if (!exist) save_needed = false;
  }
  return Outcome::kPassed;
}

}  // namespace

bool Fnc_CheckResultsBeforeSave(bool check_done_checks, bool& save_needed) {
  save_needed = true;
  Outcome outcome = Outcome::kRefused;
  frmGuide->Show(false, SaveOwnerForm());
  frmGuide->lblGuide.caption = "データチェック中です．．．";
  frmGuide->lblGage.width = 0;
  ui::DoEvents();
  frmGuide->lblState.caption = "処理中です．．．";
  try {
    outcome = CheckAll(check_done_checks, save_needed);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("検査結果情報のチェック処理でエラーが発生しました。", e);
    outcome = Outcome::kRefused;
  }
  frmGuide->Unload();
  return outcome == Outcome::kPassed;
}

}  // namespace qz
