// orvale shift: positions through a datum shift of the catalogue or the user's records,
// in either direction, read and written as geographical, grid or cartesian positions.

#include <cctype>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "commands.h"
#include "datum_select.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/cartesian.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/datum/shift_position.h"
#include "orvale/engine/gridshift/nadcon_regions.h"
#include "orvale/engine/gridshift/ntv2_file.h"
#include "orvale/engine/gridshift/ostn15.h"
#include "orvale/platform/drives.h"
#include "orvale/platform/program.h"
#include "orvale/platform/text_encoding.h"
#include "orvale/storage/data_folders.h"
#include "point_pipeline.h"
#include "projection_select.h"
#include "spheroid_options.h"

namespace orvale::cli {
namespace {

enum class Form { kGeographical, kGrid, kCartesian };

struct ShiftOptions {
  std::string datum;
  bool reverse = false;
  std::string from = "geog";
  std::string to = "geog";
  std::string projection;         // the datum's own side
  std::string target_projection;  // its target side
  std::string grid;               // an NTv2 file instead of the Canadian one
  PipelineOptions pipeline;
  bool Given(std::string_view name) const { return pipeline.Given(name); }
};

bool ReadForm(const std::string& text, std::string_view option, Form& form, std::string& problem) {
  if (text == "geog" || text == "geographical") {
    form = Form::kGeographical;
  } else if (text == "grid") {
    form = Form::kGrid;
  } else if (text == "cartesian" || text == "cart") {
    form = Form::kCartesian;
  } else {
    problem = std::string(option) + ": '" + text + "' is none of geog, grid and cartesian";
    return false;
  }
  return true;
}

// The shift types whose output is a cartesian position before it is anything else.
bool ShiftsCartesian(const CDatum& datum) {
  const int type = datum.m_ShiftType;
  return type == kWgs84Shifts || type == kOtherShifts || type == kUserDefinedShifts ||
         (type == kNorwegianShifts && datum.m_Number != 0);
}

// Everything a run is set up with: the datum and its target side, which are copied for
// every worker, the direction and the forms.
struct ShiftSetup {
  CDatum datum;
  CSpheroid target;
  CProjection target_projection;
  bool target_projection_set = false;  // given, or the datum's own (the National Grid)
  bool own_projection_set = false;
  int direction = kShiftForward;
  Form from = Form::kGeographical;  // of the input, whichever side it is on
  Form to = Form::kGeographical;    // of the output
};

// Puts the projection a user chose on one side of the datum. It must be on that side's
// spheroid: a UTM zone takes it, every other row brings its own and must agree.
bool PlaceProjection(const std::string& text, std::string_view option, CSpheroid& side_spheroid,
                     CProjection& side, std::string& problem) {
  CSpheroid spheroid = side_spheroid;
  CProjection chosen;
  chosen.m_Spheroid = &spheroid;
  if (!SelectProjection(text, chosen, problem)) {
    problem = std::string(option) + ": " + problem;
    return false;
  }
  if (spheroid.m_SemiMajorAxis != side_spheroid.m_SemiMajorAxis ||
      spheroid.m_InverseFlattening != side_spheroid.m_InverseFlattening) {
    problem = std::string(option) + ": '" + Cp1252ToUtf8(chosen.m_Name) + "' is on " +
              Cp1252ToUtf8(spheroid.m_Name) + ", but that side of the datum is on " +
              Cp1252ToUtf8(side_spheroid.m_Name);
    return false;
  }
  side = chosen;  // its spheroid's contents, the side's own, go into the side's spheroid
  return true;
}

// The grid files the datum needs, loaded once for every worker; false with the file
// and every place it was looked for when they are not there.
bool LoadGrids(const ShiftOptions& options, CDatum& datum, std::string& problem) {
  if (options.Given("--grid") && datum.m_ShiftType != kCanadaNtv2) {
    problem = "--grid is the NTv2 file of a Canada NTv2 datum (ntv2/0); '" + options.datum +
              "' is not one";
    return false;
  }
  if (datum.m_ShiftType == kCanadaNtv2) {
    if (options.Given("--grid")) {
      const GridFileStatus status = LoadNTv2File(datum.m_NTv2, options.grid);
      if (!status.ok()) problem = "--grid: '" + options.grid + "': " + status.reason;
      return status.ok();
    }
    const std::string folder = RecordFolder();
    const GridFileStatus status = LoadCanadaNTv2(datum.m_NTv2);
    if (!status.ok()) {
      problem = "the NTv2 grid " + std::string(kCanadaNTv2FileName) +
                " was looked for in the Global data folder " +
                (folder.empty() ? std::string("(there is none)") : "'" + HostPath(folder) + "'") +
                " and is not usable: " + status.reason + "; --grid FILE names another";
    }
    return status.ok();
  }
  if (datum.m_ShiftType == kOrdnanceSurvey) {
    const GridFileStatus status = LoadOstnGrids(datum.m_OstnGrid);
    if (!status.ok()) {
      problem = "the OSTN15 grids " + std::string(kOstnEtrsToOsgbFileName) + " and " +
                std::string(kOstnOsgbToEtrsFileName) +
                " were looked for in the program's folder '" + HostPath(ProgramFolder()) +
                "' (ORVALE_PROGRAM_DIR names another) and are not usable: " + status.reason;
    }
    return status.ok();
  }
  if (datum.m_ShiftType == kNadconShifts) {
    // Regions are loaded as points reach them; without a single one no point can be.
    const std::string folder = RecordFolder();
    const bool hpgn = datum.m_Number >= 2;
    const bool nad = datum.m_Number != 2 && datum.m_Number != 3;
    const auto any = [&folder](const auto& regions) {
      for (const auto& region : regions) {
        std::string lower(region.code);
        for (char& c : lower)
          c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const std::string& name : {std::string(region.code), lower}) {
          if (std::filesystem::exists(HostPath(folder + name + ".las"))) return true;
        }
      }
      return false;
    };
    std::string missing;
    if (nad && (folder.empty() || !any(kNadconRegions)))
      missing = "NAD 27 / NAD 83 (CONUS.las ...)";
    if (hpgn && (folder.empty() || !any(kHpgnRegions)))
      missing += (missing.empty() ? "" : " and ") + std::string("HPGN (ALHPGN.las ...)");
    if (!missing.empty()) {
      problem = "no NADCON region grid of the " + missing +
                " family was found in the Global data folder " +
                (folder.empty() ? std::string("(there is none)") : "'" + HostPath(folder) + "'");
      return false;
    }
  }
  return true;
}

// Which side needs a projection, and whether it has one.
bool CheckProjections(const ShiftSetup& s, std::string& problem) {
  const bool forward = s.direction == kShiftForward;
  const auto has = [&s](bool own) { return own ? s.own_projection_set : s.target_projection_set; };
  const auto name = [](bool own) {
    return std::string(own ? "--projection (the datum's own side)"
                           : "--target-projection (its target side)");
  };
  const int type = s.datum.m_ShiftType;
  // The input is the own side going forward, the target side going back.
  const bool input_own = forward;
  const Form in_form = s.from;
  const Form out_form = s.to;
  const bool grid_shift = type == kGridShifts;
  if ((in_form == Form::kGrid) != grid_shift && !has(input_own)) {
    problem = std::string(grid_shift ? "grid shifts work on easting and northing"
                                     : "grid input is turned to latitude and longitude") +
              ": give " + name(input_own);
    return false;
  }
  // "No datum Shift" shows the input side's grid on both.
  const bool output_own = type == kNoDatumShift ? input_own : !input_own;
  if ((out_form == Form::kGrid) != grid_shift && !has(output_own)) {
    problem = std::string(grid_shift ? "grid shifts give easting and northing"
                                     : "grid output is projected") +
              ": give " + name(output_own);
    return false;
  }
  return true;
}

bool SetUp(const ShiftOptions& options, ShiftSetup& s, std::string& problem) {
  if (!options.Given("--datum")) {
    problem =
        "--datum is needed: TYPE/NUMBER (wgs84/2, nadcon/0, ntv2/0) or a name, as "
        "'orvale datums' lists them";
    return false;
  }
  if (!ReadForm(options.from, "--from", s.from, problem) ||
      !ReadForm(options.to, "--to", s.to, problem)) {
    return false;
  }
  s.direction = options.reverse ? kShiftReverse : kShiftForward;
  s.target_projection.m_Spheroid = &s.target;
  s.datum.m_TargetSpheroid = &s.target;
  s.datum.m_TargetProjection = &s.target_projection;
  if (!SelectDatum(options.datum, s.datum, problem)) {
    problem = "--datum: " + problem;
    return false;
  }
  // The Ordnance Survey entry brings the National Grid as its target projection.
  s.target_projection_set = s.datum.m_ShiftType == kOrdnanceSurvey;
  if (options.Given("--projection")) {
    if (!PlaceProjection(options.projection, "--projection", s.datum.m_Spheroid,
                         s.datum.m_Projection, problem)) {
      return false;
    }
    s.own_projection_set = true;
  }
  if (options.Given("--target-projection")) {
    if (!PlaceProjection(options.target_projection, "--target-projection", s.target,
                         s.target_projection, problem)) {
      return false;
    }
    s.target_projection_set = true;
  }
  if (!CheckProjections(s, problem)) return false;
  return LoadGrids(options, s.datum, problem);
}

// One point: the value read (latitude, longitude, height; easting, northing, height;
// or X, Y, Z), then the output's three values and what the shift made of it.
struct ShiftRecord {
  double a = 0.0, b = 0.0, c = 0.0;
  ShiftStatus status = ShiftStatus::kShifted;
};

class ShiftPoints final : public PointCommand<ShiftRecord> {
 public:
  ShiftPoints(const ShiftSetup& setup, const PositionForm& form)
      : setup_(setup), form_(form), datum_(setup.datum), target_(setup.target) {
    target_projection_.m_Spheroid = &target_;
    target_projection_ = setup.target_projection;
    target_projection_.Initialise();
    datum_.m_TargetSpheroid = &target_;
    datum_.m_TargetProjection = setup.target_projection_set ? &target_projection_ : nullptr;
    // Without a projection chosen for the own side its grid values are not wanted: a
    // projection on no spheroid gives none at once, where the datum's default UTM zone
    // would cost a transverse Mercator for every point written there.
    if (!setup.own_projection_set) datum_.m_Projection.m_Spheroid = nullptr;
  }

  // A filter leaves nothing behind: a worker whose NTv2 reader has interpolated would
  // write its last positions to the "NTv2" settings file as it goes, which the panes
  // keep for their user, not for a batch. An unused copy moved over it takes that
  // duty away with it.
  ~ShiftPoints() override { datum_.m_NTv2 = CNTv2(setup_.datum.m_NTv2); }

  bool Parse(std::span<const std::string_view> fields, ShiftRecord& record,
             FieldProblem& problem) const override {
    const Form form = InputForm();
    if (form == Form::kGeographical) {
      PositionRecord position;
      PositionForm geog = form_;
      geog.input = PositionKind::kGeographical;
      if (!ReadPosition(fields, PositionKind::kGeographical, geog, position, problem)) return false;
      record = {position.a, position.b, position.c, ShiftStatus::kShifted};
      return true;
    }
    double* values[] = {&record.a, &record.b, &record.c};
    for (std::size_t i = 0; i < 3; ++i) {
      problem.input = i;
      if (!ReadLengthField(fields[i], form_.metres_per_unit, *values[i], problem.reason)) {
        return false;
      }
    }
    return true;
  }

  void Compute(std::span<ShiftRecord> records) override {
    for (ShiftRecord& record : records)
      Shift(record);
  }

  bool Format(const ShiftRecord& record, RowWriter& row, std::string& reason) const override {
    if (record.status != ShiftStatus::kShifted) {
      reason = ShiftStatusText(record.status);
      if (datum_.m_ShiftType == kNadconShifts && record.status == ShiftStatus::kOutsideGrid)
        reason = "outside every NADCON region: not shifted";
      return false;
    }
    if (!std::isfinite(record.a) || !std::isfinite(record.b) || !std::isfinite(record.c)) {
      reason = "no finite position: outside the projection's reach";
      return false;
    }
    const Form form = OutputForm();
    if (form == Form::kGeographical) {
      PositionForm geog = form_;
      return WritePosition({record.a, record.b, record.c}, PositionKind::kGeographical, geog, row,
                           reason);
    }
    row.Length(record.a);
    row.Length(record.b);
    row.Length(record.c);
    return true;
  }

  static std::vector<std::string> Names(Form form, bool lon_lat, std::string_view suffix) {
    std::vector<std::string> names;
    if (form == Form::kGeographical) {
      names = PositionNames(PositionKind::kGeographical, lon_lat);
    } else if (form == Form::kGrid) {
      names = {"easting", "northing", "height"};
    } else {
      names = PositionNames(PositionKind::kCartesian, lon_lat);
    }
    for (std::string& name : names)
      name += suffix;
    return names;
  }

 private:
  bool Forward() const { return setup_.direction == kShiftForward; }
  Form InputForm() const { return setup_.from; }
  Form OutputForm() const { return setup_.to; }
  CSpheroid& InputSpheroid() { return Forward() ? datum_.m_Spheroid : target_; }
  CSpheroid& OutputSpheroid() { return Forward() ? target_ : datum_.m_Spheroid; }
  CProjection* InputProjection() {
    if (Forward()) return setup_.own_projection_set ? &datum_.m_Projection : nullptr;
    return datum_.m_TargetProjection;
  }

  // Fills the input record with what the shift reads, then shifts it.
  void Shift(ShiftRecord& record) {
    tagCOORD& input = Forward() ? from_ : to_;
    tagCOORD& output = Forward() ? to_ : from_;
    input = tagCOORD{};
    output = tagCOORD{};
    CProjection* projection = InputProjection();
    switch (InputForm()) {
      case Form::kGeographical:
        SetGeogPoint(input, projection, record.a, record.c, record.b);
        if (projection == nullptr && (ShiftsCartesian(datum_) || setup_.datum.m_ShiftType == 0)) {
          GeogToCartesian(InputSpheroid(), input.latitude, input.longitude, input.height, input.x,
                          input.y, input.z);
        }
        break;
      case Form::kGrid:
        SetGridPoint(input, projection, record.b, record.c, record.a);
        break;
      case Form::kCartesian:
        input.x = record.a;
        input.y = record.b;
        input.z = record.c;
        static_cast<void>(CartesianToGeog(InputSpheroid(), input.x, input.y, input.z,
                                          input.latitude, input.longitude, input.height));
        if (projection != nullptr) {
          static_cast<void>(projection->GeogToGrid(input.latitude, input.longitude, &input.easting,
                                                   &input.northing));
        }
        break;
    }
    record.status = ShiftPosition(datum_, from_, to_, setup_.direction);
    switch (OutputForm()) {
      case Form::kGeographical:
        record = {output.latitude, output.longitude, output.height, record.status};
        break;
      case Form::kGrid:
        record = {output.easting, output.northing, output.height, record.status};
        break;
      case Form::kCartesian:
        if (!ShiftsCartesian(datum_)) {
          GeogToCartesian(OutputSpheroid(), output.latitude, output.longitude, output.height,
                          output.x, output.y, output.z);
        }
        record = {output.x, output.y, output.z, record.status};
        break;
    }
  }

  const ShiftSetup& setup_;
  PositionForm form_;
  CDatum datum_;
  CSpheroid target_;
  CProjection target_projection_;
  tagCOORD from_, to_;
};

int RunShift(const ShiftOptions& options, const Streams& streams) {
  auto setup = std::make_unique<ShiftSetup>();
  std::string problem;
  if (!SetUp(options, *setup, problem)) {
    streams.err << "orvale shift: " << problem << "\n";
    return kExitUsage;
  }
  PositionForm form;
  form.lon_lat = options.pipeline.lon_lat;
  if (options.pipeline.angles == "gradians") form.input_notation = ANGLE_PREF_GRADIANS;
  const Form in = setup->from;
  const Form out = setup->to;
  PipelineSetup pipeline;
  pipeline.command = "orvale shift";
  pipeline.shape.inputs = ShiftPoints::Names(in, form.lon_lat, "");
  pipeline.shape.outputs = ShiftPoints::Names(out, form.lon_lat, "");
  pipeline.style.angle_decimals = 9;
  pipeline.style.length_decimals = 4;
  pipeline.angles_out = out == Form::kGeographical;
  const ShiftSetup& shared = *setup;
  const std::function<std::unique_ptr<PointCommand<ShiftRecord>>(const ValueStyle&)> make =
      [&](const ValueStyle& style) {
        PositionForm own = form;
        own.metres_per_unit = style.metres_per_unit;
        return std::make_unique<ShiftPoints>(shared, own);
      };
  return RunPointPipeline<ShiftRecord>(pipeline, options.pipeline, make, streams);
}

}  // namespace

void AddShiftCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<ShiftOptions>();
  CLI::App* command = app.add_subcommand(
      "shift",
      "Shift positions from one datum to another by a datum shift of the catalogue or\n"
      "the user's records ('orvale datums' lists them): Helmert transformations, the\n"
      "Ordnance Survey's OSTN15, the Norwegian shifts, NADCON, NTv2, latitude and\n"
      "longitude offsets and grid-to-grid shifts. A datum goes from its own side (the\n"
      "'from' datum of its name) to its target side; --reverse takes points from the\n"
      "target side back to its own. Points come in and go out as latitude, longitude\n"
      "and height (geog), easting, northing and height (grid, on --projection for the\n"
      "own side and --target-projection for the target side, chosen as 'orvale project'\n"
      "takes them) or X, Y, Z (cartesian). The projections must be on the datum's\n"
      "spheroids of their sides; a UTM zone takes them.\n"
      "Grid files: NTv2 'ntv2_0.gsb' in the Global data folder (or --grid FILE), the\n"
      "OSTN15 pair in the program's folder (ORVALE_PROGRAM_DIR), NADCON region pairs\n"
      "(CONUS.las/.los, ALHPGN.las/.los, ...) in the Global data folder. A point outside\n"
      "its grid is not shifted: its line says so and the exit status is 1, as for any\n"
      "line without a result. NADCON statuses name the region used.\n" +
          PipelineHelp() +
          "Examples:\n"
          "  orvale shift --datum wgs84/2 52:30N,1:15W,100         # WGS 84 to E.D. 50\n"
          "  orvale shift --datum \"WGS 84 to E.D. 50 (UKOOA Recommended)\" --reverse < ed50.txt\n"
          "  orvale shift --datum ordnance-survey/0 --to grid 52.658,1.717,0  # OSGB36 E N h\n"
          "  orvale shift -D ntv2/0 --grid /usr/share/proj/BETA2007.gsb --reverse \\\n"
          "      50.5,9.5,0                   # DHDN to ETRS89: the grid applied as it is\n"
          "  orvale shift -D nadcon/0 --on-error skip --input nad27.txt\n"
          "  orvale shift -D wgs84/2 --from grid --projection utm:31 --to grid \\\n"
          "      --target-projection utm:31 500000,5800000,0\n"
          "  orvale shift -D grid/0 --from grid --to grid 1000,2000,0   # a GRD record\n"
          "  orvale shift -D other/1 --from cartesian --to cartesian < ed87.xyz");
  std::vector<CLI::Option*> named;
  const auto keep = [&named](CLI::Option* option) {
    named.push_back(option);
    return option;
  };
  keep(command->add_option(
      "-D,--datum", options->datum,
      "The datum shift, as 'orvale datums' lists it: TYPE/NUMBER (wgs84/2, nadcon/4,\n"
      "ntv2/0, user/1, latlon/0, grid/0) or its name. Types:\n" +
          ShiftTypeHelp()));
  command->add_flag("--reverse", options->reverse,
                    "Shift from the datum's target side back to its own side");
  keep(command->add_option("--from", options->from, "Input form: geog, grid or cartesian")
           ->capture_default_str());
  keep(command->add_option("--to", options->to, "Output form: geog, grid or cartesian")
           ->capture_default_str());
  keep(command->add_option("-p,--projection", options->projection,
                           "Projection of the datum's own side, for grid positions there:\n"
                           "TYPE/ROW[/METHOD], utm:ZONE or a name (see 'orvale projections')"));
  keep(command->add_option("--target-projection", options->target_projection,
                           "Projection of the datum's target side (the Ordnance Survey\n"
                           "shift brings the National Grid)"));
  keep(command->add_option("--grid", options->grid,
                           "An NTv2 .gsb file for a Canada NTv2 datum (ntv2/0) instead of\n"
                           "ntv2_0.gsb: its grid maps the datum's target side to its own"));
  AddPipelineOptions(*command, options->pipeline, named);
  command->callback([options, named, &streams, &status] {
    CollectGivenOptions(named, options->pipeline);
    status = RunShift(*options, streams);
  });
}

}  // namespace orvale::cli
