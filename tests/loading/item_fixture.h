// The test bed of the item steps of a load: the steps of load_fixture.h
// (settings record to column headers) followed by the item master set-up,
// the sort, the calculated items, the summary-findings check, the input
// groups, the item rows and the result load, over one consultation of
// sixteen items in five input groups.
//
// The bed resets the display choices, the summary items and the group forms
// as well as what LoadBed resets.
#ifndef QZ_TESTS_LOADING_ITEM_FIXTURE_H_
#define QZ_TESTS_LOADING_ITEM_FIXTURE_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "kit/suite_builder.h"
#include "loading/load_fixture.h"

namespace qz::testing {

// The two earlier consultations of the item fixture, newest first.
inline constexpr int kEarlier = 20251201;
inline constexpr int kEarlier2 = 20241202;

// The item steps in load order, after LoadSteps().
const std::vector<NamedStep>& ItemSteps();

class ItemBed : public LoadBed {
 public:
  ItemBed();
  ~ItemBed();

  // Opens the bed and sets the settings and logon user of the fixture:
  // input groups 10, 20 and 40, first group 20, display class 0; summary
  // items 3002 and 8000; an auto-set rule with source 1003; item 1004 with
  // its own row colour; not-performed marks and default findings on.
  void OpenWithSettings();

  // Runs LoadSteps() and then ItemSteps() up to and including the step
  // named `last` (all when empty); `hook` (when given) runs before the item
  // step named `before`. Returns the name of the step that ended the load,
  // or "" when none did.
  std::string RunThrough(const std::string& last = "", const std::string& before = "",
                         const std::function<void()>& hook = nullptr);

  // Runs the item steps from the one named `first` through the one named
  // `last` again. Returns the name of the step that ended the load, or "".
  std::string RunItemSteps(const std::string& first, const std::string& last);
};

// Examinee kExaminee (male, born 1980-03-15: 46 on kToday, organisation
// 501) between two neighbours, with today's consultation and earlier ones
// on kEarlier and kEarlier2; courses 100 and 200 (the latter in two
// generations), items, item masters in generations, standard ranges,
// findings types 50 to 53, input groups 10 to 50 and the stored results of
// the three consultations.
void AddItemConsultation(testkit::SuiteBuilder& b);

// The item-table index of item number `code`; a test failure and 0 when
// the table has none.
std::int16_t ItemIndex(long long code);

// The row colour of item 1004.
inline constexpr std::int32_t kOwnRowColor = 0x00AABB;

}  // namespace qz::testing

#endif  // QZ_TESTS_LOADING_ITEM_FIXTURE_H_
