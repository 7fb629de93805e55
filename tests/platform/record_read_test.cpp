#include <vector>

#include "platform/record/status.h"
#include "record_fixture.h"

namespace qz::record::testing {
namespace {

class RecordReadTest : public RecordContractTest {
 protected:
  void SetUp() override {
    RecordContractTest::SetUp();
    if (Unready()) return;
    t_ = OpenT();
    // Inserted out of order; key order is A/1, A/5, B/-3, B/0, B/7.
    for (auto [code, num] : std::vector<std::pair<const char*, int>>{
             {"B", 7}, {"A", 5}, {"B", -3}, {"A", 1}, {"B", 0}}) {
      ASSERT_EQ(Put(*t_, code, num, "G"), 0);
    }
  }
  std::unique_ptr<BtrAccess> t_;
};

TEST_P(RecordReadTest, PositioningReadsFindTheRecordAndGiveTheirStatuses) {
  using Read = int (BtrAccess::*)(std::string_view);
  struct Case {
    const char* name;
    Read read;
    const char* code;
    int num;
    int status;
    const char* found;
  };
  const Case cases[] = {
      {"equal", &BtrAccess::GetEqual, "B", -3, kStatusOk, "B/-3"},
      {"equal missing", &BtrAccess::GetEqual, "B", 1, kStatusNotFound, nullptr},
      {"greater", &BtrAccess::GetGreater, "A", 5, kStatusOk, "B/-3"},
      {"greater past the end", &BtrAccess::GetGreater, "B", 7, kStatusEndOfFile, nullptr},
      {"greater or equal at", &BtrAccess::GetGreaterOrEqual, "B", 0, kStatusOk, "B/0"},
      {"greater or equal between", &BtrAccess::GetGreaterOrEqual, "A", 2, kStatusOk, "A/5"},
      {"greater or equal past", &BtrAccess::GetGreaterOrEqual, "C", 0, kStatusEndOfFile, nullptr},
      {"less", &BtrAccess::GetLess, "B", -3, kStatusOk, "A/5"},
      {"less before the start", &BtrAccess::GetLess, "A", 1, kStatusEndOfFile, nullptr},
      {"less or equal at", &BtrAccess::GetLessOrEqual, "B", 0, kStatusOk, "B/0"},
      {"less or equal between", &BtrAccess::GetLessOrEqual, "B", 5, kStatusOk, "B/0"},
      {"less or equal before", &BtrAccess::GetLessOrEqual, "A", 0, kStatusEndOfFile, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    t_->SetRecordBytes("");
    t_->SetField("CODE", c.code);
    t_->SetField("NUM", c.num);
    t_->SetField("AMT", 42);  // not in the key: a failed read must keep it
    EXPECT_EQ(((*t_).*c.read)("T"), c.status);
    if (c.found) {
      EXPECT_EQ(Key(*t_), c.found);
      EXPECT_EQ(t_->GetField("AMT").ToLong(), 0);
    } else {
      EXPECT_EQ(Key(*t_), std::string(c.code) + "/" + std::to_string(c.num));
      EXPECT_EQ(t_->GetField("AMT").ToLong(), 42);
    }
  }
}

TEST_P(RecordReadTest, NextAndPreviousWalkTheKeyOrderWithNegativesFirst) {
  t_->SetField("CODE", "A");
  t_->SetField("NUM", 0);
  ASSERT_EQ(t_->GetGreaterOrEqual("T"), 0);
  std::vector<std::string> seen{Key(*t_)};
  while (t_->GetNext() == 0) seen.push_back(Key(*t_));
  EXPECT_EQ(seen, (std::vector<std::string>{"A/1", "A/5", "B/-3", "B/0", "B/7"}));
  EXPECT_EQ(t_->GetNext(), kStatusEndOfFile);
  EXPECT_EQ(Key(*t_), "B/7");  // the failed step left the buffer
  seen.clear();
  while (t_->GetPrevious() == 0) seen.push_back(Key(*t_));
  EXPECT_EQ(seen, (std::vector<std::string>{"B/0", "B/-3", "A/5", "A/1"}));
}

TEST_P(RecordReadTest, FirstAndLastIgnoreTheBuffer) {
  t_->SetField("CODE", "B");
  ASSERT_EQ(t_->GetFirst("T"), 0);
  EXPECT_EQ(Key(*t_), "A/1");
  ASSERT_EQ(t_->GetLast("T"), 0);
  EXPECT_EQ(Key(*t_), "B/7");
  EXPECT_EQ(t_->GetNext(), kStatusEndOfFile);
  auto empty = OpenU();
  EXPECT_EQ(empty->GetFirst("U"), kStatusEndOfFile);
}

TEST_P(RecordReadTest, StepsWithoutARecordReadGiveStatus8) {
  auto fresh = OpenT();
  EXPECT_EQ(fresh->GetNext(), kStatusNoCurrentRecord);
  EXPECT_EQ(fresh->Update(), kStatusNoCurrentRecord);
  EXPECT_EQ(fresh->Delete(), kStatusNoCurrentRecord);
  fresh->SetField("CODE", "Z");
  EXPECT_EQ(fresh->GetEqual("T"), kStatusNotFound);
  EXPECT_EQ(fresh->GetNext(), kStatusNoCurrentRecord);
}

TEST_P(RecordReadTest, DuplicateKeysReadBackInInsertionOrder) {
  auto t = OpenT();
  ASSERT_EQ(Put(*t, "C", 1, "X", "三"), 0);
  ASSERT_EQ(Put(*t, "C", 2, "W", "一"), 0);
  ASSERT_EQ(Put(*t, "C", 3, "X", "四"), 0);
  auto t2 = OpenT("T2");
  t2->SetField("GRP", "X");
  ASSERT_EQ(t2->GetEqual("T2"), 0);
  std::vector<std::string> seen;
  do {
    seen.push_back(Key(*t2));
  } while (t2->GetNext() == 0);
  // W comes before X; G (the set-up's) before both.
  EXPECT_EQ(seen, (std::vector<std::string>{"C/1", "C/3"}));
  t2->SetField("GRP", "X");
  ASSERT_EQ(t2->GetLessOrEqual("T2"), 0);
  EXPECT_EQ(Key(*t2), "C/3");  // the last of the duplicates
  ASSERT_EQ(t2->GetPrevious(), 0);
  EXPECT_EQ(Key(*t2), "C/1");
  ASSERT_EQ(t2->GetPrevious(), 0);
  EXPECT_EQ(Key(*t2), "C/2");
}

TEST_P(RecordReadTest, InsertOfADuplicateUniqueKeyGivesStatus5) {
  EXPECT_EQ(Put(*t_, "A", 5, "Q"), kStatusDuplicateKey);
  // Numeric keys compare by value: the same number in other bytes clashes.
  t_->SetRecordBytes("A   005");
  EXPECT_EQ(t_->Insert("T"), kStatusDuplicateKey);
}

TEST_P(RecordReadTest, DeleteThenGetNextGivesTheFollowingRecord) {
  t_->SetField("CODE", "A");
  t_->SetField("NUM", 5);
  ASSERT_EQ(t_->GetEqual("T"), 0);
  ASSERT_EQ(t_->Delete(), 0);
  EXPECT_EQ(t_->Delete(), kStatusNoCurrentRecord);
  ASSERT_EQ(t_->GetNext(), 0);
  EXPECT_EQ(Key(*t_), "B/-3");
  ASSERT_EQ(t_->GetPrevious(), 0);
  EXPECT_EQ(Key(*t_), "A/1");
  t_->SetField("NUM", 5);
  t_->SetField("CODE", "A");
  EXPECT_EQ(t_->GetEqual("T"), kStatusNotFound);
}

TEST_P(RecordReadTest, UpdateKeepsTheBytesNoFieldCovers) {
  t_->SetRecordBytes(std::string("A   001G ") + std::string(20, ' ') + "000000" + "xy\x01z!");
  ASSERT_EQ(t_->Insert("T"), kStatusDuplicateKey);  // A/1 exists: write over it instead
  t_->SetField("CODE", "A");
  t_->SetField("NUM", 1);
  ASSERT_EQ(t_->GetEqual("T"), 0);
  t_->SetRecordBytes(t_->RecordBytes().substr(0, 35) + "xy\x01z!");
  ASSERT_EQ(t_->Update(), 0);
  auto other = OpenT();
  other->SetField("CODE", "A");
  other->SetField("NUM", 1);
  ASSERT_EQ(other->GetEqual("T"), 0);
  other->SetField("AMT", -12);
  other->SetField("NAME", "更新");
  ASSERT_EQ(other->Update(), 0);
  auto third = OpenT();
  third->SetField("CODE", "A");
  third->SetField("NUM", 1);
  ASSERT_EQ(third->GetEqual("T"), 0);
  EXPECT_EQ(third->RecordBytes().substr(35), "xy\x01z!");
  EXPECT_EQ(third->GetField("AMT").ToLong(), -12);
  EXPECT_EQ(third->RecordBytes().substr(29, 6), "00001R");
}

TEST_P(RecordReadTest, UpdateThatChangesTheKeyMovesTheRecord) {
  t_->SetField("CODE", "A");
  t_->SetField("NUM", 1);
  ASSERT_EQ(t_->GetEqual("T"), 0);
  t_->SetField("CODE", "C");
  ASSERT_EQ(t_->Update(), 0);
  EXPECT_EQ(t_->GetPrevious(), 0);  // the position follows the record
  EXPECT_EQ(Key(*t_), "B/7");
  t_->SetField("NUM", 5);
  t_->SetField("CODE", "A");
  ASSERT_EQ(t_->GetEqual("T"), 0);
  t_->SetField("CODE", "B");
  t_->SetField("NUM", 7);
  EXPECT_EQ(t_->Update(), kStatusDuplicateKey);
}

TEST_P(RecordReadTest, TwoObjectsOnOneFileKeepTheirOwnPositionsAndBuffers) {
  auto b = OpenT();
  t_->SetField("CODE", "A");
  t_->SetField("NUM", 1);
  b->SetField("CODE", "B");
  b->SetField("NUM", 0);
  ASSERT_EQ(t_->GetEqual("T"), 0);
  ASSERT_EQ(b->GetEqual("T"), 0);
  ASSERT_EQ(t_->GetNext(), 0);
  ASSERT_EQ(b->GetNext(), 0);
  EXPECT_EQ(Key(*t_), "A/5");
  EXPECT_EQ(Key(*b), "B/7");
  ASSERT_EQ(t_->GetNext(), 0);
  EXPECT_EQ(Key(*t_), "B/-3");
  EXPECT_EQ(b->GetNext(), kStatusEndOfFile);
  EXPECT_EQ(Key(*b), "B/7");
}

TEST_P(RecordReadTest, ReadsUnderAnotherDefinitionOfTheFileUseItsKey) {
  auto t = OpenT();
  ASSERT_EQ(Put(*t, "C", 1, "AA"), 0);
  t->SetField("GRP", "AA");
  ASSERT_EQ(t->GetEqual("T2"), 0);
  EXPECT_EQ(Key(*t), "C/1");
  EXPECT_EQ(t->GetNext(), 0);  // on through the G duplicates
  EXPECT_EQ(t->GetField("GRP").ToText(), "G ");
  EXPECT_EQ(t->GetEqual("U"), kStatusInvalidKey);
}

TEST_P(RecordReadTest, ClosedObjectsGiveStatus3) {
  BtrAccess never;
  EXPECT_EQ(never.GetEqual("T"), kStatusFileNotOpen);
  EXPECT_EQ(never.CloseFile(), kStatusFileNotOpen);
  EXPECT_EQ(t_->CloseFile(), 0);
  EXPECT_EQ(t_->GetNext(), kStatusFileNotOpen);
  EXPECT_EQ(t_->Insert("T"), kStatusFileNotOpen);
  EXPECT_FALSE(t_->IsOpen());
}

QZ_RECORD_ENGINES(RecordReadTest);

}  // namespace
}  // namespace qz::record::testing
