// What the operator waits for, headless (the program's own work without a
// screen) on scaled centres: the load of a consultation, one Enter with its
// judgement and propagation, the save until the search screen shows, and
// the search screen's refill alone; on SQLite files and, with a server, on
// the server through a relay that delays each direction.
#include "bench/centre/bench_main.h"

int main(int argc, char** argv) {
  using qz::bench::CentreBed;
  const std::vector<qz::bench::CentreBenchmark> measures = {{"load", qz::bench::MeasureLoad},
                                                            {"enter", qz::bench::MeasureEnter},
                                                            {"save", qz::bench::MeasureSave},
                                                            {"refill", qz::bench::MeasureRefill}};
  std::vector<qz::bench::CentreBenchmark> headless;
  for (const auto& m : measures) headless.push_back({"headless/" + m.name, m.run});
  return qz::bench::RunCentreBenchmarks(
      argc, argv, headless,
      [](int items, const std::string& server) { return std::make_unique<CentreBed>(items, server); }, measures);
}
