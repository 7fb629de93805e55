// The demo data set from its one command, inspected with btrutil: the
// examinee master dumps as five readable rows, and making the set again in
// the same folder does not double it.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "kit/demo_data.h"
#include "kit/scratch_dir.h"
#include "kit/tool_path.h"

namespace qz::testkit {
namespace {

namespace fs = std::filesystem;

int RunCommand(const std::string& command) {
  int rc = std::system(command.c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

TEST(DemoTools, TheExamineeMasterDumpsFiveReadableRows) {
  if (!fs::exists(ToolPath("demodata")) || !fs::exists(ToolPath("btrutil"))) GTEST_SKIP() << "tools not built";
  ScratchDir dir;
  const std::string root = dir.Path("suite");
  const std::string make = ToolPath("demodata") + " " + root + " DEMO-PC > /dev/null";
  const std::string dump = ToolPath("btrutil") + " dump " + root + "/QZP140 " + root + "/DATA QZJSNLF --out " +
                           dir.Path("jsn.csv") + " 2> /dev/null";
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_EQ(RunCommand(make), 0);
    ASSERT_EQ(RunCommand(dump), 0);
    const std::string csv = dir.Read("jsn.csv");
    EXPECT_EQ(csv.rfind("CODE,KANA,NAME,SEX,BIRTH,", 0), 0u) << csv;
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 6) << csv;  // header and five examinees
    for (const std::string& code : DemoExamineeNumbers()) {
      EXPECT_NE(csv.find("\r\n" + code + ","), std::string::npos) << code;
    }
    for (const char* name : {"山田　太郎", "佐藤　花子", "鈴木　一郎", "田中　美咲", "高橋　健二"}) {
      EXPECT_NE(csv.find(name), std::string::npos) << name;
    }
  }
}

}  // namespace
}  // namespace qz::testkit
