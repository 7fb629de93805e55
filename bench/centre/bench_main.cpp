#include "bench/centre/bench_main.h"

#include <libpq-fe.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "kit/pg_server.h"
#include "kit/tcp_relay.h"
#include "platform/record/server_statements.h"

namespace qz::bench {

namespace {

// The bed of the size and engine now running; made when a benchmark of
// another starts, so that every centre is built once.
struct CurrentBed {
  int items = 0;
  bool on_server = false;
  std::unique_ptr<CentreBed> bed;
};

CentreBed* BedFor(CurrentBed& current, const BedMaker& make_bed, int items, const std::string& server,
                  benchmark::State& state) {
  const bool on_server = !server.empty();
  if (current.items != items || current.on_server != on_server || !current.bed) {
    current.bed.reset();
    current.bed = make_bed(items, server);
    current.items = items;
    current.on_server = on_server;
    if (!current.bed->Start()) {
      state.SkipWithError("the search screen did not show");
      return nullptr;
    }
  }
  return current.bed.get();
}

// The statements the timed steps of a benchmark send, reported per
// iteration.
class StatementTally {
 public:
  // Runs `step`, counting its statements; returns what it returns.
  template <typename Step>
  auto Count(const Step& step) {
    const std::uint64_t before = record::ServerStatements();
    const auto result = step();
    total_ += record::ServerStatements() - before;
    return result;
  }
  void Report(benchmark::State& state) const {
    state.counters["statements"] = benchmark::Counter(static_cast<double>(total_), benchmark::Counter::kAvgIterations);
  }

 private:
  std::uint64_t total_ = 0;
};

// "pg0.3ms": the name of the server runs at `delay` each way.
std::string ServerRunName(std::chrono::microseconds delay) {
  char text[32];
  std::snprintf(text, sizeof(text), "pg%.1fms", static_cast<double>(delay.count()) / 1000.0);
  return text;
}

// The round trip of one statement through the relay.
void MeasureRoundTrip(benchmark::State& state, const std::string& conninfo) {
  PGconn* c = PQconnectdb(conninfo.c_str());
  if (PQstatus(c) != CONNECTION_OK) {
    state.SkipWithError("no connection through the relay");
  } else {
    for (auto _ : state) PQclear(PQexec(c, "SELECT 1"));
  }
  PQfinish(c);
  state.counters["statements"] = benchmark::Counter(1);
}

}  // namespace

void MeasureLoad(benchmark::State& state, CentreBed& bed) {
  StatementTally tally;
  for (auto _ : state) {
    if (!tally.Count([&] { return bed.Load(); })) {
      state.SkipWithError("the consultation did not load");
      return;
    }
    state.PauseTiming();
    bed.Save();  // nothing entered: back to the search screen
    state.ResumeTiming();
  }
  tally.Report(state);
}

void MeasureEnter(benchmark::State& state, CentreBed& bed) {
  if (!bed.Load()) {
    state.SkipWithError("the consultation did not load");
    return;
  }
  // The count goes on over the repetitions (each loads the consultation
  // again): every Enter types another value than the line holds.
  static int k = 0;
  StatementTally tally;
  for (auto _ : state) {
    tally.Count([&] {
      bed.Enter(bed.NumericLine(k), bed.EnterValue(k));
      return ++k;
    });
  }
  tally.Report(state);
  bed.Save();  // after the measure
}

void MeasureSave(benchmark::State& state, CentreBed& bed) {
  int k = 0;
  StatementTally tally;
  for (auto _ : state) {
    state.PauseTiming();
    if (!bed.Load()) {
      state.SkipWithError("the consultation did not load");
      return;
    }
    bed.Enter(bed.NumericLine(0), k++ % 2 == 0 ? "45.0" : "75.0");  // saved each time: another value
    state.ResumeTiming();
    if (!tally.Count([&] { return bed.Save(); })) {
      state.SkipWithError("the search screen did not show after the save");
      return;
    }
  }
  tally.Report(state);
}

void MeasureRefill(benchmark::State& state, CentreBed& bed) {
  StatementTally tally;
  for (auto _ : state) {
    if (!tally.Count([&] { return bed.Refill(); })) {
      state.SkipWithError("the search screen does not list the consultation");
      return;
    }
  }
  tally.Report(state);
}

int RunCentreBenchmarks(int argc, char** argv, const std::vector<CentreBenchmark>& benchmarks,
                        const BedMaker& make_bed, const std::vector<CentreBenchmark>& on_server) {
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
  // The program reaches the server only through the relay, built with no
  // delay; each server benchmark sets its own.
  static std::unique_ptr<testkit::TcpRelay> relay;
  if (!on_server.empty() && testkit::PgServer()) {
    relay = std::make_unique<testkit::TcpRelay>(*testkit::PgServer());
    if (relay->port() == 0) relay.reset();
  }
  const auto add = [smoke](const std::string& name, auto body) {
    auto* registered = benchmark::RegisterBenchmark(name.c_str(), body);
    registered->Unit(benchmark::kMillisecond)->UseRealTime();
    if (smoke) {
      registered->Iterations(1);
    } else {
      registered->Repetitions(5)->ReportAggregatesOnly(true)->MinTime(0.2);
    }
  };
  // Runs `b` at `items` on the bed of that size, on the server when
  // `server` is not empty.
  const auto add_centre = [&](const std::string& name, const CentreBenchmark& b, int items, const std::string& server,
                              std::chrono::microseconds delay) {
    add(name + "/" + std::to_string(items), [&b, &make_bed, items, server, delay](benchmark::State& state) {
      if (relay) relay->SetDelay(std::chrono::microseconds(0));
      CentreBed* bed = BedFor(current, make_bed, items, server, state);
      if (bed == nullptr) return;
      if (relay) relay->SetDelay(delay);
      const int boxes = bed->boxes();
      b.run(state, *bed);
      if (relay) relay->SetDelay(std::chrono::microseconds(0));
      // The program is to run through without a message box.
      if (bed->boxes() != boxes) state.counters["boxes"] = bed->boxes() - boxes;
    });
  };
  const std::vector<int> sizes = smoke ? std::vector<int>{kCentreSizes.front()} : kCentreSizes;
  for (int items : sizes) {
    for (const CentreBenchmark& b : benchmarks) add_centre(b.name, b, items, {}, {});
  }
  if (relay) {
    const std::vector<int> server_sizes = smoke ? std::vector<int>{kCentreSizes.front()} : kServerSizes;
    const std::vector<std::chrono::microseconds> delays =
        smoke ? std::vector<std::chrono::microseconds>{kServerDelays.front()} : kServerDelays;
    for (int items : server_sizes) {
      for (std::chrono::microseconds delay : delays) {
        const std::string run = ServerRunName(delay);
        add(run + "/round_trip/" + std::to_string(items), [delay](benchmark::State& state) {
          relay->SetDelay(delay);
          MeasureRoundTrip(state, relay->ConnInfo());
          relay->SetDelay(std::chrono::microseconds(0));
        });
        for (const CentreBenchmark& b : on_server) add_centre(run + "/" + b.name, b, items, relay->ConnInfo(), delay);
      }
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  current.bed.reset();
  relay.reset();
  return 0;
}

}  // namespace qz::bench
