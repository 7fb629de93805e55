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
// and creates the search screen; the first activation starts the examinee
// cycle (command line or search screen); unloading the form in any way ends
// the program. The form refuses its close box. Every handler runs on the
// user-interface thread, with a shell installed.
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
  ui::TextBox& txtDanname;       // group (company) name
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

  // --- Window events -----------------------------------------------------
  void Form_Load();
  void Form_Activate();
  void Form_Resize();
  void Form_QueryUnload(int& cancel, int unload_mode);
  void Form_Unload(int& cancel);
  void Form_KeyDown(int& key_code, int& shift);

  // --- Buttons and check boxes -------------------------------------------
  void chkSokutei_Click();
  void chkOperation_Click();
  void chkPastDisp_Click();
  void optKirikae_Click(int index);
  void cmdSubMenu_Click();
  void cmdOpchk_Click();
  void cmdOption_Click(int index);
  void cmdChkInput_Click();
  void cmdGrpSel_Click();
  void cmdGrpJmp_Click();
  void cmdEnd_Click();
  void cmdEnd_MouseUp(int button, int shift, float x, float y);
  void cmdAgain_Click();
  void cmdPreview_Click();

  // The search screen's choice.
  void SearchDysp_SearchResult(const SearchResultRecord& result);

  // Creates the search-screen object into SearchDysp, with up to three
  // registration runs of the search server between four attempts.
  void Sub_CreateSearchDysp();
};

// The program's main form.
extern ui::FormSlot<FrmResultIn> frmResultInForm;

}  // namespace qz

#endif  // QZ_EXAMINEE_FRM_RESULT_IN_H_
