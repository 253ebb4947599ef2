// orvale traverse: a run of legs (bearing and distance, and a vertical angle) from a
// start point, one traverse per line, so that a file streams and splits like any other.

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/survey/traverse.h"
#include "point_pipeline.h"
#include "survey_options.h"

namespace orvale::cli {
namespace {

// The most legs one line may hold: a record keeps them in place, without allocating.
constexpr int kMostLegs = 16;

struct TraverseOptions {
  SurveyOptions survey;
  PipelineOptions pipeline;
  int legs = 1;
  bool grid = false;
  bool vertical = false;
  bool zenith = false;
};

struct Leg {
  double bearing = 0.0;
  double distance = 0.0;
  double vertical = 0.0;
};

struct TraverseRecord {
  SurveyPoint start;
  Leg legs[kMostLegs];
  SurveyPoint end;
  ProjectionStatus status = ProjectionStatus::kOk;
};

struct TraverseSettings {
  int legs = 1;
  bool lon_lat = false;
  bool grid = false;
  bool vertical = false;
  bool zenith = false;
  bool projected = false;
  int input_notation = ANGLE_PREF_DEGREES;
  double metres_per_unit = 1.0;
};

class TraversePoints final : public PointCommand<TraverseRecord> {
 public:
  TraversePoints(const CSpheroid& spheroid, const CProjection& projection,
                 const TraverseSettings& settings)
      : spheroid_(spheroid), projection_(projection), settings_(settings) {
    projection_.m_Spheroid = &spheroid_;
  }

  static PointShape Shape(const TraverseSettings& settings) {
    PointShape shape;
    shape.inputs = PositionNames(settings.lon_lat, "");
    if (settings.vertical) shape.inputs.emplace_back("height");
    for (int leg = 1; leg <= settings.legs; ++leg) {
      const std::string n = settings.legs == 1 ? "" : std::to_string(leg);
      shape.inputs.push_back("bearing" + n);
      shape.inputs.push_back("distance" + n);
      if (settings.vertical) shape.inputs.push_back("vertical_angle" + n);
    }
    shape.outputs = PositionNames(settings.lon_lat, "_b");
    if (settings.vertical) shape.outputs.emplace_back("height_b");
    if (settings.projected) {
      shape.outputs.emplace_back("easting_b");
      shape.outputs.emplace_back("northing_b");
    }
    return shape;
  }

  bool Parse(std::span<const std::string_view> fields, TraverseRecord& record,
             FieldProblem& problem) const override {
    if (!ReadPosition(fields, 0, settings_.lon_lat, settings_.input_notation, record.start.latitude,
                      record.start.longitude, problem)) {
      return false;
    }
    std::size_t at = 2;
    if (settings_.vertical) {
      problem.input = at;
      if (!ReadLengthField(fields[at++], settings_.metres_per_unit, record.start.height,
                           problem.reason)) {
        return false;
      }
    }
    for (int i = 0; i < settings_.legs; ++i) {
      Leg& leg = record.legs[i];
      problem.input = at;
      if (!ReadSurveyAngle(fields[at++], ANGLE_BEARING, settings_.input_notation, leg.bearing,
                           problem.reason)) {
        return false;
      }
      problem.input = at;
      if (!ReadLengthField(fields[at++], settings_.metres_per_unit, leg.distance, problem.reason)) {
        return false;
      }
      if (settings_.vertical) {
        problem.input = at;
        if (!ReadSurveyAngle(fields[at++], ANGLE_SIGNED, settings_.input_notation, leg.vertical,
                             problem.reason)) {
          return false;
        }
      }
    }
    return true;
  }

  void Compute(std::span<TraverseRecord> records) override {
    for (TraverseRecord& record : records) {
      record.status = ProjectionStatus::kOk;
      SurveyPoint at = record.start;
      if (settings_.projected) {
        record.status =
            projection_.GeogToGrid(at.latitude, at.longitude, &at.easting, &at.northing);
      }
      for (int i = 0; i < settings_.legs && record.status == ProjectionStatus::kOk; ++i) {
        const Leg& leg = record.legs[i];
        const TraverseObservation observation{settings_.grid, leg.distance, leg.bearing,
                                              !settings_.zenith, leg.vertical};
        if (settings_.projected) {
          const TraverseResult next = ComputeTraverse(projection_, at, observation);
          record.status = next.status;
          at = next.b;
          continue;
        }
        // Without a projection only the spheroid's form is kept.
        const double elevation = settings_.zenith ? kHalfPi - leg.vertical : leg.vertical;
        at.height += leg.distance * std::sin(elevation);
        double latitude = 0.0, longitude = 0.0;
        if (!spheroid_.DirectProblem(&latitude, &longitude, at.longitude, leg.distance, leg.bearing,
                                     at.latitude)) {
          record.status = ProjectionStatus::kOutsideDomain;
        }
        at.latitude = latitude;
        at.longitude = longitude;
      }
      record.end = at;
    }
  }

  bool Format(const TraverseRecord& record, RowWriter& row, std::string& reason) const override {
    const SurveyPoint& b = record.end;
    if (record.status != ProjectionStatus::kOk || !std::isfinite(b.latitude) ||
        !std::isfinite(b.longitude)) {
      reason = record.status != ProjectionStatus::kOk
                   ? std::string(ProjectionStatusText(record.status))
                   : "no point: the traverse has no result here";
      return false;
    }
    if (settings_.lon_lat) {
      row.Angle(b.longitude, ANGLE_LONGITUDE);
      row.Angle(b.latitude, ANGLE_LATITUDE);
    } else {
      row.Angle(b.latitude, ANGLE_LATITUDE);
      row.Angle(b.longitude, ANGLE_LONGITUDE);
    }
    if (settings_.vertical) row.Length(b.height);
    if (settings_.projected) {
      row.Length(b.easting);
      row.Length(b.northing);
    }
    return true;
  }

 private:
  CSpheroid spheroid_;
  CProjection projection_;
  TraverseSettings settings_;
};

int RunTraverse(const TraverseOptions& options, const Streams& streams) {
  CSpheroid spheroid;
  CProjection projection;
  bool has_projection = false;
  std::string problem;
  if (options.legs < 1 || options.legs > kMostLegs) {
    problem = "--legs: from 1 to " + std::to_string(kMostLegs);
  } else if (options.grid && !options.pipeline.Given("--projection")) {
    problem = "--grid lays the legs off on a projection: give one with --projection";
  } else if (options.zenith && !options.vertical) {
    problem = "--zenith reads the vertical angles that --vertical adds: give --vertical too";
  }
  if (!problem.empty() || !SetUpSurvey(options.survey, options.pipeline.given, spheroid, projection,
                                       has_projection, problem)) {
    streams.err << "orvale traverse: " << problem << "\n";
    return kExitUsage;
  }
  TraverseSettings settings;
  settings.legs = options.legs;
  settings.lon_lat = options.pipeline.lon_lat;
  settings.grid = options.grid;
  settings.vertical = options.vertical;
  settings.zenith = options.zenith;
  settings.projected = has_projection;
  settings.input_notation = InputNotation(options.pipeline);
  PipelineSetup setup;
  setup.command = "orvale traverse";
  setup.shape = TraversePoints::Shape(settings);
  setup.style.angle_decimals = 9;
  setup.style.length_decimals = 4;
  setup.angles_out = true;
  const std::function<std::unique_ptr<PointCommand<TraverseRecord>>(const ValueStyle&)> make =
      [&](const ValueStyle& style) {
        TraverseSettings own = settings;
        own.metres_per_unit = style.metres_per_unit;
        return std::make_unique<TraversePoints>(spheroid, projection, own);
      };
  return RunPointPipeline<TraverseRecord>(setup, options.pipeline, make, streams);
}

}  // namespace

void AddTraverseCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<TraverseOptions>();
  CLI::App* command = app.add_subcommand(
      "traverse",
      "A traverse on each line: a start LAT LON, then --legs N legs of BEARING\n"
      "DISTANCE, each leg from the point the one before reached; the end point is\n"
      "printed. One traverse per line keeps every line independent, so a file of\n"
      "traverses streams, splits and runs in parallel like any other. Legs are\n"
      "azimuths and spheroidal distances (the geodesic; --method 0 or 1: Clarke's\n"
      "best formula) unless --grid lays them off as grid bearings and distances on\n"
      "--projection. --vertical adds a HEIGHT to the start and a VERTICAL_ANGLE to\n"
      "each leg (an elevation, or with --zenith a zenith angle): the height rises by\n"
      "distance x sin(elevation); on the grid the leg is shortened to its horizontal\n"
      "part, on the spheroid the distance is taken as observed.\n" +
          PipelineHelp() +
          "Examples:\n"
          "  orvale traverse 51.5,-0.1,45,1000\n"
          "  orvale traverse --legs 3 \"51.5 -0.1 90 100 0 100 270 100\"\n"
          "  orvale traverse -p utm:30 --grid --vertical --zenith \\\n"
          "      \"51.5 -0.1 12.5 90 100 89.5\"\n"
          "  orvale traverse --legs 4 --format json < closed-loops.txt");
  std::vector<CLI::Option*> named;
  AddSurveyOptions(*command, options->survey, named,
                   "Method of the spheroidal legs: geodesic (2, the default), or 0 or 1 for\n"
                   "Clarke's best formula");
  command->add_option("--legs", options->legs, "Legs on each line (1 to 16)")
      ->capture_default_str();
  command->add_flag("--grid", options->grid,
                    "Legs are grid bearings and distances on --projection");
  command->add_flag("--vertical", options->vertical,
                    "A height after the start and a vertical angle after each leg");
  command->add_flag("--zenith", options->zenith,
                    "The vertical angles are zenith angles (90 is level)");
  AddPipelineOptions(*command, options->pipeline, named);
  command->callback([options, named, &streams, &status] {
    CollectGivenOptions(named, options->pipeline);
    status = RunTraverse(*options, streams);
  });
}

}  // namespace orvale::cli
