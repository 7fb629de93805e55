// The external automatic judgement of the result screen (button "自動判定",
// the main form's cmdAutoJudge_Click, declared in frm_result_in.h): the
// consultation on screen, checked and recalculated, is written into the
// emptied preview work files; the suite's basic-checkup judgement program
// QZP149C.EXE and, when the consultation holds a trigger item of
// QZP149D.INI, the specific-checkup judgement program QZP149D.EXE judge it
// there while the screen waits; the result-import library QZP149B runs;
// the screen is reloaded from the results work file, and every row the
// programs wrote (updater beginning with "QZP") is followed by its group
// judgement, judgement finding and summary findings. Nothing reaches the
// stored results until the next save.
//
// The programs are started by name from the current folder, which is the
// program folder, with the argument examinee number & date "00000000" &
// "1" (& the mode for QZP149D.EXE); a program that cannot be started or
// waited for is reported and the run goes on.
//
// What the screen holds is never replaced by work files that were not
// filled: when the work files cannot be opened, or a write to them fails,
// the run ends before the programs start, and a reload whose work files do
// not open is not made. The consultation is marked as judged
// (basPublic.AutoJudgeDone) only when every program that had to run ran to
// its end. The progress window and the work files are closed whatever way
// a step ends, and a click while a run waits for its programs is ignored.
// The result screen's thread only; needs the main form and a loaded
// consultation.
#ifndef QZ_JUDGEMENT_EXTERNAL_JUDGEMENT_H_
#define QZ_JUDGEMENT_EXTERNAL_JUDGEMENT_H_

#include <cstdint>
#include <string>

namespace qz {

// Finds the trigger items among the items booked now: the item numbered
// basPublic.HokenSidouCode into frmResultIn.TriggerItemA, the one numbered
// basPublic.MetaboCode into frmResultIn.TriggerItemB (0 = none; the last
// match wins), under the progress window "データチェック中です．．．".
// False after the error report "検査結果情報のチェック処理でエラーが発生
// しました。" on a run-time error.
bool Fnc_FindTriggerItems();

// The mode character of QZP149D.EXE for the trigger items found: "0" both,
// "1" only item B, "2" only item A; "" none, and the program is not run.
std::string Fnc_SpecificJudgeMode(std::int16_t trigger_a, std::int16_t trigger_b);

// Whether item `item` (an item-table index) has a current value, by its
// kind: findings the findings text, judgement-coded a judgement other than
// 0, numeric and calculated the value (texts not blank after trimming); an
// item of another kind counts as having one.
bool Fnc_TriggerItemHasValue(std::int16_t item);

}  // namespace qz

#endif  // QZ_JUDGEMENT_EXTERNAL_JUDGEMENT_H_
