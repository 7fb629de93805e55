#include "bench/centre/bench_main.h"

#include <cstring>

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
