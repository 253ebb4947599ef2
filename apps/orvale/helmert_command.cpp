// orvale helmert: positions through a 7- or 14-parameter Helmert transformation given as
// PROJ's helmert step takes it, from and to geographical or cartesian form.

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "commands.h"
#include "datum_select.h"
#include "orvale/engine/datum/cartesian.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/datum/helmert.h"
#include "orvale/platform/text_encoding.h"
#include "point_pipeline.h"
#include "spheroid_options.h"

namespace orvale::cli {
namespace {

struct HelmertOptions {
  // Translations (metres), rotations (seconds of arc), scale (ppm), and their rates per
  // year, in the order of the parameter block.
  std::array<double, 7> values{};
  std::array<double, 7> rates{};
  double reference_epoch = 0.0;
  double epoch = 0.0;
  std::string convention = "position-vector";
  std::string datum;  // a catalogue or record datum instead of the parameters
  bool reverse = false;
  std::string from = "geog";
  std::string to = "geog";
  SpheroidOptions source;
  SpheroidOptions target{"target-"};
  PipelineOptions pipeline;
  bool Given(std::string_view name) const { return pipeline.Given(name); }
};

constexpr std::array<std::string_view, 7> kValueOptions = {"--tx", "--ty", "--tz", "--rx",
                                                           "--ry", "--rz", "--s"};
constexpr std::array<std::string_view, 7> kRateOptions = {"--dtx", "--dty", "--dtz", "--drx",
                                                          "--dry", "--drz", "--ds"};

bool ReadKind(const std::string& text, std::string_view option, PositionKind& kind,
              std::string& problem) {
  if (text == "geog" || text == "geographical") {
    kind = PositionKind::kGeographical;
    return true;
  }
  if (text == "cartesian" || text == "cart") {
    kind = PositionKind::kCartesian;
    return true;
  }
  problem = std::string(option) + ": '" + text + "' is neither geog nor cartesian";
  return false;
}

// The parameter block the options describe, as a datum record holds it; false with the
// reason, naming the option, when they describe none.
bool ShiftFromOptions(const HelmertOptions& options, DatumShiftParameters& shift,
                      std::string& problem) {
  const auto finite = [&problem](double value, std::string_view option) {
    if (std::isfinite(value)) return true;
    problem = std::string(option) + ": a finite number is needed";
    return false;
  };
  for (std::size_t i = 0; i < 7; ++i) {
    if (!finite(options.values[i], kValueOptions[i]) ||
        !finite(options.rates[i], kRateOptions[i])) {
      return false;
    }
  }
  if (!finite(options.reference_epoch, "--t-epoch") || !finite(options.epoch, "--epoch")) {
    return false;
  }
  shift = DatumShiftParameters{};
  double* values[] = {&shift.m_DX, &shift.m_DY, &shift.m_DZ,   &shift.m_RX,
                      &shift.m_RY, &shift.m_RZ, &shift.m_Scale};
  double* rates[] = {&shift.m_DXRate, &shift.m_DYRate, &shift.m_DZRate,   &shift.m_RXRate,
                     &shift.m_RYRate, &shift.m_RZRate, &shift.m_ScaleRate};
  for (std::size_t i = 0; i < 7; ++i) {
    *values[i] = options.values[i];
    *rates[i] = options.rates[i];
  }
  const std::string& convention = options.convention;
  if (convention == "position-vector" || convention == "position_vector") {
    shift.m_RotationMethod = kPositionVector;
  } else if (convention == "coordinate-frame" || convention == "coordinate_frame") {
    shift.m_RotationMethod = kCoordinateFrame;
  } else {
    problem = "--convention: '" + convention + "' is neither position-vector nor coordinate-frame";
    return false;
  }
  const bool rated = std::any_of(kRateOptions.begin(), kRateOptions.end(),
                                 [&options](std::string_view name) { return options.Given(name); });
  if (rated && !options.Given("--t-epoch")) {
    problem = "--t-epoch: the rates need the epoch they start from";
    return false;
  }
  if (!rated && (options.Given("--t-epoch") || options.Given("--epoch"))) {
    problem = std::string(options.Given("--epoch") ? "--epoch" : "--t-epoch") +
              ": an epoch needs rates (--dtx ... --ds) to act on";
    return false;
  }
  if (rated) {
    shift.m_TimeDependent = 1;
    shift.m_ReferenceEpoch = options.reference_epoch;
    shift.m_Epoch = options.epoch;
    shift.m_UseEpoch = options.Given("--epoch") ? 1 : 0;
  }
  return true;
}

// The shift types whose entries are a Helmert transformation and nothing more.
bool IsPlainHelmert(int type) {
  return type == kNoDatumShift || type == kWgs84Shifts || type == kOtherShifts ||
         type == kUserDefinedShifts;
}

// The parameters and spheroids of a datum of the catalogue or the user's records; the
// options it brings itself cannot be given beside it.
bool ShiftFromDatum(const HelmertOptions& options, DatumShiftParameters& shift, CSpheroid& source,
                    CSpheroid& target, std::string& problem) {
  std::string clashing;
  for (const auto* names : {&kValueOptions, &kRateOptions}) {
    for (const std::string_view name : *names)
      if (options.Given(name)) clashing += (clashing.empty() ? "" : ", ") + std::string(name);
  }
  for (const std::string_view name : {"--t-epoch", "--convention"})
    if (options.Given(name)) clashing += (clashing.empty() ? "" : ", ") + std::string(name);
  if (AnySpheroidOptionGiven(options.source, options.pipeline.given) ||
      AnySpheroidOptionGiven(options.target, options.pipeline.given)) {
    clashing += (clashing.empty() ? "" : ", ") + std::string("spheroid options");
  }
  if (!clashing.empty()) {
    problem =
        "--datum brings its own parameters and spheroids; it cannot be given with " + clashing;
    return false;
  }
  CDatum datum;
  datum.m_TargetSpheroid = &target;
  if (!SelectDatum(options.datum, datum, problem)) {
    problem = "--datum: " + problem;
    return false;
  }
  if (!IsPlainHelmert(datum.m_ShiftType)) {
    problem = "--datum: '" + Cp1252ToUtf8(datum.GetName()) + "' is a " +
              std::string(ShiftTypeName(datum.m_ShiftType)) +
              " entry, which is no plain Helmert transformation";
    return false;
  }
  shift = datum.m_Shift;
  source = datum.m_Spheroid;
  if (options.Given("--epoch")) {
    shift.m_Epoch = options.epoch;
    shift.m_UseEpoch = 1;
  }
  return true;
}

struct HelmertSetup {
  PositionKind from = PositionKind::kGeographical;
  PositionKind to = PositionKind::kGeographical;
  CSpheroid source, target;
  HelmertStep step;
};

bool SetUp(const HelmertOptions& options, HelmertSetup& setup, std::string& problem) {
  if (!ReadKind(options.from, "--from", setup.from, problem) ||
      !ReadKind(options.to, "--to", setup.to, problem)) {
    return false;
  }
  DatumShiftParameters shift;
  const std::vector<std::string>& given = options.pipeline.given;
  if (options.Given("--datum")) {
    CSpheroid source, target;
    if (!ShiftFromDatum(options, shift, source, target, problem)) return false;
    // Reversed, the points come on the datum's target side and go to its own.
    if (options.reverse) std::swap(source, target);
    setup.source = source;
    setup.target = target;
    setup.step = MakeHelmertStep(shift, options.reverse ? kHelmertReverse : kHelmertForward);
    return true;
  }
  if (!ShiftFromOptions(options, shift, problem)) return false;
  if (setup.from == PositionKind::kCartesian && AnySpheroidOptionGiven(options.source, given)) {
    problem =
        "--spheroid, --a and --rf are the spheroid of geographical input; with --from "
        "cartesian there is none";
    return false;
  }
  if (setup.to == PositionKind::kCartesian && AnySpheroidOptionGiven(options.target, given)) {
    problem =
        "--target-spheroid, --target-a and --target-rf are the spheroid of geographical "
        "output; with --to cartesian there is none";
    return false;
  }
  if (setup.from == PositionKind::kGeographical &&
      !SetUpEllipsoid(options.source, given, setup.source, problem)) {
    return false;
  }
  // Without a target spheroid of its own the output stays on the source's.
  const bool own_target = AnySpheroidOptionGiven(options.target, given);
  if (setup.to == PositionKind::kGeographical) {
    if (own_target || setup.from == PositionKind::kCartesian) {
      if (!SetUpEllipsoid(options.target, given, setup.target, problem)) return false;
    } else {
      setup.target = setup.source;
    }
  }
  // The clock is read here, once: every line of a run is at the same epoch.
  setup.step = MakeHelmertStep(shift, options.reverse ? kHelmertReverse : kHelmertForward);
  return true;
}

class HelmertPoints final : public PointCommand<PositionRecord> {
 public:
  HelmertPoints(const HelmertSetup& setup, const PositionForm& form) : setup_(setup), form_(form) {}

  bool Parse(std::span<const std::string_view> fields, PositionRecord& record,
             FieldProblem& problem) const override {
    return ReadPosition(fields, setup_.from, form_, record, problem);
  }

  void Compute(std::span<PositionRecord> records) override {
    columns_.Load(records);
    auto& c = columns_;
    if (setup_.from == PositionKind::kGeographical) {
      GeogToCartesianMany(setup_.source, c.a, c.b, c.c, c.a, c.b, c.c);
    }
    HelmertTransformMany(setup_.step, c.a, c.b, c.c, c.a, c.b, c.c);
    if (setup_.to == PositionKind::kGeographical) {
      CartesianToGeogMany(setup_.target, c.a, c.b, c.c, c.a, c.b, c.c);
    }
    columns_.Store(records);
  }

  bool Format(const PositionRecord& record, RowWriter& row, std::string& reason) const override {
    return WritePosition(record, setup_.to, form_, row, reason);
  }

 private:
  const HelmertSetup& setup_;
  PositionForm form_;
  PositionColumns columns_;
};

int RunHelmert(const HelmertOptions& options, const Streams& streams) {
  HelmertSetup setup;
  std::string problem;
  if (!SetUp(options, setup, problem)) {
    streams.err << "orvale helmert: " << problem << "\n";
    return kExitUsage;
  }
  PositionForm form;
  form.input = setup.from;
  form.lon_lat = options.pipeline.lon_lat;
  if (options.pipeline.angles == "gradians") form.input_notation = ANGLE_PREF_GRADIANS;
  PipelineSetup pipeline;
  pipeline.command = "orvale helmert";
  pipeline.shape.inputs = PositionNames(setup.from, form.lon_lat);
  pipeline.shape.outputs = PositionNames(setup.to, form.lon_lat);
  pipeline.style.angle_decimals = 9;
  pipeline.style.length_decimals = 4;
  pipeline.angles_out = setup.to == PositionKind::kGeographical;
  const std::function<std::unique_ptr<PointCommand<PositionRecord>>(const ValueStyle&)> make =
      [&](const ValueStyle& style) {
        PositionForm own = form;
        own.metres_per_unit = style.metres_per_unit;
        return std::make_unique<HelmertPoints>(setup, own);
      };
  return RunPointPipeline<PositionRecord>(pipeline, options.pipeline, make, streams);
}

}  // namespace

void AddHelmertCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<HelmertOptions>();
  CLI::App* command = app.add_subcommand(
      "helmert",
      "Shift positions by a 7-parameter Helmert transformation, or a 14-parameter one\n"
      "with rates, given as PROJ's helmert step takes it: translations in metres,\n"
      "rotations in seconds of arc, scale in parts per million, rates per year.\n"
      "Positions go in and come out as latitude, longitude and height (geog, on\n"
      "--spheroid and --target-spheroid; the target is the source's unless given) or as\n"
      "X, Y, Z (cartesian). --reverse applies the same formula with every parameter\n"
      "negated, as EPSG reverses a Helmert transformation: not the exact inverse, it\n"
      "misses the start by terms of the second order in the parameters. With rates and\n"
      "no --epoch the parameters are taken at today's date, read once per run.\n" +
          PipelineHelp() +
          "Examples:\n"
          "  orvale helmert --from cartesian --to cartesian --tz 4.5 --rz 0.554 --s 0.219 \\\n"
          "      3657660.66,255768.55,5201382.11\n"
          "      3657660.7741 255778.4300 5201387.7491\n"
          "  orvale helmert --tx -89.5 --ty -93.8 --tz -123.1 --rz -0.156 --s -1.2 \\\n"
          "      --target-spheroid \"International Spheroid\" 52:30N,1:15W,100\n"
          "      52.500743923 -1.251453002 -252.0873\n"
          "  orvale helmert --convention coordinate-frame --tz 4.5 --rz -0.554 --s 0.219 \\\n"
          "      --reverse --from cartesian --to cartesian < wgs84.xyz\n"
          "  orvale helmert --tx 0.0014 --dtx 0.0001 --s 0.00042 --ds 0.00011 \\\n"
          "      --t-epoch 2010 --epoch 2024.75 --csv-in --columns lat,lon,h < sites.csv\n"
          "  orvale helmert --to cartesian --tx 10 --units us-ft 52:30:00N,1:15:00W,328.08\n"
          "  orvale helmert --datum wgs84/2 52:30N,1:15W,100        # to E.D. 50\n"
          "  orvale helmert --datum \"WGS 84 to E.D. 50 (UKOOA Recommended)\" --reverse < "
          "ed50.txt");
  std::vector<CLI::Option*> named;
  const auto keep = [&named](CLI::Option* option) {
    named.push_back(option);
    return option;
  };
  const char* value_help[7] = {
      "Translation along X (metres)",        "Translation along Y (metres)",
      "Translation along Z (metres)",        "Rotation about X (seconds of arc)",
      "Rotation about Y (seconds of arc)",   "Rotation about Z (seconds of arc)",
      "Scale correction (parts per million)"};
  for (std::size_t i = 0; i < 7; ++i) {
    keep(command->add_option(std::string(kValueOptions[i]), options->values[i], value_help[i]));
  }
  for (std::size_t i = 0; i < 7; ++i) {
    keep(command->add_option(std::string(kRateOptions[i]), options->rates[i],
                             "Rate of " + std::string(kValueOptions[i]) + " per year"));
  }
  keep(command->add_option("--t-epoch", options->reference_epoch,
                           "Decimal year the rates start from (t0)"));
  keep(command->add_option("--epoch", options->epoch,
                           "Decimal year to take the parameters at (t); default today"));
  keep(command->add_option(
      "-D,--datum", options->datum,
      "A datum shift of the catalogue or the user's records, as 'orvale datums' lists\n"
      "it: TYPE/NUMBER (wgs84/2, other/0, user/1) or its name; it brings its\n"
      "parameters and both spheroids"));
  keep(command
           ->add_option("--convention", options->convention,
                        "Rotation convention: position-vector (European Bursa-Wolf) or\n"
                        "coordinate-frame (US Dept of Defense), with opposite rotations")
           ->capture_default_str());
  command->add_flag("--reverse", options->reverse, "Shift from the target frame to the source");
  keep(command->add_option("--from", options->from, "Input form: geog or cartesian")
           ->capture_default_str());
  keep(command->add_option("--to", options->to, "Output form: geog or cartesian")
           ->capture_default_str());
  AddSpheroidOptions(*command, options->source, "source", named);
  AddSpheroidOptions(*command, options->target, "target", named);
  AddPipelineOptions(*command, options->pipeline, named);
  command->callback([options, named, &streams, &status] {
    CollectGivenOptions(named, options->pipeline);
    status = RunHelmert(*options, streams);
  });
}

}  // namespace orvale::cli
