// frmResultIn: the main form of the result-input program and the screen on
// which one examinee's consultation is entered.
//
// The form holds the controls; the tables and values of the loaded
// consultation and the form-level flags live in the state `frmResultIn`
// (loading/load_state.h), whose `sprResult` and `UnloadHook` the form points
// at itself when it is made. Code that needs a control reaches the live form
// through the slot `frmResultInForm` (`frmResultInForm->lblStatus`).
//
// Life: the program loads the form first; Form_Load runs the program start
// (a start that is refused or fails sets frmResultIn.StartFailed, the
// program's exit status 1) and creates the search screen; the first activation starts the examinee
// cycle (command line or search screen, examinee_selection.cpp); the cycle
// ends in the save, the discard or a tool (save_and_end.h); unloading the
// form in any way ends the program. The form refuses its close box.
//
// The handlers are spread over files by concern: life and layout here,
// the keyboard map (frm_result_in_keys.cpp), the buttons and check boxes
// (frm_result_in_buttons.cpp), the examinee selection, the save and end and
// the preview. Every handler runs on the user-interface thread, with a
// shell installed; each traps its run-time errors as its own contract says.
#ifndef QZ_EXAMINEE_FRM_RESULT_IN_H_
#define QZ_EXAMINEE_FRM_RESULT_IN_H_

#include <array>
#include <memory>

#include "platform/grid/spread.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"
#include "suite/search_dysp.h"

namespace qz {

class FrmResultIn : public ui::Form {
 public:
  FrmResultIn();
  ~FrmResultIn() override;

  // --- Controls ----------------------------------------------------------
  ui::Frame& fraHead;            // examinee header
  ui::TextBox& txtID;            // examinee number
  ui::TextBox& txtKana;          // reading of the name
  ui::TextBox& txtName;
  ui::TextBox& txtSex;
  ui::TextBox& txtBirth;
  ui::TextBox& txtAge;
  ui::TextBox& txtDanname;       // organisation name
  ui::TextBox& txtHassou;        // result dispatch date yyyy/mm/dd, may be empty
  grid::Spread& sprResult;       // the result grid
  ui::Label& lblStatus;          // status line; texts begin with two blanks
  ui::CommandButton& cmdEnd;       // "保存終了(F12)"
  ui::CommandButton& cmdAgain;     // "やり直し(F9)"
  ui::CommandButton& cmdPreview;   // "プレビュー(F10)"
  ui::CommandButton& cmdSearch;    // "検索(F5)"
  ui::CommandButton& cmdSubMenu;   // "サブメニュー"
  ui::CommandButton& cmdOpchk;     // "未実施検査一覧"
  ui::CommandButton& cmdChkInput;  // "未確定項目"
  ui::CommandButton& cmdGrpSel;    // "グループ選択"
  ui::CommandButton& cmdGrpJmp;    // "グループ移動"
  ui::CommandButton& cmdAutoJudge; // "自動判定"
  std::array<ui::CommandButton*, 5> cmdOption{};  // 1..4 ([0] unused)
  ui::CheckBox& chkSokutei;      // "測定区分表示"
  ui::CheckBox& chkOperation;    // "実施チェックを行う"
  ui::CheckBox& chkPastDisp;     // "全検査項目表示"
  ui::Frame& fraKirikae;         // display mode
  std::array<ui::OptionButton*, 3> optKirikae{};  // 0 "問診表示", 1 "結果表示", 2 "問診＋結果表示"
  ui::Timer& tmrSyoSearch;       // polls a modeless findings search

  // The search-screen object; null until Sub_CreateSearchDysp succeeds and
  // again after Form_Unload.
  std::unique_ptr<ClsSearchDysp> SearchDysp;
  // True while Form_Unload runs: the end of the examinee cycle it calls
  // must not unload the form a second time.
  bool UnloadRunning = false;

  // --- Window events (this file) ------------------------------------------
  // The program start: program folder, flags, close item, clsDefault, the
  // search object. A failed start unloads the form (the program ends).
  void Form_Load();
  // Companion forms follow the window state; nothing while loading.
  void Form_Resize();
  // Refuses the close box (mode 0).
  void Form_QueryUnload(int& cancel, int unload_mode);
  // The end of the program: the end of the examinee cycle (unless the load
  // is still running), closing the masters and the suite runtime, the
  // search screen; then the program ends (throws ui::EndProgram).
  void Form_Unload(int& cancel);
  // Creates the search-screen object into SearchDysp, with up to three
  // registration runs of the search server between four attempts; leaves
  // it null silently when all four fail.
  void Sub_CreateSearchDysp();

  // --- Keyboard map (frm_result_in_keys.cpp) -------------------------------
  void Form_KeyDown(int& key_code, int& shift);

  // --- Buttons and check boxes (frm_result_in_buttons.cpp) -----------------
  void chkSokutei_Click();
  void chkOperation_Click();
  void chkPastDisp_Click();
  void optKirikae_Click(int index);
  void cmdSubMenu_Click();
  // The list of the unperformed items; its end button ends the examinee
  // without saving.
  void cmdOpchk_Click();
  void cmdOption_Click(int index);
  // The unconfirmed items; its save-and-end button saves with the checks
  // of F12 and ends the examinee.
  void cmdChkInput_Click();
  void cmdGrpSel_Click();
  // Places the group-jump window beside the main form (or at the right of
  // the work area) and, unless loading, brings it to the front.
  void cmdGrpJmp_Click();

  // --- Examinee selection (examinee_selection.cpp) -------------------------
  // Starts an examinee cycle when none runs: from the command line, or by
  // showing the search screen with the command controls disabled. A
  // run-time error (no search object, a command-line date that is not a
  // number) shows "フォームのアクティブ処理でエラーが発生しました。" and
  // unloads the form: the program ends.
  void Form_Activate();
  // The search screen's choice: kind 0 loads the examinee (one without a
  // consultation date is released, and the search is shown again also when
  // the release failed), 1 refuses a
  // new registration, 9 unloads the form. A run-time error shows
  // "検索結果の戻り処理でエラーが発生しました。".
  void SearchDysp_SearchResult(const SearchResultRecord& result);
  // Sets the search object's options (OptionC 0, OptionA 3, OptionB 3) and
  // owner and shows it. Throws RunTimeError 91 when there is no search
  // object (its creation failed at the start).
  void ShowSearchScreen();

  // --- Save, discard and end (save_and_end.cpp) -----------------------------
  void cmdEnd_Click();
  // The right button asks for a save without the input checks.
  void cmdEnd_MouseUp(int button, int shift, float x, float y);
  void cmdAgain_Click();

  // --- Preview (preview.cpp) ---------------------------------------------
  // Checks the results (without the done-checks), fills the emptied preview
  // work files with the screen and shows the report selection; work files
  // that do not open stop it after their one message. Leaves
  // basPublic.PrintSelect false whichever way it ends.
  void cmdPreview_Click();

  // --- External automatic judgement (judgement/external_judgement.cpp) -----
  // Refuses while the findings search is open or the dispatch date is not a
  // date, checks every result, recalculates, has the suite's judgement
  // programs judge the consultation in the preview work files and reloads
  // the screen from them (judgement/external_judgement.h).
  void cmdAutoJudge_Click();

 private:
  void Design();
};

// The program's main form.
extern ui::FormSlot<FrmResultIn> frmResultInForm;

// The findings-search guard of the main form's buttons: when the findings
// search window is open (basPublic.SyoSearchOpen), warns
// "所見検索画面が「<item name>」で開かれています。" (exclamation, "結果入力"),
// brings the window to the front and returns true: the caller then does
// nothing else. False when no search is open; a search closed but not yet
// applied is applied first (grid/searched_row.h).
bool Fnc_FindingsSearchRefuses();

// Copies the screen values the write-back reads (chkOperation, txtHassou)
// from the main form into frmResultInSave.
void Sub_KeepSaveScreen();

// True when the program was started with a command line (App().command not
// empty after trimming).
bool Fnc_HasCommandLine();

// True while an examinee cycle holds an examinee: one has been chosen and no
// load is running (its grid may be missing after a load that failed; it
// can then be discarded). Between cycles and during a load, false.
bool Fnc_ExamineeHeld();
// True while an examinee is on screen: held, and its grid drawn. The
// handlers that work on the results (save, preview, judgement, tools) do
// nothing otherwise.
bool Fnc_ExamineeOnScreen();

}  // namespace qz

#endif  // QZ_EXAMINEE_FRM_RESULT_IN_H_
