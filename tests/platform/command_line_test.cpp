#include "platform/process/command_line.h"

#include <gtest/gtest.h>

namespace qz::process {
namespace {

TEST(SplitCommandLine, PlatformRules) {
  using V = std::vector<std::string>;
  struct Case {
    const char* in;
    V out;
  } cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"a  b\tc", {"a", "b", "c"}},
      {"\"C:\\Program Files\\x\" /s", {"C:\\Program Files\\x", "/s"}},
      {"a\"b c\"d", {"ab cd"}},
      {"\"\" x", {"", "x"}},
      {"C:\\DATA\\ x", {"C:\\DATA\\", "x"}},      // backslashes not before a quote stay
      {"a\\\\\"b c\"", {"a\\b c"}},               // 2n backslashes: n, quote groups
      {"a\\\"b", {"a\"b"}},                       // 2n+1: n and a literal quote
      {"a\\\\\\\"b", {"a\\\"b"}},
      {"\"a \"\"b\"\" c\"", {"a \"b\" c"}},       // doubled quote inside quotes
      {"\"open end", {"open end"}},
      {"結果 入力", {"結果", "入力"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace qz::process
