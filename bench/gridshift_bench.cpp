// Nanoseconds per point of the grid shifts: NTv2 interpolation on BKG's BETA2007 grid
// side by side with PROJ's hgridshift on the same file in memory, and NADCON on the
// cached CONUS region. The grids come from Debian's proj-data and the reference data
// beside the repository; a missing one skips its benchmark. Settings and region files
// go to a temporary drive C: that is removed at the end.

#include <benchmark/benchmark.h>

#include "best_rate_reporter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/gridshift/nadcon.h"
#include "orvale/engine/gridshift/ntv2.h"
#include "orvale/engine/gridshift/ntv2_file.h"
#include "orvale/storage/data_folders.h"

#ifdef ORVALE_BENCH_WITH_PROJ
#include <proj.h>
#endif

namespace {

constexpr int kPoints = 4096;
const char* const kBeta2007 = "/usr/share/proj/BETA2007.gsb";

// Points inside BETA2007 (5.5 to 15.67 E, 47 to 55.3 N), radians, east positive.
struct Beta2007Points {
  std::vector<double> latitudes, longitudes;
  Beta2007Points() {
    std::mt19937_64 random(2007);
    std::uniform_real_distribution<double> latitude(47.1, 55.2), longitude(5.6, 15.5);
    for (int i = 0; i < kPoints; ++i) {
      latitudes.push_back(latitude(random) * orvale::kRadiansPerDegree);
      longitudes.push_back(longitude(random) * orvale::kRadiansPerDegree);
    }
  }
};

void OrvaleNTv2(benchmark::State& state) {
  orvale::CNTv2 reader;
  if (!orvale::LoadNTv2File(reader, kBeta2007).ok()) {
    state.SkipWithError("BETA2007.gsb is not installed");
    return;
  }
  const Beta2007Points points;
  for (auto _ : state) {
    for (int i = 0; i < kPoints; ++i) {
      double latitude, longitude;
      const int grid =
          reader.Interpolate(&latitude, &longitude, points.latitudes[i], points.longitudes[i]);
      benchmark::DoNotOptimize(grid);
      benchmark::DoNotOptimize(latitude);
      benchmark::DoNotOptimize(longitude);
    }
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

#ifdef ORVALE_BENCH_WITH_PROJ
// PROJ's array interface on the same grid and points (radians in and out).
void ProjHgridshift(benchmark::State& state) {
  PJ_CONTEXT* context = proj_context_create();
  const std::string definition = std::string("+proj=hgridshift +grids=") + kBeta2007;
  PJ* transform = proj_create(context, definition.c_str());
  if (transform == nullptr) {
    state.SkipWithError("PROJ cannot open BETA2007.gsb");
    proj_context_destroy(context);
    return;
  }
  const Beta2007Points points;
  std::vector<double> x(kPoints), y(kPoints);
  for (auto _ : state) {
    state.PauseTiming();
    x = points.longitudes;
    y = points.latitudes;
    state.ResumeTiming();
    proj_trans_generic(transform, PJ_FWD, x.data(), sizeof(double), kPoints, y.data(),
                       sizeof(double), kPoints, nullptr, 0, 0, nullptr, 0, 0);
    benchmark::DoNotOptimize(x.data());
    benchmark::DoNotOptimize(y.data());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
  proj_destroy(transform);
  proj_context_destroy(context);
}
#endif

// NAD 27 to NAD 83 on the CONUS region, loaded by the first point and kept.
void OrvaleNadcon(benchmark::State& state) {
  orvale::NadconGridSet set;
  double latitude = 0.0, longitude = 0.0;
  if (!orvale::ApplyNadcon(latitude, longitude, set, orvale::kNad27ToNad83, 40.0, -100.0)) {
    state.SkipWithError("the CONUS pair is not in the reference data");
    return;
  }
  std::mt19937_64 random(1983);
  std::uniform_real_distribution<double> latitudes(25.0, 49.0), longitudes(-124.0, -67.0);
  std::vector<double> phi, lambda;
  for (int i = 0; i < kPoints; ++i) {
    phi.push_back(latitudes(random));
    lambda.push_back(longitudes(random));
  }
  for (auto _ : state) {
    for (int i = 0; i < kPoints; ++i) {
      const bool shifted =
          orvale::ApplyNadcon(latitude, longitude, set, orvale::kNad27ToNad83, phi[i], lambda[i]);
      benchmark::DoNotOptimize(shifted);
      benchmark::DoNotOptimize(latitude);
      benchmark::DoNotOptimize(longitude);
    }
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

class RatioReporter : public BestRateReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nBest run of each, nanoseconds per point:\n");
    for (const auto& [name, rate] : rates_)
      std::printf("  %-28s %7.1f ns\n", name.c_str(), 1e9 / rate);
    const auto ours = rates_.find("Orvale/NTv2/BETA2007");
    const auto theirs = rates_.find("PROJ/hgridshift/BETA2007");
    if (ours != rates_.end() && theirs != rates_.end())
      std::printf("  NTv2 interpolation is %.2fx PROJ's hgridshift\n",
                  ours->second / theirs->second);
  }
};

}  // namespace

int main(int argc, char** argv) {
  // A drive of its own: the CONUS pair in its Global folder, and the settings the
  // NTv2 reader writes when it goes.
  const std::filesystem::path drive =
      std::filesystem::temp_directory_path() / ("orvale-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(drive);
  ::setenv("ORVALE_DRIVE_C", drive.c_str(), 1);
  const std::string global = orvale::RecordFolder();
  const std::filesystem::path conus = std::filesystem::path(ORVALE_GRID_REFERENCE_DIR);
  std::error_code ignored;
  for (const char* name : {"conus.las", "conus.los"})
    std::filesystem::copy_file(conus / name, drive / "MyData" / "Global" / name, ignored);

  benchmark::RegisterBenchmark("Orvale/NTv2/BETA2007", OrvaleNTv2);
#ifdef ORVALE_BENCH_WITH_PROJ
  benchmark::RegisterBenchmark("PROJ/hgridshift/BETA2007", ProjHgridshift);
#endif
  benchmark::RegisterBenchmark("Orvale/NADCON/CONUS", OrvaleNadcon);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::filesystem::remove_all(drive, ignored);
  return global.empty() ? 1 : 0;
}
