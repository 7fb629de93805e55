#include <gtest/gtest.h>

#include <cctype>

#include "platform/clock/clock.h"
#include "platform/system/system_info.h"

namespace qz {
namespace {

TEST(Clock, TestOverrideAndMachineClock) {
  FixClockForTest({2026, 3, 9, 23, 5, 7, 0});
  EXPECT_EQ(Today(), 20260309);
  EXPECT_EQ(Now().Hms(), 230507);
  SetClockForTest(nullptr);
  LocalDateTime now = Now();
  EXPECT_GE(now.year, 2024);
  EXPECT_EQ(Today(), now.Ymd());
}

TEST(SystemInfo, ComputerNameIsTheShortUpperCaseHostName) {
  std::string name = system::ComputerName();
  EXPECT_LE(name.size(), 15u);
  EXPECT_EQ(name.find('.'), std::string::npos);
  for (char c : name) EXPECT_FALSE(std::islower(static_cast<unsigned char>(c))) << name;
  system::SetComputerNameForTest("TERM01");
  system::SetUserNameForTest("operator");
  EXPECT_EQ(system::ComputerName(), "TERM01");
  EXPECT_EQ(system::UserName(), "operator");
  system::SetComputerNameForTest(std::nullopt);
  system::SetUserNameForTest(std::nullopt);
  EXPECT_EQ(system::ComputerName(), name);
}

}  // namespace
}  // namespace qz
