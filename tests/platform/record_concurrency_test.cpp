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

// A child process that waits for Go() before it runs `body`; Wait() gives
// its exit status (-1 when it died). The child starts before the parent
// takes any lock: a forked child must not inherit one.
class WaitingChild {
 public:
  explicit WaitingChild(const std::function<int()>& body) {
    if (pipe(go_) != 0) std::abort();
    pid_ = fork();
    if (pid_ == 0) {
      close(go_[1]);
      char byte = 0;
      if (read(go_[0], &byte, 1) != 1) _exit(21);
      _exit(body());
    }
    close(go_[0]);
  }
  void Go() {
    if (write(go_[1], "g", 1) != 1) std::abort();
    close(go_[1]);
  }
  // Waits until the child has ended or `reached()` holds, polling for at
  // most a minute; false when neither came about.
  bool AwaitEndOr(const std::function<bool()>& reached) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < deadline) {
      if (Ended() || reached()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
  }
  int Wait() {
    if (!ended_) Reap(0);
    return status_;
  }
  // True once the child has ended (without waiting for it).
  bool Ended() {
    if (!ended_) Reap(WNOHANG);
    return ended_;
  }

 private:
  void Reap(int options) {
    int wstatus = 0;
    if (waitpid(pid_, &wstatus, options) != pid_) return;
    ended_ = true;
    status_ = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  }

  int go_[2] = {-1, -1};
  pid_t pid_ = -1;
  bool ended_ = false;
  int status_ = -1;
};

// True when another process's commit of the SQLite file `path` waits for
// its readers to go: it holds the file's pending lock (the byte SQLite
// locks at 1 GiB while it waits to write). False for a file that does not
// exist (the server engine's files live on the server).
bool ACommitWaitsForFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock probe {};
  probe.l_type = F_RDLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = 0x40000000;
  probe.l_len = 1;
  const bool waits = fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type == F_WRLCK;
  close(fd);
  return waits;
}

// A child process that takes a lock of another terminal (`take` returns
// true once it holds it) and keeps it until Release(), which aborts the
// child's transaction and gives its exit status (-1 when it died).
class HoldingChild {
 public:
  explicit HoldingChild(const std::function<bool()>& take) {
    if (pipe(held_) != 0 || pipe(done_) != 0) std::abort();
    pid_ = fork();
    if (pid_ == 0) {
      close(held_[0]);
      close(done_[1]);
      if (!take()) _exit(1);
      char byte = 0;
      if (write(held_[1], "h", 1) != 1 || read(done_[0], &byte, 1) != 1) _exit(2);
      BtrAccess().AbortTrans();
      _exit(0);
    }
    close(held_[1]);
    close(done_[0]);
  }
  // Waits until the child holds its lock; false when it could not take it.
  bool Held() {
    char byte = 0;
    return read(held_[0], &byte, 1) == 1;
  }
  int Release() {
    if (write(done_[1], "d", 1) != 1) std::abort();
    close(done_[1]);
    close(held_[0]);
    int wstatus = 0;
    waitpid(pid_, &wstatus, 0);
    return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  }

 private:
  int held_[2] = {-1, -1}, done_[2] = {-1, -1};
  pid_t pid_ = -1;
};

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

namespace qz::record::testing {
namespace {

class RecordManyFiles : public RecordContractTest {
 protected:
  void TearDown() override {
    files.clear();
    SetBusyTimeout(std::chrono::milliseconds(5000));
    RecordContractTest::TearDown();
  }
  // Creates and opens F0.BTR .. F<n-1>.BTR (field N, bytes 1-4, the unique
  // key; definition "F<i>"), in that order.
  void OpenFiles(int n) {
    Definitions defs;
    for (int i = 0; i < n; ++i) {
      const std::string name = "F" + std::to_string(i) + ".BTR";
      defs.AddFile(FileDef{name, 8, {KeyDef{{KeySegment{1, 4, SegmentKind::kNumeric}}, true}}});
      defs.AddDefinition("F" + std::to_string(i), name, 0);
    }
    if (GetParam() == Engine::kPostgres) defs.AddStorage(dir_, testkit::PgStorage(schema_));
    std::ofstream(dir_ + "/CPFSPEC.INI") << defs.ToIni();
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(CreateRecordFile(defs, "F" + std::to_string(i) + ".BTR", dir_), 0);
      files.push_back(OpenF(i));
    }
  }
  std::unique_ptr<BtrAccess> OpenF(int i) const {
    auto f = std::make_unique<BtrAccess>();
    EXPECT_TRUE(f->OpenFile("F" + std::to_string(i) + ".BTR", "F" + std::to_string(i), dir_, dir_));
    f->DefineNumericField("N", 1, 4, 0);
    return f;
  }
  // How many of F0 .. F<n-1> hold a record N = `value`, read through
  // objects of their own (in a forked child the parent's must not be used).
  int CountIn(int n, int value) const {
    int found = 0;
    for (int i = 0; i < n; ++i) {
      auto f = OpenF(i);
      f->SetField("N", value);
      found += f->GetEqual("F" + std::to_string(i)) == 0;
    }
    return found;
  }
  // Writes N = `value` into file `i` through `f`; returns the status.
  static int PutN(BtrAccess& f, int i, int value) {
    f.SetField("N", value);
    return f.Insert("F" + std::to_string(i));
  }

  // What commits left in the folder: journals and transaction folders.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> found;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) {
      const std::string name = e.path().filename().string();
      if (name.ends_with("-journal") || name.rfind(".qzrecord-tx-", 0) == 0) found.push_back(name);
    }
    return found;
  }
  // In a child: writes N = `value` into F0 .. F<n-1> in one transaction
  // whose commit dies at `step` (exit 9); 0 when the commit went through.
  int CommitDyingAt(int n, int value, int step) const {
    std::vector<std::unique_ptr<BtrAccess>> mine;
    for (int i = 0; i < n; ++i) mine.push_back(OpenF(i));
    if (mine[0]->BeginTrans() != 0) return 1;
    for (int i = 0; i < n; ++i) {
      if (PutN(*mine[static_cast<std::size_t>(i)], i, value) != 0) return 2;
    }
    internal::DieAtCommitStepForTesting(step);
    return mine[0]->EndTrans() == 0 ? 0 : 3;
  }

  // Kills a terminal at each step of a commit over F0 .. F<n-1> in turn,
  // until one goes through. After each, a new process (its first open
  // cleans the folder) must find the files wholly old or wholly new, and
  // the folder must hold nothing of the commits but the names for which
  // `others` holds.
  void KillAtEachStepAndClean(int n, const std::function<bool(const std::string&)>& others) {
    int completed_at = 0;
    for (int step = 1; step < 5000 && completed_at == 0 && !HasFailure(); ++step) {
      SCOPED_TRACE(step);
      const int value = 1000 + step;
      const int writer = InChild([&] { return CommitDyingAt(n, value, step); });
      ASSERT_TRUE(writer == 0 || writer == 9) << writer;
      if (writer == 0) completed_at = step;
      const int stored = InChild([&] { return CountIn(n, value); });
      EXPECT_TRUE(stored == 0 || stored == n) << stored << " of the files hold the commit";
      if (writer == 0) {
        EXPECT_EQ(stored, n);
      }
      std::vector<std::string> left = Leftovers();
      std::erase_if(left, others);
      EXPECT_EQ(left, std::vector<std::string>{});
    }
    EXPECT_GT(completed_at, 1) << "the commit went through at last, after dying at every step before";
  }

  std::vector<std::unique_ptr<BtrAccess>> files;
};

// More files than one SQLite connection can attach: a transaction still
// covers every one of them.
TEST_P(RecordManyFiles, ATransactionCoversMoreThanTenOpenFiles) {
  constexpr int kFiles = 23;
  OpenFiles(kFiles);
  ASSERT_FALSE(HasFatalFailure());
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
  if (GetParam() != Engine::kSqlite) return;  // the server commits one transaction
  // A commit that fails on one file, the last, the first or one between,
  // stores nothing on any file, for this process and for others.
  for (const char* failing : {"/F22.BTR", "/F0.BTR", "/F13.BTR"}) {
    SCOPED_TRACE(failing);
    write_all(3);
    internal::FailFileWritesForTesting(failing);
    EXPECT_NE(files[0]->EndTrans(), 0);
    internal::FailFileWritesForTesting("");
    files[0]->AbortTrans();
    EXPECT_EQ(count(3), 0);
    EXPECT_EQ(InChild([&] { return CountIn(kFiles, 3); }), 0);
    EXPECT_EQ(count(2), kFiles);
  }
  write_all(3);
  ASSERT_EQ(files[0]->EndTrans(), 0);
  EXPECT_EQ(count(3), kFiles);
  EXPECT_EQ(InChild([&] { return CountIn(kFiles, 3); }), kFiles);
}

// A terminal killed at any step of a commit over more files than one SQLite
// connection takes: the next process that opens one of the files finds
// them all as before the commit or all as after it, and nothing of the
// commit's journals left in the folder.
TEST_P(RecordManyFiles, ACommitKilledAtAnyStepLeavesTheFilesWhollyOldOrWhollyNew) {
  if (GetParam() != Engine::kSqlite) GTEST_SKIP() << "the server commits one transaction";
  constexpr int kFiles = 12;  // on two connections
  OpenFiles(kFiles);
  ASSERT_FALSE(HasFatalFailure());
  files.clear();  // the children open their own
  KillAtEachStepAndClean(kFiles, [](const std::string&) { return false; });
}

// Two operators of one group (other user ids, each of his own primary
// group, the umask 007) on a set-group-id data folder: the first is killed
// at each step of a commit over many files, and the second, opening the
// files next, rolls back or removes what the first left, so that the files
// are wholly old or wholly new and the folder clean. The journals left
// behind must be the group's, as every file of the folder is.
TEST_P(RecordManyFiles, ACommitOfAnOperatorKilledAtAnyStepIsCleanedByAnotherOperatorOfTheGroup) {
  if (GetParam() != Engine::kSqlite) GTEST_SKIP() << "the server commits one transaction";
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as two operators";
  constexpr int kFiles = 12;  // on two connections
  constexpr gid_t kGroup = 60500;
  OpenFiles(kFiles);
  ASSERT_FALSE(HasFatalFailure());
  files.clear();
  ASSERT_EQ(::chown(dir_.c_str(), 0, kGroup), 0);
  ASSERT_EQ(::chmod(dir_.c_str(), 02770), 0);
  for (const auto& e : std::filesystem::directory_iterator(dir_)) {
    ASSERT_EQ(::chown(e.path().c_str(), 0, kGroup), 0);
    ASSERT_EQ(::chmod(e.path().c_str(), 0660), 0);
  }
  // Runs `body` as operator `uid` (his own primary group, the centre's as
  // a further one) with the umask 007.
  const auto as_operator = [](uid_t uid, const std::function<int()>& body) {
    return InChild([&] {
      const gid_t groups[1] = {kGroup};
      if (::setgroups(1, groups) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0) return 200;
      ::umask(007);
      return body();
    });
  };
  int completed_at = 0;
  for (int step = 1; step < 5000 && completed_at == 0 && !HasFailure(); ++step) {
    SCOPED_TRACE(step);
    const int value = 1000 + step;
    const int writer = as_operator(60001, [&] { return CommitDyingAt(kFiles, value, step); });
    ASSERT_TRUE(writer == 0 || writer == 9) << writer;
    if (writer == 0) completed_at = step;
    const int stored = as_operator(60002, [&] { return CountIn(kFiles, value); });
    EXPECT_TRUE(stored == 0 || stored == kFiles) << stored << " of the files hold the commit";
    if (writer == 0) {
      EXPECT_EQ(stored, kFiles);
    }
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
  }
  EXPECT_GT(completed_at, 1);
}

// Two terminals commit over the same files at once, in opposite orders:
// each commit is stored on every file or on none, and one that reports
// success is stored.
TEST_P(RecordManyFiles, TwoProcessesCommittingOverTheSameFilesStoreEachCommitWhollyOrNot) {
  constexpr int kFiles = 12;  // on two connections
  constexpr int kRounds = 10;
  OpenFiles(kFiles);
  ASSERT_FALSE(HasFatalFailure());
  files.clear();
  const auto committer = [&](int base, bool backwards) {
    return [&, base, backwards] {
      SetBusyTimeout(std::chrono::milliseconds(500));
      std::vector<std::unique_ptr<BtrAccess>> mine;
      for (int i = 0; i < kFiles; ++i) mine.push_back(OpenF(i));
      int committed = 0;  // a bit for each round that reported success
      for (int round = 0; round < kRounds; ++round) {
        if (mine[0]->BeginTrans() != 0) return 255;
        int status = 0;
        for (int k = 0; k < kFiles && status == 0; ++k) {
          const int i = backwards ? kFiles - 1 - k : k;
          status = PutN(*mine[static_cast<std::size_t>(i)], i, base + round);
        }
        if (status == 0) status = mine[0]->EndTrans();
        if (status == 0) {
          committed |= 1 << round;
        } else {
          mine[0]->AbortTrans();
        }
      }
      // The result's low bits are lost to the exit status: written to a file.
      std::ofstream(dir_ + "/committed-" + std::to_string(base)) << committed;
      return 0;
    };
  };
  WaitingChild a(committer(100, false));
  WaitingChild b(committer(200, true));
  a.Go();
  b.Go();
  ASSERT_EQ(a.Wait(), 0);
  ASSERT_EQ(b.Wait(), 0);
  for (const int base : {100, 200}) {
    int committed = 0;
    std::ifstream(dir_ + "/committed-" + std::to_string(base)) >> committed;
    for (int round = 0; round < kRounds; ++round) {
      SCOPED_TRACE(base + round);
      const int stored = CountIn(kFiles, base + round);
      EXPECT_EQ(stored, (committed >> round & 1) ? kFiles : 0);
    }
  }
}

// Terminals that start while another commits clean the folder of what dead
// processes left (at their first open): they never take a live commit's
// transaction folder, not even one just made, nor its super-journal while
// it is still being written, so every commit goes through. (The race shows
// best on a loaded machine; the test exercises it on every run.)
TEST_P(RecordManyFiles, TerminalsStartingMeanwhileNeverTakeALiveCommitsFolder) {
  if (GetParam() != Engine::kSqlite) GTEST_SKIP() << "the server keeps no journals";
  constexpr int kFiles = 2;
  constexpr int kRounds = 300;
  constexpr int kMostStarts = 5000;
  OpenFiles(kFiles);
  ASSERT_FALSE(HasFatalFailure());
  files.clear();
  WaitingChild committer([&] {
    SetBusyTimeout(std::chrono::milliseconds(5000));
    auto f0 = OpenF(0);
    auto f1 = OpenF(1);
    for (int round = 0; round < kRounds; ++round) {
      if (f0->BeginTrans() != 0) return 10;
      if (PutN(*f0, 0, round) != 0 || PutN(*f1, 1, round) != 0) return 11;
      if (f0->EndTrans() != 0) return 12;
    }
    return 0;
  });
  // Terminals start four at a time, each a process of its own, until the
  // commits are done.
  const std::string done = dir_ + "/commits-done";
  const auto starter = [&] {
    for (int started = 0; started < kMostStarts && !std::filesystem::exists(done); ++started) {
      InChild([&] { return OpenF(1) ? 0 : 1; });
    }
    return 0;
  };
  std::vector<std::unique_ptr<WaitingChild>> starters;
  for (int i = 0; i < 4; ++i) starters.push_back(std::make_unique<WaitingChild>(starter));
  committer.Go();
  for (auto& s : starters) s->Go();
  const int committed = committer.Wait();
  std::ofstream{done};
  for (auto& s : starters) s->Wait();
  EXPECT_EQ(committed, 0) << "a commit failed while terminals started";
  EXPECT_EQ(CountIn(kFiles, kRounds - 1), kFiles);
}

// A terminal that starts while another's commit over many files stands at
// any of its steps (held there) cleans the folder without taking anything
// of that commit: the commit goes through whole and leaves nothing behind.
TEST_P(RecordManyFiles, ATerminalStartingAtAnyStepOfACommitLeavesItWhole) {
  if (GetParam() != Engine::kSqlite) GTEST_SKIP() << "the server keeps no journals";
  constexpr int kFiles = 12;  // on two connections
  OpenFiles(kFiles);
  ASSERT_FALSE(HasFatalFailure());
  files.clear();
  int completed_at = 0;
  for (int step = 1; step < 5000 && completed_at == 0 && !HasFailure(); ++step) {
    SCOPED_TRACE(step);
    const int value = 1000 + step;
    int held[2], resume[2];
    ASSERT_EQ(pipe(held), 0);
    ASSERT_EQ(pipe(resume), 0);
    WaitingChild committer([&] {
      close(held[0]);
      close(resume[1]);
      internal::AtCommitStepForTesting([&](int at) {
        char byte = 0;
        if (at == step && (write(held[1], "h", 1) != 1 || read(resume[0], &byte, 1) != 1)) _exit(40);
      });
      return CommitDyingAt(kFiles, value, 0);
    });
    close(held[1]);
    close(resume[0]);
    committer.Go();
    char byte = 0;
    const bool stands = read(held[0], &byte, 1) == 1;  // else the commit ended before the step
    if (stands) {
      // A terminal starts: its first open cleans the folder.
      InChild([&] {
        SetBusyTimeout(std::chrono::milliseconds(20));
        BtrAccess f;  // the open may wait in vain for the files that the commit holds
        return f.OpenFile("F0.BTR", "F0", dir_, dir_) ? 0 : 1;
      });
      ASSERT_EQ(write(resume[1], "r", 1), 1);
    } else {
      completed_at = step;
    }
    close(held[0]);
    close(resume[1]);
    EXPECT_EQ(committer.Wait(), 0) << "the commit went through";
    EXPECT_EQ(InChild([&] { return CountIn(kFiles, value); }), kFiles);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
  }
  EXPECT_GT(completed_at, 1);
}

// Terminals commit over the same files at once, some killed in the middle
// of a commit, while others start all along (each cleaning the folder at
// its first open): a commit that reports success is stored on every file,
// a killed one on all or none, a failed one on none, and none fails but
// for a busy file. Once all have ended, a terminal that starts leaves the
// folder clean.
TEST_P(RecordManyFiles, CommitsKilledAndTerminalsStartingMeanwhileKeepEveryCommitWhole) {
  if (GetParam() != Engine::kSqlite) GTEST_SKIP() << "the server keeps no journals";
  constexpr int kFiles = 12;  // on two connections
  constexpr int kCommitters = 3;
  constexpr int kRounds = 30;
  constexpr int kMostStarts = 5000;
  OpenFiles(kFiles);
  ASSERT_FALSE(HasFatalFailure());
  files.clear();
  const auto outcomes_of = [&](int c) { return dir_ + "/outcomes-" + std::to_string(c); };
  // Each round's commit is a terminal of its own, every third one killed at
  // a step of its commit: its status (or 9, killed), one a line.
  const auto committer = [&](int c) {
    return [&, c] {
      std::ofstream out(outcomes_of(c));
      for (int round = 0; round < kRounds; ++round) {
        const int die_at = round % 3 == 2 ? 1 + (round * 7 + c * 13) % 50 : 0;
        out << InChild([&] {
          SetBusyTimeout(std::chrono::milliseconds(2000));
          std::vector<std::unique_ptr<BtrAccess>> mine;
          for (int i = 0; i < kFiles; ++i) {
            mine.push_back(std::make_unique<BtrAccess>());
            const std::string name = "F" + std::to_string(i);
            if (!mine.back()->OpenFile(name + ".BTR", name, dir_, dir_)) return 150;
            mine.back()->DefineNumericField("N", 1, 4, 0);
          }
          if (mine[0]->BeginTrans() != 0) return 200;
          for (int i = 0; i < kFiles; ++i) {
            const int status = PutN(*mine[static_cast<std::size_t>(i)], i, c * 1000 + round);
            if (status != 0) return status == kStatusBusy ? kStatusBusy : 100 + status;
          }
          internal::DieAtCommitStepForTesting(die_at);
          return mine[0]->EndTrans();
        }) << "\n" << std::flush;
      }
      return 0;
    };
  };
  const std::string done = dir_ + "/commits-done";
  const auto starter = [&] {
    for (int started = 0; started < kMostStarts && !std::filesystem::exists(done); ++started) {
      InChild([&] {
        SetBusyTimeout(std::chrono::milliseconds(50));
        BtrAccess f;  // the open may wait in vain for files that a commit holds
        const std::string name = "F" + std::to_string(started % kFiles);
        return f.OpenFile(name + ".BTR", name, dir_, dir_) ? 0 : 1;
      });
    }
    return 0;
  };
  std::vector<std::unique_ptr<WaitingChild>> committers, starters;
  for (int c = 1; c <= kCommitters; ++c) committers.push_back(std::make_unique<WaitingChild>(committer(c)));
  for (int i = 0; i < 4; ++i) starters.push_back(std::make_unique<WaitingChild>(starter));
  for (auto& c : committers) c->Go();
  for (auto& s : starters) s->Go();
  for (auto& c : committers) EXPECT_EQ(c->Wait(), 0);
  std::ofstream{done};
  for (auto& s : starters) s->Wait();
  EXPECT_EQ(InChild([&] { return CountIn(kFiles, -1); }), 0);  // the last start cleans
  for (int c = 1; c <= kCommitters; ++c) {
    std::ifstream in(outcomes_of(c));
    for (int round = 0, status = 0; in >> status; ++round) {
      SCOPED_TRACE(c * 1000 + round);
      const int stored = CountIn(kFiles, c * 1000 + round);
      if (status == 9) {
        EXPECT_TRUE(stored == 0 || stored == kFiles) << stored << " of the files hold a killed commit";
      } else {
        EXPECT_TRUE(status == 0 || status == kStatusBusy) << "the commit failed with " << status;
        EXPECT_EQ(stored, status == 0 ? kFiles : 0);
      }
    }
  }
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

// A terminal killed in a commit over many files may leave SQLite's
// super-journals behind. The next terminal that starts removes them even
// while another terminal's transaction stands in the folder (in a busy
// centre one nearly always does), so that they never pile up.
TEST_P(RecordManyFiles, WhatAKilledCommitLeftGoesWhileAnotherTransactionStands) {
  if (GetParam() != Engine::kSqlite) GTEST_SKIP() << "the server keeps no journals";
  constexpr int kFiles = 12;  // on two connections; F12 is the other terminal's
  OpenFiles(kFiles + 1);
  ASSERT_FALSE(HasFatalFailure());
  files.clear();
  const std::string other_pid = dir_ + "/other-pid";
  HoldingChild other([&] {
    std::ofstream(other_pid) << ::getpid();
    static BtrAccess* f = OpenF(kFiles).release();  // kept to the end of the transaction
    return f->BeginTrans() == 0 && PutN(*f, kFiles, 1) == 0;
  });
  ASSERT_TRUE(other.Held());
  std::string others;
  std::ifstream(other_pid) >> others;
  KillAtEachStepAndClean(kFiles, [&](const std::string& name) {
    return name == "F12.BTR-journal" || name.starts_with(".qzrecord-tx-" + others + "-");
  });
  EXPECT_EQ(other.Release(), 0);
}

// A write inside a read batch, in a transaction or not, does not wait for
// a file with the batch's reads of files on another connection still held:
// another terminal's commit over both files would wait for them meanwhile.
TEST_P(RecordManyFiles, AWriteInsideAReadBatchWaitsWithoutTheBatchsReads) {
  SetBusyTimeout(std::chrono::milliseconds(2000));
  OpenFiles(11);  // F10 lies on a connection of its own
  ASSERT_FALSE(HasFatalFailure());
  for (const bool in_transaction : {true, false}) {
    SCOPED_TRACE(in_transaction ? "in a transaction" : "on its own");
    const int value = in_transaction ? 1 : 2;
    WaitingChild child([&] {
      SetBusyTimeout(std::chrono::milliseconds(2000));
      // F10 first: the commit takes F10, then waits for F0.
      auto f10 = OpenF(10);
      auto f0 = OpenF(0);
      if (f10->BeginTrans() != 0 || PutN(*f10, 10, value) != 0 || PutN(*f0, 0, value) != 0) return 30;
      return f10->EndTrans();
    });
    ReadBatch batch;
    files[0]->SetField("N", 99);
    ASSERT_EQ(files[0]->GetEqual("F0"), kStatusNotFound);  // the batch now reads F0
    child.Go();
    // The child's commit has taken F10 and waits for F0.
    ASSERT_TRUE(child.AwaitEndOr([&] { return ACommitWaitsForFile(dir_ + "/F0.BTR"); }));
    if (in_transaction) {
      ASSERT_EQ(files[10]->BeginTrans(), 0);
    }
    EXPECT_EQ(PutN(*files[10], 10, value + 10), 0);
    if (in_transaction) {
      EXPECT_EQ(files[10]->EndTrans(), 0);
    }
    EXPECT_EQ(child.Wait(), 0) << "the other terminal's commit went through";
  }
}

QZ_RECORD_ENGINES(RecordManyFiles);

}  // namespace
}  // namespace qz::record::testing
