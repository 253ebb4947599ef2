#pragma once
// The console table of Google Benchmark, keeping besides the best items per second of
// each benchmark over its repetitions: on a shared machine interference only ever
// slows a run down, so the best run is the one that measures the code. A bench derives
// from it to print its ratios in Finalize.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

class BestRateReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto items = run.counters.find("items_per_second");
      if (run.run_type != Run::RT_Iteration || items == run.counters.end()) continue;
      double& best = rates_[run.run_name.function_name];
      best = std::max(best, items->second.value);
    }
  }

 protected:
  std::map<std::string, double> rates_;  // benchmark name: best items per second
};
