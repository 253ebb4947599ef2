// Nanoseconds per value of the point streams' number text (WriteFixed, ParseDecimal)
// and of the standard calls they stand in for, on UTM- and degree-sized values with 3
// and 9 decimals; the speed-ups are printed at the end.

#include <benchmark/benchmark.h>

#include "best_rate_reporter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "number_io.h"

namespace {

using orvale::cli::kFixedRoom;

constexpr int kValues = 4096;

struct Workload {
  const char* name;
  double low, high;
  int decimals;
};

constexpr Workload kWorkloads[] = {
    {"Metres3", 0.0, 1e7, 3},
    {"Metres9", 0.0, 1e7, 9},
    {"Degrees3", -180.0, 180.0, 3},
    {"Degrees9", -180.0, 180.0, 9},
};

std::vector<double> Values(const Workload& workload) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> uniform(workload.low, workload.high);
  std::vector<double> values(kValues);
  for (double& value : values)
    value = uniform(random);
  return values;
}

// The values as the command reads them: each with the workload's decimals.
std::vector<std::string> Texts(const Workload& workload) {
  std::vector<std::string> texts;
  for (const double value : Values(workload)) {
    char text[kFixedRoom];
    texts.emplace_back(text, orvale::cli::WriteFixed(text, value, workload.decimals));
  }
  return texts;
}

void PerValue(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kValues);
}

void WriteFixed(benchmark::State& state, const Workload& workload) {
  const std::vector<double> values = Values(workload);
  char text[kFixedRoom];
  for (auto _ : state) {
    for (const double value : values) {
      benchmark::DoNotOptimize(orvale::cli::WriteFixed(text, value, workload.decimals));
      benchmark::ClobberMemory();
    }
  }
  PerValue(state);
}

void ToChars(benchmark::State& state, const Workload& workload) {
  const std::vector<double> values = Values(workload);
  char text[kFixedRoom];
  for (auto _ : state) {
    for (const double value : values) {
      benchmark::DoNotOptimize(std::to_chars(text, text + sizeof text, value,
                                             std::chars_format::fixed, workload.decimals));
      benchmark::ClobberMemory();
    }
  }
  PerValue(state);
}

void ParseDecimal(benchmark::State& state, const Workload& workload) {
  const std::vector<std::string> texts = Texts(workload);
  for (auto _ : state) {
    for (const std::string& text : texts) {
      double value = 0.0;
      benchmark::DoNotOptimize(orvale::cli::ParseDecimal(text, value));
      benchmark::DoNotOptimize(value);
    }
  }
  PerValue(state);
}

// What the command did before ParseDecimal: std::from_chars and the same checks.
void FromChars(benchmark::State& state, const Workload& workload) {
  const std::vector<std::string> texts = Texts(workload);
  for (auto _ : state) {
    for (const std::string& text : texts) {
      std::string_view field = text;
      if (field.starts_with('+') && !field.starts_with("+-")) field.remove_prefix(1);
      double value = 0.0;
      const char* end = field.data() + field.size();
      const auto [stop, error] = std::from_chars(field.data(), end, value);
      benchmark::DoNotOptimize(error == std::errc() && stop == end && std::isfinite(value));
      benchmark::DoNotOptimize(value);
    }
  }
  PerValue(state);
}

class RatioReporter : public BestRateReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nSpeed-up over the standard call, best run of each (and ns per value):\n");
    for (const Workload& workload : kWorkloads) {
      Ratio("WriteFixed", "ToChars", workload.name);
      Ratio("ParseDecimal", "FromChars", workload.name);
    }
  }

 private:
  void Ratio(const std::string& ours, const std::string& theirs, const std::string& workload) {
    const auto a = rates_.find(ours + "/" + workload), b = rates_.find(theirs + "/" + workload);
    if (a == rates_.end() || b == rates_.end() || b->second <= 0.0) return;
    std::printf("  %-22s %6.2fx  (%.1f ns vs %.1f ns)\n", (ours + "/" + workload).c_str(),
                a->second / b->second, 1e9 / a->second, 1e9 / b->second);
  }
};

}  // namespace

int main(int argc, char** argv) {
  for (const Workload& workload : kWorkloads) {
    const std::string name = workload.name;
    benchmark::RegisterBenchmark(("WriteFixed/" + name).c_str(), WriteFixed, workload);
    benchmark::RegisterBenchmark(("ToChars/" + name).c_str(), ToChars, workload);
    benchmark::RegisterBenchmark(("ParseDecimal/" + name).c_str(), ParseDecimal, workload);
    benchmark::RegisterBenchmark(("FromChars/" + name).c_str(), FromChars, workload);
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
