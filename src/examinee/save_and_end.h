// The end of an examinee cycle on the result screen: the save decision
// (Fnc_SaveResults) and the end processing (Sub_EndExaminee), with the
// buttons that lead to them (cmdEnd, its right button, cmdAgain; members of
// the main form, frm_result_in.h).
//
// A cycle ends saved and ended (保存終了, F12), saved without the input
// checks (right button on 保存終了), discarded (やり直し, F9), or from a tool
// or dialog that calls Sub_EndExaminee. Afterwards the search screen comes
// back, or the program ends when it was started with a command line. A value
// still being typed into the grid when 保存終了 runs (F12 leaves the focus
// there) is entered first; one that is refused stops the save.
//
// User-interface thread only, with the main form made (frmResultInForm).
#ifndef QZ_EXAMINEE_SAVE_AND_END_H_
#define QZ_EXAMINEE_SAVE_AND_END_H_

namespace qz {

// Saves the examinee on screen after its checks: the findings-search guard,
// the dispatch date (empty or a valid date), the result checks (the
// done-checks unless frmResultIn.ForceSave), the confirmation list when
// basPublic.DecisionCheck asks for it, the delete list and the write-back.
//
// Returns true when the cycle may end: saved, or nothing to save (no
// result on screen and none stored). False after any refusal, a Back in
// one of the dialogs, a write-back that failed (reported and undone), or a
// run-time error (its report "結果の保存処理でエラーが発生しました。"
// shown); the examinee then stays on screen with every entry. Always leaves
// frmResultIn.ForceSave false. The screen takes no input while it runs.
bool Fnc_SaveResults();

// Fnc_SaveResults for the save and end of the unconfirmed-items list: the
// same checks, without showing the list again.
bool Fnc_SaveConfirmedResults();

// Ends the examinee cycle: hides the main form, releases the on-line row
// held (and forgets its number, so that no later end releases a row that
// another terminal may have been given since), closes the group windows
// and the findings search, clears the header, hides the grid and shows the
// form again at the top left of the work area. A release that fails (its
// message shown) stops the processing there and gives the screen back as
// loaded (frmResultIn.ReturnToSearch false: typed values count again). Then, without a command line,
// the next activation shows the search screen; with one, the main form is
// unloaded and the program ends. Each step runs even when the one before it
// raised a run-time error. The screen takes no input meanwhile.
void Sub_EndExaminee();

}  // namespace qz

#endif  // QZ_EXAMINEE_SAVE_AND_END_H_
