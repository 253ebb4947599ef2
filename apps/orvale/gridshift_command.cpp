// orvale gridshift: latitude and longitude shifted by an NTv2 grid file or a NADCON
// region, from the grid's source datum to its target or back, as PROJ's hgridshift
// applies a grid.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/gridshift/nadcon.h"
#include "orvale/engine/gridshift/ntv2.h"
#include "orvale/engine/gridshift/ntv2_file.h"
#include "orvale/platform/stdio_file.h"
#include "point_pipeline.h"
#include "text_fields.h"

namespace orvale::cli {
namespace {

// The inverse stops once a round moves the estimate by no more than a millisecond of
// arc in either co-ordinate (the engine's own iteration limit); the shift changes so
// slowly across a grid that the round after is then right to far less than that.
constexpr double kInverseTolerance = 4.848136811095278e-09;  // radians
constexpr int kInverseRounds = 50;

struct GridshiftOptions {
  std::string grid;
  bool inverse = false;
  PipelineOptions pipeline;
};

enum class GridKind { kNTv2, kNadcon };

// The grid of a run, read once; each worker shifts with copies that share its nodes.
struct LoadedGrid {
  GridKind kind = GridKind::kNTv2;
  CNTv2 ntv2;
  NadconGridSet nadcon;
};

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

// The first 96 bytes of a file, or fewer when it is shorter.
std::string HeaderBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(kNadconHeaderBytes, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return bytes;
}

// Reads one file of a NADCON pair into `set`; false with the reason, naming the file.
bool ReadNadconFile(const std::string& path, NadconGridSet& set, int which, std::string& problem) {
  CStdioFile file;
  if (!file.Open(path, FileMode::ReadBinary)) {
    problem = "'" + path + "' cannot be opened";
    if (!file.OpenProblem().empty()) problem += ": " + file.OpenProblem();
    return false;
  }
  const bool read = ReadNadconGrid(file, set, which);
  static_cast<void>(file.Close());
  if (read) return true;
  problem = "'" + path + "' is no NADCON grid: ";
  // The .los must describe the same cells as the .las: the eight values after the two
  // texts (columns, rows, z count, origin, spacings, angle) are compared.
  constexpr std::size_t kShapeStart = 64;
  const std::string header = HeaderBytes(path);
  if (which == 1 && header.size() == kNadconHeaderBytes &&
      !std::equal(header.begin() + kShapeStart, header.end(), set.m_Header.begin() + kShapeStart)) {
    problem += "its columns, rows, origin or spacing differ from the .las file's";
  } else {
    problem += "its header, counts or rows cannot be read";
  }
  return false;
}

// Loads the grid `path` names: an NTv2 .gsb file, or a NADCON region by its .las or
// .los file or by the two files' common stem. False with the reason, naming the file.
bool LoadGrid(const std::string& path, LoadedGrid& grid, std::string& problem) {
  const std::string extension = std::filesystem::path(path).extension().string();
  const std::string lowered = Lowered(extension);
  std::string stem, las, los;
  if (lowered == ".las" || lowered == ".los") {
    stem = path.substr(0, path.size() - extension.size());
    // The partner keeps the given file's letter case: conus.LAS goes with conus.LOS.
    std::string partner = extension;
    partner[2] =
        lowered == ".las" ? (extension[2] == 'A' ? 'O' : 'o') : (extension[2] == 'O' ? 'A' : 'a');
    las = stem + (lowered == ".las" ? extension : partner);
    los = stem + (lowered == ".las" ? partner : extension);
  } else if (lowered != ".gsb" && !Exists(path)) {
    for (const char* pair : {".las.los", ".LAS.LOS"}) {
      const std::string_view both = pair;
      if (Exists(path + std::string(both.substr(0, 4)))) {
        stem = path;
        las = path + std::string(both.substr(0, 4));
        los = path + std::string(both.substr(4));
        break;
      }
    }
    if (stem.empty()) {
      problem = "'" + path + "' is not there, nor a NADCON region '" + path + ".las' and '" + path +
                ".los'";
      return false;
    }
  }
  if (stem.empty()) {
    grid.kind = GridKind::kNTv2;
    const GridFileStatus status = LoadNTv2File(grid.ntv2, path);
    if (status.ok()) return true;
    problem = "'" + path + "' " +
              (status.problem == GridFileProblem::kCannotOpen ? "" : "is no usable NTv2 grid: ") +
              status.reason;
    return false;
  }
  grid.kind = GridKind::kNadcon;
  grid.nadcon.Clear();
  if (!ReadNadconFile(las, grid.nadcon, 0, problem) ||
      !ReadNadconFile(los, grid.nadcon, 1, problem)) {
    grid.nadcon.Clear();
    return false;
  }
  grid.nadcon.m_Code = std::filesystem::path(stem).filename().string();
  grid.nadcon.m_Description = stem;
  return true;
}

enum class ShiftStatus { kOk, kOutside, kNoConvergence };

// One point: latitude and longitude in radians, in and out.
struct GridRecord {
  double latitude = 0.0;
  double longitude = 0.0;
  double latitude_out = 0.0;
  double longitude_out = 0.0;
  ShiftStatus status = ShiftStatus::kOk;
};

struct GridSettings {
  bool inverse = false;
  bool lon_lat = false;
  int input_notation = ANGLE_PREF_DEGREES;
};

double WithinHalfTurn(double longitude) {
  if (longitude > std::numbers::pi) return longitude - 2.0 * std::numbers::pi;
  if (longitude < -std::numbers::pi) return longitude + 2.0 * std::numbers::pi;
  return longitude;
}

class GridPoints final : public PointCommand<GridRecord> {
 public:
  GridPoints(const LoadedGrid& grid, const GridSettings& settings)
      : grid_(grid), ntv2_(grid.ntv2), nadcon_(grid.nadcon), settings_(settings) {}

  // A filter leaves nothing behind: this worker's reader has interpolated and would
  // write its last positions to the "NTv2" settings file as it goes, which the panes
  // keep for their user, not for a batch. An unused copy moved over it takes that
  // duty away with it.
  ~GridPoints() override { ntv2_ = CNTv2(grid_.ntv2); }

  static PointShape Shape(bool lon_lat) {
    PointShape shape;
    shape.inputs = {"latitude", "longitude"};
    if (lon_lat) std::swap(shape.inputs[0], shape.inputs[1]);
    shape.outputs = shape.inputs;
    return shape;
  }

  bool Parse(std::span<const std::string_view> fields, GridRecord& record,
             FieldProblem& problem) const override {
    const std::size_t lat = settings_.lon_lat ? 1 : 0;
    problem.input = lat;
    if (!ReadAngleField(fields[lat], ANGLE_LATITUDE, settings_.input_notation, record.latitude,
                        problem.reason)) {
      return false;
    }
    if (std::fabs(record.latitude) > kHalfPi) {
      problem.reason = "'" + Excerpt(fields[lat]) + "': a latitude beyond 90 degrees";
      return false;
    }
    problem.input = 1 - lat;
    if (!ReadAngleField(fields[1 - lat], ANGLE_LONGITUDE, settings_.input_notation,
                        record.longitude, problem.reason)) {
      return false;
    }
    if (std::fabs(record.longitude) > 2.0 * std::numbers::pi) {
      problem.reason = "'" + Excerpt(fields[1 - lat]) + "': a longitude beyond 360 degrees";
      return false;
    }
    record.longitude = WithinHalfTurn(record.longitude);
    return true;
  }

  void Compute(std::span<GridRecord> records) override {
    for (GridRecord& record : records) {
      record.status = grid_.kind == GridKind::kNTv2 ? ShiftNTv2(record) : ShiftNadcon(record);
    }
  }

  bool Format(const GridRecord& record, RowWriter& row, std::string& reason) const override {
    if (record.status == ShiftStatus::kOutside) {
      reason = "outside the grid";
      return false;
    }
    if (record.status == ShiftStatus::kNoConvergence) {
      reason = "the inverse shift does not settle within the grid";
      return false;
    }
    const double longitude = WithinHalfTurn(record.longitude_out);
    if (settings_.lon_lat) row.Angle(longitude, ANGLE_LONGITUDE);
    row.Angle(record.latitude_out, ANGLE_LATITUDE);
    if (!settings_.lon_lat) row.Angle(longitude, ANGLE_LONGITUDE);
    return true;
  }

 private:
  // The grid's shift at a position (radians); false where it gives none.
  bool Forward(double latitude, double longitude, double& latitude_out, double& longitude_out) {
    latitude_out = longitude_out = std::numeric_limits<double>::quiet_NaN();
    return ntv2_.Interpolate(&latitude_out, &longitude_out, latitude, longitude) >= 0 &&
           std::isfinite(latitude_out) && std::isfinite(longitude_out);
  }

  ShiftStatus ShiftNTv2(GridRecord& record) {
    if (!settings_.inverse) {
      return Forward(record.latitude, record.longitude, record.latitude_out, record.longitude_out)
                 ? ShiftStatus::kOk
                 : ShiftStatus::kOutside;
    }
    // The position whose forward shift is the one given, by fixed-point iteration from
    // the given position itself.
    double latitude = record.latitude, longitude = record.longitude;
    for (int round = 0; round < kInverseRounds; ++round) {
      double shifted_latitude = 0.0, shifted_longitude = 0.0;
      if (!Forward(latitude, longitude, shifted_latitude, shifted_longitude)) {
        return round == 0 ? ShiftStatus::kOutside : ShiftStatus::kNoConvergence;
      }
      const double latitude_residual = record.latitude - shifted_latitude;
      const double longitude_residual = record.longitude - shifted_longitude;
      latitude += latitude_residual;
      longitude += longitude_residual;
      if (std::fabs(latitude_residual) <= kInverseTolerance &&
          std::fabs(longitude_residual) <= kInverseTolerance) {
        record.latitude_out = latitude;
        record.longitude_out = longitude;
        return ShiftStatus::kOk;
      }
    }
    return ShiftStatus::kNoConvergence;
  }

  ShiftStatus ShiftNadcon(GridRecord& record) {
    const double latitude = record.latitude * kDegreesPerRadian;
    const double longitude = record.longitude * kDegreesPerRadian;
    // Only the given region may be used: a point outside it must not send the engine
    // searching the data folder's regions.
    if (!NadconContains(nadcon_, latitude, longitude)) return ShiftStatus::kOutside;
    double latitude_out = 0.0, longitude_out = 0.0;
    bool shifted = false;
    if (settings_.inverse) {
      shifted =
          InvertNadcon(latitude_out, longitude_out, nadcon_, kNad83ToNad27, latitude, longitude);
      // An estimate that strayed outside made the engine look for another region;
      // whatever it found, the answer is not this grid's.
      if (nadcon_.m_LatitudeGrid != grid_.nadcon.m_LatitudeGrid) {
        nadcon_ = grid_.nadcon;
        return ShiftStatus::kNoConvergence;
      }
      if (!shifted) return ShiftStatus::kNoConvergence;
    } else {
      shifted =
          ApplyNadcon(latitude_out, longitude_out, nadcon_, kNad27ToNad83, latitude, longitude);
      if (!shifted) return ShiftStatus::kOutside;
    }
    record.latitude_out = latitude_out * kRadiansPerDegree;
    record.longitude_out = longitude_out * kRadiansPerDegree;
    return ShiftStatus::kOk;
  }

  const LoadedGrid& grid_;
  CNTv2 ntv2_;
  NadconGridSet nadcon_;
  GridSettings settings_;
};

int RunGridshift(const GridshiftOptions& options, const Streams& streams) {
  LoadedGrid grid;
  std::string problem;
  if (!LoadGrid(options.grid, grid, problem)) {
    streams.err << "orvale gridshift: --grid " << problem << "\n";
    return kExitUsage;
  }
  GridSettings settings;
  settings.inverse = options.inverse;
  settings.lon_lat = options.pipeline.lon_lat;
  if (options.pipeline.angles == "gradians") settings.input_notation = ANGLE_PREF_GRADIANS;
  PipelineSetup setup;
  setup.command = "orvale gridshift";
  setup.shape = GridPoints::Shape(settings.lon_lat);
  setup.style.angle_decimals = 9;
  setup.angles_out = true;
  const std::function<std::unique_ptr<PointCommand<GridRecord>>(const ValueStyle&)> make =
      [&](const ValueStyle&) { return std::make_unique<GridPoints>(grid, settings); };
  return RunPointPipeline<GridRecord>(setup, options.pipeline, make, streams);
}

}  // namespace

void AddGridshiftCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<GridshiftOptions>();
  CLI::App* command = app.add_subcommand(
      "gridshift",
      "Shift latitude and longitude by a grid file, as PROJ's hgridshift does: an NTv2\n"
      "grid (.gsb, such as BETA2007.gsb for DHDN to ETRS89 or ntv2_0.gsb for NAD 27 to\n"
      "NAD 83 in Canada) or a NADCON region (its .las or .los file, or the two files'\n"
      "common path without extension; both files must be there). Points go from the\n"
      "grid's source datum to its target; --inverse brings them back: for NTv2 by\n"
      "iterating the forward shift until a round moves the estimate by 0.001\" or less\n"
      "(at most 50 rounds), for NADCON by the region's own inversion (to 1e-9 degree in\n"
      "at most 10 rounds). A point outside the grid, or whose inverse does not settle\n"
      "inside it, is an error line and makes the exit status 1: never passed through\n"
      "unshifted. Each line holds latitude and longitude; heights do not change, so a\n"
      "height column left out of --columns is copied through as it is.\n" +
          PipelineHelp() +
          "Examples:\n"
          "  orvale gridshift --grid /usr/share/proj/BETA2007.gsb 53.5,7.483333333\n"
          "      53.498461143 7.482506016\n"
          "  orvale gridshift --grid /usr/share/proj/BETA2007.gsb -i 53.498461143,7.482506016\n"
          "      53.500000001 7.483333332\n"
          "  orvale gridshift --grid conus.las 29.9997978,-89.5177272    # NAD 27 to NAD 83\n"
          "      29.999999901 -89.517777759\n"
          "  orvale gridshift --grid ~/grids/conus --inverse --csv-in --columns lat,lon \\\n"
          "      --format csv < nad83.csv > nad27.csv       # other columns kept\n"
          "  orvale gridshift --grid ntv2_0.gsb --lon-lat --angles dms --decimals 4 < pts.txt");
  std::vector<CLI::Option*> named;
  command
      ->add_option("-g,--grid", options->grid,
                   "The grid: an NTv2 .gsb file, or a NADCON .las or .los file (the other of\n"
                   "the pair is read beside it) or the pair's path without extension")
      ->required();
  command->add_flag("-i,--inverse", options->inverse,
                    "Shift from the grid's target datum back to its source");
  AddPipelineOptions(*command, options->pipeline, named);
  command->callback([options, named, &streams, &status] {
    CollectGivenOptions(named, options->pipeline);
    status = RunGridshift(*options, streams);
  });
}

}  // namespace orvale::cli
