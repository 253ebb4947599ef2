// orvale cartesian: geographical positions (latitude, longitude, height) to
// earth-centred X, Y, Z on a spheroid, or back with --inverse.

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "commands.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/cartesian.h"
#include "point_pipeline.h"
#include "spheroid_options.h"

namespace orvale::cli {
namespace {

struct CartesianOptions {
  SpheroidOptions spheroid;
  PipelineOptions pipeline;
  bool inverse = false;
};

class CartesianPoints final : public PointCommand<PositionRecord> {
 public:
  CartesianPoints(const CSpheroid& spheroid, const PositionForm& form)
      : spheroid_(spheroid), form_(form) {}

  bool Parse(std::span<const std::string_view> fields, PositionRecord& record,
             FieldProblem& problem) const override {
    return ReadPosition(fields, form_.input, form_, record, problem);
  }

  void Compute(std::span<PositionRecord> records) override {
    columns_.Load(records);
    auto& c = columns_;
    if (form_.input == PositionKind::kGeographical) {
      GeogToCartesianMany(spheroid_, c.a, c.b, c.c, c.a, c.b, c.c);
    } else {
      CartesianToGeogMany(spheroid_, c.a, c.b, c.c, c.a, c.b, c.c);
    }
    columns_.Store(records);
  }

  bool Format(const PositionRecord& record, RowWriter& row, std::string& reason) const override {
    return WritePosition(record, Output(), form_, row, reason);
  }

 private:
  PositionKind Output() const {
    return form_.input == PositionKind::kGeographical ? PositionKind::kCartesian
                                                      : PositionKind::kGeographical;
  }

  CSpheroid spheroid_;
  PositionForm form_;
  PositionColumns columns_;
};

int RunCartesian(const CartesianOptions& options, const Streams& streams) {
  CSpheroid spheroid;
  std::string problem;
  if (!SetUpEllipsoid(options.spheroid, options.pipeline.given, spheroid, problem)) {
    streams.err << "orvale cartesian: " << problem << "\n";
    return kExitUsage;
  }
  PositionForm form;
  form.input = options.inverse ? PositionKind::kCartesian : PositionKind::kGeographical;
  form.lon_lat = options.pipeline.lon_lat;
  if (options.pipeline.angles == "gradians") form.input_notation = ANGLE_PREF_GRADIANS;
  PipelineSetup setup;
  setup.command = "orvale cartesian";
  setup.shape.inputs = PositionNames(form.input, form.lon_lat);
  setup.shape.outputs = PositionNames(
      options.inverse ? PositionKind::kGeographical : PositionKind::kCartesian, form.lon_lat);
  setup.style.angle_decimals = 9;
  setup.style.length_decimals = 4;
  setup.angles_out = options.inverse;
  const std::function<std::unique_ptr<PointCommand<PositionRecord>>(const ValueStyle&)> make =
      [&](const ValueStyle& style) {
        PositionForm own = form;
        own.metres_per_unit = style.metres_per_unit;
        return std::make_unique<CartesianPoints>(spheroid, own);
      };
  return RunPointPipeline<PositionRecord>(setup, options.pipeline, make, streams);
}

}  // namespace

void AddCartesianCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<CartesianOptions>();
  CLI::App* command = app.add_subcommand(
      "cartesian",
      "Convert latitude, longitude and height above the spheroid to earth-centred\n"
      "cartesian X, Y, Z (or back with --inverse). Heights and X, Y, Z are in metres\n"
      "or the --units chosen; a point on the polar axis comes back at its pole.\n" +
          PipelineHelp() +
          "Examples:\n"
          "  orvale cartesian 53:48:33.820N,2:07:46.380E,73\n"
          "      3771793.9676 140253.3419 5124304.3493\n"
          "  orvale cartesian --inverse 3771793.968,140253.342,5124304.349\n"
          "  orvale cartesian --spheroid \"Airy 1830\" --csv-in --columns lat,lon,h < sites.csv\n"
          "  orvale cartesian --a 6378388 --rf 297 -i --angles dms --format json < xyz.txt\n"
          "  orvale cartesian --lon-lat --id --on-error skip < points.txt");
  std::vector<CLI::Option*> named;
  AddSpheroidOptions(*command, options->spheroid, "", named);
  command->add_flag("-i,--inverse", options->inverse, "X, Y, Z to latitude, longitude and height");
  AddPipelineOptions(*command, options->pipeline, named);
  command->callback([options, named, &streams, &status] {
    CollectGivenOptions(named, options->pipeline);
    status = RunCartesian(*options, streams);
  });
}

}  // namespace orvale::cli
