// The main course of a consultation booked with all 40 course slots.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "loading/load_fixture.h"
#include "loading/load_state.h"

namespace qz::testing {
namespace {

constexpr int kFirstCourse = 101;
constexpr int kCourseGen = 20200100;  // course 100 + n has generation 20200100 + n

// Today books courses 101..140, each with its own item 3000 + n; PCODE is
// `pcode`. Course 500 is in the course master but not booked. One earlier
// consultation books course 200 with item 2001.
void AddFortyCourses(testkit::SuiteBuilder& b, const std::string& pcode) {
  AddSystemRecords(b);
  const std::string me(kExaminee);
  b.Add("QZJSNLF", {{"CODE", me}, {"NAME", "四十"}, {"SEX", 1}, {"BIRTH", 19600101}});
  b.Add("QZJRKLF", {{"CODE", me}, {"JDATE", kToday}, {"CNO1", kFirstCourse}});
  b.Add("QZJRKLF", {{"CODE", me}, {"JDATE", 20251201}, {"CNO1", 200}});
  testkit::RecordInit today = {{"CODE", me}, {"KSYMD", kToday}, {"PCODE", pcode}};
  for (int n = 1; n <= kCourseSlots; ++n) {
    const int cno = 100 + n;
    today.push_back({"KKBN_" + std::to_string(n), 0});
    today.push_back({"KCODE_" + std::to_string(n), cno});
    b.Add("QZKOSLF", {{"CNO", cno}, {"GENDATE", kCourseGen + n}, {"CNAME", "コース" + std::to_string(cno)},
                      {"PRNO", n}});
    b.Add("QZKSKLF", {{"CNO", cno}, {"GENDATE", kCourseGen + n}, {"REN", 1}, {"CODE", 3000 + n}, {"NGRP", 1}});
  }
  b.Add("QZJKOLF", today);
  b.Add("QZJKOLF", {{"CODE", me}, {"KSYMD", 20251201}, {"KKBN_1", 0}, {"KCODE_1", 200}});
  b.Add("QZKOSLF", {{"CNO", 200}, {"GENDATE", 20200101}, {"CNAME", "前回コース"}, {"PRNO", 60}});
  b.Add("QZKSKLF", {{"CNO", 200}, {"GENDATE", 20200101}, {"REN", 1}, {"CODE", 2001}, {"NGRP", 2}});
  b.Add("QZKOSLF", {{"CNO", 500}, {"GENDATE", 20190101}, {"CNAME", "主コース"}, {"PRNO", 50}});
}

TEST(MainCourse, PutsThePcodeFirstAndKeepsFortySlotsWithTheirGenerations) {
  struct Case {
    const char* pcode;
    std::vector<int> courses;  // expected slots 1..40
    std::vector<int> gens;
    std::int16_t report_code;
  };
  std::vector<int> booked, booked_gens;
  for (int n = 1; n <= kCourseSlots; ++n) {
    booked.push_back(100 + n);
    booked_gens.push_back(kCourseGen + n);
  }
  // Not booked: it goes first without a generation and the last course is
  // cut. Booked in slot 20: it moves to slot 1 with its generation.
  std::vector<int> c500 = {500}, g500 = {0};
  c500.insert(c500.end(), booked.begin(), booked.end() - 1);
  g500.insert(g500.end(), booked_gens.begin(), booked_gens.end() - 1);
  std::vector<int> c120 = {120}, g120 = {kCourseGen + 20};
  for (int n = 1; n <= kCourseSlots; ++n) {
    if (n == 20) continue;
    c120.push_back(100 + n);
    g120.push_back(kCourseGen + n);
  }
  const std::vector<Case> cases = {
      {"500", c500, g500, 50},
      {"120", c120, g120, 20},
      {"101", booked, booked_gens, 1},
      {"", booked, booked_gens, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("PCODE ") + c.pcode);
    LoadBed bed;
    AddFortyCourses(bed.suite, c.pcode);
    bed.Open();
    ASSERT_EQ(bed.RunSteps(), -1);
    EXPECT_TRUE(bed.Boxes().empty());
    for (int s = 1; s <= kCourseSlots; ++s) {
      EXPECT_EQ(frmResultIn.CourseCodes[s], Currency(c.courses[static_cast<std::size_t>(s - 1)])) << s;
      EXPECT_EQ(frmResultIn.CourseGenDates[s], c.gens[static_cast<std::size_t>(s - 1)]) << s;
    }
    EXPECT_EQ(basPublic.ReportCode, c.report_code);
    // Every course's item, and the earlier consultation's item after them.
    ASSERT_EQ(frmResultIn.ItemCount(), kCourseSlots + 1);
    for (int n = 1; n <= kCourseSlots; ++n) EXPECT_EQ(frmResultIn.ItemTable[n].KomCode, Currency(3000 + n));
    EXPECT_EQ(frmResultIn.ItemTable[kCourseSlots + 1].KomCode, Currency(2001));
    EXPECT_EQ(frmResultIn.ItemTable[kCourseSlots + 1].Past, kPastBookedEarlier);
  }
}

}  // namespace
}  // namespace qz::testing
