#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include "platform/record/definitions.h"
#include "platform/record/record_store.h"
#include "platform/record/status.h"
#include "record_fixture.h"

namespace qz::record::testing {
namespace {

// Runs `body` in a child process; returns its result (or -1 when it died).
int InChild(const std::function<int()>& body) {
  pid_t pid = fork();
  if (pid == 0) _exit(body());
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

class RecordConcurrencyTest : public RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    auto t = OpenT();
    ASSERT_EQ(Put(*t, "A", 1, "G"), 0);
    ASSERT_EQ(Put(*t, "A", 2, "G"), 0);
  }
  void TearDown() override {
    SetBusyTimeout(std::chrono::milliseconds(5000));
    RecordTest::TearDown();
  }
  // Reads A/`num` into `t`; returns the status.
  static int Read(BtrAccess& t, int num) {
    t.SetField("CODE", "A");
    t.SetField("NUM", num);
    return t.GetEqual("T");
  }
  int CountT() {
    auto t = OpenT();
    t->SetField("CODE", "");
    int n = 0;
    for (int s = t->GetGreaterOrEqual("T"); s == 0; s = t->GetNext()) ++n;
    return n;
  }
};

TEST_F(RecordConcurrencyTest, UpdateOrDeleteAfterAnotherObjectsChangeGives80) {
  auto a = OpenT();
  auto b = OpenT();
  ASSERT_EQ(Read(*a, 1), 0);
  ASSERT_EQ(Read(*b, 1), 0);
  b->SetField("AMT", 5);
  ASSERT_EQ(b->Update(), 0);
  a->SetField("AMT", 9);
  EXPECT_EQ(a->Update(), kStatusChanged);  // b's 5 is not overwritten
  EXPECT_EQ(a->Delete(), kStatusChanged);
  ASSERT_EQ(b->Update(), 0);  // b read the record it wrote
  ASSERT_EQ(Read(*a, 2), 0);
  ASSERT_EQ(Read(*b, 2), 0);
  ASSERT_EQ(b->Delete(), 0);
  EXPECT_EQ(a->Update(), kStatusChanged);  // gone
  ASSERT_EQ(Read(*a, 1), 0);
  EXPECT_EQ(a->GetField("AMT").ToLong(), 5);
}

TEST_F(RecordConcurrencyTest, UpdateAfterAnotherProcessesChangeGives80) {
  auto a = OpenT();
  ASSERT_EQ(Read(*a, 1), 0);
  ASSERT_EQ(InChild([&] {
              auto c = OpenT();
              if (Read(*c, 1) != 0) return 10;
              c->SetField("AMT", 77);
              return c->Update();
            }),
            0);
  a->SetField("AMT", 9);
  EXPECT_EQ(a->Update(), kStatusChanged);
  ASSERT_EQ(Read(*a, 1), 0);
  EXPECT_EQ(a->GetField("AMT").ToLong(), 77);
  a->SetField("AMT", 9);
  EXPECT_EQ(a->Update(), 0);
}

TEST_F(RecordConcurrencyTest, AnotherThreadHasItsOwnConnectionsAndTransaction) {
  auto t = OpenT();
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(Put(*t, "M", 1, "G"), 0);  // holds the write lock until EndTrans
  int worker_status = -1;
  std::thread worker([&] {
    SetBusyTimeout(std::chrono::milliseconds(50));
    auto w = OpenT();
    worker_status = Put(*w, "W", 1, "G");  // the main thread's transaction blocks it
  });
  worker.join();
  SetBusyTimeout(std::chrono::milliseconds(5000));
  EXPECT_EQ(worker_status, kStatusBusy);
  ASSERT_EQ(t->EndTrans(), 0);
  std::thread([&] {
    auto w = OpenT();
    worker_status = Put(*w, "W", 1, "G");
  }).join();
  EXPECT_EQ(worker_status, 0);
  EXPECT_EQ(CountT(), 4);
}

// A save that failed is rolled back and tried again with the same objects:
// the record an object wrote in the undone transaction is again the one it
// read, so its next write is no false "changed by another" (80).
TEST_F(RecordConcurrencyTest, AfterAnAbortTheSameObjectWritesTheRecordItReadAgain) {
  auto t = OpenT();
  ASSERT_EQ(Read(*t, 1), 0);
  for (const bool deleting : {false, true}) {
    ASSERT_EQ(t->BeginTrans(), 0);
    t->SetField("AMT", 5);
    ASSERT_EQ(deleting ? t->Delete() : t->Update(), 0);
    if (!deleting) {
      t->SetField("AMT", 6);
      ASSERT_EQ(t->Update(), 0);  // twice in one transaction
    }
    ASSERT_EQ(t->AbortTrans(), 0);
  }
  ASSERT_EQ(t->BeginTrans(), 0);
  t->SetField("AMT", 7);
  EXPECT_EQ(t->Update(), 0);
  ASSERT_EQ(t->EndTrans(), 0);
  auto other = OpenT();
  ASSERT_EQ(Read(*other, 1), 0);
  EXPECT_EQ(other->GetField("AMT").ToLong(), 7);
  // A real change by another object is still reported after an abort.
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(t->Update(), 0);
  ASSERT_EQ(t->AbortTrans(), 0);
  other->SetField("AMT", 8);
  ASSERT_EQ(other->Update(), 0);
  EXPECT_EQ(t->Update(), kStatusChanged);
  EXPECT_EQ(t->Delete(), kStatusChanged);
  // A failed read in between leaves no record to write.
  ASSERT_EQ(Read(*t, 1), 0);
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(t->Update(), 0);
  ASSERT_EQ(t->AbortTrans(), 0);
  EXPECT_EQ(Read(*t, 9), kStatusNotFound);
  EXPECT_EQ(t->Update(), kStatusNoCurrentRecord);
}

TEST_F(RecordConcurrencyTest, AbortUndoesWritesOnEveryOpenFile) {
  auto t = OpenT();
  auto u = OpenU();
  EXPECT_EQ(t->AbortTrans(), 0);  // nothing to abort
  ASSERT_EQ(t->BeginTrans(), 0);
  EXPECT_EQ(u->BeginTrans(), kStatusTransactionActive);
  ASSERT_EQ(Put(*t, "B", 1, "G"), 0);
  u->SetField("ID", "U1");
  ASSERT_EQ(u->Insert("U"), 0);
  ASSERT_EQ(Read(*t, 1), 0);
  ASSERT_EQ(t->Delete(), 0);
  EXPECT_EQ(CountT(), 2);  // the transaction sees its own writes
  ASSERT_EQ(u->AbortTrans(), 0);
  EXPECT_EQ(CountT(), 2);
  EXPECT_EQ(Read(*t, 1), 0);
  u->SetField("ID", "U1");
  EXPECT_EQ(u->GetEqual("U"), kStatusNotFound);
  EXPECT_EQ(t->EndTrans(), kStatusNoTransaction);
}

TEST_F(RecordConcurrencyTest, ATransactionThatSqliteRolledBackCannotBeHalfCommitted) {
  // A write that fails inside a transaction may make SQLite undo the whole
  // transaction on its own. The writes after it must not start a new one
  // that EndTrans would then store: the consultation would be half saved.
  auto t = OpenT();
  auto u = OpenU();
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(Put(*t, "B", 1, "G"), 0);
  internal::InterruptWritesForTesting(true);
  EXPECT_NE(Put(*t, "B", 2, "G"), 0);
  internal::InterruptWritesForTesting(false);
  u->SetField("ID", "U1");
  EXPECT_NE(u->Insert("U"), 0);       // the lost transaction takes no more writes
  EXPECT_NE(Put(*t, "B", 3, "G"), 0);
  EXPECT_NE(t->EndTrans(), 0);        // and is not reported as stored
  EXPECT_EQ(CountT(), 2);             // none of its writes is there
  u->SetField("ID", "U1");
  EXPECT_EQ(u->GetEqual("U"), kStatusNotFound);
  // The next transaction works normally.
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(Put(*t, "C", 1, "G"), 0);
  ASSERT_EQ(t->EndTrans(), 0);
  EXPECT_EQ(CountT(), 3);
}

TEST_F(RecordConcurrencyTest, EndCommitsEveryFileForOtherProcesses) {
  auto t = OpenT();
  auto u = OpenU();
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(Put(*t, "B", 1, "G"), 0);
  u->SetField("ID", "U1");
  ASSERT_EQ(u->Insert("U"), 0);
  auto seen_by_child = [&] {
    return InChild([&] {
      auto u2 = OpenU();
      u2->SetField("ID", "U1");
      return u2->GetEqual("U") == 0 ? 1 : 0;
    });
  };
  EXPECT_EQ(seen_by_child(), 0);  // not yet committed
  ASSERT_EQ(t->EndTrans(), 0);
  EXPECT_EQ(seen_by_child(), 1);
  EXPECT_EQ(CountT(), 3);
}

TEST_F(RecordConcurrencyTest, AFileClosedInsideATransactionStillRollsBack) {
  auto t = OpenT();
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(Put(*t, "B", 1, "G"), 0);
  ASSERT_EQ(t->CloseFile(), 0);
  auto late = OpenU();  // opened inside the transaction
  late->SetField("ID", "L");
  ASSERT_EQ(late->Insert("U"), 0);
  ASSERT_EQ(late->AbortTrans(), 0);
  EXPECT_EQ(CountT(), 2);
  late->SetField("ID", "L");
  EXPECT_EQ(late->GetEqual("U"), kStatusNotFound);
}

TEST_F(RecordConcurrencyTest, AWriteLockedByAnotherProcessGives84AfterTheTimeout) {
  auto t = OpenT();
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(Put(*t, "B", 1, "G"), 0);  // holds the file's write lock
  int child = InChild([&] {
    SetBusyTimeout(std::chrono::milliseconds(100));
    auto c = OpenT();
    if (Read(*c, 1) != 0) return 10;  // reading still works
    auto start = std::chrono::steady_clock::now();
    int status = Put(*c, "C", 1, "G");
    auto waited = std::chrono::steady_clock::now() - start;
    return waited >= std::chrono::milliseconds(80) ? status : 11;
  });
  EXPECT_EQ(child, kStatusBusy);
  ASSERT_EQ(t->EndTrans(), 0);
  EXPECT_EQ(CountT(), 3);
}

// Two terminals save at the same moment: each reads and then writes one
// file in a transaction. The later one waits for the earlier to end instead
// of failing at once with 84.
TEST_F(RecordConcurrencyTest, TransactionsOfTwoProcessesOnOneFileTakeTurns) {
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  // The child starts before the parent's transaction holds a lock: a
  // forked child must not inherit one.
  const pid_t pid = fork();
  if (pid == 0) {
    close(go[1]);
    char byte = 0;
    if (read(go[0], &byte, 1) != 1) _exit(21);
    auto c = OpenT();
    if (c->BeginTrans() != 0) _exit(20);
    int status = Read(*c, 2);
    if (status == 0) {
      c->SetField("AMT", 2);
      status = c->Update();
    }
    if (status == 0) status = c->EndTrans();
    _exit(status);
  }
  close(go[0]);
  auto t = OpenT();
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(Read(*t, 1), 0);
  ASSERT_EQ(write(go[1], "g", 1), 1);
  close(go[1]);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the child is under way
  t->SetField("AMT", 1);
  const int updated = t->Update();
  const int committed = updated == 0 ? t->EndTrans() : -1;
  if (committed != 0) t->AbortTrans();
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  EXPECT_EQ(updated, 0);
  EXPECT_EQ(committed, 0);
  ASSERT_TRUE(WIFEXITED(wstatus));
  EXPECT_EQ(WEXITSTATUS(wstatus), 0);
  ASSERT_EQ(Read(*t, 1), 0);
  EXPECT_EQ(t->GetField("AMT").ToLong(), 1);
  ASSERT_EQ(Read(*t, 2), 0);
  EXPECT_EQ(t->GetField("AMT").ToLong(), 2);
}

}  // namespace
}  // namespace qz::record::testing

namespace qz::record::testing {
namespace {

// More files than one connection can attach: a transaction still covers
// every one of them.
TEST(RecordManyFiles, ATransactionCoversMoreThanTenOpenFiles) {
  char tmpl[] = "/tmp/qz_record_many_XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string dir = tmpl;
  constexpr int kFiles = 23;
  Definitions defs;
  for (int i = 0; i < kFiles; ++i) {
    const std::string name = "F" + std::to_string(i) + ".BTR";
    defs.AddFile(FileDef{name, 8, {KeyDef{{KeySegment{1, 4, SegmentKind::kNumeric}}, true}}});
    defs.AddDefinition("F" + std::to_string(i), name, 0);
  }
  std::ofstream(dir + "/CPFSPEC.INI") << defs.ToIni();
  std::vector<std::unique_ptr<BtrAccess>> files;
  for (int i = 0; i < kFiles; ++i) {
    ASSERT_EQ(CreateRecordFile(defs, "F" + std::to_string(i) + ".BTR", dir), 0);
    files.push_back(std::make_unique<BtrAccess>());
    ASSERT_TRUE(files.back()->OpenFile("F" + std::to_string(i) + ".BTR", "F" + std::to_string(i), dir, dir));
    files.back()->DefineNumericField("N", 1, 4, 0);
  }
  auto write_all = [&](int value) {
    ASSERT_EQ(files[0]->BeginTrans(), 0);
    for (int i = 0; i < kFiles; ++i) {
      files[static_cast<std::size_t>(i)]->SetField("N", value);
      ASSERT_EQ(files[static_cast<std::size_t>(i)]->Insert("F" + std::to_string(i)), 0);
    }
  };
  auto count = [&](int value) {
    int n = 0;
    for (int i = 0; i < kFiles; ++i) {
      files[static_cast<std::size_t>(i)]->SetField("N", value);
      n += files[static_cast<std::size_t>(i)]->GetEqual("F" + std::to_string(i)) == 0;
    }
    return n;
  };
  write_all(1);
  ASSERT_EQ(files[5]->AbortTrans(), 0);
  EXPECT_EQ(count(1), 0);
  write_all(2);
  ASSERT_EQ(files[9]->EndTrans(), 0);
  EXPECT_EQ(count(2), kFiles);
  files.clear();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qz::record::testing
