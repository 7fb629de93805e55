// The main of the benchmark programs of a scaled centre: registers each
// program's benchmarks size by size (one centre on disk at a time) and runs
// them, on SQLite files and, when a PostgreSQL server is set (QZ_TEST_PG,
// scripts/pgserver), on that server through a relay that delays each
// direction as a LAN does.
//
//   program [--smoke] [benchmark flags]
//
// --smoke runs every benchmark once at the smallest size (for CI: it shows
// that they run, it times nothing). Without it the sizes are
// kCentreSizes (kServerSizes on the server), each benchmark repeated and
// reported by its median. Every benchmark reports the statements it sent
// to the server per action (counter "statements"; 0 on SQLite files).
#ifndef QZ_BENCH_CENTRE_BENCH_MAIN_H_
#define QZ_BENCH_CENTRE_BENCH_MAIN_H_

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/centre/centre_bed.h"

namespace qz::bench {

inline const std::vector<int> kCentreSizes = {100, 200, 400, 800, 1600};
inline const std::vector<int> kServerSizes = {800, 1600};
// The relay's added delay in each direction: a round trip of 0.2, 0.6 and
// 1.2 ms above the loopback's own.
inline const std::vector<std::chrono::microseconds> kServerDelays = {
    std::chrono::microseconds(100), std::chrono::microseconds(300), std::chrono::microseconds(600)};

// One benchmark: its name (the table's row) and its body, given the bed of
// the size being run.
struct CentreBenchmark {
  std::string name;
  std::function<void(benchmark::State&, CentreBed&)> run;
};

// Makes the bed of a size (the program not started), on the server that
// `server` reaches when not empty.
using BedMaker = std::function<std::unique_ptr<CentreBed>(int items, const std::string& server)>;

// The measures both front ends take, through the bed's Act: the load of
// the consultation from the search screen (back to it untimed), Enters
// into numeric lines that change their judgements, the save (F12) of a
// consultation with one entry until the search screen shows, and the
// search screen's refill alone.
void MeasureLoad(benchmark::State& state, CentreBed& bed);
void MeasureEnter(benchmark::State& state, CentreBed& bed);
void MeasureSave(benchmark::State& state, CentreBed& bed);
void MeasureRefill(benchmark::State& state, CentreBed& bed);

// Registers `benchmarks` for every size and runs them; `on_server` too,
// named "pg<delay>ms/...", on the server at each delay of kServerDelays
// (with the round trip of one statement through the relay,
// "pg<delay>ms/round_trip"), when a server is set. Returns the program's
// exit code.
int RunCentreBenchmarks(int argc, char** argv, const std::vector<CentreBenchmark>& benchmarks,
                        const BedMaker& make_bed, const std::vector<CentreBenchmark>& on_server = {});

}  // namespace qz::bench

#endif  // QZ_BENCH_CENTRE_BENCH_MAIN_H_
