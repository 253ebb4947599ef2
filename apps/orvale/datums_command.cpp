// orvale datums: the datum shifts Orvale knows, type by type: the built-in entries,
// then the user's record files, as an aligned table, CSV or JSON lines.

#include <memory>
#include <string>
#include <vector>

#include "catalogue_listing.h"
#include "commands.h"
#include "datum_select.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/datum/datum_records.h"
#include "orvale/platform/text_encoding.h"
#include "output_check.h"

namespace orvale::cli {
namespace {

constexpr std::string_view kCommand = "datums";

const std::vector<CatalogueColumn> kColumns = {
    {"type", "Type", true},
    {"number", "No.", true},
    {"name", "Name", false},
    {"spheroid", "Spheroid", false},
    {"target_spheroid", "Target spheroid", false},
    {"dx", "dx (m)", true, true},
    {"dy", "dy (m)", true, true},
    {"dz", "dz (m)", true, true},
    {"rx", "rx (\")", true},
    {"ry", "ry (\")", true},
    {"rz", "rz (\")", true},
    {"scale", "ppm", true},
    {"rotation", "Rotation", false},
    {"dlat", "dlat (\")", true},
    {"dlon", "dlon (\")", true},
    {"dh", "dh (m)", true, true},
    {"file", "File", false},
};

std::string SpheroidText(const CSpheroid& spheroid) {
  const std::string text =
      spheroid.m_Country.empty() ? spheroid.m_Name : spheroid.m_Name + " " + spheroid.m_Country;
  return Cp1252ToUtf8(text);
}

bool HasHelmert(int type) {
  return type == kWgs84Shifts || type == kNorwegianShifts || type == kOtherShifts ||
         type == kUserDefinedShifts;
}

void Describe(int type, int number, CDatum& datum, const CSpheroid& target,
              CatalogueWriter& listing) {
  RowWriter& row = listing.NewRow();
  listing.Count(row, type);
  listing.Count(row, number);
  listing.Text(row, Cp1252ToUtf8(datum.GetName()));
  listing.Text(row, SpheroidText(datum.m_Spheroid));
  listing.Text(row, SpheroidText(target));
  const DatumShiftParameters& p = datum.m_Shift;
  if (HasHelmert(type)) {
    for (const double metres : {p.m_DX, p.m_DY, p.m_DZ})
      listing.Length(row, metres);
    for (const double value : {p.m_RX, p.m_RY, p.m_RZ, p.m_Scale})
      listing.Exact(row, value);
    listing.Text(row, Cp1252ToUtf8(RotationMethodName(p.m_RotationMethod)));
  } else {
    for (int k = 0; k < 8; ++k)
      row.Missing();
  }
  if (type == kLatLonShifts) {
    listing.Exact(row, datum.m_DLat);
    listing.Exact(row, datum.m_DLon);
    listing.Length(row, datum.m_DHeight);
  } else {
    for (int k = 0; k < 3; ++k)
      row.Missing();
  }
  if (datum.m_FileTitle.empty()) {
    row.Missing();
  } else {
    listing.Text(row, Cp1252ToUtf8(datum.m_FileTitle));
  }
}

// True when every entry was read.
bool ListType(int type, CatalogueWriter& listing, const Streams& streams) {
  bool all_read = true;
  const auto kind = DatumRecordKindOfType(type);
  if (kind) {
    const RecordListing files = ListDatumRecordFiles(type);
    all_read = ReportRecordFolder(kCommand, files.problem, streams);
  }
  const int count = DatumEntryCount(type);
  for (int number = 0; number < count; ++number) {
    CSpheroid target;
    CDatum datum;
    datum.m_TargetSpheroid = &target;
    if (datum.SetFromCatalogue(type, number, 1)) {
      Describe(type, number, datum, target, listing);
      continue;
    }
    all_read = false;
    // Still listed, so the number of every later record holds.
    const std::string file = kind ? DatumRecordFiles(type)[static_cast<std::size_t>(number)] : "";
    RowWriter& row = listing.NewRow();
    listing.Count(row, type);
    listing.Count(row, number);
    for (int k = 0; k < 14; ++k)
      row.Missing();
    listing.Text(row, Cp1252ToUtf8(file));
    CDatum scratch;
    const RecordStatus status =
        kind ? ReadDatumRecord(scratch, file, *kind) : RecordStatus{false, "not in the catalogue"};
    streams.err << "orvale datums: " << Printable(file)
                << ": cannot be read: " << Printable(status.reason) << "; listed without values\n";
  }
  return all_read;
}

struct Options {
  std::string type;
  CatalogueOptions listing;
};

int RunDatums(const Options& options, const Streams& streams) {
  int only = -1;
  std::string problem;
  if (!options.type.empty() && !ShiftTypeFromText(options.type, only, problem)) {
    streams.err << "orvale datums: --type: " << problem << "\n";
    return kExitUsage;
  }
  CatalogueWriter listing("orvale datums", kColumns);
  if (!listing.Configure(options.listing, streams.err)) return kExitUsage;
  bool all_read = true;
  for (int type = 0; type < kShiftTypeCount; ++type) {
    if (only < 0 || only == type) all_read = ListType(type, listing, streams) && all_read;
  }
  return listing.Write(all_read ? kExitOk : kExitBadInput, streams);
}

constexpr CatalogueValues kValues{.angles = false, .lengths = true};

}  // namespace

void AddDatumsCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<Options>();
  CLI::App* command = app.add_subcommand(
      "datums",
      "List the datum shifts Orvale knows, type by type: the built-in entries, then the\n"
      "user's record files (*.DMF Helmert shifts, *.GSF latitude/longitude shifts,\n"
      "*.GRD grid shifts in the record folder, see 'orvale folders') numbered from 0 in\n"
      "name order. Select one with 'orvale helmert --datum TYPE/NUMBER' or by its name.\n"
      "Helmert parameters are as stored: dx, dy, dz in metres, rx, ry, rz in seconds of\n"
      "arc, the scale in parts per million, with the rotation convention; grid-file\n"
      "shifts (Ordnance Survey, NADCON, Canada NTv2) list no parameters. The table\n"
      "leaves out columns that no row fills. A record file that cannot be read is\n"
      "listed by its file name without values and named on standard error with the\n"
      "reason, and the exit status is then 1.\n" +
          CatalogueHelp(kValues) + "Shift types (--type):\n" + ShiftTypeHelp() +
          "\nExamples:\n"
          "  orvale datums --type wgs84\n"
          "  orvale datums --csv -o datums.csv\n"
          "  orvale helmert --datum wgs84/2 --from geog --to geog 52,1.5,0\n");
  command->add_option("--type", options->type,
                      "Only this shift type: its number 0..9 or its key (below)");
  AddCatalogueOptions(*command, options->listing, kValues);
  command->callback([options, &streams, &status] { status = RunDatums(*options, streams); });
}

}  // namespace orvale::cli
