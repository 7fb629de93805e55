#include "data/common_sub.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "kit/scratch_dir.h"
#include "platform/path/host_path.h"
#include "platform/runtime/run_time_error.h"
#include "platform/system/system_info.h"

namespace qz {
namespace {

TEST(CutToDigits, CutsInDecimal) {
  struct Case {
    const char* value;
    const char* spec;
    const char* want;
  } cases[] = {
      {"1234.56", "31", "234.5"},   // the digit beyond three integer digits goes
      {"12.0", "21", "12"},
      {"0.5", "21", "0.5"},
      {"0.29", "12", "0.29"},       // no binary rounding down to 0.28
      {"4.35", "12", "4.35"},
      {"99999.9999", "54", "99999.9999"},
      {"-1234.56", "31", "-234.5"}, // the magnitude is cut, the sign kept
      {"-0.04", "11", "0"},         // no "-0"
      {"1000", "30", "0"},          // only zeros remain
      {"7.89", "10", "7"},          // decimals dropped toward zero
      {"-7.89", "10", "-7"},
      {" 3.5 ", "20", "3"},
      {"1.5E2", "30", "150"},
      {"12.5", "05", "0.5"},        // "05": no integer digit, five decimals
      {"123", "5", "0"},            // "5" reads as 05
      {".25", "12", "0.25"},
  };
  for (const Case& c : cases) EXPECT_EQ(Fnc_CutToDigits(c.value, c.spec), c.want) << c.value << " " << c.spec;
}

TEST(CutToDigits, TextThatIsNotANumberIsATypeMismatch) {
  for (auto [value, spec] : {std::pair{"abc", "21"}, {"", "21"}, {"1.2.3", "21"}, {"12", "x1"}, {"12", ""}}) {
    try {
      Fnc_CutToDigits(value, spec);
      ADD_FAILURE() << value << " " << spec;
    } catch (const RunTimeError& e) {
      EXPECT_EQ(e.number(), kErrTypeMismatch);
    }
  }
}

struct Split {
  std::vector<std::string> items;
  std::int16_t count = -1;
  std::string rest = "(unset)";
};

Split DoSplit(std::string_view text, std::string_view max, std::string_view quote = "") {
  Split s;
  EXPECT_TRUE(Fnc_SplitDelimited(text, max, ",", quote, s.items, s.count, s.rest));
  return s;
}

TEST(SplitDelimited, ItemsCountAndRest) {
  using V = std::vector<std::string>;
  struct Case {
    const char* text;
    const char* max;
    const char* quote;
    V items;  // items[1] .. items[count]
    const char* rest;
  } cases[] = {
      {"1,2,3", "100", "", {"1", "2", "3"}, ""},
      {"1,2,", "100", "", {"1", "2", ""}, ""},          // a final separator: empty last item
      {"", "100", "", {}, ""},
      {"1,,3", "100", "", {"1", "", "3"}, ""},
      {",", "100", "", {"", ""}, ""},
      {" 1 , 2", "100", "", {" 1 ", " 2"}, ""},         // blanks kept
      {"1,2,3,4", "2", "", {"1", "2"}, "3,4"},          // never more than the maximum
      {"1,2,", "2", "", {"1", "2"}, ""},
      {"1,2", "0", "", {}, "1,2"},
      {"\"a,b\",c", "10", "\"", {"a,b", "c"}, ""},
      {" \"x\"junk,\"y", "10", "\"", {"x", "y"}, ""},   // text after the closing quote dropped
      {"\"a\",", "10", "\"", {"a", ""}, ""},
  };
  for (const Case& c : cases) {
    Split s = DoSplit(c.text, c.max, c.quote);
    SCOPED_TRACE(std::string(c.text) + " max " + c.max);
    ASSERT_EQ(s.count, static_cast<std::int16_t>(c.items.size()));
    ASSERT_EQ(s.items.size(), static_cast<std::size_t>(std::atoi(c.max)) + 1);
    for (std::size_t i = 0; i < c.items.size(); ++i) EXPECT_EQ(s.items[i + 1], c.items[i]) << i + 1;
    for (std::size_t i = c.items.size() + 1; i < s.items.size(); ++i) EXPECT_EQ(s.items[i], "");
    EXPECT_EQ(s.rest, c.rest);
  }
}

TEST(SplitDelimited, AMaximumThatIsNotAWholeNumberRaises) {
  std::vector<std::string> items;
  std::int16_t count;
  std::string rest;
  for (auto [max, number] : {std::pair{"x", int{kErrTypeMismatch}}, {"", int{kErrTypeMismatch}}, {"-1", int{kErrSubscript}}}) {
    try {
      Fnc_SplitDelimited("1,2", max, ",", "", items, count, rest);
      ADD_FAILURE() << max;
    } catch (const RunTimeError& e) {
      EXPECT_EQ(e.number(), number) << max;
    }
  }
}

TEST(ChangeDir, ChangesToTheFolderFoundWithoutCase) {
  testkit::ScratchDir dir;
  dir.Write("Prog/Bin/x", "");
  dir.Enter();  // restores the folder afterwards
  EXPECT_TRUE(Fnc_ChangeDir(dir.path() + "\\PROG\\BIN\\", false));
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.Path("Prog/Bin")));
  EXPECT_FALSE(Fnc_ChangeDir(dir.Path("none"), true));
  EXPECT_FALSE(Fnc_ChangeDir("", true));
  EXPECT_FALSE(Fnc_ChangeDir("\\\\SV\\share\\", false));  // refused, nothing changed
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.Path("Prog/Bin")));
  dir.Write("SV/share/f", "");
  path::SetNetworkRoot(dir.path());
  EXPECT_TRUE(Fnc_ChangeDir("\\\\SV\\SHARE", true));
  path::SetNetworkRoot(std::nullopt);
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.Path("SV/share")));
}

TEST(GetComputerName, UsesTheMachineNameOrTheTestOverride) {
  system::SetComputerNameForTest("TERM07");
  EXPECT_EQ(Fnc_GetComputerName(), "TERM07");
  system::SetComputerNameForTest(std::nullopt);
  EXPECT_EQ(Fnc_GetComputerName(), system::ComputerName());
}

}  // namespace
}  // namespace qz
