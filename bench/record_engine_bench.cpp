// The record manager on both engines: scans and keyed reads side by side
// with raw SQLite on the same file, and the load and save of a consultation
// of N items on SQLite files and on PostgreSQL.
//
// The PostgreSQL cases need a server: QZ_TEST_PG names it (scripts/pgserver
// starts a throwaway one); without it they are skipped.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/save_fixture.h"
#include "examinee/update_masters.h"
#include "kit/pg_server.h"
#include "loading/load_fixture.h"
#include "loading/load_state.h"
#include "platform/record/btr_access.h"
#include "platform/record/btr_file.h"
#include "platform/record/read_batch.h"

namespace {

using qz::record::BtrAccess;

constexpr int kExaminees = 100;
constexpr int kItems = 100;

enum EngineArg { kSqlite = 0, kPostgres = 1 };

// Skips the PostgreSQL case of `state` when no server is set; true when
// the case may run.
bool EngineAvailable(benchmark::State& state, int engine) {
  if (engine == kPostgres && !qz::testkit::PgServer()) {
    state.SkipWithError("no PostgreSQL server (set QZ_TEST_PG)");
    return false;
  }
  return true;
}

// A results-like file of 10,000 records (key: examinee, date, item) in a
// folder of its own, on one engine.
struct ResultsFile {
  std::string dir, schema;
  std::unique_ptr<BtrAccess> file = std::make_unique<BtrAccess>();

  explicit ResultsFile(int engine) {
    char tmpl[] = "/tmp/qz_engine_bench_XXXXXX";
    dir = mkdtemp(tmpl);
    std::ofstream ini(dir + "/CPFSPEC.INI");
    ini << "[FILES]\nR.BTR=287\n[R.BTR]\nKEY0=1:10:A,11:8:N,19:10:N;UNIQUE\n[DEFINITIONS]\nR=R.BTR,0\n";
    if (engine == kPostgres) {
      schema = qz::testkit::NewPgSchema();
      ini << "[STORAGE]\n" << dir << "=" << qz::testkit::PgStorage(schema) << "\n";
    }
    ini.close();
    qz::record::CreateRecordFile(dir, "R.BTR", dir);
    file->OpenFile("R.BTR", "R", dir, dir);
    file->DefineAlphaField("CODE", 1, 10);
    file->DefineNumericField("JDATE", 11, 8, 0);
    file->DefineNumericField("KKMKNO", 19, 10, 0);
    file->DefineAlphaField("KNSACH", 29, 10);
    file->BeginTrans();
    for (int e = 0; e < kExaminees; ++e) {
      for (int i = 0; i < kItems; ++i) {
        file->SetField("CODE", std::to_string(1000 + e));
        file->SetField("JDATE", 20260401);
        file->SetField("KKMKNO", 100 + i);
        file->SetField("KNSACH", std::to_string(i) + ".5");
        file->Insert("R");
      }
    }
    file->EndTrans();
  }
  ~ResultsFile() {
    file.reset();
    std::filesystem::remove_all(dir);
    if (!schema.empty()) qz::testkit::DropPgSchema(schema);
  }
  std::string SqlitePath() const { return dir + "/R.BTR"; }
};

ResultsFile& Shared(int engine) {
  static std::unique_ptr<ResultsFile> files[2];
  if (!files[engine]) files[engine] = std::make_unique<ResultsFile>(engine);
  return *files[engine];
}

// GetFirst and GetNext over the whole file; with range(1) inside one read
// batch.
void BM_RecordScan(benchmark::State& state) {
  const int engine = static_cast<int>(state.range(0));
  if (!EngineAvailable(state, engine)) return;
  BtrAccess& f = *Shared(engine).file;
  long long records = 0;
  for (auto _ : state) {
    std::unique_ptr<qz::record::ReadBatch> batch;
    if (state.range(1)) batch = std::make_unique<qz::record::ReadBatch>();
    for (int s = f.GetFirst("R"); s == 0; s = f.GetNext()) {
      benchmark::DoNotOptimize(f.RecordBytes().data());
      ++records;
    }
  }
  state.SetItemsProcessed(records);
}
BENCHMARK(BM_RecordScan)->ArgNames({"pg", "batch"})->Args({kSqlite, 0})->Args({kSqlite, 1})
    ->Args({kPostgres, 0})->Args({kPostgres, 1})->Unit(benchmark::kMillisecond);

// The same scan in raw SQLite: one statement stepped over the key index.
void BM_RawSqliteScan(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(Shared(kSqlite).SqlitePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT id, version, data, k0 FROM records ORDER BY k0, id", -1, &st, nullptr);
  long long records = 0;
  std::string data;
  for (auto _ : state) {
    while (sqlite3_step(st) == SQLITE_ROW) {
      data.assign(static_cast<const char*>(sqlite3_column_blob(st, 2)),
                  static_cast<std::size_t>(sqlite3_column_bytes(st, 2)));
      benchmark::DoNotOptimize(data.data());
      ++records;
    }
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  state.SetItemsProcessed(records);
}
BENCHMARK(BM_RawSqliteScan)->Unit(benchmark::kMillisecond);

// One GetEqual by the whole key; with range(1) inside one read batch.
void BM_RecordGetEqual(benchmark::State& state) {
  const int engine = static_cast<int>(state.range(0));
  if (!EngineAvailable(state, engine)) return;
  BtrAccess& f = *Shared(engine).file;
  std::unique_ptr<qz::record::ReadBatch> batch;
  if (state.range(1)) batch = std::make_unique<qz::record::ReadBatch>();
  int n = 0;
  for (auto _ : state) {
    f.SetField("CODE", std::to_string(1000 + n % kExaminees));
    f.SetField("JDATE", 20260401);
    f.SetField("KKMKNO", 100 + (n * 7) % kItems);
    benchmark::DoNotOptimize(f.GetEqual("R"));
    ++n;
  }
}
BENCHMARK(BM_RecordGetEqual)->ArgNames({"pg", "batch"})->Args({kSqlite, 0})->Args({kSqlite, 1})
    ->Args({kPostgres, 0})->Args({kPostgres, 1});

// The same read in raw SQLite, the key built as the record manager builds it.
void BM_RawSqliteGetEqual(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(Shared(kSqlite).SqlitePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT id, version, data, k0 FROM records WHERE k0 = ?1 ORDER BY k0, id LIMIT 1", -1, &st,
                     nullptr);
  // Every key of the file, in the form the record manager stores.
  std::vector<std::string> keys;
  sqlite3_stmt* key_of = nullptr;
  sqlite3_prepare_v2(db, "SELECT k0 FROM records ORDER BY k0, id", -1, &key_of, nullptr);
  while (sqlite3_step(key_of) == SQLITE_ROW) {
    keys.emplace_back(static_cast<const char*>(sqlite3_column_blob(key_of, 0)),
                      static_cast<std::size_t>(sqlite3_column_bytes(key_of, 0)));
  }
  sqlite3_finalize(key_of);
  std::string data;
  std::size_t n = 0;
  for (auto _ : state) {
    const std::string& k = keys[(n * 7) % keys.size()];
    sqlite3_bind_blob(st, 1, k.data(), static_cast<int>(k.size()), SQLITE_STATIC);
    if (sqlite3_step(st) == SQLITE_ROW) {
      data.assign(static_cast<const char*>(sqlite3_column_blob(st, 2)),
                  static_cast<std::size_t>(sqlite3_column_bytes(st, 2)));
    }
    benchmark::DoNotOptimize(data.data());
    sqlite3_reset(st);
    ++n;
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
}
BENCHMARK(BM_RawSqliteGetEqual);

// Sets the suite engine of the test kit for the life of the object.
class SuiteEngine {
 public:
  explicit SuiteEngine(int engine) {
    if (engine == kPostgres) setenv("QZ_SUITE_ENGINE", "postgres", 1);
  }
  ~SuiteEngine() { unsetenv("QZ_SUITE_ENGINE"); }
};

const int kDates[] = {qz::testing::kToday, 20251201, 20241202, 20231204, 20221205, 20211206};

// A consultation of `items` items of one course in 20 input groups, with
// five earlier consultations of the same course and their results.
void AddScaledConsultation(qz::testkit::SuiteBuilder& b, int items) {
  const std::string me(qz::testing::kExaminee);
  qz::testing::AddSystemRecords(b);
  b.Add("QZJSNLF", {{"CODE", me}, {"NAME", "山田　花子"}, {"SEX", 2}, {"BIRTH", 19800315}, {"KDANID", 501}});
  b.Add("QZKOSLF", {{"CNO", 100}, {"GENDATE", 20200101}, {"CNAME", "一般健診"}, {"PRNO", 7}});
  for (int date : kDates) {
    b.Add("QZJRKLF", {{"CODE", me}, {"JDATE", date}, {"CNO1", 100}});
    b.Add("QZJKOLF", {{"CODE", me}, {"KSYMD", date}, {"KKBN_1", 0}, {"KCODE_1", 100}, {"PCODE", "100"}});
  }
  for (int g = 0; g < 20; ++g) b.Add("QZGRPLF", {{"CODE", 10 + g}, {"NAME", "グループ" + std::to_string(g)}});
  for (int i = 0; i < items; ++i) {
    const long long code = 10000 + i;
    const int group = 10 + i * 20 / items;
    b.Add("QZKSKLF", {{"CNO", 100}, {"GENDATE", 20200101}, {"REN", i + 1}, {"CODE", code}, {"NGRP", group},
                      {"HJYUN", i % 40 + 1}, {"PJYUN", i + 1}});
    b.Add("QZKOMLF", {{"CODE", code}, {"GENDATE", 20200101}, {"HMEI", "項目" + std::to_string(i)},
                      {"NGRP", group}, {"HJYUN", i % 40 + 1}, {"STYPE", 31}, {"KSYUB", 1}});
    for (int date : kDates) {
      b.Add("QZKKKLF", {{"CODE", me}, {"JDATE", date}, {"KKMKNO", code}, {"KNSACH", std::to_string(i % 90) + ".0"}});
    }
  }
}

// The loading steps of one consultation of range(1) items.
void BM_Load(benchmark::State& state) {
  const int engine = static_cast<int>(state.range(0));
  if (!EngineAvailable(state, engine)) return;
  SuiteEngine use(engine);
  qz::testing::LoadBed bed;
  AddScaledConsultation(bed.suite, static_cast<int>(state.range(1)));
  bed.Open();
  qz::basPublic.JkoCodeLists[qz::kJkoIppan] = {qz::Currency(100)};
  for (auto _ : state) {
    qz::record::ReadBatch batch;  // as the load driver reads
    if (bed.RunSteps() != -1) {
      state.SkipWithError("the load stopped");
      break;
    }
  }
  // The CSV report takes only the counters of the first benchmark: the
  // count of items loaded is checked here instead of reported.
  if (qz::frmResultIn.ItemCount() < state.range(1)) state.SkipWithError("items are missing from the load");
}
BENCHMARK(BM_Load)->ArgNames({"pg", "items"})->Args({kSqlite, 100})->Args({kSqlite, 800})
    ->Args({kPostgres, 100})->Args({kPostgres, 800})->Unit(benchmark::kMillisecond);

// The write-back of a save of range(1) results (examinee master, history,
// results in one transaction).
void BM_Save(benchmark::State& state) {
  const int engine = static_cast<int>(state.range(0));
  if (!EngineAvailable(state, engine)) return;
  SuiteEngine use(engine);
  qz::testing::SaveBed bed;
  bed.Open();
  std::vector<qz::testing::ShownItem> items;
  for (int i = 0; i < state.range(1); ++i) {
    qz::KekkaData r;
    r.Knsach = std::to_string(i % 90) + ".0 ";
    r.User = "USER01";
    r.Ymd = qz::testing::kToday;
    r.Hms = 93005;
    items.push_back({qz::testing::NumericItem(10000 + i, "項目" + std::to_string(i)), r});
  }
  bed.Show(items);
  for (auto _ : state) {
    if (!qz::Sub_UpdateMasters()) {
      state.SkipWithError("the save failed");
      break;
    }
  }
}
BENCHMARK(BM_Save)->ArgNames({"pg", "items"})->Args({kSqlite, 100})->Args({kSqlite, 800})
    ->Args({kPostgres, 100})->Args({kPostgres, 800})->Unit(benchmark::kMillisecond);

}  // namespace
