// The five demo examinees with their consultations and results.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "kit/demo_catalog.h"
#include "kit/demo_data.h"

namespace qz::testkit {

namespace {

using demo::Item;

constexpr long long kEarlierOnlyItem = 3015;

struct Examinee {
  const char* code;
  const char* kana;
  const char* name;
  int sex;    // 1 male, 2 female
  int birth;  // yyyymmdd
  int kdanid;
  long long course;       // the current and earlier consultations
  long long first_course; // the oldest earlier consultation
  int earlier;            // number of earlier consultations
  const char* comment;
};

const Examinee kExaminees[] = {
    {"0000000001", "ﾔﾏﾀﾞ ﾀﾛｳ", "山田　太郎", 1, 19700415, 1, 1002, 1002, 3, ""},
    {"0000000002", "ｻﾄｳ ﾊﾅｺ", "佐藤　花子", 2, 19850922, 1, 1001, 1001, 2, ""},
    {"0000000003", "ｽｽﾞｷ ｲﾁﾛｳ", "鈴木　一郎", 1, 19581103, 2, 1003, 1003, 3, ""},
    {"0000000004", "ﾀﾅｶ ﾐｻｷ", "田中　美咲", 2, 19920131, 0, 1001, 1005, 2, ""},
    {"0000000005", "ﾀｶﾊｼ ｹﾝｼﾞ", "高橋　健二", 1, 19650707, 2, 1004, 1004, 2, "生活習慣病　経過観察中"},
};

// Today's value of each measured item for examinees 1 to 5, and how much it
// rose in a year (earlier values are lower by that much per year).
struct Measure {
  long long code;
  std::array<double, 5> now;
  double yearly;
};

const Measure kMeasures[] = {
    {1001, {171.2, 158.4, 165.0, 162.1, 175.5}, 0},
    {1002, {78.5, 51.2, 64.8, 55.0, 88.2}, 0.8},
    {1004, {92.0, 70.5, 84.0, 68.0, 98.5}, 0.6},
    {1005, {26.5, 24.8, 22.1, 26.0, 29.8}, 0.3},
    {1006, {1.0, 1.2, 0.8, 1.5, 0.9}, 0},
    {1007, {0.9, 1.2, 0.6, 1.5, 1.0}, 0},
    {2001, {142, 112, 134, 106, 156}, 2},
    {2002, {90, 70, 82, 66, 98}, 1},
    {2003, {72, 68, 64, 76, 80}, 0},
    {3001, {6.8, 5.4, 5.9, 6.1, 7.5}, 0},
    {3002, {498, 432, 452, 410, 512}, 0},
    {3003, {15.6, 12.1, 14.2, 12.8, 16.2}, 0},
    {3004, {46.2, 37.8, 42.5, 39.0, 48.0}, 0},
    {3005, {24.1, 26.5, 19.8, 28.0, 22.0}, 0},
    {3006, {32, 18, 24, 16, 48}, 1},
    {3007, {45, 14, 20, 11, 72}, 2},
    {3008, {88, 16, 38, 12, 145}, 4},
    {3021, {75, 62, 88, 55, 98}, 0},
    {3022, {0.8, 0.6, 0.9, 0.7, 1.1}, 0},
    {3018, {7.3, 7.1, 7.0, 7.4, 7.6}, 0},
    {3019, {4.4, 4.5, 4.2, 4.6, 4.5}, 0},
    {3009, {232, 188, 205, 176, 248}, 3},
    {3010, {44, 72, 58, 80, 38}, -1},
    {3011, {152, 98, 118, 92, 168}, 3},
    {3012, {198, 64, 110, 58, 285}, 6},
    {3013, {112, 88, 104, 84, 132}, 2},
    {3014, {6.2, 5.3, 5.9, 5.1, 7.1}, 0.1},
    {3015, {7.6, 4.1, 6.2, 3.6, 8.2}, 0.1},
    {3016, {0.98, 0.62, 1.12, 0.58, 1.05}, 0.02},
    {3017, {62, 85, 50, 95, 58}, -1},
    {3020, {15.2, 11.5, 19.5, 10.2, 17.0}, 0.2},
    {4005, {1.020, 1.015, 1.018, 1.012, 1.025}, 0},
    {4006, {6.0, 6.5, 5.5, 6.0, 5.5}, 0},
};

// The findings code of each findings item for examinees 1 to 5 (the same in
// every consultation).
const std::map<long long, std::array<int, 5>> kFindingChoices = {
    {1008, {1, 1, 1, 1, 1}}, {1009, {1, 1, 1, 1, 1}}, {1010, {1, 1, 2, 1, 1}}, {1011, {1, 1, 2, 1, 1}},
    {3023, {1, 1, 1, 1, 1}}, {4001, {1, 1, 1, 1, 2}}, {4002, {1, 1, 1, 1, 3}}, {4003, {1, 2, 1, 1, 1}},
    {4004, {1, 1, 1, 1, 1}}, {5001, {2, 2, 3, 2, 7}}, {6001, {1, 1, 2, 1, 4}},
    {demo::kHokenSidouItem, {1, 1, 2, 1, 3}}, {demo::kMetaboItem, {1, 1, 2, 1, 3}},
};

std::string Num(long long value, int digits) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*lld", digits, value);
  return buf;
}

std::string Fixed(double value, int stype) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*f", stype % 10, value);
  return buf;
}

double RoundTo(double value, int stype) {
  const double scale = std::pow(10.0, stype % 10);
  return std::round(value * scale) / scale;
}

std::string BoundText(double value) {
  if (value >= 99999.9999) return "99999.9999";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", value);
  return buf;
}

int AgeOn(int birth, int date) {
  int age = date / 10000 - birth / 10000;
  if (date % 10000 < birth % 10000) --age;
  return age < 0 ? 0 : age;
}

// The value of a measured item `years` before today, with a small wobble so
// that the series do not look ruled.
double ValueAt(const Measure& m, const Item& item, int e, int years) {
  const double unit = std::pow(10.0, -(item.stype % 10));
  const int wobble = years == 0 ? 0 : static_cast<int>((years * 3 + e * 5 + m.code % 7) % 5) - 2;
  return RoundTo(m.now[e] - m.yearly * years + wobble * unit * (m.code == 1001 ? 0 : 1), item.stype);
}

struct Result {
  std::string knsach;
  std::string syoken;
  int han = 0;
  std::string low, high;
};

// Every result of examinee `e` in a consultation of `course`, `years` back.
std::map<long long, Result> ResultsOf(int e, const demo::Course& course, int years, int date) {
  const Examinee& x = kExaminees[e];
  const int age = AgeOn(x.birth, date);
  std::map<long long, Result> out;
  std::map<long long, double> values;
  for (const Measure& m : kMeasures) {
    const Item* item = demo::FindItem(m.code);
    values[m.code] = ValueAt(m, *item, e, years);
  }
  const double h = values[1001] / 100;
  values[1003] = RoundTo(values[1002] / (h * h), 21);

  std::map<int, int> group_han;
  for (long long code : course.items) {
    const Item& item = *demo::FindItem(code);
    Result r;
    if (item.kind == demo::kNumeric || item.kind == demo::kCalculated) {
      const double v = values.at(code);
      r.knsach = Fixed(v, item.stype);
      r.han = demo::JudgeValue(item, x.sex, age, v);
      if (const demo::Range* g = demo::RangeFor(item, x.sex, age)) {
        r.low = BoundText(g->low);
        r.high = BoundText(g->high);
      }
    } else if (item.kind == demo::kFindings && code != 7001) {
      const demo::Finding* f = demo::FindFinding(item.skomcd, kFindingChoices.at(code)[e]);
      r.syoken = f->text;
      r.han = f->khantei;
    } else {
      continue;  // judged from the others below
    }
    if (item.hgrp > 0 && item.hgrp < 999) group_han[item.hgrp] = std::max(group_han[item.hgrp], r.han);
    out[code] = r;
  }
  int overall = 1;
  for (const auto& [g, han] : group_han) {
    out[demo::kGroupItemBase + g].han = han;
    overall = std::max(overall, han);
  }
  out[demo::kOverallItem].han = overall;
  const int summary = overall == 1 ? 1 : overall <= 3 ? 2 : overall == 4 ? 3 : 4;
  const demo::Finding* f = demo::FindFinding(901, summary);
  out[7001].syoken = f->text;
  out[7001].han = f->khantei;
  return out;
}

void AddResult(SuiteBuilder& b, const Examinee& x, int date, long long code, const Result& r, bool done,
               const char* user, const char* hms) {
  b.Add("QZKKKLF", {{"CODE", x.code}, {"JDATE", date}, {"KKMKNO", code}, {"KNSACH", r.knsach},
                    {"SYOKEN", r.syoken}, {"HEKBN", done ? 1 : 0}, {"HAN", r.han}, {"STNDLW", r.low},
                    {"STNDHI", r.high}, {"USER", user}, {"YMD", Num(date, 8)}, {"HMS", hms}});
}

void AddConsultation(SuiteBuilder& b, const Examinee& x, int date, long long course, bool current,
                     long long single_item) {
  RecordInit jko = {{"CODE", x.code}, {"KSYMD", date}, {"KKBN_1", 0}, {"KCODE_1", course}};
  if (single_item != 0) jko.insert(jko.end(), {{"KKBN_2", 1}, {"KCODE_2", single_item}});
  b.Add("QZJKOLF", jko);
  b.Add("QZJRKLF", {{"CODE", x.code}, {"JDATE", date}, {"CNO1", course},
                    {"KDANID", x.kdanid == 0 ? std::string() : Num(x.kdanid, 10)},
                    {"EDIT", "0"}, {"PRINT", current ? "0" : "1"}, {"PRYMD", current ? "" : Num(date, 8)},
                    {"JHKBN", current ? "0" : "1"}});
}

}  // namespace

void AddDemoExaminees(SuiteBuilder& b, const DemoOptions& o);

const std::vector<std::string>& DemoExamineeNumbers() {
  static const std::vector<std::string> numbers = [] {
    std::vector<std::string> v;
    for (const Examinee& x : kExaminees) v.emplace_back(x.code);
    return v;
  }();
  return numbers;
}

void AddDemoExaminees(SuiteBuilder& b, const DemoOptions& o) {
  b.Add("QZDANLF", {{"KDANID", 1}, {"NAME", "株式会社さくら商事"}});
  b.Add("QZDANLF", {{"KDANID", 2}, {"NAME", "さくら市役所"}});

  for (int e = 0; e < 5; ++e) {
    const Examinee& x = kExaminees[e];
    b.Add("QZJSNLF", {{"CODE", x.code}, {"KANA", x.kana}, {"NAME", x.name}, {"SEX", x.sex},
                      {"BIRTH", x.birth}, {"KDANID", x.kdanid}, {"ZNKDAT", YearsBefore(o.today, 1)},
                      {"IKANID", "P" + Num(100000 + e + 1, 9)}, {"COMMENT", x.comment}});

    // The current consultation: body measurement and blood pressure taken
    // this morning for the first three, nothing yet for the others.
    const demo::Course& course = demo::FindCourse(x.course);
    AddConsultation(b, x, o.today, x.course, true, e == 1 ? 3014 : 0);
    if (e < 3) {
      const auto now = ResultsOf(e, course, 0, o.today);
      for (long long code : {1001LL, 1002LL, 1003LL, 1004LL, 2001LL, 2002LL, 2003LL}) {
        AddResult(b, x, o.today, code, now.at(code), false, "USER01", "091500");
      }
    }
    for (int k = 1; k <= x.earlier; ++k) {
      const int date = YearsBefore(o.today, k);
      const long long cno = k == x.earlier ? x.first_course : x.course;
      // The fourth examinee had uric acid taken once as a single item: an
      // item that only an earlier consultation has.
      const long long single = e == 3 && k == x.earlier ? kEarlierOnlyItem : 0;
      AddConsultation(b, x, date, cno, false, single);
      for (const auto& [code, r] : ResultsOf(e, demo::FindCourse(cno), k, date)) {
        const demo::Item* item = demo::FindItem(code);
        const bool doctor = item->kind == demo::kGroup || code == 7001;
        AddResult(b, x, date, code, r, true, doctor ? "USER02" : "USER01", doctor ? "163000" : "101500");
      }
      if (single != 0) {
        AddResult(b, x, date, single, ResultsOf(e, demo::FindCourse(1002), k, date).at(single), true, "USER01",
                  "101500");
      }
    }
  }
  // An insurer reception number and an exam ticket for the consultations of today.
  b.Add("QZCARLF", {{"CODE", "0000000003"}, {"DATE", o.today}, {"REN", 1}, {"SEIKAN", "1300012345"}});
  b.Add("QZJKRLF", {{"CODE", "0000000005"}, {"DATE", o.today}, {"REN", 1}, {"JSNO", "26012345678"},
                    {"JSDATE", o.today}});
}

}  // namespace qz::testkit
