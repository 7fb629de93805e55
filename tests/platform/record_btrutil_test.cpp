// The btrutil tool end to end: create, load a CSV, dump it back, show one
// record.
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "kit/tool_path.h"
#include "record_fixture.h"

namespace qz::record::testing {
namespace {

// The tool's runner over a record fixture (`Base`: one engine, or each).
template <class Base>
class BtrutilFixture : public Base {
 protected:
  // The tool of this build: <build>/tools/btrutil.
  static std::string Tool() { return testkit::ToolPath("btrutil"); }
  // Runs btrutil with `args`; returns its exit status, stdout in `out`.
  int Run(const std::string& args, std::string* out = nullptr) {
    std::string cmd = Tool() + " " + args + " > " + this->dir_ + "/out.txt 2>/dev/null";
    int rc = std::system(cmd.c_str());
    if (out) {
      std::ifstream in(this->dir_ + "/out.txt", std::ios::binary);
      std::ostringstream ss;
      ss << in.rdbuf();
      *out = ss.str();
    }
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  }
  void SetUp() override {
    Base::SetUp();
    if (this->Unready()) return;
    if (!std::filesystem::exists(Tool())) GTEST_SKIP() << "no " << Tool();
    std::ofstream(this->dir_ + "/t.layout") << "# T\nCODE 1 4 A\nNUM,5,3,N\nNAME 10 20 K\n";
  }
};

using BtrutilTest = BtrutilFixture<RecordContractTest>;
using BtrutilCopyTest = BtrutilFixture<RecordTest>;

TEST_P(BtrutilTest, LoadedCsvDumpsBackInKeyOrder) {
  std::ofstream(dir_ + "/in.csv") << "CODE,NUM,NAME\r\nB,2,\"漢字, ～\"\r\nA,-7,\"say \"\"hi\"\"\"\r\n";
  const std::string common = dir_ + " " + dir_ + " T --layout " + dir_ + "/t.layout";
  ASSERT_EQ(Run("load " + common + " --in " + dir_ + "/in.csv"), 0);
  std::string out;
  ASSERT_EQ(Run("dump " + common, &out), 0);
  EXPECT_EQ(out,
            "CODE,NUM,NAME\r\n"
            "A   ,-7,\"say \"\"hi\"\"            \"\r\n"
            "B   ,2,\"漢字, ～            \"\r\n");
  ASSERT_EQ(Run("show " + common + " CODE=A NUM=-7", &out), 0);
  EXPECT_NE(out.find("NUM=-7\n"), std::string::npos);
  EXPECT_EQ(Run("show " + common + " CODE=A NUM=7"), 2);
  // A second load of the same keys stores nothing.
  EXPECT_EQ(Run("load " + common + " --in " + dir_ + "/in.csv"), 2);
  ASSERT_EQ(Run("dump " + dir_ + " " + dir_ + " T", &out), 0);
  EXPECT_EQ(out.substr(0, 8), "RECORD\r\n");
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
}

TEST_P(BtrutilTest, ABadCsvStoresNothing) {
  const std::string common = dir_ + " " + dir_ + " T --layout " + dir_ + "/t.layout";
  struct Case {
    const char* what;
    const char* csv;
  };
  const Case cases[] = {
      {"a quote never closed", "CODE,NUM,NAME\r\nA,1,x\r\nB,2,\"open\r\nC,3,y\r\n"},
      {"text longer than its field", "CODE,NUM,NAME\r\nA,1,x\r\nABCDE,2,y\r\n"},
      {"kanji longer than its field", "CODE,NUM,NAME\r\nA,1,一二三四五六七八九十一\r\n"},
      {"a number too wide", "CODE,NUM,NAME\r\nA,1000,x\r\n"},
      {"a field no layout has", "CODE,NUM,NOPE\r\nA,1,x\r\n"},
      {"a row of the wrong width", "CODE,NUM,NAME\r\nA,1\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(dir_ + "/bad.csv", std::ios::binary | std::ios::trunc) << c.csv;
    EXPECT_EQ(Run("load " + common + " --in " + dir_ + "/bad.csv"), 2);
    std::string out;
    ASSERT_EQ(Run("dump " + common, &out), 0);
    EXPECT_EQ(out, "CODE,NUM,NAME\r\n");
  }
  // Raw records: longer than the record is refused, not cut.
  std::ofstream(dir_ + "/raw.csv", std::ios::binary | std::ios::trunc)
      << "RECORD\r\n" << std::string(82, '4') << "\r\n";
  EXPECT_EQ(Run("load " + dir_ + " " + dir_ + " T --in " + dir_ + "/raw.csv"), 2);
}

TEST_P(BtrutilTest, ALoadTakesAByteOrderMarkAndFieldsThatFillTheirWidth) {
  const std::string common = dir_ + " " + dir_ + " T --layout " + dir_ + "/t.layout";
  std::ofstream(dir_ + "/in.csv", std::ios::binary) << "\xEF\xBB\xBF" "CODE,NUM,NAME\r\nABCD,999,一二三四五六七八九十\r\n";
  ASSERT_EQ(Run("load " + common + " --in " + dir_ + "/in.csv"), 0);
  std::string out;
  ASSERT_EQ(Run("dump " + common, &out), 0);
  EXPECT_EQ(out, "CODE,NUM,NAME\r\nABCD,999,一二三四五六七八九十\r\n");
}

TEST_P(BtrutilTest, Cp932CsvLoadsAndDumpsByteForByte) {
  const std::string common = dir_ + " " + dir_ + " T --layout " + dir_ + "/t.layout";
  // "A,1,漢字～" in CP932 (～ is 81 60 there, not the Shift-JIS wave dash).
  const std::string cp932 = "CODE,NUM,NAME\r\nA,1,\x8a\xbf\x8e\x9a\x81\x60\r\n";
  std::ofstream(dir_ + "/sj.csv", std::ios::binary) << cp932;
  ASSERT_EQ(Run("load " + common + " --cp932 --in " + dir_ + "/sj.csv"), 0);
  std::string out;
  ASSERT_EQ(Run("dump " + common + " --cp932", &out), 0);
  EXPECT_EQ(out, "CODE,NUM,NAME\r\nA   ,1,\x8a\xbf\x8e\x9a\x81\x60              \r\n");
  ASSERT_EQ(Run("dump " + common, &out), 0);
  EXPECT_EQ(out, "CODE,NUM,NAME\r\nA   ,1,漢字～              \r\n");
}

TEST_P(BtrutilTest, CreateMakesAnEmptyFileOnlyWhenAsked) {
  EXPECT_EQ(Run("create " + dir_ + " " + dir_ + " T.BTR"), 2);  // the fixture made it
  EXPECT_EQ(Run("create " + dir_ + " " + dir_ + " T.BTR --replace"), 0);
  EXPECT_EQ(Run("create " + dir_ + " " + dir_ + " NONE.BTR"), 2);
  EXPECT_EQ(Run("frobnicate"), 1);
}

QZ_RECORD_ENGINES(BtrutilTest);

// A folder moves from SQLite files to a PostgreSQL schema and back: every
// record comes along, duplicates in their order.
TEST_F(BtrutilCopyTest, CopyMovesAWholeFolderBetweenEngines) {
  QZ_PG_OR_SKIP();
  schema_ = testkit::NewPgSchema();
  std::ofstream(dir_ + "/CPFSPEC.INI", std::ios::binary | std::ios::app)
      << "[STORAGE]\r\n" << dir_ << "/pg=" << testkit::PgStorage(schema_) << "\r\n";
  std::filesystem::create_directory(dir_ + "/back");
  {
    auto t = OpenT();
    for (const char* code : {"B", "A", "C"}) ASSERT_EQ(Put(*t, code, 1, "G1"), 0);
  }
  std::string out;
  ASSERT_EQ(Run("copy " + dir_ + " " + dir_ + " " + dir_ + "/pg", &out), 0);
  EXPECT_EQ(out, "T.BTR: 3 records\nU.BTR: 0 records\n");
  EXPECT_EQ(Run("copy " + dir_ + " " + dir_ + " " + dir_ + "/pg"), 2);  // there already
  ASSERT_EQ(Run("copy " + dir_ + " " + dir_ + "/pg " + dir_ + "/back --replace"), 0);
  std::string original, moved;
  ASSERT_EQ(Run("dump " + dir_ + " " + dir_ + " T", &original), 0);
  ASSERT_EQ(Run("dump " + dir_ + " " + dir_ + "/pg T", &moved), 0);
  EXPECT_EQ(moved, original);
  BtrAccess back;
  ASSERT_TRUE(back.OpenFile("T.BTR", "T2", dir_ + "/back", dir_));
  back.DefineAlphaField("CODE", 1, 4);
  std::string order;
  for (int st = back.GetFirst("T2"); st == 0; st = back.GetNext()) order += back.GetField("CODE").ToText()[0];
  EXPECT_EQ(order, "BAC");
}

}  // namespace
}  // namespace qz::record::testing
