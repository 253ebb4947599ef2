// Nanoseconds per point of the grid shifts: NTv2 interpolation on BKG's BETA2007 grid
// side by side with PROJ's hgridshift on the same file in memory, NADCON on the
// cached CONUS region, and OSTN15 (loading a pair of the real size, and a point). The grids come
// from Debian's proj-data and the reference data beside the repository; a missing one skips its
// benchmark. Settings and region files go to a temporary drive C: that is removed at the end.

#include <benchmark/benchmark.h>

#include "best_rate_reporter.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/gridshift/nadcon.h"
#include "orvale/engine/gridshift/ntv2.h"
#include "orvale/engine/gridshift/ntv2_file.h"
#include "orvale/engine/gridshift/ostn15.h"
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

// An OSTN15 pair of the Ordnance Survey's size and layout (two files of 17 MB:
// 49°N to 61°N, 9°W to 2°E every 40"), written once into the program folder.
constexpr double kOstnSouth = 176400.0, kOstnNorth = 219600.0;  // seconds
constexpr double kOstnEast = -7200.0, kOstnWest = 32400.0;      // positive west
constexpr double kOstnStep = 40.0;

void AppendRecord(std::string& bytes, const char* name, const void* value, std::size_t size) {
  char record[16] = {};
  std::snprintf(record, 9, "%-8s", name);
  std::memcpy(record + 8, value, size);
  bytes.append(record, 16);
}

std::string OstnBytes(bool etrs_to_osgb) {
  const int rows = static_cast<int>((kOstnNorth - kOstnSouth) / kOstnStep) + 1;
  const int columns = static_cast<int>((kOstnWest - kOstnEast) / kOstnStep) + 1;
  std::string bytes;
  const auto number = [&](const char* name, double value) {
    AppendRecord(bytes, name, &value, sizeof value);
  };
  const auto integer = [&](const char* name, std::int32_t value) {
    AppendRecord(bytes, name, &value, sizeof value);
  };
  const auto text = [&](const char* name, const char* value) {
    AppendRecord(bytes, name, value, std::strlen(value));
  };
  const double airy[] = {6377563.396, 6356256.909}, grs80[] = {6378137.0, 6356752.314};
  const double* from = etrs_to_osgb ? grs80 : airy;
  const double* to = etrs_to_osgb ? airy : grs80;
  integer("NUM_OREC", 11), integer("NUM_SREC", 11), integer("NUM_FILE", 1);
  text("GS_TYPE", "SECONDS "), text("VERSION", "NTv2.0"), text("SYSTEM_F", "ETRS89");
  text("SYSTEM_T", "OSGB36"), number("MAJOR_F", from[0]), number("MINOR_F", from[1]);
  number("MAJOR_T", to[0]), number("MINOR_T", to[1]);
  text("SUB_NAME", "OSTN15"), text("PARENT", "NONE"), text("CREATED", "20160101");
  text("UPDATED", "20160101"), number("S_LAT", kOstnSouth), number("N_LAT", kOstnNorth);
  number("E_LONG", kOstnEast), number("W_LONG", kOstnWest), number("LAT_INC", kOstnStep);
  number("LONG_INC", kOstnStep), integer("GS_COUNT", rows * columns);
  const float sign = etrs_to_osgb ? 1.0f : -1.0f;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      const float node[4] = {sign * (1.5f + 0.001f * static_cast<float>(row)),
                             sign * (-4.0f + 0.002f * static_cast<float>(column)), 0.0f, 0.0f};
      bytes.append(reinterpret_cast<const char*>(node), sizeof node);
    }
  }
  number("END", 0.0);
  return bytes;
}

void WriteOstnPair(const std::filesystem::path& folder) {
  for (const bool etrs_to_osgb : {true, false}) {
    const std::string bytes = OstnBytes(etrs_to_osgb);
    const auto name =
        etrs_to_osgb ? orvale::kOstnEtrsToOsgbFileName : orvale::kOstnOsgbToEtrsFileName;
    std::FILE* file = std::fopen((folder / name).c_str(), "wb");
    if (file == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
}

// Loading the pair, warm (the files in the page cache): the arrays are released
// before each load, so every load reads both files.
void OrvaleOstnLoad(benchmark::State& state) {
  for (auto _ : state) {
    orvale::OstnGridPair pair;
    if (!orvale::LoadOstnGrids(pair).ok()) {
      state.SkipWithError("the OSTN15 pair could not be written");
      return;
    }
    benchmark::DoNotOptimize(pair.m_Nodes.get());
  }
  state.SetItemsProcessed(state.iterations());
}

void OrvaleOstnForward(benchmark::State& state) {
  orvale::OstnGridPair pair;
  if (!orvale::LoadOstnGrids(pair).ok()) {
    state.SkipWithError("the OSTN15 pair could not be written");
    return;
  }
  std::mt19937_64 random(2015);
  std::uniform_real_distribution<double> latitudes(50.0, 60.0), longitudes(-8.0, 1.5);
  std::vector<double> phi, lambda;
  for (int i = 0; i < kPoints; ++i) {
    phi.push_back(latitudes(random) * orvale::kRadiansPerDegree);
    lambda.push_back(longitudes(random) * orvale::kRadiansPerDegree);
  }
  for (auto _ : state) {
    for (int i = 0; i < kPoints; ++i) {
      double easting, northing;
      const bool found = orvale::OstnForward(pair, easting, northing, phi[i], lambda[i]);
      benchmark::DoNotOptimize(found);
      benchmark::DoNotOptimize(easting);
      benchmark::DoNotOptimize(northing);
    }
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

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
    for (const auto& [name, rate] : rates_) {
      if (name.ends_with("/load"))
        std::printf("  %-28s %7.1f ms a pair\n", name.c_str(), 1e3 / rate);
      else
        std::printf("  %-28s %7.1f ns\n", name.c_str(), 1e9 / rate);
    }
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
  WriteOstnPair(drive);
  ::setenv("ORVALE_PROGRAM_DIR", drive.c_str(), 1);
  benchmark::RegisterBenchmark("Orvale/OSTN15/load", OrvaleOstnLoad)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Orvale/OSTN15/forward", OrvaleOstnForward);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::filesystem::remove_all(drive, ignored);
  return global.empty() ? 1 : 0;
}
