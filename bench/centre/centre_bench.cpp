// What the operator waits for, headless (the program's own work without a
// screen) on scaled centres: the load of a consultation, one Enter with its
// judgement and propagation, and the save until the search screen shows.
#include <string>

#include "bench/centre/bench_main.h"

namespace qz::bench {
namespace {

// The value typed at the k-th Enter: within the range, then above it, so
// that every Enter changes the judgement and its group's.
std::string ValueFor(int k) { return k % 2 == 0 ? "45.0" : "75.0"; }

void LoadBench(benchmark::State& state, CentreBed& bed) {
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

void EnterBench(benchmark::State& state, CentreBed& bed) {
  if (!bed.Load()) {
    state.SkipWithError("the consultation did not load");
    return;
  }
  int k = 0;
  for (auto _ : state) {
    bed.Enter(bed.NumericLine(k), ValueFor(k));
    ++k;
  }
  bed.Save();  // after the measure
}

void SaveBench(benchmark::State& state, CentreBed& bed) {
  int k = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (!bed.Load()) {
      state.SkipWithError("the consultation did not load");
      return;
    }
    bed.Enter(bed.NumericLine(0), ValueFor(k++));
    state.ResumeTiming();
    if (!bed.Save()) {
      state.SkipWithError("the search screen did not show after the save");
      return;
    }
  }
}

}  // namespace
}  // namespace qz::bench

int main(int argc, char** argv) {
  using qz::bench::CentreBed;
  return qz::bench::RunCentreBenchmarks(
      argc, argv,
      {{"headless/load", qz::bench::LoadBench},
       {"headless/enter", qz::bench::EnterBench},
       {"headless/save", qz::bench::SaveBench}},
      [](int items) { return std::make_unique<CentreBed>(items); });
}
