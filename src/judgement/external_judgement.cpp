#include "judgement/external_judgement.h"

#include <exception>
#include <string>

#include "data/bas_file_access.h"
#include "data/create_process.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "examinee/frm_result_in.h"
#include "examinee/preview.h"
#include "examinee/result_check.h"
#include "examinee/save_screen.h"
#include "examinee/update_masters.h"
#include "grid/screen_reload.h"
#include "judgement/calc_items.h"
#include "judgement/group_judgement.h"
#include "judgement/judgement_finding.h"
#include "judgement/summary_auto_set.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/work_in_progress.h"
#include "suite/qzp149b.h"

namespace qz {

namespace {

constexpr std::int32_t kWaitSliceMs = 100;
constexpr std::string_view kExternalUserPrefix = "QZP";

// The preview work files stay open only inside one step; whatever way the
// step ends, they are closed again.
struct PreviewFilesOpen {
  bool ok = Sub_OpenPreviewFiles();
  ~PreviewFilesOpen() { Sub_ClosePreviewFiles(); }
};

// The progress window of one step, unloaded whatever way the step ends.
struct GuideShown {
  GuideShown(std::string_view guide, std::string_view state) {
    frmGuide->Show(false, SaveOwnerForm());
    frmGuide->lblGuide.caption = std::string(guide);
    frmGuide->lblGage.width = 0;
    ui::DoEvents();
    frmGuide->lblState.caption = std::string(state);
  }
  ~GuideShown() { frmGuide->Unload(); }
};

// The argument of both judgement programs: examinee number, date, "1".
std::string ProgramArgument() {
  return basPublic.ExamineeNo + vb::FormatInteger(basPublic.ConsultDate, "00000000") + "1";
}

// Runs `program` with `argument` and waits for it; true when it ran to its
// end (a failed start or wait has been reported by Sub_CreateProcess).
bool RunJudgementProgram(std::string_view program, const std::string& argument) {
  return Sub_CreateProcess(0, program, argument, kWaitSliceMs).finished();
}

bool WrittenByJudgementPrograms(const KekkaData& r) { return r.User.rfind(kExternalUserPrefix, 0) == 0; }

// Writes the consultation on screen into the emptied work files. False when
// they could not be opened or a write failed (reported and undone).
bool FillWorkFiles() {
  PreviewFilesOpen files;
  if (!files.ok) return false;
  Sub_KeepSaveScreen();
  return Fnc_WriteWorkFiles();
}

// Runs the judgement programs and the import library under the progress
// window. True when every program that had to run ran to its end.
bool RunJudgement() {
  GuideShown guide("自動判定中です．．．", "基本健診の判定中です．．．");
  ui::DoEvents();
  bool judged = RunJudgementProgram("QZP149C.EXE", ProgramArgument());
  const std::string mode = Fnc_SpecificJudgeMode(frmResultIn.TriggerItemA, frmResultIn.TriggerItemB);
  if (!mode.empty()) {
    frmGuide->lblState.caption = "特健の判定中です．．．";
    ui::DoEvents();
    if (!RunJudgementProgram("QZP149D.EXE", ProgramArgument() + mode)) judged = false;
  }
  frmGuide->lblState.caption = "結果取り込みカスタマイズの実行中です．．．";
  ui::DoEvents();
  std::string area = basPublic.ExamineeNo;
  area.resize(10, ' ');
  area += vb::FormatInteger(basPublic.ConsultDate, "00000000") + "1";
  suite::QZP149B(area);
  return judged;
}

// Reloads the screen from the results work file. False when the work files
// could not be opened (the screen then keeps what it shows).
bool ReloadFromWorkFile() {
  PreviewFilesOpen files;
  if (!files.ok) return false;
  Sub_ReloadScreen(true, "QJKKKLF", false);
  return !frmResultIn.Unloaded;
}

// Every row the judgement programs wrote: its group judgement, judgement
// finding and summary findings.
void FollowExternalJudgements() {
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    if (!WrittenByJudgementPrograms(frmResultIn.ResultMatrix(i, 0))) continue;
    const auto item = static_cast<std::int16_t>(i);
    Sub_JudgeGroup(item, kJudgeModeExternal, kJudgeForceNo);
    Sub_SetJudgementFinding(item);
    Sub_AutoSetSummaryFindings(item);
    if (frmResultIn.Unloaded) return;
  }
}

void MarkAutoJudgeDone() {
  const std::int16_t a = frmResultIn.TriggerItemA;
  const std::int16_t b = frmResultIn.TriggerItemB;
  if (Fnc_SpecificJudgeMode(a, b).empty()) {
    basPublic.AutoJudgeDone = true;
    return;
  }
  if (a != 0 && !Fnc_TriggerItemHasValue(a)) return;
  if (b != 0 && !Fnc_TriggerItemHasValue(b)) return;
  basPublic.AutoJudgeDone = true;
}

}  // namespace

bool Fnc_FindTriggerItems() {
  try {
    frmResultIn.TriggerItemA = 0;
    frmResultIn.TriggerItemB = 0;
    GuideShown guide("データチェック中です．．．", "処理中です．．．");
    const int count = frmResultIn.ItemCount();
    for (int i = 1; i <= count; ++i) {
      frmGuide->SetGauge(i, count);
      const KomInfo& item = frmResultIn.ItemTable[i];
      if (item.Past != kPastBookedNow) continue;
      if (item.KomCode == basPublic.HokenSidouCode) frmResultIn.TriggerItemA = static_cast<std::int16_t>(i);
      if (item.KomCode == basPublic.MetaboCode) frmResultIn.TriggerItemB = static_cast<std::int16_t>(i);
    }
    return true;
  } catch (const std::exception& e) {
    ShowLoadErrorReport("検査結果情報のチェック処理でエラーが発生しました。", e);
    return false;
  }
}

std::string Fnc_SpecificJudgeMode(std::int16_t trigger_a, std::int16_t trigger_b) {
  if (trigger_a != 0 && trigger_b != 0) return "0";
  if (trigger_b != 0) return "1";
  if (trigger_a != 0) return "2";
  return "";
}

bool Fnc_TriggerItemHasValue(std::int16_t item) {
  const KekkaData& r = frmResultIn.ResultMatrix(item, 0);
  switch (frmResultIn.ItemTable[item].Ksyub) {
    case kKsyubFindings:
      return !vb::Trim(r.Syoken).empty();
    case kKsyubGroupJudgement:
      return r.Han != 0;
    case kKsyubNumeric:
    case kKsyubCalculated:
      return !vb::Trim(r.Knsach).empty();
    default:
      return true;
  }
}

void FrmResultIn::cmdAutoJudge_Click() {
  if (!Fnc_ExamineeOnScreen()) return;
  // The waits for the programs yield to window events: until the run and
  // its follow-ups have ended, the screen takes no input (a second click
  // would start a second run over the same work files, a typed value would
  // be overwritten by the reload).
  ui::WorkInProgress busy;
  try {
    if (Fnc_WorkFileRunRefuses(*this)) return;
    bool save_needed = false;
    if (!Fnc_CheckResultsBeforeSave(false, save_needed)) return;
    Sub_RecalcAllItems();
    if (frmResultIn.Unloaded) return;
    if (!Fnc_FindTriggerItems()) return;
    if (!Fnc_ClearPreviewFile("QJKKKLF", "プレビュー用検査結果マスタの初期化に失敗しました。")) return;
    if (!Fnc_ClearPreviewFile("QJJRKLF", "プレビュー用受診歴マスタの初期化に失敗しました。")) return;
    if (!FillWorkFiles()) return;
    const bool judged = RunJudgement();
    if (!ReloadFromWorkFile()) return;
    FollowExternalJudgements();
    if (frmResultIn.Unloaded) return;
    if (judged) MarkAutoJudgeDone();
  } catch (const std::exception& e) {
    ShowLoadErrorReport("プレビューボタンのクリック処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
