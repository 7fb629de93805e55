#include "judgement/finding_lookup.h"

#include <exception>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "grid/item_row_map.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/record/status.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"

namespace qz {
namespace {

constexpr std::int64_t kTitleRow = 1;
constexpr int kCodeSuffixDigits = 8;   // "<code as 6 digits><judgement as 2 digits>"
constexpr int kCodeSuffixLength = 11;  // the suffix and what precedes it in a list entry

bool Lookup(Currency finding_type, std::string_view typed, std::int32_t& code_number, std::string& finding,
            std::int16_t& judgement) {
  record::BtrAccess& syo = LoadObject(basFileAccess.QZSYO2LFObj);
  syo.SetField("CODE", finding_type);
  syo.SetField("RCODE", typed);
  const int status = syo.GetEqual("QZSYO2LF");
  if (status == record::kStatusOk) {
    if (syo.GetField("TITLE").ToInt() == kTitleRow) {
      ShowLoadWarning("タイトル用所見は選択できません。");
      return false;
    }
    code_number = FieldInt32(syo, "SCODE");
    finding = vb::Trim(syo.GetField("SYKN").ToText());
    judgement = FieldInt16(syo, "KHANTEI");
    return true;
  }
  if (status == record::kStatusNotFound) {
    ShowLoadWarning("コード「" + std::string(typed) + "」は所見マスタに登録されていません。");
    return false;
  }
  ShowLoadWarning("所見マスタの読み込みに失敗しました。" + std::string(kCrLf) + "検査項目番号 : " +
                  syo.GetField("CODE").ToText() + std::string(kCrLf) + StatusText(status));
  return false;
}

bool MustPickFromList(Currency code) {
  const CodeList& list = basPublic.ListHissuKomCode;
  for (int n = 1; n <= list.Count && n < static_cast<int>(list.Items.size()); ++n) {
    if (list.Items[static_cast<std::size_t>(n)] == code) return true;
  }
  return false;
}

std::int16_t CheckPicked(std::int32_t row) {
  grid::Spread* spr = frmResultIn.sprResult;
  if (spr == nullptr) throw RunTimeError(kErrObjectRequired);
  if (spr->FormatAt(basPublic.ResultCol, spr->active_row()).type != grid::CellType::kComboBox) {
    return kPickNotConcerned;
  }
  std::string text = spr->TextAt(basPublic.ResultCol, row);
  if (vb::Trim(text).empty()) return kPickNotConcerned;
  const KomInfo& k = frmResultIn.ItemTable[Fnc_RowToItem(row)];
  if (!MustPickFromList(k.KomCode)) return kPickNotConcerned;

  if (vb::Len(text) > kCodeSuffixLength && vb::IsNumeric(vb::Right(text, kCodeSuffixDigits))) {
    text = vb::Left(text, vb::Len(text) - kCodeSuffixLength);
  }
  text = vb::RTrim(text);
  int n = 1;
  while (n <= frmResultIn.SyoComboCount() && frmResultIn.SyoComboLists[n].Code != k.KomCode) ++n;
  for (; n <= frmResultIn.SyoComboCount() && frmResultIn.SyoComboLists[n].Code == k.KomCode; ++n) {
    if (vb::RTrim(frmResultIn.SyoComboLists[n].Sykn) == text) return kPickedFromList;
  }
  ShowLoadWarning("「" + k.KomName + "」は" + std::string(kCrLf) + "リストから選択して下さい。");
  return kNotPickedFromList;
}

}  // namespace

bool Fnc_LookupFindingCode(Currency finding_type, std::string_view typed, std::int32_t& code_number,
                           std::string& finding, std::int16_t& judgement) {
  code_number = 0;
  finding.clear();
  judgement = 0;
  try {
    return Lookup(finding_type, typed, code_number, finding, judgement);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("所見マスタの読み込み処理でエラーが発生しました。", e);
    return false;
  }
}

std::int16_t Fnc_CheckFindingPickedFromList(std::int32_t row) {
  try {
    return CheckPicked(row);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("所見の選択必須チェック処理でエラーが発生しました。", e);
    return kPickNotConcerned;
  }
}

}  // namespace qz
