#include "judgement/default_finding.h"

#include <exception>

#include "data/bas_file_access.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"

namespace qz {

namespace {

constexpr int kPlainRow = 0;  // TITLE of a row that is no heading
constexpr int kDefaultRow = 1;

bool FindDefault(Currency finding_type) {
  record::BtrAccess& syo = LoadObject(basFileAccess.QZSYO2LFObj);
  syo.SetField("CODE", finding_type);
  syo.SetField("RCODE", "");
  int status = syo.GetGreaterOrEqual("QZSYO2LF");
  while (status == record::kStatusOk) {
    if (syo.GetField("CODE").ToCurrency() != finding_type) return false;
    if (syo.GetField("TITLE").ToInt() == kPlainRow && syo.GetField("DEFAULT").ToInt() == kDefaultRow) {
      return true;
    }
    status = syo.GetNext();
  }
  return false;
}

}  // namespace

bool Fnc_GetDefaultFindingCode(Currency finding_type) {
  try {
    return FindDefault(finding_type);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("所見マスタのデフォルト値取得処理でエラーが発生しました。", e);
    return false;
  }
}

}  // namespace qz
