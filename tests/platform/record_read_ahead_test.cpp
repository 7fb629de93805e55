// Reads inside a read batch and inside a transaction give what the same
// reads give one by one, position included, on a file larger than the
// blocks the database server's records are fetched in; rewrites held back
// in a transaction keep their statuses.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/record/read_batch.h"
#include "platform/record/server_statements.h"
#include "platform/record/status.h"
#include "record_fixture.h"

namespace qz::record::testing {
namespace {

class RecordReadAheadTest : public RecordContractTest {
 protected:
  void SetUp() override {
    RecordContractTest::SetUp();
    if (Unready()) return;
    t_ = OpenT();
    // Codes A to E, numbers 0 to 120 by three (even hundreds of records,
    // more than one block), in groups G0 to G6 with duplicates; inserted
    // out of key order.
    ASSERT_EQ(t_->BeginTrans(), 0);
    for (int num = 120; num >= 0; num -= 3) {
      for (const char* code : {"C", "A", "E", "B", "D"}) {
        ASSERT_EQ(Put(*t_, code, num, ("G" + std::to_string(num % 7)).c_str()), 0);
      }
    }
    ASSERT_EQ(t_->EndTrans(), 0);
  }

  // The outcome of one positioning read and of the steps after it: its
  // status and key, then the key of GetNext, GetNext, GetPrevious.
  std::string Trace(BtrAccess& t, const std::string& definition, int (BtrAccess::*read)(std::string_view),
                    const char* code, int num, const char* grp) {
    t.SetRecordBytes("");
    t.SetField("CODE", code);
    t.SetField("NUM", num);
    t.SetField("GRP", grp);
    std::string out = std::to_string((t.*read)(definition)) + ":" + Key(t) + "/" + t.GetField("GRP").ToText();
    for (auto step : {&BtrAccess::GetNext, &BtrAccess::GetNext, &BtrAccess::GetPrevious}) {
      out += " " + std::to_string((t.*step)()) + ":" + Key(t);
    }
    return out;
  }

  std::vector<std::string> AllTraces(BtrAccess& t) {
    using Read = int (BtrAccess::*)(std::string_view);
    struct Case {
      const char* definition;
      Read read;
      const char* code;
      int num;
      const char* grp;
    };
    const Case cases[] = {
        {"T", &BtrAccess::GetEqual, "C", 60, ""},      {"T", &BtrAccess::GetEqual, "C", 61, ""},
        {"T", &BtrAccess::GetEqual, "A", 0, ""},       {"T", &BtrAccess::GetEqual, "E", 120, ""},
        {"T", &BtrAccess::GetGreater, "B", 120, ""},   {"T", &BtrAccess::GetGreater, "E", 120, ""},
        {"T", &BtrAccess::GetGreaterOrEqual, "D", 1, ""}, {"T", &BtrAccess::GetGreaterOrEqual, "F", 0, ""},
        {"T", &BtrAccess::GetLess, "B", 0, ""},        {"T", &BtrAccess::GetLess, "A", 0, ""},
        {"T", &BtrAccess::GetLessOrEqual, "D", 200, ""}, {"T", &BtrAccess::GetLessOrEqual, "A", -1, ""},
        {"T", &BtrAccess::GetLessOrEqual, "C", 59, ""},
        {"T2", &BtrAccess::GetEqual, "", 0, "G3"},     {"T2", &BtrAccess::GetEqual, "", 0, "G9"},
        {"T2", &BtrAccess::GetGreater, "", 0, "G3"},   {"T2", &BtrAccess::GetLessOrEqual, "", 0, "G3"},
        {"T2", &BtrAccess::GetLess, "", 0, "G0"},      {"T2", &BtrAccess::GetGreaterOrEqual, "", 0, "G6"},
    };
    std::vector<std::string> out;
    for (const Case& c : cases) out.push_back(Trace(t, c.definition, c.read, c.code, c.num, c.grp));
    return out;
  }

  std::unique_ptr<BtrAccess> t_;
};

TEST_P(RecordReadAheadTest, ReadsInABatchOrATransactionGiveWhatSingleReadsGive) {
  const std::vector<std::string> single = AllTraces(*t_);
  ASSERT_EQ(single.size(), 19u);
  EXPECT_EQ(single[1].substr(0, 2), "4:");  // a missing key is one of the cases
  {
    ReadBatch batch;
    EXPECT_EQ(AllTraces(*t_), single);
    EXPECT_EQ(AllTraces(*t_), single) << "read again from what the batch fetched";
  }
  ASSERT_EQ(t_->BeginTrans(), 0);
  EXPECT_EQ(AllTraces(*t_), single);
  ASSERT_EQ(t_->AbortTrans(), 0);
}

TEST_P(RecordReadAheadTest, ABatchSeesItsOwnWritesAtOnce) {
  ReadBatch batch;
  t_->SetField("CODE", "C");
  t_->SetField("NUM", 60);
  ASSERT_EQ(t_->GetEqual("T"), 0);
  t_->SetField("NAME", "changed");
  ASSERT_EQ(t_->Update(), 0);
  ASSERT_EQ(Put(*t_, "C", 61, "G9"), 0);
  auto other = OpenT();
  other->SetField("CODE", "C");
  other->SetField("NUM", 60);
  ASSERT_EQ(other->GetEqual("T"), 0);
  EXPECT_EQ(other->GetField("NAME").ToText().substr(0, 7), "changed");
  EXPECT_EQ(other->GetNext(), 0);
  EXPECT_EQ(Key(*other), "C/61");
}

// Rewrites in a transaction of records read in it: each status as at once,
// a rewrite of a record changed since its object read it still 80, and the
// commit stores every rewrite.
TEST_P(RecordReadAheadTest, RewritesInATransactionKeepTheirStatusesAndAllReachTheFile) {
  auto stale = OpenT();
  stale->SetField("CODE", "A");
  stale->SetField("NUM", 30);
  ASSERT_EQ(stale->GetEqual("T"), 0);

  ASSERT_EQ(t_->BeginTrans(), 0);
  const std::uint64_t before = ServerStatements();
  for (int num = 0; num <= 120; num += 3) {
    t_->SetField("CODE", "A");
    t_->SetField("NUM", num);
    ASSERT_EQ(t_->GetEqual("T"), 0);
    t_->SetField("AMT", num + 1);
    ASSERT_EQ(t_->Update(), 0) << num;
    if (num == 60) {
      t_->SetField("AMT", 999);
      ASSERT_EQ(t_->Update(), 0) << "twice";
    }
  }
  // On the server, the 41 reads and 42 rewrites are a few statements.
  if (GetParam() == Engine::kPostgres) EXPECT_LE(ServerStatements() - before, 8u);
  EXPECT_EQ(stale->Update(), kStatusChanged);
  t_->SetField("CODE", "B");  // a unique key that another record holds
  t_->SetField("NUM", 0);
  EXPECT_EQ(t_->Update(), kStatusDuplicateKey);
  ASSERT_EQ(t_->EndTrans(), 0);

  auto check = OpenT();
  for (int num = 0; num <= 120; num += 3) {
    check->SetField("CODE", "A");
    check->SetField("NUM", num);
    ASSERT_EQ(check->GetEqual("T"), 0);
    EXPECT_EQ(check->GetField("AMT").ToLong(), num == 60 ? 999 : num + 1) << num;
  }
  // The object that rewrote A/120 last rewrites it again from what it read.
  check->SetField("AMT", 5);
  EXPECT_EQ(check->Update(), 0);
}

QZ_RECORD_ENGINES(RecordReadAheadTest);

}  // namespace
}  // namespace qz::record::testing
