// Keyed reads of the record manager over a results-like file of 10,000
// records (key: examinee, date, item).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/record/btr_access.h"
#include "platform/record/btr_file.h"

namespace {

using qz::record::BtrAccess;

constexpr int kExaminees = 100;
constexpr int kItems = 100;

struct Results {
  std::string dir;
  std::unique_ptr<BtrAccess> file = std::make_unique<BtrAccess>();

  Results() {
    char tmpl[] = "/tmp/qz_record_bench_XXXXXX";
    dir = mkdtemp(tmpl);
    std::ofstream(dir + "/CPFSPEC.INI") << "[FILES]\nR.BTR=287\n[R.BTR]\nKEY0=1:10:A,11:8:N,19:10:N;UNIQUE\n"
                                           "[DEFINITIONS]\nR=R.BTR,0\n";
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
  ~Results() {
    file.reset();
    std::filesystem::remove_all(dir);
  }
};

Results& Shared() {
  static Results r;
  return r;
}

void BM_GetEqual(benchmark::State& state) {
  BtrAccess& f = *Shared().file;
  int n = 0;
  for (auto _ : state) {
    f.SetField("CODE", std::to_string(1000 + n % kExaminees));
    f.SetField("JDATE", 20260401);
    f.SetField("KKMKNO", 100 + (n * 7) % kItems);
    benchmark::DoNotOptimize(f.GetEqual("R"));
    benchmark::DoNotOptimize(f.GetField("KNSACH"));
    ++n;
  }
}
BENCHMARK(BM_GetEqual);

void BM_GetNext(benchmark::State& state) {
  BtrAccess& f = *Shared().file;
  f.SetField("CODE", "");
  f.GetGreaterOrEqual("R");
  for (auto _ : state) {
    if (f.GetNext() != 0) {
      f.SetField("CODE", "");
      f.GetGreaterOrEqual("R");
    }
    benchmark::DoNotOptimize(f.GetField("KKMKNO"));
  }
}
BENCHMARK(BM_GetNext);

}  // namespace

BENCHMARK_MAIN();
