// orvale ostn15: ETRS89 latitude and longitude to OSGB 36 National Grid easting and
// northing by the Ordnance Survey's OSTN15 grid pair, and back.

#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/gridshift/ostn15.h"
#include "orvale/platform/program.h"
#include "point_pipeline.h"
#include "text_fields.h"

namespace orvale::cli {
namespace {

struct OstnOptions {
  bool inverse = false;
  std::string grids;
  PipelineOptions pipeline;
};

// The pair from `folder` (the program's own when empty). False with the reason: the
// files missing, each named with the folder looked in, or what the loader found wrong.
bool LoadPair(std::string folder, OstnGridPair& pair, std::string& problem) {
  const bool own = folder.empty();
  if (own) folder = ProgramFolder();
  if (!folder.empty() && folder.back() != '/') folder += '/';
  std::string missing;
  int count = 0;
  for (const std::string_view name : {kOstnEtrsToOsgbFileName, kOstnOsgbToEtrsFileName}) {
    std::error_code error;
    if (std::filesystem::is_regular_file(folder + std::string(name), error)) continue;
    missing += (missing.empty() ? "" : " and ") + std::string(name);
    ++count;
  }
  if (count > 0) {
    problem = missing + (count == 1 ? " is" : " are") + " not in " + folder +
              (own ? " (the program's folder: ORVALE_PROGRAM_DIR, else the executable's; "
                     "--grids DIR looks elsewhere)"
                   : " (--grids)");
    return false;
  }
  const GridFileStatus status = LoadOstnGrids(pair, folder);
  if (status.ok()) return true;
  problem = "the grids in " + folder + " cannot be used: " + status.reason;
  return false;
}

// One point: latitude and longitude (radians) or easting and northing (metres), and
// the height, which the transformation leaves as it is.
struct OstnRecord {
  double a = 0.0;
  double b = 0.0;
  double height = 0.0;
  double out_a = 0.0;
  double out_b = 0.0;
  bool inside = false;
};

struct OstnSettings {
  bool inverse = false;
  bool lon_lat = false;
  int input_notation = ANGLE_PREF_DEGREES;
  double metres_per_unit = 1.0;
};

class OstnPoints final : public PointCommand<OstnRecord> {
 public:
  OstnPoints(const OstnGridPair& pair, const OstnSettings& settings)
      : pair_(pair), settings_(settings) {}

  static PointShape Shape(const OstnSettings& settings) {
    std::vector<std::string> geographical = {"latitude", "longitude", "height"};
    if (settings.lon_lat) std::swap(geographical[0], geographical[1]);
    const std::vector<std::string> grid = {"easting", "northing", "height"};
    return {settings.inverse ? grid : geographical, settings.inverse ? geographical : grid};
  }

  bool Parse(std::span<const std::string_view> fields, OstnRecord& record,
             FieldProblem& problem) const override {
    problem.input = 2;
    if (!ReadLengthField(fields[2], settings_.metres_per_unit, record.height, problem.reason)) {
      return false;
    }
    if (settings_.inverse) {
      for (std::size_t i = 0; i < 2; ++i) {
        problem.input = i;
        if (!ReadLengthField(fields[i], settings_.metres_per_unit, i == 0 ? record.a : record.b,
                             problem.reason)) {
          return false;
        }
      }
      return true;
    }
    const std::size_t lat = settings_.lon_lat ? 1 : 0;
    problem.input = lat;
    if (!ReadAngleField(fields[lat], ANGLE_LATITUDE, settings_.input_notation, record.a,
                        problem.reason)) {
      return false;
    }
    if (std::fabs(record.a) > kHalfPi) {
      problem.reason = "'" + Excerpt(fields[lat]) + "': a latitude beyond 90 degrees";
      return false;
    }
    problem.input = 1 - lat;
    if (!ReadAngleField(fields[1 - lat], ANGLE_LONGITUDE, settings_.input_notation, record.b,
                        problem.reason)) {
      return false;
    }
    if (std::fabs(record.b) > 2.0 * std::numbers::pi) {
      problem.reason = "'" + Excerpt(fields[1 - lat]) + "': a longitude beyond 360 degrees";
      return false;
    }
    if (record.b > std::numbers::pi) record.b -= 2.0 * std::numbers::pi;
    return true;
  }

  void Compute(std::span<OstnRecord> records) override {
    for (OstnRecord& record : records) {
      record.inside = settings_.inverse
                          ? OstnReverse(pair_, record.out_a, record.out_b, record.b, record.a)
                          : OstnForward(pair_, record.out_a, record.out_b, record.a, record.b);
    }
  }

  bool Format(const OstnRecord& record, RowWriter& row, std::string& reason) const override {
    if (!record.inside || !std::isfinite(record.out_a) || !std::isfinite(record.out_b)) {
      reason = "outside the OSTN15 grid";
      return false;
    }
    if (!settings_.inverse) {
      row.Length(record.out_a);
      row.Length(record.out_b);
    } else if (settings_.lon_lat) {
      row.Angle(record.out_b, ANGLE_LONGITUDE);
      row.Angle(record.out_a, ANGLE_LATITUDE);
    } else {
      row.Angle(record.out_a, ANGLE_LATITUDE);
      row.Angle(record.out_b, ANGLE_LONGITUDE);
    }
    row.Length(record.height);
    return true;
  }

 private:
  const OstnGridPair& pair_;
  OstnSettings settings_;
};

int RunOstn(const OstnOptions& options, const Streams& streams) {
  OstnGridPair pair;
  std::string problem;
  if (!LoadPair(options.grids, pair, problem)) {
    streams.err << "orvale ostn15: " << problem << "\n";
    return kExitUsage;
  }
  OstnSettings settings;
  settings.inverse = options.inverse;
  settings.lon_lat = options.pipeline.lon_lat;
  if (options.pipeline.angles == "gradians") settings.input_notation = ANGLE_PREF_GRADIANS;
  PipelineSetup setup;
  setup.command = "orvale ostn15";
  setup.shape = OstnPoints::Shape(settings);
  setup.style.angle_decimals = 9;
  setup.style.length_decimals = 3;
  setup.angles_out = settings.inverse;
  const std::function<std::unique_ptr<PointCommand<OstnRecord>>(const ValueStyle&)> make =
      [&](const ValueStyle& style) {
        OstnSettings own = settings;
        own.metres_per_unit = style.metres_per_unit;
        return std::make_unique<OstnPoints>(pair, own);
      };
  return RunPointPipeline<OstnRecord>(setup, options.pipeline, make, streams);
}

}  // namespace

void AddOstn15Command(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<OstnOptions>();
  CLI::App* command = app.add_subcommand(
      "ostn15",
      "Transform ETRS89 latitude, longitude and height to OSGB 36 National Grid\n"
      "easting, northing and height by OSTN15, the Ordnance Survey's transformation\n"
      "(or back with --inverse). The height is copied unchanged: OSTN15 is the\n"
      "horizontal part; ODN heights need OSGM15, which is not applied. The grid pair\n"
      "OSTN15_NTv2_ETRStoOSGB.gsb and OSTN15_NTv2_OSGBtoETRS.gsb, free from the Ordnance\n"
      "Survey, is read from the program's folder (ORVALE_PROGRAM_DIR, else the folder\n"
      "of the orvale executable) or from --grids DIR. A point outside the grid (the\n"
      "National Grid's land and sea area) is an error line.\n" +
          PipelineHelp() +
          "Examples:\n"
          "  orvale ostn15 52:39:28.71N,1:42:57.79E,108.05\n"
          "  orvale ostn15 --inverse 651409.903,313177.270,0\n"
          "  orvale ostn15 --grids ~/os-grids --csv-in --columns lat,lon,h --format csv \\\n"
          "      < etrs89.csv > osgb36.csv\n"
          "  orvale ostn15 -i --angles dms --decimals 5 < grid.txt");
  std::vector<CLI::Option*> named;
  command->add_flag("-i,--inverse", options->inverse,
                    "National Grid easting, northing and height to ETRS89");
  command->add_option("--grids", options->grids,
                      "The folder holding the OSTN15 pair, instead of the program's");
  AddPipelineOptions(*command, options->pipeline, named);
  command->callback([options, named, &streams, &status] {
    CollectGivenOptions(named, options->pipeline);
    status = RunOstn(*options, streams);
  });
}

}  // namespace orvale::cli
