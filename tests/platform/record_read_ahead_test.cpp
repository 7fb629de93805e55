// Reads inside a read batch and inside a transaction give what the same
// reads give one by one, position included, on a file larger than the
// blocks the database server's records are fetched in; rewrites held back
// in a transaction keep their statuses.
#include <libpq-fe.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
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

// Another process renumbers every record of code B in one transaction
// between two fetches of a read batch: each keyed read still gives the
// record that one state of the server gives, before or after it, never the
// next record of one state and the records of the other.
TEST_P(RecordReadAheadTest, EachReadOfABatchGivesOneStateOfTheServer) {
  if (GetParam() != Engine::kPostgres) GTEST_SKIP() << "the server's records fetched in blocks";
  int ready[2], go[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(go), 0);
  const pid_t child = fork();
  if (child == 0) {
    // B/n becomes B/n+1, from the top down, in one transaction.
    auto t = OpenT();
    char byte = 0;
    if (write(ready[1], "r", 1) != 1 || read(go[0], &byte, 1) != 1) _exit(20);
    if (t->BeginTrans() != 0) _exit(21);
    for (int num = 120; num >= 0; num -= 3) {
      t->SetField("CODE", "B");
      t->SetField("NUM", num);
      if (t->GetEqual("T") != 0) _exit(22);
      t->SetField("NUM", num + 1);
      if (t->Update() != 0) _exit(23);
    }
    _exit(t->EndTrans() == 0 ? 0 : 24);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  std::vector<std::string> mixed;
  {
    ReadBatch batch;
    t_->SetField("CODE", "A");
    t_->SetField("NUM", 0);
    ASSERT_EQ(t_->GetEqual("T"), 0);  // fetches A and the first records of B
    ASSERT_EQ(write(go[1], "g", 1), 1);
    int wstatus = 0;
    ASSERT_EQ(waitpid(child, &wstatus, 0), child);
    ASSERT_TRUE(WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0) << wstatus;
    for (int num = 0; num <= 117; num += 3) {
      t_->SetRecordBytes("");
      t_->SetField("CODE", "B");
      t_->SetField("NUM", num);
      ASSERT_EQ(t_->GetGreater("T"), 0);
      // Before: B/num+3; after: B/num+1.
      const std::string got = Key(*t_);
      if (got != "B/" + std::to_string(num + 3) && got != "B/" + std::to_string(num + 1)) {
        mixed.push_back("after B/" + std::to_string(num) + ": " + got);
      }
    }
  }
  EXPECT_EQ(mixed, std::vector<std::string>());
}

// After the batch's hold, a yield checks its blocks against the server in
// one statement: blocks nobody changed stay, and another process's write
// shows.
TEST_P(RecordReadAheadTest, AfterItsHoldABatchSeesAnotherProcesssWriteAndKeepsWhatNobodyChanged) {
  if (GetParam() != Engine::kPostgres) GTEST_SKIP() << "the server's records fetched in blocks";
  auto amount_of = [this](int num) {
    t_->SetField("CODE", "A");
    t_->SetField("NUM", num);
    return t_->GetEqual("T") == 0 ? t_->GetField("AMT").ToLong() : -1;
  };
  auto group = [this](const char* grp) {
    t_->SetRecordBytes("");
    t_->SetField("GRP", grp);
    return t_->GetEqual("T2") == 0 ? Key(*t_) : "none";
  };
  auto scan = OpenT();
  ReadBatch batch;
  ASSERT_EQ(amount_of(0), 0);  // fetches the records of A, and of G3 by the other key
  const std::string first_of_g3 = group("G3");
  ASSERT_EQ(scan->GetFirst("T"), 0);
  ASSERT_EQ(scan->GetNext(), 0);  // and a block of the scan
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  const std::uint64_t before = ServerStatements();
  ReleaseBatchLocks(/*only_held_long=*/true);
  EXPECT_EQ(amount_of(30), 0);
  EXPECT_EQ(amount_of(60), 0);
  EXPECT_EQ(group("G3"), first_of_g3);
  ASSERT_EQ(scan->GetNext(), 0);
  EXPECT_EQ(Key(*scan), "A/6");
  EXPECT_EQ(ServerStatements() - before, 1u) << "one check, no fetch";

  const pid_t child = fork();
  if (child == 0) {
    auto t = OpenT();
    t->SetField("CODE", "A");
    t->SetField("NUM", 30);
    if (t->GetEqual("T") != 0) _exit(20);
    t->SetField("AMT", 77);
    _exit(t->Update() == 0 ? 0 : 21);
  }
  int wstatus = 0;
  ASSERT_EQ(waitpid(child, &wstatus, 0), child);
  ASSERT_TRUE(WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0) << wstatus;
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  ReleaseBatchLocks(/*only_held_long=*/true);
  ASSERT_EQ(scan->GetNext(), 0);
  EXPECT_EQ(Key(*scan), "A/9");
  for (int num = 12; num <= 30; num += 3) ASSERT_EQ(scan->GetNext(), 0);
  ASSERT_EQ(Key(*scan), "A/30");
  EXPECT_EQ(scan->GetField("AMT").ToLong(), 77);
  EXPECT_EQ(amount_of(30), 77);
  EXPECT_EQ(amount_of(60), 0);
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

// Inserts in a transaction after a read of their keys: each status as at
// once (a duplicate key 5 at its call), the records readable at once, and
// the commit stores them all in the order of their calls, which duplicates
// of the other key read back in.
TEST_P(RecordReadAheadTest, InsertsInATransactionKeepTheirStatusesAndTheirOrder) {
  ASSERT_EQ(t_->BeginTrans(), 0);
  t_->SetField("CODE", "F");
  t_->SetField("NUM", 0);
  ASSERT_EQ(t_->GetEqual("T"), kStatusNotFound);
  const std::uint64_t before = ServerStatements();
  std::vector<std::string> order;
  for (int num = 200; num >= 0; num -= 2) {
    ASSERT_EQ(Put(*t_, "F", num, "G9", "new"), 0) << num;
    order.push_back("F/" + std::to_string(num));
    if (num == 100) {
      EXPECT_EQ(Put(*t_, "F", 150, "G9"), kStatusDuplicateKey) << "inserted here";
      EXPECT_EQ(Put(*t_, "C", 60, "G9"), kStatusDuplicateKey) << "stored before";
    }
  }
  t_->SetField("CODE", "F");
  t_->SetField("NUM", 150);
  ASSERT_EQ(t_->GetEqual("T"), 0);
  EXPECT_EQ(t_->GetField("NAME").ToText().substr(0, 3), "new");
  // On the server, the 101 inserts are a few statements.
  if (GetParam() == Engine::kPostgres) {
    EXPECT_LE(ServerStatements() - before, 8u);
  }
  ASSERT_EQ(t_->EndTrans(), 0);

  auto check = OpenT();
  std::vector<std::string> read_back;
  check->SetField("GRP", "G9");
  for (int status = check->GetEqual("T2"); status == 0 && check->GetField("GRP").ToText() == "G9";
       status = check->GetNext()) {
    read_back.push_back(Key(*check));
  }
  EXPECT_EQ(read_back, order);
}

// A held-back insert that the server refuses when a later read sends it:
// that read fails, and SendHeldWrites tells the refusal, so that the caller
// can report a failed write; a read that fails on its own (its file gone)
// after the held writes went through gives 0 there.
TEST_P(RecordReadAheadTest, ARefusalOfHeldWritesIsToldApartFromTheFailureOfTheReadThatSentThem) {
  if (GetParam() != Engine::kPostgres) GTEST_SKIP() << "writes held back on the server";
  const std::string schema = "\"" + schema_ + "\"";
  auto admin = [](const std::string& sql) {
    PGconn* c = PQconnectdb(testkit::PgServer()->c_str());
    PGresult* r = PQexec(c, ("SET client_min_messages = warning; " + sql).c_str());
    EXPECT_EQ(PQresultStatus(r), PGRES_COMMAND_OK) << sql << ": " << PQerrorMessage(c);
    PQclear(r);
    PQfinish(c);
  };
  admin("CREATE FUNCTION " + schema + ".refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF position("
        "'REFUSED'::bytea IN NEW.data) > 0 THEN RAISE EXCEPTION 'refused' USING ERRCODE = 'disk_full'; END IF; "
        "RETURN NEW; END $$; CREATE TRIGGER refuse BEFORE INSERT ON " + schema + ".\"T.BTR\" FOR EACH ROW "
        "EXECUTE FUNCTION " + schema + ".refuse()");
  auto u = OpenU();
  auto read = [this](const char* code) {
    t_->SetRecordBytes("");
    t_->SetField("CODE", code);
    t_->SetField("NUM", 0);
    return t_->GetEqual("T");
  };
  ASSERT_EQ(t_->BeginTrans(), 0);
  ASSERT_EQ(read("F"), kStatusNotFound);
  ASSERT_EQ(Put(*t_, "F", 2, "G9"), 0);  // the transaction's first insert goes at once
  ASSERT_EQ(Put(*t_, "F", 4, "G9", "REFUSED"), 0);
  EXPECT_NE(read("A"), 0) << "the read that sent the refused insert";
  EXPECT_EQ(t_->SendHeldWrites(), kStatusIoError);
  ASSERT_EQ(t_->AbortTrans(), 0);

  ASSERT_EQ(t_->BeginTrans(), 0);
  ASSERT_EQ(read("F"), kStatusNotFound);
  ASSERT_EQ(Put(*t_, "F", 2, "G9"), 0);
  ASSERT_EQ(Put(*t_, "F", 4, "G9"), 0);
  admin("DROP TABLE " + schema + ".\"U.BTR\"");
  u->SetField("ID", "X");
  EXPECT_EQ(u->GetEqual("U"), kStatusFileNotFound);
  EXPECT_EQ(t_->SendHeldWrites(), kStatusOk) << "nothing held back was refused";
  ASSERT_EQ(t_->AbortTrans(), 0);
}

QZ_RECORD_ENGINES(RecordReadAheadTest);

// A fixed run of every read, step and write, through two objects on both
// keys of a file of several blocks, gives the same statuses, records and
// positions inside a transaction and inside a read batch as one by one; a
// transaction's run leaves what the plain run left, and its abort leaves
// the file as it was.
class RecordReadAheadScriptTest : public RecordContractTest {
 protected:
  enum class Mode { kPlain, kBatch, kCommit, kAbort };

  // Empties T and fills it again: codes A to F, even numbers 0 to 120,
  // groups G0 to G4 (about 73 records each, more than a first block),
  // inserted out of key order.
  void Refill() {
    auto t = OpenT();
    while (t->GetFirst("T") == 0) ASSERT_EQ(t->Delete(), 0);
    for (int i = 0; i < 366; ++i) {
      const int n = (i * 97) % 366;
      const std::string code(1, static_cast<char>('A' + n % 6));
      ASSERT_EQ(Put(*t, code.c_str(), (n / 6) * 2, ("G" + std::to_string((n * 7) % 5)).c_str()), 0);
    }
  }

  // Every record of T in key order.
  std::vector<std::string> Contents() {
    auto t = OpenT();
    std::vector<std::string> out;
    for (int s = t->GetFirst("T"); s == 0; s = t->GetNext()) {
      out.push_back(Key(*t) + "/" + t->GetField("GRP").ToText() + "/" + t->GetField("AMT").ToText());
    }
    return out;
  }

  std::vector<std::string> Run(Mode mode) {
    Refill();
    auto a = OpenT();
    auto b = OpenT();
    BtrAccess* objects[2] = {a.get(), b.get()};
    std::optional<ReadBatch> batch;
    if (mode == Mode::kBatch) batch.emplace();
    if (mode == Mode::kCommit || mode == Mode::kAbort) EXPECT_EQ(a->BeginTrans(), 0);
    std::uint32_t seed = 20261210;
    auto next = [&seed](int n) {
      seed = seed * 1103515245u + 12345u;
      return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(n));
    };
    using Read = int (BtrAccess::*)(std::string_view);
    const Read reads[] = {&BtrAccess::GetEqual, &BtrAccess::GetGreater, &BtrAccess::GetGreaterOrEqual,
                          &BtrAccess::GetLess,  &BtrAccess::GetLessOrEqual, &BtrAccess::GetFirst,
                          &BtrAccess::GetLast};
    std::vector<std::string> out;
    for (int i = 0; i < 700; ++i) {
      BtrAccess& t = *objects[next(2)];
      const int op = next(15);
      int status = 0;
      if (op < 7) {
        const char* definition = next(3) == 0 ? "T2" : "T";
        t.SetRecordBytes("");
        t.SetField("CODE", std::string(1, static_cast<char>('@' + next(9))));
        t.SetField("NUM", next(127) - 1);
        t.SetField("GRP", "G" + std::to_string(next(7)));
        status = (t.*reads[op])(definition);
      } else if (op < 10) {
        status = t.GetNext();
      } else if (op < 11) {
        status = t.GetPrevious();
      } else if (op < 13) {
        t.SetField("AMT", i);
        if (next(3) == 0) t.SetField("GRP", "G" + std::to_string(next(7)));
        if (next(4) == 0) t.SetField("NUM", next(127));
        status = t.Update();
      } else if (op < 14) {
        status = Put(t, std::string(1, static_cast<char>('A' + next(7))).c_str(), next(127),
                     ("G" + std::to_string(next(7))).c_str());
      } else {
        status = t.Delete();
      }
      out.push_back(std::to_string(i) + " op" + std::to_string(op) + " " + std::to_string(status) + " " + Key(t) +
                    "/" + t.GetField("GRP").ToText() + "/" + t.GetField("AMT").ToText());
    }
    if (mode == Mode::kCommit) EXPECT_EQ(a->EndTrans(), 0);
    if (mode == Mode::kAbort) EXPECT_EQ(a->AbortTrans(), 0);
    batch.reset();
    return out;
  }
};

TEST_P(RecordReadAheadScriptTest, ARunGivesTheSameInABatchAndATransactionAsOneByOne) {
  Refill();
  const std::vector<std::string> seeded = Contents();
  const std::vector<std::string> plain = Run(Mode::kPlain);
  const std::vector<std::string> stored = Contents();
  ASSERT_NE(stored, seeded);
  auto first_difference = [&plain](const std::vector<std::string>& run) {
    for (std::size_t i = 0; i < plain.size() && i < run.size(); ++i) {
      if (plain[i] != run[i]) return "one by one: " + plain[i] + "\n       here: " + run[i];
    }
    return std::string();
  };
  EXPECT_EQ(first_difference(Run(Mode::kBatch)), "") << "in a read batch";
  EXPECT_EQ(Contents(), stored) << "in a read batch";
  EXPECT_EQ(first_difference(Run(Mode::kCommit)), "") << "in a transaction";
  EXPECT_EQ(Contents(), stored) << "in a transaction";
  EXPECT_EQ(first_difference(Run(Mode::kAbort)), "") << "in a transaction aborted";
  EXPECT_EQ(Contents(), seeded) << "nothing of an aborted transaction is stored";
}

// An empty file: every read finds nothing, and a record added in the
// transaction or batch is found by the reads after it.
TEST_P(RecordReadAheadScriptTest, AnEmptyFileGivesItsStatusesAndThenWhatWasAdded) {
  auto t = OpenT();
  auto reads = [&t] {
    std::string out;
    using Read = int (BtrAccess::*)(std::string_view);
    for (Read read : {&BtrAccess::GetEqual, &BtrAccess::GetGreater, &BtrAccess::GetGreaterOrEqual, &BtrAccess::GetLess,
                      &BtrAccess::GetLessOrEqual}) {
      for (const char* definition : {"T", "T2"}) {
        t->SetRecordBytes("");
        t->SetField("CODE", "B");
        t->SetField("NUM", 5);
        t->SetField("GRP", "G1");
        const int status = (t.get()->*read)(definition);
        out += std::to_string(status) + (status == 0 ? ":" + Key(*t) : "") + " ";
      }
    }
    return out;
  };
  const std::string none = "4 4 9 9 9 9 9 9 9 9 ";
  const std::string added = "0:B/5 0:B/5 9 9 0:B/5 0:B/5 9 9 0:B/5 0:B/5 ";
  for (int mode = 0; mode < 2; ++mode) {
    std::optional<ReadBatch> batch;
    if (mode == 0) batch.emplace();
    if (mode == 1) ASSERT_EQ(t->BeginTrans(), 0);
    EXPECT_EQ(reads(), none) << mode;
    ASSERT_EQ(Put(*t, "B", 5, "G1"), 0);
    EXPECT_EQ(reads(), added) << mode;
    if (mode == 1) ASSERT_EQ(t->AbortTrans(), 0);
    if (mode == 0) {
      ASSERT_EQ(t->Delete(), 0);
      EXPECT_EQ(reads(), none) << "deleted";
    }
  }
  EXPECT_EQ(reads(), none) << "aborted";
}

QZ_RECORD_ENGINES(RecordReadAheadScriptTest);

}  // namespace
}  // namespace qz::record::testing
