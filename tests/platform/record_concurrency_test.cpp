#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include "platform/record/definitions.h"
#include "platform/record/read_batch.h"
#include "platform/record/record_store.h"
#include "platform/record/status.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/scripted_shell.h"
#include "record_fixture.h"
#include "record_processes.h"

namespace qz::record::testing {
namespace {

class RecordConcurrencyTest : public RecordContractTest {
 protected:
  void SetUp() override {
    RecordContractTest::SetUp();
    if (Unready()) return;
    auto t = OpenT();
    ASSERT_EQ(Put(*t, "A", 1, "G"), 0);
    ASSERT_EQ(Put(*t, "A", 2, "G"), 0);
  }
  void TearDown() override {
    SetBusyTimeout(std::chrono::milliseconds(5000));
    RecordContractTest::TearDown();
  }
  // Another terminal's insert of A/`num` that waits at most 300 ms for the
  // file; its status.
  std::function<int()> QuickInsert(int num) {
    return [this, num] {
      SetBusyTimeout(std::chrono::milliseconds(300));
      auto c = OpenT();
      return Put(*c, "A", num, "G");
    };
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

TEST_P(RecordConcurrencyTest, UpdateOrDeleteAfterAnotherObjectsChangeGives80) {
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

TEST_P(RecordConcurrencyTest, UpdateAfterAnotherProcessesChangeGives80) {
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

TEST_P(RecordConcurrencyTest, AnotherThreadHasItsOwnConnectionsAndTransaction) {
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
TEST_P(RecordConcurrencyTest, AfterAnAbortTheSameObjectWritesTheRecordItReadAgain) {
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

TEST_P(RecordConcurrencyTest, AbortUndoesWritesOnEveryOpenFile) {
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

TEST_P(RecordConcurrencyTest, ATransactionThatTheEngineRolledBackCannotBeHalfCommitted) {
  // A write that fails inside a transaction may make the engine undo the
  // whole transaction on its own (SQLite after an interrupted write, the
  // server after any failed statement). The writes after it must not start
  // a new one that EndTrans would then store: the consultation would be
  // half saved.
  auto t = OpenT();
  auto u = OpenU();
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(Put(*t, "B", 1, "G"), 0);
  if (GetParam() == Engine::kSqlite) {
    internal::InterruptWritesForTesting(true);
    EXPECT_NE(Put(*t, "B", 2, "G"), 0);
    internal::InterruptWritesForTesting(false);
  } else {
    // Another terminal's transaction holds U.BTR: the insert waits, then
    // fails, and the server ends the transaction.
    HoldingChild other([&] {
      auto c = OpenU();
      c->SetField("ID", "C1");
      return c->BeginTrans() == 0 && c->Insert("U") == 0;
    });
    ASSERT_TRUE(other.Held());
    SetBusyTimeout(std::chrono::milliseconds(100));
    u->SetField("ID", "U2");
    EXPECT_EQ(u->Insert("U"), kStatusBusy);
    SetBusyTimeout(std::chrono::milliseconds(5000));
    EXPECT_EQ(other.Release(), 0);
  }
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

TEST_P(RecordConcurrencyTest, EndCommitsEveryFileForOtherProcesses) {
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

TEST_P(RecordConcurrencyTest, AFileClosedInsideATransactionStillRollsBack) {
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

// A positioning read that fails for another reason than "not found" (the
// file busy past the wait, a failed read) leaves nothing to write or step
// from: an Update after it must not rewrite the record read before.
TEST_P(RecordConcurrencyTest, AReadThatFailsLeavesNoCurrentRecordAndNoPosition) {
  auto t = OpenT();
  const auto expect_nothing_current = [&] {
    EXPECT_FALSE(t->HasCurrentRecord());
    EXPECT_EQ(t->GetNext(), kStatusNoCurrentRecord);
    EXPECT_EQ(t->GetPrevious(), kStatusNoCurrentRecord);
    EXPECT_EQ(t->Update(), kStatusNoCurrentRecord);
    EXPECT_EQ(t->Delete(), kStatusNoCurrentRecord);
  };
  {
    SCOPED_TRACE("busy");
    HoldingChild other([&] {  // another terminal's transaction holds T.BTR
      auto c = OpenT();
      return c->BeginTrans() == 0 && Put(*c, "C", 1, "G") == 0;
    });
    ASSERT_TRUE(other.Held());
    ASSERT_EQ(Read(*t, 1), 0);
    SetBusyTimeout(std::chrono::milliseconds(100));
    ASSERT_EQ(t->BeginTrans(), 0);
    EXPECT_EQ(Read(*t, 2), kStatusBusy);
    expect_nothing_current();
    t->AbortTrans();
    SetBusyTimeout(std::chrono::milliseconds(5000));
    EXPECT_EQ(other.Release(), 0);
  }
  if (GetParam() == Engine::kSqlite) {
    SCOPED_TRACE("failed read");
    ASSERT_EQ(Read(*t, 1), 0);
    internal::InterruptWritesForTesting(true);
    EXPECT_EQ(Read(*t, 2), kStatusIoError);
    internal::InterruptWritesForTesting(false);
    expect_nothing_current();
  }
  ASSERT_EQ(Read(*t, 2), 0);  // A/1 and A/2 are as they were
  EXPECT_EQ(CountT(), 2);
}

TEST_P(RecordConcurrencyTest, AWriteLockedByAnotherProcessGives84AfterTheTimeout) {
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
TEST_P(RecordConcurrencyTest, TransactionsOfTwoProcessesOnOneFileTakeTurns) {
  WaitingChild child([&] {
    auto c = OpenT();
    if (c->BeginTrans() != 0) return 20;
    int status = Read(*c, 2);
    if (status == 0) {
      c->SetField("AMT", 2);
      status = c->Update();
    }
    if (status == 0) status = c->EndTrans();
    return status;
  });
  auto t = OpenT();
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(Read(*t, 1), 0);
  child.Go();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the child is under way
  t->SetField("AMT", 1);
  const int updated = t->Update();
  const int committed = updated == 0 ? t->EndTrans() : -1;
  if (committed != 0) t->AbortTrans();
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_EQ(updated, 0);
  EXPECT_EQ(committed, 0);
  ASSERT_EQ(Read(*t, 1), 0);
  EXPECT_EQ(t->GetField("AMT").ToLong(), 1);
  ASSERT_EQ(Read(*t, 2), 0);
  EXPECT_EQ(t->GetField("AMT").ToLong(), 2);
}

// Two terminals save the same examinee at the same moment: each reads the
// record in a transaction and writes back what it read plus its own part.
// The later writer either read the earlier one's write (it waited for it)
// or gets 80: never is a write lost.
TEST_P(RecordConcurrencyTest, TwoProcessesSavingTheSameRecordNeverLoseAWrite) {
  WaitingChild other([&] {
    auto c = OpenT();
    if (c->BeginTrans() != 0) return 20;
    int status = Read(*c, 1);
    if (status == 0) {
      c->SetField("AMT", c->GetField("AMT").ToLong() + 10);
      status = c->Update();
    }
    if (status == 0) status = c->EndTrans();
    if (status != 0) c->AbortTrans();
    return status;
  });
  auto t = OpenT();
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(Read(*t, 1), 0);
  other.Go();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the child is under way
  t->SetField("AMT", t->GetField("AMT").ToLong() + 1);
  int parent = t->Update();
  if (parent == 0) parent = t->EndTrans();
  if (parent != 0) t->AbortTrans();
  const int child = other.Wait();
  // Each one that was refused was refused with 80; what was stored holds
  // the part of every one that succeeded.
  EXPECT_TRUE(parent == 0 || parent == kStatusChanged) << parent;
  EXPECT_TRUE(child == 0 || child == kStatusChanged) << child;
  EXPECT_TRUE(parent == 0 || child == 0);
  ASSERT_EQ(Read(*t, 1), 0);
  EXPECT_EQ(t->GetField("AMT").ToLong(), (parent == 0 ? 1 : 0) + (child == 0 ? 10 : 0));
}

// An aborted transaction undoes the object's Update too: its next Update
// of the record it read is no false 80.
TEST_P(RecordConcurrencyTest, AnUpdateAfterAnAbortedUpdateIsNoFalseChange) {
  auto t = OpenT();
  ASSERT_EQ(Read(*t, 1), 0);
  ASSERT_EQ(t->BeginTrans(), 0);
  t->SetField("AMT", 3);
  ASSERT_EQ(t->Update(), 0);
  t->SetField("AMT", 4);
  ASSERT_EQ(t->Update(), 0);
  ASSERT_EQ(t->AbortTrans(), 0);
  t->SetField("AMT", 5);
  EXPECT_EQ(t->Update(), 0);
  auto other = OpenT();
  ASSERT_EQ(Read(*other, 1), 0);
  EXPECT_EQ(other->GetField("AMT").ToLong(), 5);
  // A committed Update keeps counting: the record is this object's still.
  ASSERT_EQ(t->BeginTrans(), 0);
  t->SetField("AMT", 6);
  ASSERT_EQ(t->Update(), 0);
  ASSERT_EQ(t->EndTrans(), 0);
  EXPECT_EQ(t->Delete(), 0);
}

// Reads inside a read batch see what plain reads see: this thread's writes
// at once (a scan goes on over a record written behind it), and a write
// inside the batch is committed for other processes at once.
TEST_P(RecordConcurrencyTest, AReadBatchSeesEveryWriteAndCommitsWritesAtOnce) {
  auto t = OpenT();
  auto w = OpenT();
  ReadBatch batch;
  std::string seen;
  for (int s = t->GetFirst("T"); s == 0; s = t->GetNext()) {
    seen += Key(*t) + " ";
    if (Key(*t) == "A/1") {
      ASSERT_EQ(Put(*w, "A", 5, "G"), 0);  // after the position
    }
    if (Key(*t) == "A/2") {
      EXPECT_EQ(InChild([&] {
                  auto c = OpenT();
                  c->SetField("CODE", "A");
                  c->SetField("NUM", 5);
                  return c->GetEqual("T");
                }),
                0);
    }
  }
  EXPECT_EQ(seen, "A/1 A/2 A/5 ");
  // Backwards too, after a delete behind the position.
  seen.clear();
  for (int s = t->GetLast("T"); s == 0; s = t->GetPrevious()) {
    seen += Key(*t) + " ";
    if (Key(*t) == "A/5") {
      ASSERT_EQ(Read(*w, 1), 0);
      ASSERT_EQ(w->Delete(), 0);
    }
  }
  EXPECT_EQ(seen, "A/5 A/2 ");
}

// A message box that stands in the middle of a read batch holds no lock
// against another terminal: its write while the box stands goes through
// within a short wait, and the batch reads on after the box.
TEST_P(RecordConcurrencyTest, AReadBatchGivesItsLocksBackWhileABoxStands) {
  auto t = OpenT();
  WaitingChild child(QuickInsert(3));
  ui::ScriptedShell shell;
  shell.auto_answer = true;
  int written = -1;
  shell.on_box = [&](const ui::MessageBoxRequest&) {
    child.Go();
    written = child.Wait();
  };
  std::string seen;
  {
    ReadBatch batch;
    int s = t->GetFirst("T");
    ASSERT_EQ(s, 0);
    seen += Key(*t) + " ";
    ui::MessageBoxRequest box;
    box.text = "a question";
    ui::MsgBox(box);
    for (s = t->GetNext(); s == 0; s = t->GetNext()) seen += Key(*t) + " ";
    EXPECT_EQ(s, kStatusEndOfFile);
  }
  EXPECT_EQ(written, 0);
  EXPECT_EQ(seen, "A/1 A/2 A/3 ");
}

// A modal form shown in the middle of a read batch holds no lock against
// another terminal while it waits for the operator, also after an action
// of the operator in it read a record.
TEST_P(RecordConcurrencyTest, AReadBatchGivesItsLocksBackWhileAModalFormWaits) {
  auto t = OpenT();
  WaitingChild child(QuickInsert(3));
  ui::ScriptedShell shell;
  ui::Form dialog("frmDialog");
  int written = -1;
  shell.Do([&] { EXPECT_EQ(Read(*t, 1), 0); })  // the operator's action reads
      .Do([&] {
        child.Go();
        written = child.Wait();
      })
      .Do([&] { dialog.Hide(); });
  ASSERT_TRUE(shell.Drive([&] {
    ReadBatch batch;
    dialog.Show(true);
  }));
  EXPECT_EQ(written, 0);
}

// A scan begun in a read batch and continued inside a transaction reads
// on under the transaction's lock: what another terminal committed before
// the transaction began is seen.
TEST_P(RecordConcurrencyTest, AScanGoingOnIntoATransactionSeesWhatWasCommittedBefore) {
  auto t = OpenT();
  WaitingChild child([&] {
    auto c = OpenT();
    return Put(*c, "A", 3, "G");
  });
  ReadBatch batch;
  ASSERT_EQ(t->GetFirst("T"), 0);
  ASSERT_EQ(t->GetNext(), 0);
  ASSERT_EQ(Key(*t), "A/2");
  child.Go();
  // The other terminal's insert commits meanwhile: on the server at once,
  // on SQLite once the transaction below has given the batch's read back
  // (until then its commit waits for the file).
  ASSERT_TRUE(child.AwaitEndOr([&] { return ACommitWaitsForFile(dir_ + "/T.BTR"); }));
  ASSERT_EQ(t->BeginTrans(), 0);
  EXPECT_EQ(t->GetNext(), 0);
  EXPECT_EQ(Key(*t), "A/3");
  EXPECT_EQ(t->AbortTrans(), 0);
  EXPECT_EQ(child.Wait(), 0);
}

// A read batch holds its read of one file while it reads another: when
// another terminal's commit over both files has taken the second and waits
// for the first, the batch gives its reads back instead of waiting with
// them, so that neither side waits out its timeout and fails.
TEST_P(RecordConcurrencyTest, AReadBatchNeverWaitsWithItsReadsAgainstAnotherTerminalsCommit) {
  SetBusyTimeout(std::chrono::milliseconds(2000));
  auto t = OpenT();
  auto u = OpenU();
  WaitingChild child([&] {
    SetBusyTimeout(std::chrono::milliseconds(2000));
    // U first: its commit takes U, then waits for T.
    auto cu = OpenU();
    auto ct = OpenT();
    if (cu->BeginTrans() != 0) return 30;
    cu->SetRecordBytes("");
    cu->SetField("ID", "B1");
    if (cu->Insert("U") != 0) return 31;
    if (Put(*ct, "B", 9, "G") != 0) return 32;
    return cu->EndTrans();
  });
  int read_u = -1;
  {
    ReadBatch batch;
    ASSERT_EQ(Read(*t, 1), 0);  // the batch now reads T
    child.Go();
    // The child's commit has taken U and waits for T (on the server it
    // waits for nothing and ends).
    ASSERT_TRUE(child.AwaitEndOr([&] { return ACommitWaitsForFile(dir_ + "/T.BTR"); }));
    u->SetField("ID", "B1");
    read_u = u->GetEqual("U");
  }
  EXPECT_EQ(child.Wait(), 0) << "the other terminal's commit went through";
  EXPECT_EQ(read_u, 0) << "the batch read what it committed";
}

// The data folder is shared by every operator: a link planted where a
// file's journal goes is no journal of a transaction, and what it points to
// is neither removed nor written, by a new process's first open, a read
// or a write.
TEST_P(RecordConcurrencyTest, ALinkPlantedAsAJournalNeverReachesWhatItPointsTo) {
  if (GetParam() != Engine::kSqlite) GTEST_SKIP() << "the server keeps no journals";
  const std::string victim = dir_ + ".victim";
  std::ofstream(victim, std::ios::binary) << "an operator's own file";
  ASSERT_EQ(symlink(victim.c_str(), (dir_ + "/T.BTR-journal").c_str()), 0);
  EXPECT_EQ(InChild([&] {
              auto c = OpenT();
              if (Read(*c, 1) != 0) return 1;
              if (c->BeginTrans() != 0 || Put(*c, "C", 1, "G") != 0 || c->EndTrans() != 0) return 2;
              return Put(*c, "C", 2, "G") == 0 ? 0 : 3;
            }),
            0);
  std::ifstream in(victim, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove(victim);
  EXPECT_EQ(text, "an operator's own file");
  EXPECT_EQ(CountT(), 4);
}

QZ_RECORD_ENGINES(RecordConcurrencyTest);

}  // namespace
}  // namespace qz::record::testing
