// frmSyoComb ("所見ﾏｽﾀ検索"): the findings search and combination dialog.
//
// The operator looks up the findings of one findings type in the findings
// master (by classification tab and typed code) and combines several into
// one findings text; the combination's judgement is the highest judgement
// code picked. With basPublic.SyoCombHatErase 1 a text the operator changes
// drops that judgement to 0 (caret moves change nothing, and typing back to
// the text last picked brings its judgement back). The dialog talks to its opener only through the hand-off
// globals basPublic.SyoSearch* (judgement/syo_search_handoff.h): its load
// reads the findings type, the first search text, the current text and
// judgement, the first tab and the length limit; "確定" writes back the text,
// the judgement and SyoSearchDecided; its unload clears SyoSearchOpen.
//
// After Load the form's `tag` is "1" when the dialog must not be shown: the
// type has no findings, or a numeric search text found exactly one findings
// code (a direct hit: the finding's text and judgement are then in
// SyoSearchText / SyoSearchHan and SyoSearchDecided is true, so the opener
// may apply it without showing the list; a code naming a heading (title
// row) is refused with "タイトル用所見は選択できません。" and hands nothing
// back). Otherwise the opener shows it, modal or modeless.
//
// Reads basFileAccess.QZSYO2LFObj, QZSYO3LFObj and QZOCL2LFObj, opened by the
// program start. The user-interface thread only, with a shell installed.
#ifndef QZ_JUDGEMENT_FRM_SYO_COMB_H_
#define QZ_JUDGEMENT_FRM_SYO_COMB_H_

#include <cstdint>
#include <string>

#include "platform/grid/list_grid.h"
#include "platform/grid/tab_strip.h"
#include "platform/text/currency.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

// The dialog's title, by which the opener finds it.
inline constexpr const char* kSyoCombCaption = "所見ﾏｽﾀ検索";

// Columns of the findings list flexSyoList.
enum SyoListCol : int {
  kSyoColRcode = 0,   // "略称": typed code
  kSyoColSykn = 1,    // "所見": findings text
  kSyoColScode = 2,   // findings code (hidden)
  kSyoColHan = 3,     // judgement code (hidden)
  kSyoColTitle = 4,   // "1" for a title row (hidden)
  kSyoColTcode = 5,   // tab number (hidden)
  kSyoColSort = 6,    // sort key "tt/rcode" (hidden)
  kSyoColMark = 7,    // judgement mark
  kSyoColPark = 8,    // empty; the selection rests here to hide the highlight
  kSyoColCount = 9,
};

// Twips of every row of the findings list.
inline constexpr int kSyoRowTwips = 270;

class FrmSyoComb : public ui::Form {
 public:
  FrmSyoComb();

  // --- Controls ----------------------------------------------------------
  grid::TabStrip& tabSyoList;     // classification tabs; tag = tab number, "全て" none
  grid::ListGrid& flexSyoList;    // the findings list, one header row
  ui::Frame& fraSearch;
  ui::Label& lblRCode;            // "略称："
  ui::TextBox& txtRCode;          // typed-code search text (single-byte only)
  ui::CommandButton& cmdSearch;   // "検索" (F5)
  ui::Frame& fraSyoken;
  ui::Frame& Frame1;
  ui::TextBox& txtSyoken;         // the combined findings text (no Enter)
  ui::Label& Label1;              // caret position and characters left
  ui::CommandButton& cmdDecision; // "確定" (F12)
  ui::CommandButton& cmdCancel;   // "取消" (F9)
  ui::CommandButton& cmdClose;    // "戻る"
  ui::CommandButton& cmdMaster;   // "所見マスタへ登録"

  // --- Form variables ----------------------------------------------------
  std::int32_t NextRow = 1;       // next free data row (1: the list is empty)
  std::string SearchText;         // current typed-code search text
  std::string EntryText;          // findings text at entry
  int LastTabIndex = 0;           // tab whose list is shown
  std::int16_t CombinedHan = 0;   // judgement code of the combination

  // --- Events --------------------------------------------------------------
  void Form_Load();
  void Form_KeyDown(int& key_code, int& shift);
  void Form_Unload(int& cancel);
  void cmdDecision_Click();
  void cmdCancel_Click();
  void cmdClose_Click();
  void cmdSearch_Click();
  void cmdMaster_Click();
  void tabSyoList_Click();
  void tabSyoList_KeyDown(int& key_code, int shift);
  void txtRCode_GotFocus();
  void txtRCode_KeyPress(int& key_ascii);
  void txtSyoken_KeyPress(int& key_ascii);
  void txtSyoken_KeyUp(int& key_code, int& shift);
  void txtSyoken_Change();
  void flexSyoList_GotFocus();
  void flexSyoList_LostFocus();
  void flexSyoList_KeyDown(int& key_code, int shift);
  void flexSyoList_MouseUp(int button, int shift, float x, float y);

  // --- The list (syo_comb_list.cpp) ----------------------------------------
  // Fills the list with the findings of `finding_type` whose typed code
  // begins with `search_text` (every one for an empty text) and, when
  // `tab_value` is not empty, whose tab number is its value; rows sorted by
  // tab number, then typed code. `error` is set to the record-manager
  // status when the first read fails with a status other than 0 and 9, else
  // left alone. Read errors go up as RunTimeError.
  void Sub_SearchSyoList(Currency finding_type, const std::string& search_text, std::int32_t& error,
                         const std::string& tab_value);
  // Adds the rows of findings code `code` of `finding_type` after those the
  // list holds (no reset, no sort).
  void Sub_SearchSyoCode(Currency finding_type, std::int32_t code, std::int32_t& error);
  // Appends one row at NextRow and advances it.
  void Sub_AddSyoRow(std::int32_t scode, const std::string& sykn, std::int16_t khantei,
                     const std::string& rcode, std::int16_t title, std::int16_t tcode);
  // Empties the list to its header and one empty row; clears the tag.
  void Sub_InitSyoList();
  // Builds the tabs of basPublic.SyoSearchKomCode, selects the first tab
  // and places the list below the tab rows.
  void Sub_LoadSyoTabs();

  // --- Helpers -------------------------------------------------------------
  // 1 "所見マスタが登録されていません", 3 "文字数が多すぎます。"; both beep
  // first. Other numbers show nothing.
  void Sub_ShowSyoMessage(std::int16_t number);
  // 2 when txtSyoken is longer than basPublic.SyoSearchMaxLen allows, else 0.
  std::int16_t Fnc_CheckSyokenLength() const;
  // Writes the counter line into Label1 from txtSyoken and its caret.
  void Sub_ShowCaretInfo();
  // Puts the finding of the list's current row into txtSyoken at the caret.
  void Sub_InsertPickedFinding();
  // Copies the decided text and judgement into the hand-off globals.
  void Sub_ReturnSyoken(const std::string& text, std::int16_t judgement);

  // The tag of the selected tab ("" for "全て" or no tab).
  std::string SelectedTabTag() const;

 private:
  // Selects row 1 across every column / parks the selection on the hidden
  // last column.
  void SelectFirstRow();
  void HideHighlight();
  // Searches again with SearchText and the selected tab, the list hidden
  // meanwhile; errors are swallowed and the list is shown again.
  void ResearchQuietly();
  // Raises CombinedHan to the judgement of the list's current row.
  void TakeRowJudgement();
  bool CurrentRowIsTitle() const;
  // Writes txtSyoken as the dialog's own change, not the operator's.
  void SetSyokenText(const std::string& text);

  bool settingText_ = false;
  // txtSyoken as the dialog last wrote it, and the judgement that text had
  // when the operator first changed it (kept once that happened).
  std::string writtenText_;
  std::int16_t writtenHan_ = 0;
  bool writtenHanKept_ = false;
};

extern ui::FormSlot<FrmSyoComb> frmSyoComb;

}  // namespace qz

#endif  // QZ_JUDGEMENT_FRM_SYO_COMB_H_
