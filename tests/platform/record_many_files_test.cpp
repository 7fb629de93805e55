// One commit over many record files: atomic over more files than one
// connection attaches, also when the committing process is killed at any
// step, when another operator cleans what it left, and while other
// terminals start and clean meanwhile.
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

// A terminal killed in a commit leaves its transaction folder with the
// commit's journals; when their links have gone (SQLite makes a new
// journal in the place of one it no longer reads), nothing names them any
// more, and the next terminal that starts removes the folder with them
// instead of leaving it in the data folder for good.
TEST_P(RecordManyFiles, ADeadTerminalsJournalsThatNoLinkNamesGoAtTheNextStart) {
  if (GetParam() != Engine::kSqlite) GTEST_SKIP() << "the server keeps no journals";
  constexpr int kFiles = 12;  // on two connections
  OpenFiles(kFiles);
  ASSERT_FALSE(HasFatalFailure());
  files.clear();
  ASSERT_EQ(InChild([&] { return CommitDyingAt(kFiles, 7, 1); }), 9);
  int journals = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir_)) {
    const std::string name = e.path().filename().string();
    if (name.ends_with("-journal") && std::filesystem::is_symlink(e.symlink_status())) {
      std::filesystem::remove(e.path());
    } else if (name.rfind(".qzrecord-tx-", 0) == 0 && e.is_directory()) {
      journals += static_cast<int>(std::distance(std::filesystem::directory_iterator(e.path()), {}));
    }
  }
  ASSERT_GT(journals, 0) << "the killed commit left no journal";
  EXPECT_EQ(InChild([&] { return CountIn(kFiles, 7) == 0 ? 0 : 1; }), 0);
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
