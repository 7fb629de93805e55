// The test bed of the loading steps: a suite folder built with the fixture
// kit, the masters opened through basFileAccess, a scripted shell that
// records every message box, the clock fixed, the program folder as the
// current folder (the steps read ./QZP140.INI) and a result grid for the
// column headers.
//
// A test describes its records on `suite`, then calls Open(). The
// destructor closes the masters and resets basPublic, basFileAccess,
// frmResultIn, the era table and the clock. One bed at a time.
#ifndef QZ_TESTS_LOADING_LOAD_FIXTURE_H_
#define QZ_TESTS_LOADING_LOAD_FIXTURE_H_

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kit/suite_builder.h"
#include "platform/grid/spread.h"
#include "platform/ui/scripted_shell.h"

namespace qz::testing {

// The examinee of the fixtures and the date of today's consultation.
inline constexpr std::string_view kExaminee = "0000012345";
inline constexpr int kToday = 20261209;

// The loading steps of this folder in load order, by name.
struct NamedStep {
  const char* name;
  bool (*run)();
};
const std::vector<NamedStep>& LoadSteps();

class LoadBed {
 public:
  LoadBed();
  ~LoadBed();
  LoadBed(const LoadBed&) = delete;
  LoadBed& operator=(const LoadBed&) = delete;

  // Builds the suite, points basPublic at it, opens the masters and sets
  // the examinee and consultation date of the load. Throws when a master
  // does not open.
  void Open();

  // Runs the steps from `from` on; returns the index of the first step that
  // ended the load, or -1 when all ran. `before` (when given) runs before
  // step `before_step`.
  int RunSteps(int from = 0, int before_step = -1, const std::function<void()>& before = nullptr);

  // The texts of the message boxes shown so far.
  std::vector<std::string> Boxes() const;

  // Makes every later read of record-manager file `file` (e.g.
  // "QZJRKLF.BTR") in the data folder fail with a status other than 0, 4
  // and 9, as a damaged file does.
  void DamageFile(std::string_view file) const;

  testkit::SuiteBuilder suite;
  ui::ScriptedShell shell;
  std::unique_ptr<grid::Spread> spr;

 private:
  std::string previous_cwd_;
};

// The consultation of examinee kExaminee on kToday with two earlier ones,
// its neighbours, organisation, settings and era records, courses in two
// generations, booked items and stored results. Expected contents are in
// the tests.
void AddConsultation(testkit::SuiteBuilder& b);

// The settings, era and organisation records alone.
void AddSystemRecords(testkit::SuiteBuilder& b);

}  // namespace qz::testing

#endif  // QZ_TESTS_LOADING_LOAD_FIXTURE_H_
