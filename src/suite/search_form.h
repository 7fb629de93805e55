// frmSearch: the examinee search screen of the search server (the window
// behind clsSearchDysp, search_dysp.h).
//
// The list lstExaminee has a header row and four columns: examinee number,
// reading, name and consultation date (yyyy/mm/dd), one row for each of
// today's consultations (the clock's date, clock.h) whose examinee is in
// the examinee master, in examinee-number order. The history is read by its
// date key QZJRK2LF and each examinee by number, so the refill reads about
// two records a row however many examinees and other days' consultations
// the files hold; where the definitions or the history file have no date
// key (an earlier release's, or a file not rebuilt since the key came), the
// history is read through and the list is the same. A list that cannot be
// read whole is never shown as the day's: the refill warns and offers no
// row. The buttons: cmdSelect "選択" (also a double click on a row), cmdNew
// "新規登録", cmdClose "閉じる" (also the close box).
//
// Choosing a row runs the on-line check of the examinee (a holder elsewhere
// is shown and the screen stays), registers the examinee in the on-line
// table and raises the choice; a failed registration keeps the screen. Each
// button that raises an event hides the screen first. Made and driven by
// ClsSearchDysp only; user-interface thread.
#ifndef QZ_SUITE_SEARCH_FORM_H_
#define QZ_SUITE_SEARCH_FORM_H_

#include <functional>
#include <string>
#include <vector>

#include "platform/grid/list_grid.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "suite/search_dysp.h"

namespace qz {

// One row of the list.
struct SearchListEntry {
  std::string ExamineeNo;        // 10 characters as stored
  std::string Kana;
  std::string Name;
  std::int32_t ConsultDate = 0;  // 0 none
};

class FrmSearch : public ui::Form {
 public:
  // `raise` receives the event of each button.
  explicit FrmSearch(std::function<void(const SearchResultRecord&)> raise);

  grid::ListGrid& lstExaminee;
  ui::CommandButton& cmdSelect;
  ui::CommandButton& cmdNew;
  ui::CommandButton& cmdClose;

  // The rows below the header, in list order.
  const std::vector<SearchListEntry>& entries() const { return entries_; }

  // Reads today's consultations and their examinees into the list, in one
  // read batch. When a file does not open or a read fails, the list stays
  // empty and a warning names the file and the status (exclamation icon,
  // the screen's caption as title), shown after the batch has ended.
  void Fill();

  void cmdSelect_Click();
  void cmdNew_Click();
  void cmdClose_Click();
  void Form_QueryUnload(int& cancel, int unload_mode);

 private:
  // Hides the screen, then raises `record`.
  void Raise(const SearchResultRecord& record);

  std::function<void(const SearchResultRecord&)> raise_;
  std::vector<SearchListEntry> entries_;
};

}  // namespace qz

#endif  // QZ_SUITE_SEARCH_FORM_H_
