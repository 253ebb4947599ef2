// orvale projections: the projection catalogue as every Orvale program sees it, by
// type: the built-in rows, then the user's record files, as an aligned table, CSV or
// JSON.

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue_listing.h"
#include "commands.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_records.h"
#include "orvale/platform/text_encoding.h"
#include "output_check.h"
#include "projection_select.h"

namespace orvale::cli {
namespace {

constexpr std::string_view kCommand = "projections";

// The NAD 27 "Lambert Tables" rows hold their tables' constants: a false origin in US
// survey feet and a central meridian west positive, which are shown as they stand.
bool HoldsTableConstants(const CProjection& p) {
  return p.m_Type == PROJECTION_STATE_PLANE && p.m_Method == 1;
}

const std::vector<CatalogueColumn> kColumns = {{"type", "Type", true},
                                               {"row", "Row", true},
                                               {"method", "Method", true},
                                               {"name", "Name", false},
                                               {"country", "Country", false},
                                               {"spheroid", "Spheroid", false},
                                               {"lat0",
                                                "\xCF\x86"
                                                "0 (\xC2\xB0)",
                                                true},
                                               {"lon0",
                                                "\xCE\xBB"
                                                "0 (\xC2\xB0)",
                                                true},
                                               {"fe", "FE", true, true},
                                               {"fn", "FN", true, true},
                                               {"k0", "k0", true}};

void DescribeUnread(const CatalogueEntry& entry, CatalogueWriter& listing) {
  RowWriter& row = listing.NewRow();
  listing.Count(row, entry.type);
  listing.Count(row, entry.index);
  row.Missing();
  listing.Text(row, Cp1252ToUtf8(entry.file));
  for (int k = 0; k < 7; ++k)
    row.Missing();
}

void Describe(const CatalogueEntry& entry, const CProjection& p, CatalogueWriter& listing) {
  if (!entry.readable) {
    DescribeUnread(entry, listing);
    return;
  }
  std::string spheroid;
  // A UTM zone is computed on whatever spheroid it is given.
  if (p.m_Spheroid != nullptr && p.m_Type != PROJECTION_UTM) {
    spheroid = p.m_Spheroid->m_Country.empty()
                   ? p.m_Spheroid->m_Name
                   : p.m_Spheroid->m_Name + " " + p.m_Spheroid->m_Country;
  }
  RowWriter& row = listing.NewRow();
  listing.Count(row, entry.type);
  listing.Count(row, entry.index);
  listing.Count(row, p.m_Method);
  listing.Text(row, Cp1252ToUtf8(p.m_Name));
  listing.Text(row, Cp1252ToUtf8(p.m_Country));
  listing.Text(row, Cp1252ToUtf8(spheroid));
  listing.Angle(row, p.m_OriginLatitude, ANGLE_LATITUDE);
  if (HoldsTableConstants(p)) {
    listing.Exact(row, p.m_CentralMeridian / kRadiansPerDegree);
    listing.Exact(row, p.m_FalseEasting);
    listing.Exact(row, p.m_FalseNorthing);
  } else {
    listing.Angle(row, p.m_CentralMeridian, ANGLE_LONGITUDE);
    listing.Length(row, p.m_FalseEasting);
    listing.Length(row, p.m_FalseNorthing);
  }
  listing.Exact(row, p.m_ScaleFactor);
}

// True when every record was read.
bool ListCatalogue(int type, CatalogueWriter& listing, const Streams& streams) {
  bool all_read = ReportRecordFolder(kCommand, ListProjectionRecordFiles().problem, streams);
  CSpheroid spheroid;
  CProjection scratch;
  scratch.m_Spheroid = &spheroid;
  const std::vector<std::string> uncounted =
      VisitCatalogue(type, scratch, [&](const CatalogueEntry& entry, const CProjection& p) {
        Describe(entry, p, listing);
        if (entry.readable) return;
        // Changed since it was counted: still listed, so the index of every later record holds.
        all_read = false;
        streams.err << "orvale projections: " << Printable(entry.file)
                    << ": cannot be read (changed while it was listed); listed without values\n";
      });
  for (const std::string& file : uncounted) {
    all_read = false;
    // Read again for its reason: a file that counts for no type is rare.
    const RecordStatus status = ReadProjectionRecordFile(scratch, file);
    streams.err << "orvale projections: " << Printable(file) << ": cannot be read: "
                << Printable(status.ok ? "it changed while it was listed" : status.reason)
                << "; counted for no type\n";
  }
  return all_read;
}

struct Options {
  std::string type;
  CatalogueOptions listing;
};

int RunProjections(const Options& options, const Streams& streams) {
  int type = -1;
  std::string problem;
  if (!options.type.empty() && !ProjectionTypeFromText(options.type, type, problem)) {
    streams.err << "orvale projections: --type: " << problem << "\n";
    return kExitUsage;
  }
  CatalogueWriter listing("orvale projections", kColumns);
  if (!listing.Configure(options.listing, streams.err)) return kExitUsage;
  const bool all_read = ListCatalogue(type, listing, streams);
  return listing.Write(all_read ? kExitOk : kExitBadInput, streams);
}

}  // namespace

constexpr CatalogueValues kValues{.angles = true, .lengths = true};

void AddProjectionsCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<Options>();
  CLI::App* command = app.add_subcommand(
      "projections",
      "List the projections Orvale knows, type by type in the order of their catalogue\n"
      "index: the built-in rows, then the user's record files (*.PRJ in the record\n"
      "folder, see 'orvale folders') numbered after the built-in rows of their type, in\n"
      "name order (for UTM, state-plane and Norwegian zones the built-in rows shadow\n"
      "records of the same index). Select one with 'orvale project --projection\n"
      "TYPE/ROW'. UTM zones are listed north of the equator (method 1 is the south) and\n"
      "on no spheroid of their own. Angles are degrees, FE and FN metres, except that\n"
      "the NAD 27 'Lambert Tables' rows show their tables' false origin in US survey\n"
      "feet and their central meridian west positive. A record file that cannot be read\n"
      "counts for no type and takes no row: it is named on standard error with the\n"
      "reason (cut short or too long; an unknown type or method; a value that is not\n"
      "finite, a latitude beyond 90 or a central meridian beyond 360 degrees either\n"
      "way, a false origin beyond 100 000 km, a scale factor not above 0; a spheroid\n"
      "that is neither built in nor a record). So are a record folder that cannot be\n"
      "had or listed and a redirect in MyData.INI that cannot be followed. The exit\n"
      "status is then 1, as it is when the output cannot be written.\n" +
          CatalogueHelp(kValues) +
          "\nExamples:\n"
          "  orvale projections --type lambert\n"
          "  orvale projections --type tm --angles dms\n"
          "  orvale projections --format json -o projections.jsonl");
  command->add_option("--type", options->type,
                      "Only this projection type: its number 0..14 or its name (utm, tm, gk,\n"
                      "tm-south, tm-usa, mercator, lambert, cassini, azimuthal,\n"
                      "stereographic, polyconic, rso, state-plane, norwegian, danish)");
  AddCatalogueOptions(*command, options->listing, kValues);
  command->callback([options, &streams, &status] { status = RunProjections(*options, streams); });
}

}  // namespace orvale::cli
