#include "judgement/default_findings_set.h"

#include <exception>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "grid/item_row_map.h"
#include "grid/typed_entry.h"
#include "judgement/default_finding.h"
#include "loading/load_messages.h"
#include "loading/load_records.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"

namespace qz {
namespace {

constexpr int kKeyReturn = 13;

bool Wanted(int n) {
  const KomInfo& k = frmResultIn.ItemTable[n];
  if (k.Ksyub != kKsyubFindings || k.Skomcd == Currency(0) || k.Past != kPastBookedNow || !k.Editable) return false;
  const KekkaData& r = frmResultIn.ResultMatrix(n, 0);
  return r.Hekbn != 1 && vb::Trim(r.Syoken).empty();
}

void SetDefaults() {
  for (int n = 1; n <= frmResultIn.ItemCount(); ++n) {
    if (!Wanted(n)) continue;
    const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(n));
    if (line == 0) continue;
    if (!Fnc_GetDefaultFindingCode(frmResultIn.ItemTable[n].Skomcd)) continue;
    grid::Spread* spr = frmResultIn.sprResult;
    if (spr == nullptr) throw RunTimeError(kErrObjectRequired);
    const std::int32_t row = Fnc_ItemToRow(line);
    spr->SetText(basPublic.SyoCodeCol, row, FieldRTrim(LoadObject(basFileAccess.QZSYO2LFObj), "RCODE"));
    spr->col = basPublic.SyoCodeCol;
    spr->row = row;
    spr->SetAction(grid::kActionActiveCell);
    // The code is entered as typed, whatever the item's class; only a
    // finding that went in moves the cursor on, as Enter does after it.
    if (Fnc_ProcessFindingCodeEntry(row) != kEntryProcessed) continue;
    int key = kKeyReturn;
    if (spr->on_key_down) spr->on_key_down(key, 0);
  }
}

}  // namespace

void Sub_AutoSetDefaultFindings() {
  try {
    SetDefaults();
  } catch (const std::exception& e) {
    ShowLoadErrorReport("所見のデフォルト値自動セット処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
