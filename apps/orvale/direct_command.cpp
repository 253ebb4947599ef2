// orvale direct: the point at a distance and azimuth from another (the direct problem),
// for lines given on the command line or streamed from a file or standard input.

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "commands.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/survey/geodesic.h"
#include "orvale/engine/survey/range_bearing.h"
#include "point_pipeline.h"
#include "survey_options.h"

namespace orvale::cli {
namespace {

struct DirectOptions {
  SurveyOptions survey;
  PipelineOptions pipeline;
};

struct DirectRecord {
  double latitude = 0.0, longitude = 0.0, azimuth = 0.0, distance = 0.0;
  double end_latitude = 0.0, end_longitude = 0.0, back_azimuth = 0.0;
  bool ok = false;
  bool back = false;  // the back azimuth is known (the geodesic gives it)
};

struct DirectSettings {
  bool lon_lat = false;
  int input_notation = ANGLE_PREF_DEGREES;
  double metres_per_unit = 1.0;
};

class DirectPoints final : public PointCommand<DirectRecord> {
 public:
  DirectPoints(const CSpheroid& spheroid, const DirectSettings& settings)
      : spheroid_(spheroid), settings_(settings) {}

  static PointShape Shape(const DirectSettings& settings) {
    PointShape shape;
    shape.inputs = PositionNames(settings.lon_lat, "");
    shape.inputs.emplace_back("azimuth");
    shape.inputs.emplace_back("distance");
    shape.outputs = PositionNames(settings.lon_lat, "_b");
    shape.outputs.emplace_back("azimuth_ba_deg");
    return shape;
  }

  bool Parse(std::span<const std::string_view> fields, DirectRecord& record,
             FieldProblem& problem) const override {
    if (!ReadPosition(fields, 0, settings_.lon_lat, settings_.input_notation, record.latitude,
                      record.longitude, problem)) {
      return false;
    }
    problem.input = 2;
    if (!ReadSurveyAngle(fields[2], ANGLE_BEARING, settings_.input_notation, record.azimuth,
                         problem.reason)) {
      return false;
    }
    problem.input = 3;
    return ReadLengthField(fields[3], settings_.metres_per_unit, record.distance, problem.reason);
  }

  void Compute(std::span<DirectRecord> records) override {
    for (DirectRecord& r : records) {
      if (spheroid_.m_RangeBearingMethod == kRangeBearingGeodesic) {
        const GeodesicDirectResult g =
            GeodesicDirect(spheroid_, r.latitude, r.longitude, r.azimuth, r.distance);
        r.ok = g.status == GeodesicStatus::kOk;
        r.end_latitude = g.latitude;
        r.end_longitude = g.longitude;
        r.back_azimuth = std::remainder(g.azimuth + std::numbers::pi, 2.0 * std::numbers::pi);
        if (r.back_azimuth < 0.0) r.back_azimuth += 2.0 * std::numbers::pi;
        r.back = true;
      } else {
        r.ok = spheroid_.DirectProblem(&r.end_latitude, &r.end_longitude, r.longitude, r.distance,
                                       r.azimuth, r.latitude);
      }
    }
  }

  bool Format(const DirectRecord& r, RowWriter& row, std::string& reason) const override {
    if (!r.ok || !std::isfinite(r.end_latitude) || !std::isfinite(r.end_longitude)) {
      reason = "no point: the direct problem has no result here";
      return false;
    }
    if (settings_.lon_lat) {
      row.Angle(r.end_longitude, ANGLE_LONGITUDE);
      row.Angle(r.end_latitude, ANGLE_LATITUDE);
    } else {
      row.Angle(r.end_latitude, ANGLE_LATITUDE);
      row.Angle(r.end_longitude, ANGLE_LONGITUDE);
    }
    if (r.back) {
      row.Angle(r.back_azimuth, ANGLE_BEARING);
    } else {
      row.Missing();
    }
    return true;
  }

 private:
  CSpheroid spheroid_;
  DirectSettings settings_;
};

int RunDirect(const DirectOptions& options, const Streams& streams) {
  CSpheroid spheroid;
  CProjection projection;
  bool has_projection = false;
  std::string problem;
  if (!SetUpSurvey(options.survey, options.pipeline.given, spheroid, projection, has_projection,
                   problem)) {
    streams.err << "orvale direct: " << problem << "\n";
    return kExitUsage;
  }
  DirectSettings settings;
  settings.lon_lat = options.pipeline.lon_lat;
  settings.input_notation = InputNotation(options.pipeline);
  PipelineSetup setup;
  setup.command = "orvale direct";
  setup.shape = DirectPoints::Shape(settings);
  setup.style.angle_decimals = 9;
  setup.style.length_decimals = 4;
  setup.angles_out = true;
  const std::function<std::unique_ptr<PointCommand<DirectRecord>>(const ValueStyle&)> make =
      [&](const ValueStyle& style) {
        DirectSettings own = settings;
        own.metres_per_unit = style.metres_per_unit;
        return std::make_unique<DirectPoints>(spheroid, own);
      };
  return RunPointPipeline<DirectRecord>(setup, options.pipeline, make, streams);
}

}  // namespace

void AddDirectCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<DirectOptions>();
  CLI::App* command = app.add_subcommand(
      "direct",
      "The point reached from LAT LON along the azimuth AZIMUTH (degrees clockwise\n"
      "from north) after DISTANCE (metres) on the spheroid: its latitude and\n"
      "longitude and the azimuth from it back to the start. The geodesic by default,\n"
      "exact to a few nanometres at any distance; --method 0 or 1 uses Clarke's best\n"
      "formula (a millimetre at 50 km, metres beyond 500 km; no back azimuth).\n" +
          PipelineHelp() +
          "Examples:\n"
          "  orvale direct -s GRS80 -37.951033417,144.424867889,306.868159229,54972.271\n"
          "  orvale direct --angles dms \"51:28:38N 0:00:05W 45 100000\"\n"
          "  orvale direct --units us-ft --format csv < shots.txt");
  std::vector<CLI::Option*> named;
  AddSurveyOptions(*command, options->survey, named,
                   "Method: geodesic (2, the default), or 0 or 1 for Clarke's best formula");
  AddPipelineOptions(*command, options->pipeline, named);
  command->callback([options, named, &streams, &status] {
    CollectGivenOptions(named, options->pipeline);
    status = RunDirect(*options, streams);
  });
}

}  // namespace orvale::cli
