#include "suite/qzpclr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "suite/call_log.h"
#include "suite/runtime_entries.h"

namespace qz::suite {
namespace {

class SuiteCallsTest : public ::testing::Test {
 protected:
  SuiteCallsTest() { ClearCalls(); }
  ~SuiteCallsTest() override {
    SetQzpclrStatusForTest(nullptr);
    ClearCalls();
  }
};

TEST_F(SuiteCallsTest, StatusGoesIntoTheLastTwoCharacters) {
  struct Case {
    std::string area;
    std::string status;  // the test's answer; "" for the stand-in's own
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"          ", "", "        00"},
      {"QJKKKLF   ", "", "QJKKKLF 00"},
      {"          ", "05", "        05"},
      {"          ", "  ", "          "},
      {"          ", "1", "        1 "},
      {"QJ", "", "QJ      00"},
  };
  for (const Case& c : cases) {
    SetQzpclrStatusForTest(c.status.empty() ? nullptr
                                            : std::function<std::string(std::string_view)>(
                                                  [&](std::string_view) { return c.status; }));
    std::string area = c.area;
    QZPCLR(area);
    EXPECT_EQ(area, c.expected) << "area '" << c.area << "' status '" << c.status << "'";
  }
}

TEST_F(SuiteCallsTest, CallsAreLoggedInOrderWithTheAreaAsPassed) {
  std::string seen;
  SetQzpclrStatusForTest([&](std::string_view name) {
    seen = std::string(name);
    return "00";
  });
  JMPCINT2();
  std::string area = "QJJRKLF   ";
  QZPCLR(area);
  JMPCINT3();
  EXPECT_EQ(seen, "QJJRKLF ");
  EXPECT_EQ(Calls(), (std::vector<std::string>{"JMPCINT2", "QZPCLR QJJRKLF   ", "JMPCINT3"}));
}

}  // namespace
}  // namespace qz::suite
