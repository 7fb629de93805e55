#include "grid/last_write.h"

#include "grid/grid_procedure.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"

namespace qz {

std::string Fnc_FormatLastWrite(std::int16_t item) {
  std::string text;
  RunGridProcedure("最終書き込みデータの編集処理でエラーが発生しました。", [&] {
    const KekkaData& result = frmResultIn.ResultMatrix(item, 0);
    if (vb::Trim(result.User).empty()) return;
    const std::string d = std::to_string(result.Ymd);
    const std::string t = vb::Format(result.Hms, "000000");
    text = vb::Left(d, 4) + "/" + vb::Mid(d, 5, 2) + "/" + vb::Right(d, 2) + " " + vb::Left(t, 2) + ":" +
           vb::Mid(t, 3, 2) + ":" + vb::Right(t, 2);
  });
  return text;
}

}  // namespace qz
