// A checkup centre of a chosen size, for benchmarks and tests that need a
// consultation far larger than the demo's: `items` numeric items with
// standard ranges in `groups` input groups (each group with its group
// judgement item, and the overall judgement item), courses of at most 800
// items that together book them all, and the examinee kScaledExaminee with
// a consultation today (nothing entered yet) and `earlier` earlier
// consultations, one a year,
// each with a result for every item. `others` further examinees each have
// one consultation a year back with results of a small course (the first
// 40 items), so the files hold what a centre's files hold besides the
// examinee on screen. The settings, judgements and era table are the
// demo's; the user USER01 may enter every group and is logged on at
// `computer_name` today.
#ifndef QZ_TESTKIT_SCALED_CENTRE_H_
#define QZ_TESTKIT_SCALED_CENTRE_H_

#include <string>

#include "kit/suite_builder.h"

namespace qz::testkit {

inline constexpr const char* kScaledExaminee = "0000000001";

struct ScaledCentreOptions {
  int items = 800;
  int groups = 20;
  int earlier = 5;
  int others = 1000;
  int today = 0;  // yyyymmdd
  std::string computer_name;
};

// Describes the centre on `builder` (before Build), with [SysInfo] MaxJrk
// set to show every earlier consultation.
void AddScaledCentre(SuiteBuilder& builder, const ScaledCentreOptions& options);

// The item number of item i (1-based) of a scaled centre.
long long ScaledItemCode(int i);

}  // namespace qz::testkit

#endif  // QZ_TESTKIT_SCALED_CENTRE_H_
