// The item and course catalogue of the demo data set, shared by the master
// writer and the examinee writer of demo_data.cpp. Internal to the kit.
#ifndef QZ_TESTKIT_DEMO_CATALOG_H_
#define QZ_TESTKIT_DEMO_CATALOG_H_

#include <vector>

namespace qz::testkit {
class SuiteBuilder;
}

namespace qz::testkit::demo {

inline constexpr long long kOverallItem = 9999999999LL;
inline constexpr long long kGroupItemBase = 9999999000LL;
inline constexpr int kGenDate = 20000101;  // the one generation of every master
// The findings type of every item judged against its standard range: its
// findings codes are those the judgement library answers (1 within the
// range, 2 below it, 3 above it), each with its finding and judgement.
inline constexpr int kRangeFindingsType = 501;
// The two items the specific-checkup judgement sets (QZP149D.INI
// [KENSA_NO] HOKENSIDOU and METABO), findings items of the specific
// checkup and the dock.
inline constexpr long long kHokenSidouItem = 8001;
inline constexpr long long kMetaboItem = 8002;

enum Kind { kNumeric = 1, kCalculated = 2, kFindings = 3, kGroup = 4 };

// One standard-range row: sex 0 both, 1 male, 2 female; ages inclusive.
// A low of 0 reads "以下", a high of 99999.9999 "以上".
struct Range {
  int sex;
  int from_age;
  int to_age;
  double low;
  double high;
};

struct Item {
  long long code;
  const char* name;
  const char* unit;
  int kind;
  int ngrp;    // input group
  int hjyun;   // order in the group
  int hgrp;    // decision group (999 feeds the overall judgement)
  int stype;   // digit format
  int skomcd;  // findings type, 0 none
  std::vector<Range> ranges;
};

struct Finding {
  int type;
  int tab;
  int scode;
  const char* rcode;
  const char* text;
  const char* short_text;
  int khantei;
  bool combo;
  bool title;
  bool is_default;
};

struct Course {
  long long cno;
  const char* name;
  std::vector<long long> items;  // every item, group items included
};

const std::vector<Item>& Items();
const Item* FindItem(long long code);
const std::vector<Finding>& Findings();
const Finding* FindFinding(int type, int scode);
const std::vector<Course>& Courses();
const Course& FindCourse(long long cno);

// The institution, the era table, the settings record with the five
// judgements (A 異常なし ... E 要医療) and the two report records.
void AddSettings(SuiteBuilder& b);
// One row of the findings master.
void AddFinding(SuiteBuilder& b, const Finding& f);

// The judgement code (1 A ... 5 E) of a numeric result against its range;
// 0 when the item has no range for the examinee.
int JudgeValue(const Item& item, int sex, int age, double value);
// The range row that applies, or nullptr.
const Range* RangeFor(const Item& item, int sex, int age);

}  // namespace qz::testkit::demo

#endif  // QZ_TESTKIT_DEMO_CATALOG_H_
