// The demo data set: a small, medically plausible checkup centre for trying
// the result-input program and for tests that want a full consultation.
//
// It holds the institution, the era table, the settings record with five
// judgements (A 異常なし ... E 要医療), two report records, two users with
// today's log-on rows for one terminal, about sixty items in five courses
// (body measurement with BMI as a calculated item, blood pressure, blood
// tests with standard ranges by sex and age, urine, chest X-ray and ECG
// findings, the group items 9999999ggg and the overall item 9999999999,
// the two levels of the specific-checkup judgement),
// the input groups, the findings masters with their combo rows and defaults,
// and five examinees, each with a consultation on `today` and two or three
// earlier ones with results; the first two have a reservation for today in
// the reservation database.
#ifndef QZ_TESTKIT_DEMO_DATA_H_
#define QZ_TESTKIT_DEMO_DATA_H_

#include <string>
#include <vector>

#include "kit/suite_builder.h"

namespace qz::testkit {

struct DemoOptions {
  std::string computer_name;  // the terminal of the log-on rows
  int today = 0;              // yyyymmdd: the current consultations and log-ons
};

// Describes the demo records on `builder` (call before or after Build).
void AddDemoData(SuiteBuilder& builder, const DemoOptions& options);

// The examinee numbers of the demo, in order.
const std::vector<std::string>& DemoExamineeNumbers();

// The date `years` years before `date` (yyyymmdd); 29 February becomes the
// 28th in a common year.
int YearsBefore(int date, int years);

}  // namespace qz::testkit

#endif  // QZ_TESTKIT_DEMO_DATA_H_
