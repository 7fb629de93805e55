// The calculation library's stand-in: patterns, rounding classes and the
// cases that leave the value blank.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/vb.h"
#include "suite/call_log.h"
#include "suite/qzp315.h"

namespace qz::suite {
namespace {

// The area as the program builds it.
std::string Area(int pattern, const std::string& a, const std::string& b, const std::string& c, int rounding,
                 const std::string& spec) {
  auto operand = [](const std::string& v) { return v.empty() ? std::string(10, ' ') : vb::Format(v, "@@@@@@@@@@"); };
  return vb::Format(pattern, "000") + operand(a) + operand(b) + operand(c) + "1045" + std::to_string(rounding) + spec +
         std::string(10, ' ');
}

std::string Computed(const std::string& area) {
  std::string copy = area;
  QZP315(copy);
  EXPECT_EQ(copy.substr(0, 40), area.substr(0, 40));  // the inputs stay as they were
  return copy.substr(40);
}

TEST(CalcLibrary, ComputesEachPatternWithItsRounding) {
  struct Case {
    int pattern;
    const char* a;
    const char* b;
    const char* c;
    int rounding;
    const char* spec;
    const char* expected;  // trimmed
  };
  const std::vector<Case> cases = {
      {1, "170.0", "65.0", "", 0, "21", "22.5"},    // 22.491...
      {1, "170.0", "65.0", "", 2, "21", "22.4"},    // cut
      {1, "170.0", "65.0", "", 1, "21", "22.5"},    // up
      {1, "160", "64", "", 1, "22", "25.00"},       // exactly 25: nothing to round up
      {1, "160", "64", "", 0, "20", "25"},
      {2, "0.1", "0.2", "", 2, "21", "0.3"},        // 0.30000000000000004 read as 0.3
      {2, "1", "2", "3", 0, "30", "6"},
      {2, "1", "", "3", 0, "30", "4"},              // a missing operand adds nothing
      {3, "5", "7.25", "", 0, "21", "-2.3"},        // half away from zero
      {3, "5", "7.25", "", 2, "21", "-2.2"},
      {3, "5", "7.21", "", 1, "21", "-2.3"},        // up, away from zero
      {3, "5", "5", "", 0, "21", "0.0"},
      {4, "1", "3", "", 0, "13", "0.333"},
      {4, "2", "3", "", 2, "13", "0.666"},
      {4, "2", "3", "", 7, "13", "0.667"},          // unknown class rounds
      {4, "199.99", "0.0001", "", 0, "90", "1999900"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.pattern) + " " + c.a + " " + c.b + " class " + std::to_string(c.rounding));
    const std::string out = Computed(Area(c.pattern, c.a, c.b, c.c, c.rounding, c.spec));
    ASSERT_EQ(out.size(), 10u);
    EXPECT_EQ(vb::Trim(out), c.expected);
    EXPECT_EQ(out.back(), std::string(c.expected).back()) << "right-justified";
  }
}

TEST(CalcLibrary, GivesNoValueWhenItCannotCompute) {
  const std::vector<std::string> areas = {
      Area(1, "", "65", "", 0, "21"),             // height missing
      Area(1, "0", "65", "", 0, "21"),            // height 0
      Area(4, "1", "0", "", 0, "21"),             // division by zero
      Area(3, "abc", "1", "", 0, "21"),           // no number
      Area(9, "1", "1", "", 0, "21"),             // unknown pattern
      Area(2, "99999999", "99999999", "", 0, "32"),  // 11 characters
      Area(2, "", "", "", 0, "21"),
  };
  for (const std::string& a : areas) {
    SCOPED_TRACE(a);
    EXPECT_EQ(Computed(a), std::string(10, ' '));
  }
}

TEST(CalcLibrary, RecordsTheCallAndTakesATestAnswer) {
  ClearCalls();
  SetQzp315AnswerForTest([](std::string_view) { return "12.3"; });
  std::string area = "001";
  QZP315(area);
  SetQzp315AnswerForTest(nullptr);
  EXPECT_EQ(area.size(), kQzp315AreaLength);
  EXPECT_EQ(area.substr(40), "12.3      ");
  ASSERT_EQ(Calls().size(), 1u);
  EXPECT_EQ(Calls()[0], "QZP315 001" + std::string(47, ' '));
  ClearCalls();
}

}  // namespace
}  // namespace qz::suite
