// The main of the benchmark programs of a scaled centre: registers each
// program's benchmarks size by size (one centre on disk at a time) and runs
// them.
//
//   program [--smoke] [benchmark flags]
//
// --smoke runs every benchmark once at the smallest size (for CI: it shows
// that they run, it times nothing). Without it the sizes are
// kCentreSizes, each benchmark repeated and reported by its median.
#ifndef QZ_BENCH_CENTRE_BENCH_MAIN_H_
#define QZ_BENCH_CENTRE_BENCH_MAIN_H_

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/centre/centre_bed.h"

namespace qz::bench {

inline const std::vector<int> kCentreSizes = {100, 200, 400, 800, 1600};

// One benchmark: its name (the table's row) and its body, given the bed of
// the size being run.
struct CentreBenchmark {
  std::string name;
  std::function<void(benchmark::State&, CentreBed&)> run;
};

// Makes the bed of a size (the program not started).
using BedMaker = std::function<std::unique_ptr<CentreBed>(int items)>;

// The measures both front ends take, through the bed's Act: the load of
// the consultation from the search screen (back to it untimed), Enters
// into numeric lines that change their judgements, and the save (F12) of
// a consultation with one entry until the search screen shows.
void MeasureLoad(benchmark::State& state, CentreBed& bed);
void MeasureEnter(benchmark::State& state, CentreBed& bed);
void MeasureSave(benchmark::State& state, CentreBed& bed);

// Registers `benchmarks` for every size and runs them; returns the
// program's exit code.
int RunCentreBenchmarks(int argc, char** argv, const std::vector<CentreBenchmark>& benchmarks,
                        const BedMaker& make_bed);

}  // namespace qz::bench

#endif  // QZ_BENCH_CENTRE_BENCH_MAIN_H_
