// orvale inverse: range and bearing between two points, on the spheroid, along the
// rhumb line and, on a projection, on the grid, for lines given on the command line or
// streamed from a file or standard input.

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/survey/range_bearing.h"
#include "point_pipeline.h"
#include "survey_options.h"

namespace orvale::cli {
namespace {

struct InverseOptions {
  SurveyOptions survey;
  PipelineOptions pipeline;
  bool heights = false;
};

struct InverseRecord {
  SurveyPoint a;
  SurveyPoint b;
  RangeAndBearingResult result;
  ProjectionStatus grid_status = ProjectionStatus::kOk;
};

struct InverseSettings {
  bool lon_lat = false;
  bool heights = false;
  bool grid = false;  // a projection was given
  int input_notation = ANGLE_PREF_DEGREES;
  double metres_per_unit = 1.0;
};

class InversePoints final : public PointCommand<InverseRecord> {
 public:
  InversePoints(const CSpheroid& spheroid, const CProjection& projection,
                const InverseSettings& settings)
      : spheroid_(spheroid), projection_(projection), settings_(settings) {
    projection_.m_Spheroid = &spheroid_;
  }

  static PointShape Shape(const InverseSettings& settings) {
    PointShape shape;
    for (const char* end : {"_a", "_b"}) {
      for (std::string& name : PositionNames(settings.lon_lat, end)) {
        shape.inputs.push_back(std::move(name));
      }
      if (settings.heights) shape.inputs.push_back(std::string("height") + end);
    }
    shape.outputs = {"range_m", "azimuth_ab_deg", "azimuth_ba_deg"};
    if (settings.heights) shape.outputs.emplace_back("slope_distance_m");
    for (const char* name : {"rhumb_range_m", "rhumb_bearing_deg", "rhumb_nautical_miles"}) {
      shape.outputs.emplace_back(name);
    }
    if (settings.grid) {
      for (const char* name : {"grid_distance_m", "grid_bearing_deg", "line_scale_factor",
                               "t_minus_T_a_arcsec", "t_minus_T_b_arcsec"}) {
        shape.outputs.emplace_back(name);
      }
      if (settings.heights) shape.outputs.emplace_back("grid_slope_distance_m");
    }
    return shape;
  }

  bool Parse(std::span<const std::string_view> fields, InverseRecord& record,
             FieldProblem& problem) const override {
    const std::size_t per_point = settings_.heights ? 3 : 2;
    for (std::size_t end = 0; end < 2; ++end) {
      SurveyPoint& p = end == 0 ? record.a : record.b;
      const std::size_t first = end * per_point;
      if (!ReadPosition(fields, first, settings_.lon_lat, settings_.input_notation, p.latitude,
                        p.longitude, problem)) {
        return false;
      }
      if (settings_.heights && !ReadLengthField(fields[first + 2], settings_.metres_per_unit,
                                                p.height, problem.reason)) {
        problem.input = first + 2;
        return false;
      }
    }
    return true;
  }

  void Compute(std::span<InverseRecord> records) override {
    for (InverseRecord& record : records) {
      if (settings_.grid) {
        for (SurveyPoint* p : {&record.a, &record.b}) {
          const ProjectionStatus status =
              projection_.GeogToGrid(p->latitude, p->longitude, &p->easting, &p->northing);
          if (status != ProjectionStatus::kOk) record.grid_status = status;
        }
      }
      record.result = ComputeRangeAndBearing(spheroid_, projection_, record.a, record.b);
    }
  }

  bool Format(const InverseRecord& record, RowWriter& row, std::string& reason) const override {
    const RangeAndBearingResult& r = record.result;
    if (settings_.grid && record.grid_status != ProjectionStatus::kOk) {
      reason = ProjectionStatusText(record.grid_status);
      return false;
    }
    if (!r.spheroidal_ok && !r.rhumb_ok) {
      reason = "no range and bearing between these points";
      return false;
    }
    // A method without a result leaves its values missing, not 0.
    if (r.spheroidal_ok) {
      row.Length(r.spheroidal.m_Range);
      row.Angle(r.spheroidal.m_BearingAB, ANGLE_BEARING);
      row.Angle(r.spheroidal.m_BearingBA, ANGLE_BEARING);
      if (settings_.heights) row.Length(r.spheroidal.m_SlopeDistance);
    } else {
      for (int i = settings_.heights ? 4 : 3; i > 0; --i)
        row.Missing();
    }
    row.Length(r.rhumb.m_Range);
    row.Angle(r.rhumb.m_BearingAB, ANGLE_BEARING);
    row.Number(r.rhumb.m_NauticalMiles, 6);
    if (settings_.grid) {
      row.Length(r.grid.m_Range);
      row.Angle(r.grid.m_BearingAB, ANGLE_BEARING);
      if (r.spheroidal_ok && r.spheroidal.m_Range > 0.0) {
        row.Number(r.grid.m_LineScaleFactor, 10);
      } else {
        row.Missing();
      }
      row.Number(r.t_minus_T_a, 3);
      row.Number(r.t_minus_T_b, 3);
      if (settings_.heights) row.Length(r.grid.m_SlopeDistance);
    }
    return true;
  }

 private:
  CSpheroid spheroid_;
  CProjection projection_;
  InverseSettings settings_;
};

int RunInverse(const InverseOptions& options, const Streams& streams) {
  CSpheroid spheroid;
  CProjection projection;
  bool has_projection = false;
  std::string problem;
  if (!SetUpSurvey(options.survey, options.pipeline.given, spheroid, projection, has_projection,
                   problem)) {
    streams.err << "orvale inverse: " << problem << "\n";
    return kExitUsage;
  }
  InverseSettings settings;
  settings.lon_lat = options.pipeline.lon_lat;
  settings.heights = options.heights;
  settings.grid = has_projection;
  settings.input_notation = InputNotation(options.pipeline);
  PipelineSetup setup;
  setup.command = "orvale inverse";
  setup.shape = InversePoints::Shape(settings);
  setup.style.angle_decimals = 9;
  setup.style.length_decimals = 4;
  setup.angles_out = true;
  const std::function<std::unique_ptr<PointCommand<InverseRecord>>(const ValueStyle&)> make =
      [&](const ValueStyle& style) {
        InverseSettings own = settings;
        own.metres_per_unit = style.metres_per_unit;
        return std::make_unique<InversePoints>(spheroid, projection, own);
      };
  return RunPointPipeline<InverseRecord>(setup, options.pipeline, make, streams);
}

}  // namespace

void AddInverseCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<InverseOptions>();
  CLI::App* command = app.add_subcommand(
      "inverse",
      "Range and bearing between two points: each line LAT_A LON_A LAT_B LON_B gives\n"
      "the range (metres), the azimuths A to B and B to A (degrees clockwise from\n"
      "north), the rhumb line's length, bearing and nautical miles and, with\n"
      "--projection, the grid distance and bearing, the line scale factor (grid over\n"
      "spheroidal) and t - T at A and at B (seconds of arc, transverse Mercator grids;\n"
      "0 on others). With --heights each point is LAT LON HEIGHT and the slope\n"
      "distances follow. The range is the geodesic, exact to a few nanometres at any\n"
      "length; --method 0 or 1 selects the normal-section formulas of older survey\n"
      "software (centimetres off at 100 km, metres beyond 1000 km).\n" +
          PipelineHelp() +
          "Examples:\n"
          "  orvale inverse -37.951033417,144.424867889,-37.652821139,143.926495528 -s GRS80\n"
          "  orvale inverse --angles dms \"51:30N 0:07W 48:51N 2:21E\"\n"
          "  orvale inverse -p utm:31 --format json 52,1,52.3,1.6\n"
          "  orvale inverse --heights --method 0 52,1,10,52.01,1.01,120\n"
          "  orvale inverse --csv-in --columns lat1,lon1,lat2,lon2 --input legs.csv -o out.csv");
  std::vector<CLI::Option*> named;
  AddSurveyOptions(*command, options->survey, named,
                   "Range-and-bearing method: geodesic (2, the default), 0 (normal section as\n"
                   "an elliptic arc) or 1 (normal section by series)");
  command->add_flag("--heights", options->heights,
                    "Each point has a height after its longitude: slope distances follow");
  AddPipelineOptions(*command, options->pipeline, named);
  command->callback([options, named, &streams, &status] {
    CollectGivenOptions(named, options->pipeline);
    status = RunInverse(*options, streams);
  });
}

}  // namespace orvale::cli
