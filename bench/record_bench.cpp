// The benchmark program's entry. The record manager's benchmarks are in
// record_engine_bench.cpp.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
