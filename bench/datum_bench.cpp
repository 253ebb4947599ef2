// A parameter datum shift as a file conversion runs it (nanoseconds per point):
// geographical on WGS84 to cartesian, a 7-parameter Helmert, and back to geographical
// on International 1924, through the run entries; the three steps alone; and the
// same chain through PROJ's pipeline in the same binary, printed as a ratio at the end.

#include <benchmark/benchmark.h>

#include "best_rate_reporter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/cartesian.h"
#include "orvale/engine/datum/helmert.h"
#include "orvale/engine/spheroid/spheroid.h"

#ifdef ORVALE_BENCH_WITH_PROJ
#include <proj.h>
#endif

namespace {

using orvale::CSpheroid;
using orvale::kRadiansPerDegree;

constexpr int kPoints = 4096;

// WGS84 to ED50 (EPSG:1133 reversed, in round figures) as a position vector step.
orvale::DatumShiftParameters Shift() {
  orvale::DatumShiftParameters p;
  p.m_DX = 89.5;
  p.m_DY = 93.8;
  p.m_DZ = 123.1;
  p.m_RX = 0.1;
  p.m_RY = -0.2;
  p.m_RZ = 0.156;
  p.m_Scale = 1.2;
  return p;
}
constexpr const char* kProjPipeline =
    "+proj=pipeline +step +proj=cart +ellps=WGS84 "
    "+step +proj=helmert +x=89.5 +y=93.8 +z=123.1 +rx=0.1 +ry=-0.2 +rz=0.156 +s=1.2 "
    "+convention=position_vector +step +inv +proj=cart +ellps=intl";

struct Workload {
  CSpheroid source, target;  // WGS84 and the International (Hayford 1910)
  orvale::HelmertStep step = orvale::MakeHelmertStep(Shift(), orvale::kHelmertForward);
  std::vector<double> latitudes, longitudes, heights;
  std::vector<double> x, y, z, out_latitudes, out_longitudes, out_heights;

  Workload() : x(kPoints), y(kPoints), z(kPoints) {
    if (!source.SetBuiltIn(26) || !target.SetBuiltIn(20)) std::abort();
    for (int i = 0; i < kPoints; ++i) {
      latitudes.push_back((45.0 + 40.0 * std::sin(i * 0.37)) * kRadiansPerDegree);
      longitudes.push_back((10.0 + 90.0 * std::cos(i * 0.53)) * kRadiansPerDegree);
      heights.push_back(500.0 + 400.0 * std::sin(i * 0.11));
    }
    out_latitudes = out_longitudes = out_heights = std::vector<double>(kPoints);
  }

  void Chain() {
    orvale::GeogToCartesianMany(source, latitudes, longitudes, heights, x, y, z);
    orvale::HelmertTransformMany(step, x, y, z, x, y, z);
    orvale::CartesianToGeogMany(target, x, y, z, out_latitudes, out_longitudes, out_heights);
  }
};

void Chain(benchmark::State& state) {
  Workload work;
  for (auto _ : state) {
    work.Chain();
    benchmark::DoNotOptimize(work.out_latitudes.data());
    benchmark::DoNotOptimize(work.out_heights.data());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

void ToCartesian(benchmark::State& state) {
  Workload work;
  for (auto _ : state) {
    orvale::GeogToCartesianMany(work.source, work.latitudes, work.longitudes, work.heights, work.x,
                                work.y, work.z);
    benchmark::DoNotOptimize(work.z.data());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

void Helmert(benchmark::State& state) {
  Workload work;
  work.Chain();
  std::vector<double> x(kPoints), y(kPoints), z(kPoints);
  for (auto _ : state) {
    orvale::HelmertTransformMany(work.step, work.x, work.y, work.z, x, y, z);
    benchmark::DoNotOptimize(z.data());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

void ToGeog(benchmark::State& state) {
  Workload work;
  work.Chain();
  for (auto _ : state) {
    orvale::CartesianToGeogMany(work.target, work.x, work.y, work.z, work.out_latitudes,
                                work.out_longitudes, work.out_heights);
    benchmark::DoNotOptimize(work.out_heights.data());
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

#ifdef ORVALE_BENCH_WITH_PROJ
// PROJ's in-memory array interface on the same chain as one pipeline.
void ProjChain(benchmark::State& state) {
  PJ_CONTEXT* context = proj_context_create();
  PJ* transform = proj_create(context, kProjPipeline);
  if (transform == nullptr) {
    state.SkipWithError("PROJ could not set up the pipeline");
    proj_context_destroy(context);
    return;
  }
  Workload work;
  std::vector<double> lon(kPoints), lat(kPoints), h(kPoints);
  for (auto _ : state) {
    state.PauseTiming();
    lon = work.longitudes;
    lat = work.latitudes;
    h = work.heights;
    state.ResumeTiming();
    proj_trans_generic(transform, PJ_FWD, lon.data(), sizeof(double), kPoints, lat.data(),
                       sizeof(double), kPoints, h.data(), sizeof(double), kPoints, nullptr, 0, 0);
    benchmark::DoNotOptimize(lat.data());
  }
  // The two must compute the same thing for the ratio to mean anything.
  work.Chain();
  for (int i = 0; i < kPoints; ++i) {
    if (std::fabs(lat[i] - work.out_latitudes[i]) > 1e-10 ||
        std::fabs(h[i] - work.out_heights[i]) > 1e-3) {
      state.SkipWithError("PROJ and Orvale disagree");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
  proj_destroy(transform);
  proj_context_destroy(context);
}
#endif

class RatioReporter : public BestRateReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto ours = rates_.find("Orvale/Chain"), theirs = rates_.find("PROJ/Chain");
    if (ours == rates_.end() || theirs == rates_.end() || theirs->second <= 0.0) return;
    std::printf(
        "\nGeographical -> cartesian -> Helmert -> geographical, best run of each:\n"
        "  Orvale %.1f ns/point, PROJ %.1f ns/point: %.2fx\n",
        1e9 / ours->second, 1e9 / theirs->second, ours->second / theirs->second);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("Orvale/Chain", Chain);
  benchmark::RegisterBenchmark("Orvale/GeogToCartesian", ToCartesian);
  benchmark::RegisterBenchmark("Orvale/Helmert", Helmert);
  benchmark::RegisterBenchmark("Orvale/CartesianToGeog", ToGeog);
#ifdef ORVALE_BENCH_WITH_PROJ
  benchmark::RegisterBenchmark("PROJ/Chain", ProjChain);
#endif
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
