#include "kit/scaled_centre.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "kit/demo_catalog.h"
#include "kit/demo_data.h"

namespace qz::testkit {

namespace {

constexpr int kGenDate = 20000101;
constexpr long long kFirstCourse = 11;  // the courses that together book every item
constexpr std::size_t kCourseItems = 800;
constexpr long long kSmallCourse = 2;   // the first items, for the other examinees
constexpr int kSmallCourseItems = 40;
constexpr int kFirstGroup = 101;       // input groups kFirstGroup, kFirstGroup + 1, ...
constexpr int kOverallGroup = 999;     // the decision group of the overall judgement
constexpr long long kOverallItem = 9999999999LL;
constexpr long long kGroupItemBase = 9999999000LL;
constexpr int kLastInGroup = 99;  // the order of a group's judgement item in its group

std::string Num(long long value, int digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*lld", digits, value);
  return buf;
}

// The standard range of every item: 40.0 to 60.0 (nine-digit zoned
// decimal, four implied decimals).
constexpr double kLow = 40.0, kHigh = 60.0;
std::string Zoned(double value) { return Num(static_cast<long long>(value * 10000), 9); }

// The value of item i in the consultation `years` back, and its judgement.
double ValueOf(int i, int years) { return 35.0 + (i * 7 + years * 3) % 30; }
int JudgementOf(double value) { return value < kLow || value > kHigh ? 3 : 1; }

int GroupOf(int i, const ScaledCentreOptions& o) { return (i - 1) * o.groups / o.items; }

void AddUsers(SuiteBuilder& b, const ScaledCentreOptions& o) {
  RecordInit user = {{"ID", "USER01"}, {"EXPLAIN", "検査 花子"}, {"1STGRP", kFirstGroup}};
  for (int g = 0; g <= o.groups; ++g) {
    user.push_back({"INPGRP_" + std::to_string(g + 1), g < o.groups ? kFirstGroup + g : kOverallGroup});
  }
  b.Add("QZUSRLF", user);
  b.Add("QZLOGLF", {{"REN", 1}, {"UNAME", "USER01"}, {"TNAME", o.computer_name}, {"DATE", o.today}});
}

void AddItem(SuiteBuilder& b, long long code, const std::string& name, int kind, int ngrp, int hjyun, int hgrp,
             int pjyun) {
  const bool numeric = kind == demo::kNumeric;
  b.Add("QZKOMLF", {{"CODE", code},     {"GENDATE", kGenDate},   {"HMEI", name},         {"TANI", numeric ? "mg/dL" : ""},
                    {"KSYUB", kind},     {"NGRP", ngrp},          {"HJYUN", hjyun},       {"HGRP_1", hgrp},
                    {"STYPE", numeric ? 31 : 0},                  {"JHKBN", numeric ? 1 : 0},
                    {"SKOMCD", numeric ? demo::kRangeFindingsType : 0},
                    {"PJYUN", pjyun},    {"SYOKNO", numeric ? 1 : 0},                     {"OPCHK", numeric ? "1" : "0"},
                    {"COPY", numeric ? 1 : 0}});
  if (numeric) {
    b.Add("QZHATLF", {{"CODE", code}, {"GENDATE", kGenDate}, {"REN", 1}, {"SEX", 0}, {"STNEN", 0}, {"EDNEN", 150},
                      {"STDKBN", 1}, {"STKNSA", Zoned(kLow)}, {"EDKNSA", Zoned(kHigh)}});
  }
}

// The masters: groups, items with their ranges, group and overall items,
// the courses. Returns the courses that book every item.
std::vector<long long> AddMasters(SuiteBuilder& b, const ScaledCentreOptions& o) {
  std::vector<long long> booked;
  for (int g = 0; g < o.groups; ++g) b.Add("QZGRPLF", {{"CODE", kFirstGroup + g}, {"NAME", "検査群" + std::to_string(g + 1)}});
  b.Add("QZGRPLF", {{"CODE", kOverallGroup}, {"NAME", "総合判定"}});
  // The findings the judgement of a value against its range answers.
  b.Add("QZOCL2LF", {{"ID", demo::kRangeFindingsType}, {"REN", 1}, {"NAME", "基準値判定"}, {"HJYUN", 1}});
  for (const demo::Finding& f : demo::Findings()) {
    if (f.type == demo::kRangeFindingsType) demo::AddFinding(b, f);
  }
  int pjyun = 0;
  int in_group = 0;
  for (int i = 1; i <= o.items; ++i) {
    const int g = GroupOf(i, o);
    in_group = i > 1 && GroupOf(i - 1, o) == g ? in_group + 1 : 1;
    AddItem(b, ScaledItemCode(i), "検査項目" + std::to_string(i), demo::kNumeric, kFirstGroup + g, in_group,
            g + 1, pjyun += 10);
    booked.push_back(ScaledItemCode(i));
  }
  for (int g = 0; g < o.groups; ++g) {
    AddItem(b, kGroupItemBase + g + 1, "検査群" + std::to_string(g + 1) + "判定", demo::kGroup, kFirstGroup + g,
            kLastInGroup, kOverallGroup, pjyun += 10);
    booked.push_back(kGroupItemBase + g + 1);
  }
  AddItem(b, kOverallItem, "総合判定", demo::kGroup, kOverallGroup, 1, 0, pjyun += 10);
  booked.push_back(kOverallItem);

  // A course holds at most kCourseItems items: a large consultation books
  // several.
  std::vector<long long> courses;
  for (std::size_t first = 0; first < booked.size(); first += kCourseItems) {
    const long long cno = kFirstCourse + static_cast<long long>(courses.size());
    courses.push_back(cno);
    b.Add("QZKOSLF", {{"CNO", cno}, {"GENDATE", kGenDate}, {"CNAME", "人間ドック" + std::to_string(courses.size())},
                      {"PRNO", 1}});
    for (std::size_t k = first; k < std::min(booked.size(), first + kCourseItems); ++k) {
      b.Add("QZKSKLF", {{"CNO", cno}, {"GENDATE", kGenDate}, {"REN", static_cast<int>(k - first + 1)},
                        {"CODE", booked[k]}});
    }
  }
  b.Add("QZKOSLF", {{"CNO", kSmallCourse}, {"GENDATE", kGenDate}, {"CNAME", "一般健診"}, {"PRNO", 1}});
  for (int i = 1; i <= std::min(o.items, kSmallCourseItems); ++i) {
    b.Add("QZKSKLF", {{"CNO", kSmallCourse}, {"GENDATE", kGenDate}, {"REN", i}, {"CODE", ScaledItemCode(i)}});
  }
  return courses;
}

void AddConsultation(SuiteBuilder& b, const std::string& code, int date, const std::vector<long long>& courses,
                     bool current) {
  RecordInit jko = {{"CODE", code}, {"KSYMD", date}};
  for (std::size_t n = 1; n <= courses.size(); ++n) {
    jko.push_back({"KKBN_" + std::to_string(n), 0});
    jko.push_back({"KCODE_" + std::to_string(n), courses[n - 1]});
  }
  b.Add("QZJKOLF", jko);
  b.Add("QZJRKLF", {{"CODE", code}, {"JDATE", date}, {"CNO1", courses.front()}, {"EDIT", "0"},
                    {"PRINT", current ? "0" : "1"}, {"PRYMD", current ? "" : Num(date, 8)},
                    {"JHKBN", current ? "0" : "1"}});
}

// The results of items 1..items of `code` on `date`, `years` back, with the
// group judgements and the overall one when `groups` is positive.
void AddResults(SuiteBuilder& b, const std::string& code, int date, int years, int items, int groups,
                const ScaledCentreOptions& o) {
  std::vector<int> group_han(static_cast<std::size_t>(std::max(groups, 0)), 1);
  auto result = [&](long long item, const std::string& value, int han) {
    b.Add("QZKKKLF", {{"CODE", code}, {"JDATE", date}, {"KKMKNO", item}, {"KNSACH", value}, {"HEKBN", 1},
                      {"HAN", han}, {"STNDLW", "40"}, {"STNDHI", "60"}, {"USER", "USER01"},
                      {"YMD", Num(date, 8)}, {"HMS", "101500"}});
  };
  for (int i = 1; i <= items; ++i) {
    const double v = ValueOf(i, years);
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", v);
    const int han = JudgementOf(v);
    result(ScaledItemCode(i), text, han);
    if (groups > 0) group_han[static_cast<std::size_t>(GroupOf(i, o))] = std::max(group_han[static_cast<std::size_t>(GroupOf(i, o))], han);
  }
  int overall = 1;
  for (int g = 0; g < groups; ++g) {
    result(kGroupItemBase + g + 1, "", group_han[static_cast<std::size_t>(g)]);
    overall = std::max(overall, group_han[static_cast<std::size_t>(g)]);
  }
  if (groups > 0) result(kOverallItem, "", overall);
}

}  // namespace

long long ScaledItemCode(int i) { return 100000 + i; }

void AddScaledCentre(SuiteBuilder& b, const ScaledCentreOptions& o) {
  b.SetIni("SysInfo", "MaxJrk", std::to_string(o.earlier));
  demo::AddSettings(b);
  AddUsers(b, o);
  const std::vector<long long> courses = AddMasters(b, o);
  b.Add("QZJSNLF", {{"CODE", kScaledExaminee}, {"KANA", "ﾔﾏﾀﾞ ﾀﾛｳ"}, {"NAME", "山田　太郎"}, {"SEX", 1},
                    {"BIRTH", 19700415}, {"ZNKDAT", YearsBefore(o.today, 1)}, {"IKANID", "P000100001"}});
  AddConsultation(b, kScaledExaminee, o.today, courses, true);
  for (int k = 1; k <= o.earlier; ++k) {
    const int date = YearsBefore(o.today, k);
    AddConsultation(b, kScaledExaminee, date, courses, false);
    AddResults(b, kScaledExaminee, date, k, o.items, o.groups, o);
  }
  const int small = std::min(o.items, kSmallCourseItems);
  for (int e = 1; e <= o.others; ++e) {
    const std::string code = Num(1000000 + e, 10);
    b.Add("QZJSNLF", {{"CODE", code}, {"KANA", "ｹﾝｼﾝ ｼﾞﾛｳ"}, {"NAME", "健診　次郎"}, {"SEX", 1 + e % 2},
                      {"BIRTH", 19600101 + (e % 30) * 10000}});
    const int month_back = YearsBefore(o.today, 1) / 100 * 100 - 100;  // the month before, a year back
    const int date = (month_back % 10000 < 100 ? month_back - 10000 + 1200 : month_back) + 1 + e % 28;
    AddConsultation(b, code, date, {kSmallCourse}, false);
    AddResults(b, code, date, 1, small, 0, o);
  }
}

}  // namespace qz::testkit
