// clsSearchDysp: the suite's examinee search screen as the result-input
// program uses it (the object of the search server). The program creates
// it once (CreateSearchDysp), sets the options and the owner window before
// each showing, calls ShowSearch (which returns while the screen stays
// open) and receives the operator's choice through the SearchResult event;
// CloseSearch closes the screen for good when the program ends.
//
// The screen (search_form.h) lists today's consultations with their
// examinees. Choosing one checks and registers the
// examinee in the on-line table, as the search server does, and raises
// SearchResult with kind 0 and the number of that row; the new-registration
// button raises kind 1 and the close button kind 9. The screen hides itself
// before it raises the event. OptionA, OptionB and OptionC are kept for the
// callers and select nothing here.
//
// User-interface thread only, with a shell installed for ShowSearch.
#ifndef QZ_SUITE_SEARCH_DYSP_H_
#define QZ_SUITE_SEARCH_DYSP_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qz {

namespace ui {
class Form;
}
class FrmSearch;

// The record of the SearchResult event.
struct SearchResultRecord {
  std::string ExamineeNo;        // the chosen examinee
  std::int32_t ConsultDate = 0;  // yyyymmdd; 0 when the examinee has none
  std::int16_t Kind = 0;         // 0 chosen, 1 new registration asked, 9 closed
  std::int16_t OnlineRen = 0;    // REN of the on-line row written for the examinee
};

// The kinds of a search result.
inline constexpr std::int16_t kSearchChosen = 0;
inline constexpr std::int16_t kSearchNewRegistration = 1;
inline constexpr std::int16_t kSearchClosed = 9;

class ClsSearchDysp {
 public:
  ClsSearchDysp();
  ~ClsSearchDysp();

  ClsSearchDysp(const ClsSearchDysp&) = delete;
  ClsSearchDysp& operator=(const ClsSearchDysp&) = delete;

  std::int16_t OptionA = 0;
  std::int16_t OptionB = 0;
  ui::Form* OwnerHwnd = nullptr;  // owner window of the screen
  std::int16_t OptionC = 0;

  // Reads the examinee list afresh and shows the screen modeless, owned by
  // OwnerHwnd; returns at once. Read failures leave the list short.
  void ShowSearch();
  // Closes the screen without an event. Safe to call when it is not open.
  void CloseSearch();

  // The SearchResult event, set by the owner. Raised from the screen's
  // button handlers.
  std::function<void(const SearchResultRecord&)> SearchResult;

 private:
  std::unique_ptr<FrmSearch> form_;  // the screen, made at the first showing
};

// Creates the search-screen object. Throws RunTimeError 429 (the object
// cannot be created) when the server cannot serve it.
std::unique_ptr<ClsSearchDysp> CreateSearchDysp();

// Makes the next `failures` creations fail (tests of the registration
// retry). 0 restores normal creation.
void SetSearchCreateFailuresForTest(int failures);

}  // namespace qz

#endif  // QZ_SUITE_SEARCH_DYSP_H_
