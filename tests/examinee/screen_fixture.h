// The test bed of the result screen as the operator meets it: the program
// start world of start_fixture.h with the demo data (five examinees, today
// 2026-12-09, log-on rows of this terminal), the real main form started by
// showing it, and helpers to reach a loaded examinee and to read the
// on-line table back.
//
// Every form slot and the program state are reset when the bed ends; the
// masters are closed if the program did not end itself.
#ifndef QZ_TESTS_EXAMINEE_SCREEN_FIXTURE_H_
#define QZ_TESTS_EXAMINEE_SCREEN_FIXTURE_H_

#include <functional>
#include <string>
#include <vector>

#include "data/record_layouts.h"
#include "examinee/frm_result_in.h"
#include "examinee/start_fixture.h"
#include "platform/record/btr_access.h"

namespace qz::test {

// One row of the on-line table.
struct OnlineRow {
  int ren;
  std::string examinee;  // JYUNO, trailing blanks removed
  std::string terminal;
  int job;
};

class ScreenTest : public StartTest {
 protected:
  ScreenTest();
  ~ScreenTest() override;

  // Builds the demo suite (call after changing suite_ or the INI); the
  // program folder becomes the current one and App().path. [SysInfo]
  // AutoPastCopy is 0 unless ini_set_auto_copy_.
  void BuildDemo();
  bool ini_set_auto_copy_ = false;
  // Builds the scaled centre (kit/scaled_centre.h) of `items` items and
  // `others` other examinees, today's consultation of its examinee booked,
  // [SysInfo] AutoPastCopy 0.
  void BuildScaledCentre(int items, int others);
  // Starts the program with `command` as its command line: shows the main
  // form and runs the script queued so far. Returns whether the program
  // goes on.
  bool Start(const std::string& command = "");
  // Starts without a command line and chooses the search-screen row of
  // `examinee` on `date` (the screen lists today's consultations). Returns
  // whether the program goes on.
  bool StartAndChoose(const std::string& examinee, int date);
  // Chooses that row on the search screen on view.
  bool Choose(const std::string& examinee, int date);
  // Runs `step` through the shell; returns whether the program goes on.
  bool Drive(const std::function<void()>& step);

  FrmResultIn& form() { return *frmResultInForm; }
  // The rows of the on-line table, by REN.
  std::vector<OnlineRow> OnlineRows() const;
  // Adds a row of another program to the on-line table.
  void AddOnlineRow(int ren, const std::string& examinee, const std::string& terminal);
  // The stored results of `examinee` on `date` as "<item>=<value>" (value
  // trimmed), in item order.
  std::vector<std::string> StoredResults(const std::string& examinee, int date) const;
  // The fields `fields` of the stored result of item `item` of `examinee`
  // on `date`, as "<FIELD>=<text>" joined by blanks, each text as stored
  // (blanks kept); "" when there is no such record.
  std::string StoredResult(const std::string& examinee, int date, long long item,
                           const std::vector<std::string>& fields) const;
  // Field `field` of the history row of `examinee` on `date` as stored;
  // "" when there is no such row.
  std::string StoredHistoryField(const std::string& examinee, int date, const std::string& field) const;
  // The number of records in `layout`'s file (data or work folder).
  int CountRecords(const data::FileLayout& layout) const;
  // The index in the item table of item number `code`; 0 when none.
  static int ItemIndex(long long code);
  // Whether a form of that name has been shown so far.
  bool WasShown(const std::string& name) const;
  // Whether the search screen is on view.
  bool SearchShown() const;
  // The list row of the search screen for `examinee` on `date`, or -1.
  int SearchRow(const std::string& examinee, int date) const;
  // The texts of the message boxes so far.
  std::vector<std::string> Boxes() const;

 private:
  // Opens `layout`'s file of the built tree with its fields declared.
  bool OpenTable(record::BtrAccess& obj, const data::FileLayout& layout) const;
  // Calls `visit` on every record of `layout`'s file in key order.
  void ForEachRecord(const data::FileLayout& layout,
                     const std::function<void(const record::BtrAccess&)>& visit) const;
};

}  // namespace qz::test

#endif  // QZ_TESTS_EXAMINEE_SCREEN_FIXTURE_H_
