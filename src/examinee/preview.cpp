#include "examinee/preview.h"

#include <exception>
#include <string>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "examinee/result_check.h"
#include "examinee/update_masters.h"
#include "grid/grid_edit_events.h"
#include "loading/load_messages.h"
#include "platform/text/vb.h"
#include "platform/ui/work_in_progress.h"
#include "suite/qzpclr.h"
#include "tools/frm_qzp_print.h"

namespace qz {

namespace {

constexpr std::size_t kClearAreaLength = 10;

// Clears basPublic.PrintSelect when the preview returns, whichever way: a
// refused preview must not leave the selection asked for the next one.
struct PrintSelectReset {
  ~PrintSelectReset() { basPublic.PrintSelect = false; }
};

}  // namespace

bool Fnc_ClearPreviewFile(std::string_view work_file, std::string_view failure_text) {
  std::string area(work_file);
  area.resize(kClearAreaLength, ' ');
  suite::QZPCLR(area);
  if (area.substr(8, 2) == "00") return true;
  ShowLoadWarning(std::string(failure_text) + "\r\nLNK AREA : " + area);
  return false;
}

bool Fnc_WorkFileRunRefuses(FrmResultIn& form) {
  if (Fnc_FindingsSearchRefuses()) return true;
  if (!form.txtHassou.text().empty() && !vb::IsDate(form.txtHassou.text())) {
    ShowLoadWarning("結果発送日が正しくありません。");
    form.txtHassou.SetFocus();
    return true;
  }
  return false;
}

void FrmResultIn::cmdPreview_Click() {
  PrintSelectReset reset;
  if (!Fnc_ExamineeOnScreen()) return;
  ui::WorkInProgress busy;
  try {
    // F10 leaves the focus on the grid: a value still being typed is
    // entered first, and one refused stops the preview.
    if (!Fnc_EnterEditedCell()) return;
    if (Fnc_WorkFileRunRefuses(*this)) return;
    bool save_needed = false;
    if (!Fnc_CheckResultsBeforeSave(false, save_needed)) return;
    if (!Fnc_ClearPreviewFile("QJKKKLF", "プレビュー用検査結果マスタの初期化に失敗しました。")) return;
    if (!Fnc_ClearPreviewFile("QJJRKLF", "プレビュー用受診歴マスタの初期化に失敗しました。")) return;
    // Work files that do not open stop the preview with their one message:
    // nothing can be written into them.
    if (!Sub_OpenPreviewFiles()) {
      Sub_ClosePreviewFiles();
      return;
    }
    Sub_KeepSaveScreen();
    const bool written = Fnc_WriteWorkFiles();
    Sub_ClosePreviewFiles();
    // A write that failed has been reported and undone: no report of a
    // half-filled work file; the screen keeps everything.
    if (!written) return;
    SetEnabled(false);
    frmQZPprint->Show(true, this);
    SetEnabled(true);
    basPublic.PrintSelect = false;
    sprResult.SetFocus();
  } catch (const std::exception& e) {
    ShowLoadErrorReport("プレビューボタンのクリック処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
