// A scratch data folder with a definitions file and two empty record
// files, for the record-manager tests. RecordContractTest runs a test on
// each engine: SQLite files in the folder, or a schema of its own on the
// PostgreSQL test server (skipped without one, see kit/pg_server.h).
//
//   T.BTR (40 bytes): CODE 1-4 alpha, NUM 5-7 numeric, GRP 8-9 alpha,
//     NAME 10-29 kanji, AMT 30-35 numeric; bytes 36-40 belong to no field.
//     Definition "T" = key CODE+NUM unique; "T2" = key GRP with duplicates.
//   U.BTR (20 bytes): ID 1-4 alpha, TEXT 5-20 alpha; definition "U" = ID.
#ifndef QZ_TESTS_PLATFORM_RECORD_FIXTURE_H_
#define QZ_TESTS_PLATFORM_RECORD_FIXTURE_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "kit/pg_server.h"
#include "platform/record/btr_access.h"
#include "platform/record/btr_file.h"
#include "platform/record/storage_location.h"

namespace qz::record::testing {

inline constexpr const char* kDefinitions =
    "; test definitions\r\n"
    "[FILES]\r\n"
    "T.BTR=40\r\n"
    "U.BTR=20\r\n"
    "[T.BTR]\r\n"
    "KEY0=1:4:A,5:3:N;UNIQUE\r\n"
    "KEY1=8:2:A;DUP\r\n"
    "[U.BTR]\r\n"
    "KEY0=1:4:A;UNIQUE\r\n"
    "[DEFINITIONS]\r\n"
    "T=T.BTR,0\r\n"
    "T2=T.BTR,1\r\n"
    "U=U.BTR,0\r\n";

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (engine_ == Engine::kPostgres) {
      QZ_PG_OR_SKIP();
      schema_ = testkit::NewPgSchema();
    }
    char tmpl[] = "/tmp/qz_record_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    std::ofstream(dir_ + "/CPFSPEC.INI", std::ios::binary) << kDefinitions << StorageSection();
    ASSERT_EQ(CreateRecordFile(dir_, "T.BTR", dir_), 0);
    ASSERT_EQ(CreateRecordFile(dir_, "U.BTR", dir_), 0);
  }
  void TearDown() override {
    BtrAccess().AbortTrans();  // a test that failed inside a transaction
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    if (!schema_.empty()) testkit::DropPgSchema(schema_);
  }
  // The definitions file's [STORAGE] section that puts dir_ on the engine
  // under test; empty for SQLite, the default.
  std::string StorageSection() const {
    return engine_ == Engine::kSqlite ? "" : "[STORAGE]\r\n" + dir_ + "=" + testkit::PgStorage(schema_) + "\r\n";
  }
  // Whether SetUp gave up (no server, or a failure).
  bool Unready() const { return IsSkipped() || HasFatalFailure(); }

  // A new object open on T.BTR under `definition`, fields declared.
  std::unique_ptr<BtrAccess> OpenT(const char* definition = "T") {
    auto t = std::make_unique<BtrAccess>();
    EXPECT_TRUE(t->OpenFile("T.BTR", definition, dir_, dir_));
    t->DefineAlphaField("CODE", 1, 4);
    t->DefineNumericField("NUM", 5, 3, 0);
    t->DefineAlphaField("GRP", 8, 2);
    t->DefineKanjiField("NAME", 10, 20);
    t->DefineNumericField("AMT", 30, 6, 0);
    return t;
  }
  std::unique_ptr<BtrAccess> OpenU() {
    auto u = std::make_unique<BtrAccess>();
    EXPECT_TRUE(u->OpenFile("U.BTR", "U", dir_, dir_));
    u->DefineAlphaField("ID", 1, 4);
    u->DefineAlphaField("TEXT", 5, 16);
    return u;
  }

  // Inserts CODE/NUM/GRP through `t`; returns the status.
  static int Put(BtrAccess& t, const char* code, int num, const char* grp, const char* name = "") {
    t.SetRecordBytes("");
    t.SetField("CODE", code);
    t.SetField("NUM", num);
    t.SetField("GRP", grp);
    t.SetField("NAME", name);
    return t.Insert("T");
  }
  // "CODE/NUM" of the buffer.
  static std::string Key(const BtrAccess& t) {
    std::string code = t.GetField("CODE").ToText();
    while (!code.empty() && code.back() == ' ') code.pop_back();
    return code + "/" + t.GetField("NUM").ToText();
  }

  Engine engine_ = Engine::kSqlite;
  std::string schema_;  // PostgreSQL: the test's own schema
  std::string dir_;
};

// A record-manager test that runs on both engines (TEST_P, then
// QZ_RECORD_ENGINES(Suite)).
class RecordContractTest : public RecordTest, public ::testing::WithParamInterface<Engine> {
 protected:
  void SetUp() override {
    engine_ = GetParam();
    RecordTest::SetUp();
  }
};

inline std::string EngineName(const ::testing::TestParamInfo<Engine>& info) {
  return info.param == Engine::kSqlite ? "Sqlite" : "Postgres";
}

#define QZ_RECORD_ENGINES(Suite)                                                                  \
  INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::Values(Engine::kSqlite, Engine::kPostgres), \
                           EngineName)

}  // namespace qz::record::testing

#endif  // QZ_TESTS_PLATFORM_RECORD_FIXTURE_H_
