// Forward and inverse throughput of every projection family (nanoseconds per point),
// and UTM and Lambert through PROJ in the same binary, printed as ratios at the end.

#include <benchmark/benchmark.h>

#include "best_rate_reporter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"

#ifdef ORVALE_BENCH_WITH_PROJ
#include <proj.h>
#endif

namespace {

using orvale::CProjection;
using orvale::CSpheroid;
using orvale::kRadiansPerDegree;
using orvale::ProjectionStatus;

constexpr int kPoints = 4096;

struct Setup {
  const char* name;
  int type;
  int method;
  int spheroid_row;
  double lat0, lon0, fe, fn, k0;
  double sp1 = 0.0, sp2 = 0.0;
  double latitude_spread = 2.0;  // degrees either side of lat0
};

// One representative set-up per family, with points spread over its useful area.
const std::vector<Setup>& Setups() {
  static const std::vector<Setup> setups = {
      // UTM over the latitudes it serves, not only near its origin on the equator.
      {"UTM31N", 0, 0, 26, 0, 3, 500000, 0, 0.9996, 0, 0, 80},
      {"TransverseMercator", 1, 0, 0, 49, -2, 400000, -100000, 0.9996012717},
      {"Mercator", 5, 1, 21, 42, 51, 0, 0, 1.0},
      {"Lambert1SP", 6, 0, 7, 18, -77, 250000, 150000, 1.0},
      {"Lambert2SP", 6, 1, 7, 27.8333333, -99, 609601.2, 0, 1.0, 28.3833333, 30.2833333},
      {"Lambert2SPUSA", 6, 2, 7, 27.8333333, -99, 609601.2, 0, 1.0, 28.3833333, 30.2833333},
      {"Cassini", 7, 0, 6, 10.4416667, -61.3333333, 86501.46, 65379.01, 1.0},
      {"AzimuthalEquidistant", 8, 0, 7, 13.4724663, 144.7487507, 50000, 50000, 1.0},
      {"StereographicOblique", 9, 0, 3, 52.1561606, 5.3876389, 155000, 463000, 0.9999079},
      {"Polyconic", 10, 0, 42, 0, -54, 5000000, 10000000, 1.0},
  };
  return setups;
}

struct Workload {
  CSpheroid spheroid;
  CProjection projection;
  std::vector<double> latitudes, longitudes, eastings, northings;

  explicit Workload(const Setup& setup) {
    if (!spheroid.SetBuiltIn(setup.spheroid_row)) std::abort();
    projection.m_Spheroid = &spheroid;
    projection.m_Type = setup.type;
    projection.m_Method = setup.method;
    projection.m_StandardParallel1 = setup.sp1 * kRadiansPerDegree;
    projection.m_StandardParallel2 = setup.sp2 * kRadiansPerDegree;
    projection.SetParametersDeg(setup.lat0, setup.lon0, setup.fe, setup.fn, setup.k0);
    for (int i = 0; i < kPoints; ++i) {
      const double latitude =
          (setup.lat0 + setup.latitude_spread * std::sin(i * 0.37)) * kRadiansPerDegree;
      const double longitude = (setup.lon0 + 2.5 * std::cos(i * 0.53)) * kRadiansPerDegree;
      double e = 0.0, n = 0.0;
      // Timing a point that gives no result would measure nothing worth having.
      if (projection.GeogToGrid(latitude, longitude, &e, &n) != ProjectionStatus::kOk) std::abort();
      latitudes.push_back(latitude);
      longitudes.push_back(longitude);
      eastings.push_back(e);
      northings.push_back(n);
    }
  }
};

void ForwardPerPoint(benchmark::State& state, const Setup& setup) {
  Workload work(setup);
  for (auto _ : state) {
    for (int i = 0; i < kPoints; ++i) {
      double e, n;
      const ProjectionStatus status =
          work.projection.GeogToGrid(work.latitudes[i], work.longitudes[i], &e, &n);
      benchmark::DoNotOptimize(status);
      benchmark::DoNotOptimize(e);
      benchmark::DoNotOptimize(n);
    }
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

// The array interface, the counterpart of PROJ's proj_trans_generic below.
void ForwardMany(benchmark::State& state, const Setup& setup) {
  Workload work(setup);
  std::vector<double> eastings(kPoints), northings(kPoints);
  for (auto _ : state) {
    work.projection.GeogToGridMany(work.latitudes, work.longitudes, eastings, northings);
    benchmark::DoNotOptimize(eastings.data());
    benchmark::DoNotOptimize(northings.data());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

// `seeded`: each point's latitude is primed with FootpointStart, as GridToGeogMany
// does (0 where a family has no footpoint iteration, as the transverse Mercator no
// longer has); otherwise with 0.
void Inverse(benchmark::State& state, const Setup& setup, bool seeded) {
  Workload work(setup);
  for (auto _ : state) {
    for (int i = 0; i < kPoints; ++i) {
      double latitude = seeded ? work.projection.FootpointStart(work.northings[i]) : 0.0;
      double longitude = 0.0;
      const ProjectionStatus status =
          work.projection.GridToGeog(work.eastings[i], work.northings[i], &latitude, &longitude);
      benchmark::DoNotOptimize(status);
      benchmark::DoNotOptimize(latitude);
      benchmark::DoNotOptimize(longitude);
    }
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

// The array interface, the counterpart of PROJ's proj_trans_generic below.
void InverseMany(benchmark::State& state, const Setup& setup) {
  Workload work(setup);
  std::vector<double> latitudes(kPoints), longitudes(kPoints);
  for (auto _ : state) {
    work.projection.GridToGeogMany(work.eastings, work.northings, latitudes, longitudes);
    benchmark::DoNotOptimize(latitudes.data());
    benchmark::DoNotOptimize(longitudes.data());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

#ifdef ORVALE_BENCH_WITH_PROJ
// PROJ's in-memory array interface, the fastest way it offers to convert points.
void ProjArrays(benchmark::State& state, const char* definition, const Setup& setup, bool inverse) {
  PJ_CONTEXT* context = proj_context_create();
  PJ* transform = proj_create(context, definition);
  if (transform == nullptr) {
    state.SkipWithError("PROJ could not set up the projection");
    proj_context_destroy(context);
    return;
  }
  Workload work(setup);
  std::vector<double> x(kPoints), y(kPoints);
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < kPoints; ++i) {
      x[i] = inverse ? work.eastings[i] : work.longitudes[i];
      y[i] = inverse ? work.northings[i] : work.latitudes[i];
    }
    state.ResumeTiming();
    proj_trans_generic(transform, inverse ? PJ_INV : PJ_FWD, x.data(), sizeof(double), kPoints,
                       y.data(), sizeof(double), kPoints, nullptr, 0, 0, nullptr, 0, 0);
    benchmark::DoNotOptimize(x.data());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
  proj_destroy(transform);
  proj_context_destroy(context);
}
// Times Orvale and PROJ on the same points in alternating blocks, so that whatever
// else the machine does slows both alike; returns the median over the rounds of
// PROJ's time over Orvale's (how many times faster Orvale is).
double InterleavedRatio(const char* definition, const Setup& setup, bool inverse) {
  PJ_CONTEXT* context = proj_context_create();
  PJ* transform = proj_create(context, definition);
  Workload work(setup);
  std::vector<double> x(kPoints), y(kPoints), ratios;
  std::vector<double> first(kPoints), second(kPoints);  // Orvale's outputs
  double sink = 0.0;
  using Clock = std::chrono::steady_clock;
  for (int round = 0; round < 301; ++round) {
    const auto start = Clock::now();
    if (inverse) {
      work.projection.GridToGeogMany(work.eastings, work.northings, first, second);
    } else {
      work.projection.GeogToGridMany(work.latitudes, work.longitudes, first, second);
    }
    sink += first[0] + second[kPoints - 1];
    const auto middle = Clock::now();
    for (int i = 0; i < kPoints; ++i) {
      x[i] = inverse ? work.eastings[i] : work.longitudes[i];
      y[i] = inverse ? work.northings[i] : work.latitudes[i];
    }
    const auto copied = Clock::now();
    proj_trans_generic(transform, inverse ? PJ_INV : PJ_FWD, x.data(), sizeof(double), kPoints,
                       y.data(), sizeof(double), kPoints, nullptr, 0, 0, nullptr, 0, 0);
    const auto end = Clock::now();
    sink += x[0];
    ratios.push_back(std::chrono::duration<double>(end - copied).count() /
                     std::chrono::duration<double>(middle - start).count());
  }
  benchmark::DoNotOptimize(sink);
  proj_destroy(transform);
  proj_context_destroy(context);
  std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
  return ratios[ratios.size() / 2];
}
#endif

// Prints the usual table, then Orvale-to-PROJ throughput ratios.
class RatioReporter : public BestRateReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
#ifdef ORVALE_BENCH_WITH_PROJ
    std::printf(
        "\nInterleaved, the same points in alternating blocks (PROJ time / Orvale time):\n");
    const char* utm = "+proj=utm +zone=31 +ellps=WGS84";
    const char* lambert =
        "+proj=lcc +lat_0=27.8333333 +lon_0=-99 +lat_1=28.3833333 +lat_2=30.2833333 +x_0=609601.2 "
        "+y_0=0 "
        "+ellps=clrk66";
    std::printf("  %-30s %6.2fx\n", "Forward/UTM31N", InterleavedRatio(utm, Setups()[0], false));
    std::printf("  %-30s %6.2fx\n", "Inverse/UTM31N", InterleavedRatio(utm, Setups()[0], true));
    std::printf("  %-30s %6.2fx\n", "Forward/Lambert2SP",
                InterleavedRatio(lambert, Setups()[4], false));
    std::printf("  %-30s %6.2fx\n", "Inverse/Lambert2SP",
                InterleavedRatio(lambert, Setups()[4], true));
#endif
    const std::pair<const char*, const char*> pairs[] = {
        {"Orvale/Forward/UTM31N", "PROJ/Forward/UTM31N"},
        {"Orvale/ForwardPerPoint/UTM31N", "PROJ/Forward/UTM31N"},
        {"Orvale/Inverse/UTM31N", "PROJ/Inverse/UTM31N"},
        {"Orvale/InversePerPoint/UTM31N", "PROJ/Inverse/UTM31N"},
        {"Orvale/InverseColdStart/UTM31N", "PROJ/Inverse/UTM31N"},
        {"Orvale/Forward/Lambert2SP", "PROJ/Forward/Lambert2SP"},
        {"Orvale/Inverse/Lambert2SP", "PROJ/Inverse/Lambert2SP"},
    };
    std::printf(
        "\nThroughput ratios, best run of each (Orvale points/s over PROJ points/s), and the\n"
        "time per point of each:\n");
    for (const auto& [ours, theirs] : pairs) {
      const auto a = rates_.find(ours), b = rates_.find(theirs);
      if (a == rates_.end() || b == rates_.end() || b->second <= 0.0) continue;
      std::printf("  %-30s %6.2fx  (%.1f M/s vs %.1f M/s, %.1f ns vs %.1f ns)\n", ours + 7,
                  a->second / b->second, a->second / 1e6, b->second / 1e6, 1e9 / a->second,
                  1e9 / b->second);
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  for (const Setup& setup : Setups()) {
    benchmark::RegisterBenchmark((std::string("Orvale/Forward/") + setup.name).c_str(), ForwardMany,
                                 setup);
    benchmark::RegisterBenchmark((std::string("Orvale/ForwardPerPoint/") + setup.name).c_str(),
                                 ForwardPerPoint, setup);
    benchmark::RegisterBenchmark((std::string("Orvale/Inverse/") + setup.name).c_str(), InverseMany,
                                 setup);
    benchmark::RegisterBenchmark((std::string("Orvale/InversePerPoint/") + setup.name).c_str(),
                                 Inverse, setup, true);
    benchmark::RegisterBenchmark((std::string("Orvale/InverseColdStart/") + setup.name).c_str(),
                                 Inverse, setup, false);
  }
#ifdef ORVALE_BENCH_WITH_PROJ
  const Setup& utm = Setups()[0];
  const Setup& lambert = Setups()[4];
  const char* utm_definition = "+proj=utm +zone=31 +ellps=WGS84";
  const char* lambert_definition =
      "+proj=lcc +lat_0=27.8333333 +lon_0=-99 +lat_1=28.3833333 +lat_2=30.2833333 +x_0=609601.2 "
      "+y_0=0 "
      "+ellps=clrk66";
  benchmark::RegisterBenchmark("PROJ/Forward/UTM31N", ProjArrays, utm_definition, utm, false);
  benchmark::RegisterBenchmark("PROJ/Inverse/UTM31N", ProjArrays, utm_definition, utm, true);
  benchmark::RegisterBenchmark("PROJ/Forward/Lambert2SP", ProjArrays, lambert_definition, lambert,
                               false);
  benchmark::RegisterBenchmark("PROJ/Inverse/Lambert2SP", ProjArrays, lambert_definition, lambert,
                               true);
#endif
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
