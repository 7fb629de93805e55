// What the operator waits for, headless (the program's own work without a
// screen) on scaled centres: the load of a consultation, one Enter with its
// judgement and propagation, and the save until the search screen shows.
#include "bench/centre/bench_main.h"

int main(int argc, char** argv) {
  using qz::bench::CentreBed;
  return qz::bench::RunCentreBenchmarks(
      argc, argv,
      {{"headless/load", qz::bench::MeasureLoad},
       {"headless/enter", qz::bench::MeasureEnter},
       {"headless/save", qz::bench::MeasureSave}},
      [](int items) { return std::make_unique<CentreBed>(items); });
}
