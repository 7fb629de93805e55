#include "grid/group_label.h"

#include "data/bas_file_access.h"
#include "grid/grid_procedure.h"
#include "loading/group_forms.h"
#include "loading/load_records.h"
#include "platform/text/vb.h"

namespace qz {

void Sub_EditGroupLabel() {
  RunGridProcedure("入力グループのラベル編集処理でエラーが発生しました。", [] {
    const std::string comment = vb::RTrim(LoadObject(basFileAccess.QZJSNLFObj).GetField("COMMENT").ToText());
    frmGrpJmp->lblInfo.caption = comment;
  });
}

}  // namespace qz
