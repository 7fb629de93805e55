#include "tools/function_key_tools.h"

#include <cstdint>
#include <exception>
#include <functional>

#include "examinee/frm_guide.h"
#include "examinee/frm_result_in.h"
#include "examinee/save_and_end.h"
#include "judgement/group_judgement.h"
#include "loading/group_forms.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "loading/result_cells.h"
#include "platform/ui/msgbox.h"
#include "tools/delete_results_log.h"
#include "tools/frm_hint.h"
#include "tools/frm_version.h"

namespace qz {

namespace {

// Column 2 of the group-jump list: the judgement mark of each group.
constexpr int kJumpMarkCol = 2;

void Reporting(const char* job_text, const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& e) {
    ShowLoadErrorReport(job_text, e);
  }
}

// The frame of the bulk tools: the main form hidden and the progress window
// shown while `work` runs, then the grid redrawn and the form shown again.
void BulkTool(const std::function<void()>& work) {
  FrmResultIn& form = *frmResultInForm;
  form.Hide();
  frmGuide->Show(false, &form);
  frmGuide->lblState.caption = "";
  ui::DoEvents();
  work();
  Sub_KekkaInfo();
  form.Show();
  frmGuide->Unload();
}

void SetDoneChecks(std::int16_t value) {
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) frmResultIn.ResultMatrix(i, 0).Hekbn = value;
}

void FocusGrid() { frmResultInForm->sprResult.SetFocus(); }

}  // namespace

void Sub_ClearResults() {
  Reporting("初期化処理でエラーが発生しました。", [] {
    BulkTool([] {
      for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
        KekkaData& r = frmResultIn.ResultMatrix(i, 0);
        const std::int16_t sokutei = r.Sokutei;
        r = KekkaData{};
        r.Sokutei = sokutei;
      }
      // The group and overall judgements go with the results they came
      // from: a save after the clear writes no earlier overall mark.
      for (GroupItemInfo& group : frmResultIn.GroupItems) group.Han = 0;
      FrmGrpJmp& jmp = *frmGrpJmp;
      jmp.Hide();
      for (int row = 0; row < jmp.flxGroop.rows(); ++row) jmp.flxGroop.SetTextMatrix(row, kJumpMarkCol, "");
      jmp.Show();
    });
  });
}

void Sub_ResetDoneChecks() {
  Reporting("チェックの初期化処理でエラーが発生しました。", [] { BulkTool([] { SetDoneChecks(0); }); });
}

void Sub_SetDoneChecks() {
  Reporting("チェックの変更処理でエラーが発生しました。", [] { BulkTool([] { SetDoneChecks(1); }); });
}

void Sub_RejudgeAllGroups() {
  Reporting("チェックの変更処理でエラーが発生しました。", [] {
    const ui::MsgResult answer = ui::MsgBox("チェック済みでも更新しますか？", ui::MsgButtons::kYesNoCancel,
                                            ui::MsgIcon::kNone, kResultScreenTitle);
    if (answer == ui::MsgResult::kCancel) return;
    const std::int16_t force = answer == ui::MsgResult::kYes ? kJudgeForceYes : kJudgeForceNo;
    for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
      Sub_JudgeGroup(static_cast<std::int16_t>(i), kJudgeModeEntry, force);
      if (frmResultIn.Unloaded) return;
    }
  });
}

void Sub_DeleteResultsAsk() {
  Reporting("結果の削除処理でエラーが発生しました。", [] {
    if (ui::MsgBox("結果を削除しますか？", ui::MsgButtons::kYesNo, ui::MsgIcon::kNone, kResultScreenTitle) !=
        ui::MsgResult::kYes) {
      return;
    }
    Sub_DeleteResultsWithLog(false);
    Sub_EndExaminee();
  });
}

void Sub_ShowVersion() {
  Reporting("バージョン情報の表示処理でエラーが発生しました。", [] {
    frmVersion->Show(true, frmResultInForm.loaded() ? &*frmResultInForm : nullptr);
    FocusGrid();
  });
}

void Sub_ShowHint() {
  Reporting("ヒントの表示処理でエラーが発生しました。", [] {
    frmHint->Show(true, frmResultInForm.loaded() ? &*frmResultInForm : nullptr);
    FocusGrid();
  });
}

}  // namespace qz
