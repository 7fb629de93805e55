// clsSearchDysp: the suite's examinee search screen as the result-input
// program uses it. The program sets the options and the owner window, calls
// ShowSearch (which returns while the screen stays open) and receives the
// operator's choice through the SearchResult event; CloseSearch closes the
// screen for good.
//
// The screen lists the examinees of the examinee master with their
// consultation dates. Choosing one registers it in the on-line table as the
// search server's own row and raises SearchResult with kind 0 and that row's
// number; closing it raises kind 9. User-interface thread only.
#ifndef QZ_SUITE_SEARCH_DYSP_H_
#define QZ_SUITE_SEARCH_DYSP_H_

#include <cstdint>
#include <functional>
#include <string>

namespace qz {

namespace ui {
class Form;
}

// The record of the SearchResult event.
struct SearchResultRecord {
  std::string ExamineeNo;        // the chosen examinee
  std::int32_t ConsultDate = 0;  // yyyymmdd; 0 when the examinee has none
  std::int16_t Kind = 0;         // 0 chosen, 1 new registration asked, 9 closed
  std::int16_t OnlineRen = 0;    // REN of the on-line row written for the examinee
};

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

  // Shows the screen modeless and returns at once.
  void ShowSearch();
  // Closes the screen (without an event).
  void CloseSearch();

  // The SearchResult event, set by the owner.
  std::function<void(const SearchResultRecord&)> SearchResult;
};

}  // namespace qz

#endif  // QZ_SUITE_SEARCH_DYSP_H_
