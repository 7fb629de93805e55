#include "bench/centre/bench_main.h"

#include <cstring>
#include <string>

namespace qz::bench {

namespace {

// The bed of the size now running; made when a benchmark of another size
// starts, so that every size is built once.
struct CurrentBed {
  int items = 0;
  std::unique_ptr<CentreBed> bed;
};

CentreBed* BedFor(CurrentBed& current, const BedMaker& make_bed, int items, benchmark::State& state) {
  if (current.items != items || !current.bed) {
    current.bed.reset();
    current.bed = make_bed(items);
    current.items = items;
    if (!current.bed->Start()) {
      state.SkipWithError("the search screen did not show");
      return nullptr;
    }
  }
  return current.bed.get();
}

}  // namespace

void MeasureLoad(benchmark::State& state, CentreBed& bed) {
  for (auto _ : state) {
    if (!bed.Load()) {
      state.SkipWithError("the consultation did not load");
      return;
    }
    state.PauseTiming();
    bed.Save();  // nothing entered: back to the search screen
    state.ResumeTiming();
  }
}

void MeasureEnter(benchmark::State& state, CentreBed& bed) {
  if (!bed.Load()) {
    state.SkipWithError("the consultation did not load");
    return;
  }
  // The count goes on over the repetitions (each loads the consultation
  // again): every Enter types another value than the line holds.
  static int k = 0;
  for (auto _ : state) {
    bed.Enter(bed.NumericLine(k), bed.EnterValue(k));
    ++k;
  }
  bed.Save();  // after the measure
}

void MeasureSave(benchmark::State& state, CentreBed& bed) {
  int k = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (!bed.Load()) {
      state.SkipWithError("the consultation did not load");
      return;
    }
    bed.Enter(bed.NumericLine(0), k++ % 2 == 0 ? "45.0" : "75.0");  // saved each time: another value
    state.ResumeTiming();
    if (!bed.Save()) {
      state.SkipWithError("the search screen did not show after the save");
      return;
    }
  }
}

int RunCentreBenchmarks(int argc, char** argv, const std::vector<CentreBenchmark>& benchmarks,
                        const BedMaker& make_bed) {
  bool smoke = false;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--smoke") == 0) {
      smoke = true;
    } else {
      args.push_back(argv[i]);
    }
  }
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  static CurrentBed current;
  const std::vector<int> sizes = smoke ? std::vector<int>{kCentreSizes.front()} : kCentreSizes;
  for (int items : sizes) {
    for (const CentreBenchmark& b : benchmarks) {
      auto* registered = benchmark::RegisterBenchmark(
          (b.name + "/" + std::to_string(items)).c_str(), [&b, &make_bed, items](benchmark::State& state) {
            CentreBed* bed = BedFor(current, make_bed, items, state);
            if (bed == nullptr) return;
            const int boxes = bed->boxes();
            b.run(state, *bed);
            // The program is to run through without a message box.
            if (bed->boxes() != boxes) state.counters["boxes"] = bed->boxes() - boxes;
          });
      registered->Unit(benchmark::kMillisecond)->UseRealTime();
      if (smoke) {
        registered->Iterations(1);
      } else {
        registered->Repetitions(5)->ReportAggregatesOnly(true)->MinTime(0.2);
      }
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  current.bed.reset();
  return 0;
}

}  // namespace qz::bench
