// orvale project: geographical positions to grid co-ordinates and back, for points
// given on the command line or streamed from a file or standard input.

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iostream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "commands.h"
#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/platform/text_encoding.h"
#include "point_pipeline.h"
#include "projection_select.h"
#include "projection_setup.h"
#include "text_fields.h"
#include "text_options.h"

namespace orvale::cli {
namespace {

struct ProjectOptions {
  ProjectionOptions projection;
  PipelineOptions pipeline;
  bool inverse = false;
  bool convergence = false;
  bool scale = false;
  bool describe = false;
  bool Given(std::string_view name) const { return pipeline.Given(name); }
};

// One point: its input co-ordinates (latitude and longitude in radians, or easting and
// northing in metres), and what the projection made of them.
struct ProjectRecord {
  double a = 0.0;
  double b = 0.0;
  double out_a = 0.0;
  double out_b = 0.0;
  double convergence = 0.0;
  double scale = 0.0;
  ProjectionStatus status = ProjectionStatus::kOk;
};

struct ProjectSettings {
  bool inverse = false;
  bool lon_lat = false;
  bool convergence = false;
  bool scale = false;
  int input_notation = ANGLE_PREF_DEGREES;
  double metres_per_unit = 1.0;
};

class ProjectPoints final : public PointCommand<ProjectRecord> {
 public:
  ProjectPoints(const CSpheroid& spheroid, const CProjection& projection,
                const ProjectSettings& settings)
      : spheroid_(spheroid), projection_(projection), settings_(settings) {
    projection_.m_Spheroid = &spheroid_;
  }

  static PointShape Shape(const ProjectSettings& settings) {
    std::vector<std::string> geographical = {"latitude", "longitude"};
    if (settings.lon_lat) std::swap(geographical[0], geographical[1]);
    PointShape shape;
    shape.inputs =
        settings.inverse ? std::vector<std::string>{"easting", "northing"} : geographical;
    shape.outputs =
        settings.inverse ? geographical : std::vector<std::string>{"easting", "northing"};
    if (settings.convergence) shape.outputs.emplace_back("convergence");
    if (settings.scale) shape.outputs.emplace_back("scale");
    return shape;
  }

  bool Parse(std::span<const std::string_view> fields, ProjectRecord& record,
             FieldProblem& problem) const override {
    if (settings_.inverse) {
      for (std::size_t i = 0; i < 2; ++i) {
        double& metres = i == 0 ? record.a : record.b;
        if (!ReadLengthField(fields[i], settings_.metres_per_unit, metres, problem.reason)) {
          problem.input = i;
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
    problem.input = 1 - lat;
    if (!ReadAngleField(fields[1 - lat], ANGLE_LONGITUDE, settings_.input_notation, record.b,
                        problem.reason)) {
      return false;
    }
    if (std::fabs(record.a) > kHalfPi || std::fabs(record.b) > 2.0 * std::numbers::pi) {
      problem.input = std::fabs(record.a) > kHalfPi ? lat : 1 - lat;
      problem.reason = "'" + Excerpt(fields[problem.input]) +
                       "': position out of range: latitude beyond 90 degrees or longitude beyond "
                       "360";
      return false;
    }
    return true;
  }

  // Each point of the inverse starts its footpoint iteration from its own estimate,
  // never from the previous line's latitude, so no line's output depends on the lines
  // before it.
  void Compute(std::span<ProjectRecord> records) override {
    const std::size_t count = records.size();
    inputs_a_.resize(count);
    inputs_b_.resize(count);
    outputs_a_.resize(count);
    outputs_b_.resize(count);
    convergences_.resize(settings_.convergence ? count : 0);
    scales_.resize(settings_.scale ? count : 0);
    statuses_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      inputs_a_[i] = records[i].a;
      inputs_b_[i] = records[i].b;
    }
    if (settings_.inverse) {
      projection_.GridToGeogMany(inputs_a_, inputs_b_, outputs_a_, outputs_b_, convergences_,
                                 scales_, statuses_);
    } else {
      projection_.GeogToGridMany(inputs_a_, inputs_b_, outputs_a_, outputs_b_, convergences_,
                                 scales_, statuses_);
    }
    for (std::size_t i = 0; i < count; ++i) {
      ProjectRecord& record = records[i];
      record.out_a = outputs_a_[i];
      record.out_b = outputs_b_[i];
      if (settings_.convergence) record.convergence = convergences_[i];
      if (settings_.scale) record.scale = scales_[i];
      record.status = statuses_[i];
    }
  }

  bool Format(const ProjectRecord& record, RowWriter& row, std::string& reason) const override {
    if (record.status != ProjectionStatus::kOk) {
      reason = ProjectionStatusText(record.status);
      return false;
    }
    // A result the method calls good but that is no number is still no result.
    if (!std::isfinite(record.out_a) || !std::isfinite(record.out_b)) {
      reason = ProjectionStatusText(ProjectionStatus::kOutsideDomain);
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
    if (settings_.convergence) row.Number(record.convergence * kDegreesPerRadian, 9);
    if (settings_.scale) row.Number(record.scale, 10);
    return true;
  }

 private:
  CSpheroid spheroid_;
  CProjection projection_;
  ProjectSettings settings_;
  std::vector<double> inputs_a_, inputs_b_, outputs_a_, outputs_b_, convergences_, scales_;
  std::vector<ProjectionStatus> statuses_;
};

// The options a catalogue projection brings itself, which --projection cannot take
// beside it; the spheroid ones are kept for UTM, whose rows take the spheroid given.
constexpr std::array<std::string_view, 13> kDefiningOptions = {
    "--type", "--method", "--lat0", "--lon0",  "--k0",   "--fe",   "--fn",
    "--sp1",  "--sp2",    "--zone", "--south", "--axis", "--param"};
constexpr std::array<std::string_view, 3> kSpheroidOptions = {"--spheroid", "--a", "--rf"};

std::string GivenAmong(const ProjectOptions& options, std::span<const std::string_view> names) {
  std::string given;
  for (const std::string_view name : names) {
    if (options.Given(name)) given += (given.empty() ? "" : ", ") + std::string(name);
  }
  return given;
}

// Options that cannot be honoured together; false with the reason.
bool CheckOptionsAgree(const ProjectOptions& options, std::string& problem) {
  if (options.Given("--projection") &&
      options.projection.catalogue.find_first_not_of(" \t") == std::string::npos) {
    problem = "--projection needs a projection: TYPE/ROW, utm:ZONE or a name";
    return false;
  }
  if (options.Given("--projection")) {
    if (const std::string given = GivenAmong(options, kDefiningOptions); !given.empty()) {
      problem = "--projection brings its own parameters; it cannot be given with " + given;
      return false;
    }
  }
  if (options.Given("--spheroid") && (options.Given("--a") || options.Given("--rf"))) {
    problem = "give a spheroid by --spheroid or by --a and --rf, not both";
    return false;
  }
  return true;
}

bool SetUpFromOptions(const ProjectOptions& options, CSpheroid& spheroid, CProjection& projection,
                      std::string& problem) {
  if (!SetUpSpheroid(options.projection, spheroid, problem)) return false;
  if (options.projection.catalogue.empty()) {
    return SetUpProjection(options.projection, projection, problem);
  }
  if (!SelectProjection(options.projection.catalogue, projection, problem)) return false;
  if (projection.m_Type != PROJECTION_UTM) {
    if (const std::string given = GivenAmong(options, kSpheroidOptions); !given.empty()) {
      problem = "'" + options.projection.catalogue +
                "' brings its own spheroid; it cannot be given with " + given;
      return false;
    }
  }
  return CheckSelectedProjection(projection, options.projection.catalogue, problem);
}

int RunProject(const ProjectOptions& options, const Streams& streams) {
  CSpheroid spheroid;
  CProjection projection;
  projection.m_Spheroid = &spheroid;
  std::string problem;
  if (!CheckOptionsAgree(options, problem) ||
      !SetUpFromOptions(options, spheroid, projection, problem)) {
    streams.err << "orvale project: " << problem << "\n";
    return kExitUsage;
  }
  if (options.describe) streams.err << "orvale project: " << DescribeProjection(projection) << "\n";

  ProjectSettings settings;
  settings.inverse = options.inverse;
  settings.lon_lat = options.pipeline.lon_lat;
  settings.convergence = options.convergence;
  settings.scale = options.scale;
  if (options.pipeline.angles == "gradians") settings.input_notation = ANGLE_PREF_GRADIANS;
  PipelineSetup setup;
  setup.command = "orvale project";
  setup.shape = ProjectPoints::Shape(settings);
  setup.style.angle_decimals = 9;
  setup.style.length_decimals = 3;
  const std::function<std::unique_ptr<PointCommand<ProjectRecord>>(const ValueStyle&)> make =
      [&](const ValueStyle& style) {
        ProjectSettings own = settings;
        own.metres_per_unit = style.metres_per_unit;
        return std::make_unique<ProjectPoints>(spheroid, projection, own);
      };
  return RunPointPipeline<ProjectRecord>(setup, options.pipeline, make, streams);
}

}  // namespace

void AddProjectCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<ProjectOptions>();
  ProjectionOptions& p = options->projection;
  CLI::App* command = app.add_subcommand(
      "project",
      "Convert latitude and longitude to easting and northing (or back with --inverse)\n"
      "on a projection given by its type and parameters, or --projection.\n" +
          PipelineHelp() +
          "Examples:\n"
          "  orvale project --type tm --lat0 49 --lon0 -2 --k0 0.9996012717 \\\n"
          "      --fe 400000 --fn -100000 --spheroid \"Airy 1830\" 52:39:27.2531N,1:43:04.5177E\n"
          "  orvale project -p utm:31 --csv-in --columns lat,lon --input sites.csv -o grid.csv\n"
          "  orvale project -p utm:31 --csv-in --columns 3,2 --no-header < later-part.csv\n"
          "  orvale project -p tm-usa/10 --units us-ft --inverse --angles dms 2000000,500000\n"
          "  orvale project -p utm:31 --lon-lat --id --format json --on-error skip < pts.txt\n"
          "  orvale project -p utm:31 -i --angles gradians --decimals 7 500000,5700000\n"
          "  parallel --pipe -k orvale project -p utm:31 < big.txt > big.out  # same bytes");
  std::vector<CLI::Option*> named;
  const auto keep = [&named](CLI::Option* option) {
    named.push_back(option);
    return option;
  };
  keep(command->add_option("-p,--projection", p.catalogue,
                           "A projection of the catalogue instead of the parameters below:\n"
                           "TYPE/ROW[/METHOD] (e.g. tm/0, 12/17), utm:31 or utm:31s, or its "
                           "name\n(\"Ordnance Survey National Grid\"); see 'orvale projections'. "
                           "Rows bring\ntheir own spheroid, except UTM, which takes --spheroid"));
  keep(command->add_option("-t,--type", p.type, "Projection type:\n" + ProjectionTypeHelp())
           ->capture_default_str());
  keep(command->add_option("-m,--method", p.method, "Method (variant) of the type")
           ->capture_default_str());
  keep(command
           ->add_option("-s,--spheroid", p.spheroid,
                        "Spheroid: catalogue index, EPSG:code or name (see 'orvale spheroids')")
           ->capture_default_str());
  keep(command->add_option("--a", p.semi_major_axis,
                           "Semi-major axis (metres) of a spheroid typed by hand"));
  keep(command->add_option("--rf", p.inverse_flattening,
                           "Inverse flattening of that spheroid: 100 or more, or 0 or 1 for a "
                           "sphere"));
  keep(
      command->add_option("--lat0", p.lat0, "Latitude of origin (degrees)")->capture_default_str());
  keep(
      command
          ->add_option("--lon0", p.lon0, "Longitude of origin / central meridian (degrees, east +)")
          ->capture_default_str());
  keep(command->add_option("--k0", p.k0, "Scale factor at the origin or on the central line (> 0)")
           ->capture_default_str());
  keep(command->add_option("--fe", p.fe, "False easting (metres)")->capture_default_str());
  keep(command->add_option("--fn", p.fn, "False northing (metres)")->capture_default_str());
  keep(command->add_option("--sp1", p.sp1, "First standard parallel (degrees)"));
  keep(command->add_option("--sp2", p.sp2, "Second standard parallel (degrees)"));
  keep(command->add_option("--zone", p.zone, "UTM zone (utm), or the UTM zone of a national grid"));
  keep(command->add_flag("--south", p.south,
                         "UTM zone south of the equator (false northing 10000000)"));
  keep(command->add_option("--axis", p.axis, "Norwegian axis 1..8 or Danish zone 0..2"));
  keep(command->add_option("--param", p.params,
                           "Parameter slot SLOT=VALUE (RSO, state plane tables)"));
  command->add_flag("-i,--inverse", options->inverse,
                    "Easting and northing to latitude and longitude");
  command->add_flag("--convergence", options->convergence,
                    "Also print the grid convergence (degrees)");
  command->add_flag("--scale", options->scale, "Also print the point scale factor");
  AddPipelineOptions(*command, options->pipeline, named);
  command->add_flag("--describe", options->describe,
                    "Print the projection set up to standard error");
  command->callback([options, named, &streams, &status] {
    CollectGivenOptions(named, options->pipeline);
    options->projection.given = options->pipeline.given;
    status = RunProject(*options, streams);
  });
}

}  // namespace orvale::cli
