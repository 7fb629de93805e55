#include "loading/item_order.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "data/bas_file_access.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"

namespace qz {

namespace {

bool SortItems() {
  std::vector<KomInfo>& items = frmResultIn.ItemTable.Entries();
  std::stable_sort(items.begin(), items.end(), [](const KomInfo& a, const KomInfo& b) {
    return std::tie(a.Ngrp, a.Hjyun, a.KomCode) < std::tie(b.Ngrp, b.Hjyun, b.KomCode);
  });
  return true;
}

// The index of the item numbered `code`; the last one when several match
// (they never do), 0 when none.
std::int16_t IndexOfCode(Currency code) {
  std::int16_t found = 0;
  for (int c = 1; c <= frmResultIn.ItemCount(); ++c) {
    if (frmResultIn.ItemTable[c].KomCode == code) found = static_cast<std::int16_t>(c);
  }
  return found;
}

bool BuildCalcItems() {
  frmResultIn.CalcItems.Clear();
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    const KomInfo& item = frmResultIn.ItemTable[i];
    if (item.Ksyub != kKsyubCalculated) continue;
    CalcKomInfo calc;
    calc.Item = static_cast<std::int16_t>(i);
    for (int k = 1; k <= 3; ++k) calc.Opnd[k] = IndexOfCode(item.Ktaino[k]);
    frmResultIn.CalcItems.Append(calc);
  }
  return true;
}

bool EditInputGroups() {
  record::BtrAccess& grp = LoadObject(basFileAccess.QZGRPLFObj);
  for (int g = 1; g <= frmResultIn.InputGroupCount(); ++g) {
    NgrpInfo& group = frmResultIn.InputGroups[g];
    grp.SetField("CODE", static_cast<std::int64_t>(group.Ngrp));
    const int status = grp.GetEqual("QZGRPLF");
    const std::string number = "入力グループ番号 : " + std::to_string(group.Ngrp);
    if (status == record::kStatusNotFound) {
      return FailLoad("入力グループマスタが登録されていません。" + std::string(kCrLf) + number);
    }
    if (status != record::kStatusOk) {
      return FailLoad("入力グループマスタの読み込みに失敗しました。" + std::string(kCrLf) + number +
                      std::string(kCrLf) + StatusText(status));
    }
    group.Name = grp.GetField("NAME").ToText();
  }
  return true;
}

}  // namespace

bool Sub_SortItems() { return RunLoadStep("ソート処理でエラーが発生しました。", SortItems); }

bool Sub_BuildCalcItems() {
  return RunLoadStep("検査対象項目情報の取得処理でエラーが発生しました。", BuildCalcItems);
}

bool Sub_EditInputGroups() { return RunLoadStep("入力グループの編集処理でエラーが発生しました。", EditInputGroups); }

}  // namespace qz
