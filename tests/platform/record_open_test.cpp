#include <libpq-fe.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "platform/path/host_path.h"
#include "platform/record/btr_file.h"
#include "platform/record/definitions.h"
#include "platform/record/network_folder.h"
#include "platform/record/status.h"
#include "platform/record/storage_location.h"
#include "platform/record/storage_warning.h"
#include "platform/runtime/failure_note.h"
#include "record_fixture.h"

namespace qz::record::testing {
namespace {

namespace fs = std::filesystem;
using RecordOpenTest = RecordTest;

TEST_F(RecordOpenTest, OpenFailsWhenAnyPartIsMissingOrDisagrees) {
  fs::create_directory(dir_ + "/empty");
  std::ofstream(dir_ + "/empty/OTHER.INI") << "[FILES]\n";
  std::ofstream(dir_ + "/bad.ini") << kDefinitions << "X=NOFILE.BTR,0\r\n";
  // Same file, other record length: the stored file disagrees.
  std::string longer = kDefinitions;
  longer.replace(longer.find("T.BTR=40"), 8, "T.BTR=41");
  std::ofstream(dir_ + "/longer.ini") << longer;
  std::ofstream(dir_ + "/NOTDB.BTR") << "not a database at all, just text";
  std::string notdb = std::string(kDefinitions) + "N=NOTDB.BTR,0\r\n";
  notdb.replace(notdb.find("U.BTR=20"), 8, "U.BTR=20\r\nNOTDB.BTR=20\r\n[NOTDB.BTR]\r\nKEY0=1:2:A");
  std::ofstream(dir_ + "/notdb.ini") << notdb;
  // Each failure is noted for the program's log with its status and what
  // it concerns.
  struct Case {
    const char* name;
    std::string file, definition, data, defs;
    int status;
    std::string noted;
  };
  const Case cases[] = {
      {"no definitions file in the folder", "T.BTR", "T", dir_, dir_ + "/empty", 12, dir_ + "/empty"},
      {"definitions folder missing", "T.BTR", "T", dir_, dir_ + "/nowhere", 12, dir_ + "/nowhere"},
      {"definition missing", "T.BTR", "NOPE", dir_, dir_, 6, dir_ + "/CPFSPEC.INI [NOPE]"},
      {"definition of another file", "T.BTR", "U", dir_, dir_, 6, dir_ + "/CPFSPEC.INI [U]"},
      {"data file missing", "T.BTR", "T", dir_ + "/empty", dir_, 12, dir_ + "/empty/T.BTR"},
      {"malformed definitions", "T.BTR", "T", dir_, dir_ + "/bad.ini", 2, dir_ + "/bad.ini"},
      {"record length disagrees", "T.BTR", "T", dir_, dir_ + "/longer.ini", 2, dir_ + "/T.BTR"},
      {"not a record file", "NOTDB.BTR", "N", dir_, dir_ + "/notdb.ini", 2, dir_ + "/NOTDB.BTR"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    failure_note::Forget();
    BtrAccess t;
    EXPECT_FALSE(t.OpenFile(c.file, c.definition, c.data, c.defs));
    EXPECT_FALSE(t.IsOpen());
    const std::optional<failure_note::Failure> noted = failure_note::Take();
    ASSERT_TRUE(noted);
    EXPECT_EQ(noted->status, c.status);
    EXPECT_EQ(noted->file, c.noted);
  }
  EXPECT_FALSE(fs::exists(dir_ + "/empty/T.BTR"));  // open never creates
}

TEST_F(RecordOpenTest, AFailingOperationIsNotedWithItsFileAndAnOrdinaryAnswerIsNot) {
  BtrAccess t;
  ASSERT_TRUE(t.OpenFile("T.BTR", "T", dir_, dir_));
  failure_note::Forget();
  EXPECT_EQ(t.GetEqual("T"), kStatusNotFound);
  EXPECT_EQ(t.GetFirst("T"), kStatusEndOfFile);
  EXPECT_FALSE(failure_note::Take()) << "not found and end of file are answers, not failures";
  ASSERT_EQ(t.Insert("T"), kStatusOk);
  EXPECT_EQ(t.Insert("T"), kStatusDuplicateKey);
  std::optional<failure_note::Failure> noted = failure_note::Take();
  ASSERT_TRUE(noted);
  EXPECT_EQ(noted->status, kStatusDuplicateKey);
  EXPECT_EQ(noted->file, dir_ + "/T.BTR");
  EXPECT_EQ(failure_note::Words(*noted), "status=5 file=" + dir_ + "/T.BTR");
  EXPECT_EQ(t.GetEqual("NOKEY"), kStatusInvalidKey);
  EXPECT_EQ(failure_note::Take()->status, kStatusInvalidKey);
  t.CloseFile();
  EXPECT_EQ(t.GetNext(), kStatusFileNotOpen);
  EXPECT_EQ(failure_note::Take()->file, dir_ + "/T.BTR") << "the file the object had open";
}

TEST(RecordDefinitions, AServerTableIsNamedWithoutThePasswordOfItsConnection) {
  struct Case {
    const char* storage;
    const char* described;
  };
  const Case cases[] = {
      {"POSTGRESQL host=db password=s3cret dbname=qz schema=data",
       "POSTGRESQL host=db dbname=qz schema=data table=A.BTR"},
      {"POSTGRESQL host=db PASSWORD='s3 cret' user=qz schema=data",
       "POSTGRESQL host=db user=qz schema=data table=A.BTR"},
      {"POSTGRESQL postgresql://qz:s3cret@db/qz schema=data", "POSTGRESQL postgresql://qz@db/qz schema=data table=A.BTR"},
      // The connection string allows blanks around "=", and a URI takes
      // the password as a parameter too.
      {"POSTGRESQL host=db password = s3cret dbname=qz schema=data",
       "POSTGRESQL host=db dbname=qz schema=data table=A.BTR"},
      {"POSTGRESQL host=db password= s3cret dbname=qz schema=data",
       "POSTGRESQL host=db dbname=qz schema=data table=A.BTR"},
      {"POSTGRESQL postgresql://db/qz?user=qz&password=s3cret&sslmode=disable schema=data",
       "POSTGRESQL postgresql://db/qz?user=qz&sslmode=disable schema=data table=A.BTR"},
      {"POSTGRESQL postgres://qz:s3cret@db:5432/qz?PassWord=s3cret schema=data",
       "POSTGRESQL postgres://qz@db:5432/qz schema=data table=A.BTR"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.storage);
    auto d = Definitions::Parse(std::string("[FILES]\nA.BTR=10\n[STORAGE]\nC:\\QZP\\DATA=") + c.storage + "\n");
    ASSERT_TRUE(d);
    const auto l = LocateFile(*d, "C:\\QZP\\DATA", "A.BTR");
    ASSERT_TRUE(l);
    EXPECT_EQ(DescribeLocation(*l), c.described);
  }
}

TEST_F(RecordOpenTest, DefinitionsAndFilesAreFoundWithoutRegardToCase) {
  fs::rename(dir_ + "/CPFSPEC.INI", dir_ + "/cpfspec.ini");
  BtrAccess a, b, c;
  EXPECT_TRUE(a.OpenFile("t.btr", "t", dir_, dir_));
  EXPECT_TRUE(b.OpenFile("T.BTR", "T2", dir_ + "/", dir_ + "/cpfspec.ini"));
  EXPECT_TRUE(c.OpenFile("T.BTR", "T", "C:" + dir_, "D:" + dir_));  // a drive letter is dropped
  std::string back = dir_;
  for (char& ch : back) ch = ch == '/' ? '\\' : ch;
  BtrAccess d;
  EXPECT_TRUE(d.OpenFile("U.BTR", "U", back, back));
}

TEST_F(RecordOpenTest, FoldersMapToThisMachineAsEveryOtherPathDoes) {
  // The data and definition folders come from the path file in the suite's
  // form; a drive or a share maps to the same folder as the INI files see.
  const fs::path dir(dir_);
  path::SetDriveRoot('Q', dir_);
  path::SetNetworkRoot(dir.parent_path().string());
  const std::string share = "\\\\" + dir.filename().string() + "\\";
  struct Case {
    const char* what;
    std::string data, defs;
  };
  const Case cases[] = {
      {"drive", "Q:\\", "q:\\cpfspec.ini"},
      {"drive, no closing separator", "Q:", "Q:\\"},
      {"network share", share, share + "CPFSPEC.INI"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BtrAccess t;
    EXPECT_TRUE(t.OpenFile("T.BTR", "T", c.data, c.defs));
  }
  EXPECT_EQ(CreateRecordFile("Q:\\", "U.BTR", "Q:\\", true), kStatusOk);
  EXPECT_EQ(CreateRecordFile(share, "U.BTR", share, false), kStatusFileExists);
  path::SetDriveRoot('Q', std::nullopt);
  path::SetNetworkRoot(std::nullopt);
}

TEST_F(RecordOpenTest, AnObjectOpensAgainAfterClose) {
  auto t = OpenT();
  ASSERT_EQ(Put(*t, "A", 1, "G"), 0);
  ASSERT_EQ(t->CloseFile(), 0);
  ASSERT_TRUE(t->OpenFile("U.BTR", "U", dir_, dir_));
  EXPECT_TRUE(t->Fields().empty());
  EXPECT_EQ(t->RecordLength(), 20);
  t->DefineAlphaField("ID", 1, 4);
  t->SetField("ID", "A");
  EXPECT_EQ(t->GetEqual("U"), kStatusNotFound);
}

// A mistyped storage line (a schema that is no plain name, here one that
// would end a quoted identifier) opens nothing, touches no server, and says
// which line is wrong.
TEST_F(RecordOpenTest, AMalformedStorageLineOpensNothingAndSaysWhy) {
  std::ofstream(dir_ + "/CPFSPEC.INI", std::ios::binary)
      << kDefinitions << "[STORAGE]\r\n" << dir_ << "=POSTGRESQL host=/nowhere schema=a\"b\r\n";
  BtrAccess t;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(t.OpenFile("T.BTR", "T", dir_, dir_));
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("bad storage of"), std::string::npos) << said;
  EXPECT_EQ(said.find("connect"), std::string::npos) << said;
}

TEST_F(RecordOpenTest, CreateRefusesAnExistingFileUnlessReplacing) {
  auto t = OpenT();
  ASSERT_EQ(Put(*t, "A", 1, "G"), 0);
  t->CloseFile();
  EXPECT_EQ(CreateRecordFile(dir_, "T.BTR", dir_), kStatusFileExists);
  EXPECT_EQ(CreateRecordFile(dir_, "NONE.BTR", dir_), kStatusFileNotFound);
  EXPECT_EQ(CreateRecordFile(dir_ + "/nowhere", "T.BTR", dir_), kStatusFileNotFound);
  ASSERT_EQ(CreateRecordFile(dir_, "T.BTR", dir_, true), 0);
  t = OpenT();
  t->SetField("CODE", "A");
  EXPECT_EQ(t->GetGreaterOrEqual("T"), kStatusEndOfFile);
}

TEST_F(RecordOpenTest, AFolderOnANetworkFileSystemIsWarnedAboutOnce) {
  std::vector<std::string> warnings;
  SetStorageWarningHandler([&](const std::string& text) { warnings.push_back(text); });
  const std::string folder = fs::weakly_canonical(dir_).string();
  internal::SetFileSystemProbeForTesting(
      [&](const std::string& f) { return f == folder ? 0xFE534D42L /* SMB2 */ : 0L; });
  {
    auto t = OpenT();
    auto u = OpenU();
    ASSERT_EQ(Put(*t, "A", 1, "G"), 0);  // the folder is still used
  }
  auto again = OpenT();
  internal::SetFileSystemProbeForTesting(nullptr);
  SetStorageWarningHandler(nullptr);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find(folder), std::string::npos);
  EXPECT_TRUE(internal::IsNetworkFileSystem(0x6969));  // NFS
  EXPECT_FALSE(internal::IsNetworkFileSystem(0xEF53));  // ext4
}

// Without its transaction helper file SQLite would commit a transaction file
// by file: a write inside a transaction is refused instead.
TEST_F(RecordOpenTest, ATransactionWithoutItsHelperFileWritesNothing) {
  fs::create_directory(dir_ + "/.qzrecord-tx");  // cannot be opened as a file
  auto t = OpenT();
  ASSERT_EQ(Put(*t, "A", 1, "G"), 0);  // a single write is atomic by itself
  ASSERT_EQ(t->BeginTrans(), 0);
  t->SetField("CODE", "A");
  t->SetField("NUM", 1);
  EXPECT_EQ(t->GetEqual("T"), 0);
  EXPECT_EQ(Put(*t, "B", 1, "G"), kStatusIoError);
  EXPECT_EQ(t->AbortTrans(), 0);
  t->SetField("CODE", "B");
  EXPECT_EQ(t->GetEqual("T"), kStatusNotFound);
}

class RecordServerTest : public RecordTest {
 protected:
  void SetUp() override {
    engine_ = Engine::kPostgres;
    RecordTest::SetUp();
  }
  // Opens U.BTR and closes it again, then gives U.BTR a record length of 30
  // in the definitions (the file is not made again).
  void OpenAndCloseUThenLengthenIt() {
    OpenAndCloseU();
    WriteDefinitionsWithU30(dir_);
  }
  // Runs `sql` as the server's superuser; the first value of its answer.
  static std::string Admin(const std::string& sql) {
    PGconn* admin = PQconnectdb(testkit::PgServer()->c_str());
    PGresult* r = PQexec(admin, sql.c_str());
    EXPECT_TRUE(PQresultStatus(r) == PGRES_TUPLES_OK || PQresultStatus(r) == PGRES_COMMAND_OK)
        << sql << ": " << PQerrorMessage(admin);
    std::string value = PQntuples(r) > 0 ? PQgetvalue(r, 0, 0) : "";
    PQclear(r);
    PQfinish(admin);
    return value;
  }
  // The server ends this process's session, as at a restart; its server
  // process has ended (its end of the connection closed) when this returns.
  static void EndServerSession() {
    const std::string pid = Admin("SELECT pid FROM pg_stat_activity WHERE application_name = 'qz " +
                                  std::to_string(getpid()) + "'");
    ASSERT_FALSE(pid.empty());
    EXPECT_EQ(Admin("SELECT pg_terminate_backend(" + pid + ")::text"), "true");
    for (int i = 0; i < 500 && ::kill(std::stoi(pid), 0) == 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  // Opens U.BTR and closes it: the connection has read its layout.
  void OpenAndCloseU() {
    auto u = OpenU();
    ASSERT_TRUE(u->IsOpen());
  }
  // Writes into `folder` the definitions with U.BTR of 30 bytes a record.
  void WriteDefinitionsWithU30(const std::string& folder) const {
    std::string definitions = kDefinitions;
    const std::string before = "U.BTR=20";
    definitions.replace(definitions.find(before), before.size(), "U.BTR=30");
    std::ofstream(folder + "/CPFSPEC.INI", std::ios::binary) << definitions << StorageSection();
  }
};

// A file this process makes again with another layout (as btrutil does)
// opens as it is now, although the connection had learnt the old one.
TEST_F(RecordServerTest, AFileMadeAgainWithAnotherLayoutOpensAsItIsNow) {
  OpenAndCloseUThenLengthenIt();
  ASSERT_EQ(CreateRecordFile(dir_, "U.BTR", dir_, true), 0);
  BtrAccess again;
  EXPECT_TRUE(again.OpenFile("U.BTR", "U", dir_, dir_));
}

// Another program (btrutil on another terminal, a conversion) makes a file
// again with another layout while this process, still connected and with
// the folder open, has the file closed: the next open here sees the file as
// it is now. Under the old definitions it is refused (its records are no
// longer of that length); under the new ones it opens.
TEST_F(RecordServerTest, AFileAnotherProcessMadeAgainOpensAsItIsNow) {
  auto t = OpenT();  // the folder stays open
  OpenAndCloseU();
  const std::string remade = dir_ + "/remade";
  fs::create_directory(remade);
  WriteDefinitionsWithU30(remade);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(CreateRecordFile(remade, "U.BTR", dir_, true));
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

  BtrAccess old_layout;
  EXPECT_FALSE(old_layout.OpenFile("U.BTR", "U", dir_, dir_)) << "opened as 20 bytes a record";
  BtrAccess new_layout;
  EXPECT_TRUE(new_layout.OpenFile("U.BTR", "U", dir_, remade));
}

// The server ends this process's idle session (a restart, an
// administrator): the next read connects again and goes through, and so
// does the next write.
TEST_F(RecordServerTest, AfterTheServerEndedTheSessionTheNextReadConnectsAgain) {
  auto t = OpenT();
  ASSERT_EQ(Put(*t, "A", 1, "G"), 0);
  EndServerSession();
  t->SetField("CODE", "A");
  t->SetField("NUM", 1);
  EXPECT_EQ(t->GetEqual("T"), 0);
  EndServerSession();
  ASSERT_EQ(Put(*t, "B", 1, "G"), 0);
}

// The server ends the session while a file is open, and the next file is
// opened before the first is used again: the transaction that writes both
// commits both, for every other terminal to see.
TEST_F(RecordServerTest, AfterALostConnectionATransactionOverOldAndNewFilesCommitsBoth) {
  auto t = OpenT();
  ASSERT_EQ(Put(*t, "A", 1, "G"), 0);
  EndServerSession();
  auto u = OpenU();
  ASSERT_TRUE(u->IsOpen());
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(Put(*t, "B", 1, "G"), 0);
  u->SetRecordBytes("");
  u->SetField("ID", "U1");
  ASSERT_EQ(u->Insert("U"), 0);
  ASSERT_EQ(t->EndTrans(), 0);
  int seen = -1;
  std::thread other([&] {
    auto t2 = OpenT();
    seen = 0;
    for (int s = t2->GetFirst("T"); s == 0; s = t2->GetNext()) ++seen;
  });
  other.join();
  EXPECT_EQ(seen, 2);
}

// A rewrite that the engine holds back inside a transaction, on a
// connection the server then ends: the commit fails and nothing of the
// transaction is stored.
TEST_F(RecordServerTest, ARewriteHeldBackFailsTheCommitWhenTheConnectionIsLost) {
  auto t = OpenT();
  ASSERT_EQ(Put(*t, "A", 1, "G"), 0);
  ASSERT_EQ(Put(*t, "A", 2, "G"), 0);
  ASSERT_EQ(t->BeginTrans(), 0);
  for (int num : {1, 2}) {
    t->SetField("CODE", "A");
    t->SetField("NUM", num);
    ASSERT_EQ(t->GetEqual("T"), 0);
    t->SetField("AMT", 5);
    ASSERT_EQ(t->Update(), 0);
  }
  EndServerSession();
  EXPECT_NE(t->EndTrans(), 0);
  t->AbortTrans();
  for (int num : {1, 2}) {
    t->SetField("CODE", "A");
    t->SetField("NUM", num);
    ASSERT_EQ(t->GetEqual("T"), 0);
    EXPECT_EQ(t->GetField("AMT").ToLong(), 0) << num;
  }
}

// A wait of 0 seconds is no wait at all, also on the server (where a lock
// timeout of 0 would wait without end).
TEST_F(RecordServerTest, AWriteWaitOfZeroGives84AtOnce) {
  auto t = OpenT();
  ASSERT_EQ(t->BeginTrans(), 0);
  ASSERT_EQ(Put(*t, "A", 1, "G"), 0);
  int status = -1;
  std::thread other([&] {
    SetBusyTimeout(std::chrono::milliseconds(0));
    auto t2 = OpenT();
    status = Put(*t2, "B", 1, "G");
    t2->AbortTrans();
  });
  other.join();
  SetBusyTimeout(std::chrono::seconds(5));
  EXPECT_EQ(status, kStatusBusy);
  EXPECT_EQ(t->EndTrans(), 0);
}

TEST(RecordDefinitions, ParseReadsFilesKeysAndDefinitionsAndRoundTrips) {
  auto d = Definitions::Parse(
      "[files]\n a.btr = 30\n; the A file\n[A.BTR]\nkey0=1:10:a, 11:8:n ;unique\nKEY1=19:2:K\n"
      "[Definitions]\nA=A.BTR,0\nA2=a.btr,1\n");
  ASSERT_TRUE(d);
  const FileDef* f = d->FindFile("A.btr");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->record_length, 30);
  ASSERT_EQ(f->keys.size(), 2u);
  EXPECT_TRUE(f->keys[0].unique);
  EXPECT_EQ(f->keys[0].segments[1], (KeySegment{11, 8, SegmentKind::kNumeric}));
  EXPECT_FALSE(f->keys[1].unique);
  EXPECT_EQ(f->keys[1].segments[0].kind, SegmentKind::kKanji);
  ASSERT_NE(d->FindDefinition("a2"), nullptr);
  EXPECT_EQ(d->FindDefinition("a2")->key, 1);
  auto again = Definitions::Parse(d->ToIni());
  ASSERT_TRUE(again);
  EXPECT_EQ(*again->FindFile("A.BTR"), *f);
  EXPECT_EQ(again->FindDefinition("A2")->key, 1);
}

TEST(RecordDefinitions, StorageNamesTheEngineOfEachDataFolder) {
  auto d = Definitions::Parse(
      "[FILES]\nA.BTR=10\n[STORAGE]\nC:\\QZP\\DATA\\=POSTGRESQL host=db dbname='the qz' schema=Data\n"
      "C:\\QZP\\WORK=postgresql host=db dbname=qz schema=work_01\nD:\\LOCAL=SQLITE\n");
  ASSERT_TRUE(d);
  struct Case {
    const char* folder;
    Engine engine;
    const char* conninfo;
    const char* schema;
  };
  const Case cases[] = {
      {"c:\\qzp\\data", Engine::kPostgres, "host=db dbname='the qz'", "data"},
      {"C:/QZP/DATA/", Engine::kPostgres, "host=db dbname='the qz'", "data"},
      {"C:\\QZP\\WORK", Engine::kPostgres, "host=db dbname=qz", "work_01"},
      {"D:\\LOCAL", Engine::kSqlite, "", ""},
      {"C:\\QZP\\OTHER", Engine::kSqlite, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    auto l = LocateFile(*d, c.folder, "a.btr");
    ASSERT_TRUE(l);
    EXPECT_EQ(l->engine, c.engine);
    EXPECT_EQ(l->conninfo, c.conninfo);
    EXPECT_EQ(l->schema, c.schema);
    EXPECT_EQ(l->table, c.engine == Engine::kPostgres ? "A.BTR" : "");
  }
  auto again = Definitions::Parse(d->ToIni());
  ASSERT_TRUE(again);
  EXPECT_EQ(LocateFile(*again, "c:\\qzp\\work", "A.BTR")->schema, "work_01");
  for (const char* bad : {"POSTGRESQL host=db", "POSTGRESQL host=db schema=a-b", "MYSQL schema=a", "SQLITE x"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ParseStorage(bad));
    EXPECT_FALSE(Definitions::Parse(std::string("[FILES]\nA.BTR=10\n[STORAGE]\nC:\\X=") + bad + "\n"));
  }
}

TEST(RecordDefinitions, MalformedDefinitionsAreRefused) {
  const char* cases[] = {
      "[FILES]\nA.BTR=x\n",
      "[FILES]\nA.BTR=10\n[A.BTR]\nKEY0=5:10:A\n",        // outside the record
      "[FILES]\nA.BTR=40\n[A.BTR]\nKEY0=1:19:N\n",        // numeric key too long
      "[FILES]\nA.BTR=10\n[A.BTR]\nKEY0=1:2:Q\n",         // unknown kind
      "[FILES]\nA.BTR=10\n[A.BTR]\nKEY0=1:2:A;SOME\n",    // unknown flag
      "[FILES]\nA.BTR=10\n[A.BTR]\nKEY0=1:2:A\n[DEFINITIONS]\nA=A.BTR,1\n",  // no key 1
      "[FILES]\nA.BTR=10\n[DEFINITIONS]\nA=B.BTR,0\n",
      "[FILES]\nA.BTR=10\n[A.BTR]\nKEY0=2147483647:5:A\n",  // an end beyond any int
      "[FILES]\nA.BTR=10\n[A.BTR]\nKEY0=1:2:A\n[DEFINITIONS]\nA=A.BTR\n",      // no key number
      "[FILES]\nA.BTR=10\n[A.BTR]\nKEY0=1:2:A\n[DEFINITIONS]\nA=A.BTR,-1\n",
      "[FILES]\nA.BTR=99999999999\n",
      "[FILES]\nA.BTR=10\n[A.BTR\n",
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    std::string error;
    EXPECT_FALSE(Definitions::Parse(text, &error));
    EXPECT_FALSE(error.empty());
  }
}

// A folder or a file that this user may not write: the write is refused
// with 46 (not taken for a missing file, 12), inside a transaction and
// outside; reads go on. Run in a child process as another user when the
// tests run as root (who may write anything).
TEST_F(RecordOpenTest, AWriteThatTheFolderOrFileRefusesGives46) {
  struct Case {
    const char* what;
    mode_t folder;
    mode_t file;
  };
  for (const Case& c : {Case{"folder read-only", 0555, 0666}, Case{"file read-only", 0777, 0444}}) {
    for (const bool in_transaction : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (in_transaction ? ", in a transaction" : ""));
      ASSERT_EQ(::chmod(dir_.c_str(), c.folder), 0);
      ASSERT_EQ(::chmod((dir_ + "/T.BTR").c_str(), c.file), 0);
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        // The status of the write, or a number above 99 for what went wrong before it.
        int outcome = 100;
        try {
          if (::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0)) {
            auto t = OpenT();
            t->SetField("CODE", "A");
            t->SetField("NUM", 1);
            if (!t->IsOpen() || t->GetEqual("T") != kStatusNotFound) {
              outcome = 101;
            } else if (in_transaction && t->BeginTrans() != 0) {
              outcome = 102;
            } else {
              outcome = Put(*t, "A", 1, "G");
            }
          }
        } catch (...) {
          outcome = 103;
        }
        ::_exit(outcome);
      }
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      ASSERT_TRUE(WIFEXITED(status));
      EXPECT_EQ(WEXITSTATUS(status), kStatusWriteRefused);
      ASSERT_EQ(::chmod(dir_.c_str(), 0700), 0);
    }
  }
}

// A terminal's role that may only read and write records, its password
// only in a password file that libpq reads (none in the definitions file):
// it opens, reads and saves in a transaction, but making a file is refused
// (46) and so is a file of its folder without the rights.
TEST_F(RecordServerTest, ARoleThatMayOnlyReadAndWriteSavesButMakesNoFile) {
  const std::string role = "qz_rw_" + std::to_string(getpid());
  Admin("DO $$ BEGIN CREATE ROLE qz_password NOLOGIN; EXCEPTION WHEN duplicate_object THEN NULL; END $$");
  Admin("SET client_min_messages = warning; DROP ROLE IF EXISTS " + role);
  Admin("CREATE ROLE " + role + " LOGIN PASSWORD 'secret 1' IN ROLE qz_password");
  Admin("GRANT USAGE ON SCHEMA " + schema_ + " TO " + role +
        "; GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA " + schema_ + " TO " + role +
        "; GRANT USAGE ON ALL SEQUENCES IN SCHEMA " + schema_ + " TO " + role + "; REVOKE ALL ON " + schema_ +
        ".\"U.BTR\" FROM " + role);
  const std::string terminal = dir_ + "/terminal";
  fs::create_directory(terminal);
  const std::string passfile = dir_ + "/pgpass";
  std::ofstream(passfile) << "*:*:*:" << role << ":secret 1\n";
  fs::permissions(passfile, fs::perms::owner_read | fs::perms::owner_write);
  auto storage = ParseStorage(testkit::PgStorage(schema_));
  ASSERT_TRUE(storage);
  std::ofstream(terminal + "/CPFSPEC.INI", std::ios::binary)
      << kDefinitions << "[STORAGE]\r\n" << terminal << "=POSTGRESQL " << storage->conninfo << " user=" << role
      << " passfile=" << passfile << " schema=" << schema_ << "\r\n";
  {
    BtrAccess t;
    ASSERT_TRUE(t.OpenFile("T.BTR", "T", terminal, terminal)) << "the password comes from the password file";
    t.DefineAlphaField("CODE", 1, 4);
    t.DefineNumericField("NUM", 5, 3, 0);
    t.DefineAlphaField("GRP", 8, 2);
    t.DefineKanjiField("NAME", 10, 20);
    ASSERT_EQ(t.BeginTrans(), 0);
    EXPECT_EQ(Put(t, "A", 1, "G"), 0);
    EXPECT_EQ(t.EndTrans(), 0);
    t.SetField("CODE", "A");
    t.SetField("NUM", 1);
    EXPECT_EQ(t.GetEqual("T"), 0);
    t.SetField("GRP", "H");
    EXPECT_EQ(t.Update(), 0);
    BtrAccess u;
    ASSERT_TRUE(u.OpenFile("U.BTR", "U", terminal, terminal));
    u.DefineAlphaField("ID", 1, 4);
    u.SetField("ID", "U1");
    EXPECT_EQ(u.Insert("U"), kStatusWriteRefused);
    EXPECT_EQ(CreateRecordFile(terminal, "U.BTR", terminal, true), kStatusWriteRefused);
  }
  auto t = OpenT();
  t->SetField("CODE", "A");
  t->SetField("NUM", 1);
  ASSERT_EQ(t->GetEqual("T"), 0);
  EXPECT_EQ(t->GetField("GRP").ToText(), "H ");
  auto u = OpenU();
  EXPECT_EQ(u->GetFirst("U"), kStatusEndOfFile) << "the owner's file is whole";
  Admin("DROP OWNED BY " + role + "; DROP ROLE " + role);
}


// A file made before its definitions gained a key at their end (a release
// that brings new definitions without rebuilding the file) still opens: the
// file's own keys read and write as before, a definition of the key it was
// made without answers 6, and the rebuilt file has that key too. Any other
// disagreement of its keys is still refused.
using RecordKeysAddedTest = RecordContractTest;

TEST_P(RecordKeysAddedTest, AFileWithoutAKeyAddedToItsDefinitionsOpensAndThatKeyAnswers6) {
  if (Unready()) return;
  const auto definitions_in = [&](const std::string& name, const std::string& u_keys, const std::string& more) {
    std::string defs = kDefinitions;
    defs.replace(defs.find("[U.BTR]\r\nKEY0=1:4:A;UNIQUE\r\n"), 27, "[U.BTR]\r\n" + u_keys);
    fs::create_directory(dir_ + "/" + name);
    std::ofstream(dir_ + "/" + name + "/CPFSPEC.INI", std::ios::binary) << defs << more << StorageSection();
    return dir_ + "/" + name;
  };
  const std::string added = definitions_in("added", "KEY0=1:4:A;UNIQUE\r\nKEY1=5:4:A;DUP\r\n", "U2=U.BTR,1\r\n");
  auto u = OpenU();
  BtrAccess by_added;
  ASSERT_TRUE(by_added.OpenFile("U.BTR", "U", dir_, added));
  by_added.DefineAlphaField("ID", 1, 4);
  by_added.DefineAlphaField("TEXT", 5, 16);
  for (const char* id : {"B", "A"}) {
    by_added.SetRecordBytes("");
    by_added.SetField("ID", id);
    by_added.SetField("TEXT", "ZZ");
    ASSERT_EQ(by_added.Insert("U"), kStatusOk) << id;
  }
  by_added.SetField("ID", "A");
  EXPECT_EQ(by_added.GetEqual("U"), kStatusOk);
  EXPECT_EQ(by_added.GetNext(), kStatusOk);
  EXPECT_EQ(by_added.GetField("ID").ToText(), "B   ");
  by_added.SetField("TEXT", "ZZ");
  EXPECT_EQ(by_added.GetGreaterOrEqual("U2"), kStatusInvalidKey);
  EXPECT_EQ(by_added.GetFirst("U2"), kStatusInvalidKey);
  u->SetField("ID", "B");
  EXPECT_EQ(u->GetEqual("U"), kStatusOk) << "the earlier definitions still open the file";
  // A file whose keys are not the first of the definitions' (another first
  // key, or more keys than they give): refused as before.
  std::string fewer = kDefinitions;
  fewer.erase(fewer.find("KEY1=8:2:A;DUP\r\n"), 16);
  fewer.erase(fewer.find("T2=T.BTR,1\r\n"), 12);
  fs::create_directory(dir_ + "/fewer");
  std::ofstream(dir_ + "/fewer/CPFSPEC.INI", std::ios::binary) << fewer << StorageSection();
  const std::string other = definitions_in("other", "KEY0=1:2:A;UNIQUE\r\nKEY1=5:4:A;DUP\r\n", "");
  for (const auto& [file, definitions] : {std::pair{"U.BTR", other}, std::pair{"T.BTR", dir_ + "/fewer"}}) {
    BtrAccess t;
    EXPECT_FALSE(t.OpenFile(file, file == std::string("U.BTR") ? "U" : "T", dir_, definitions)) << definitions;
  }
  u.reset();
  by_added.CloseFile();
  ASSERT_EQ(CreateRecordFile(added, "U.BTR", dir_, true), kStatusOk);
  ASSERT_TRUE(by_added.OpenFile("U.BTR", "U2", dir_, added));
  EXPECT_EQ(by_added.GetFirst("U2"), kStatusEndOfFile) << "the rebuilt file has the key";
}

QZ_RECORD_ENGINES(RecordKeysAddedTest);

}  // namespace
}  // namespace qz::record::testing
