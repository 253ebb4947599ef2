// orvale spheroids: the spheroid catalogue as every Orvale program sees it, the
// built-in rows followed by the user's record files, as an aligned table, CSV or JSON
// lines.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue_listing.h"
#include "commands.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "orvale/engine/spheroid/spheroid_records.h"
#include "orvale/platform/text_encoding.h"
#include "orvale/storage/record_status.h"
#include "output_check.h"

namespace orvale::cli {
namespace {

constexpr std::string_view kCommand = "spheroids";

const std::vector<CatalogueColumn> kColumns = {
    {"index", "Index", true},           {"epsg", "EPSG", true},     {"name", "Name", false},
    {"country", "Country", false},      {"a", "a (m)", true, true}, {"b", "b (m)", true, true},
    {"inverse_flattening", "1/f", true}};

void Describe(const CSpheroid& spheroid, CatalogueWriter& listing) {
  RowWriter& row = listing.NewRow();
  listing.Count(row, spheroid.m_Index);
  if (spheroid.m_EPSGNo == 0) {
    row.Missing();
  } else {
    listing.Count(row, spheroid.m_EPSGNo);
  }
  listing.Text(row, Cp1252ToUtf8(spheroid.m_Name));
  listing.Text(row, Cp1252ToUtf8(spheroid.m_Country));
  listing.Length(row, spheroid.m_SemiMajorAxis);
  listing.Length(row, spheroid.m_SemiMinorAxis);
  // A sphere (b = a) has no meaningful inverse flattening to show; the catalogue's
  // 1.0 is only its marker.
  if (spheroid.m_SemiMinorAxis == spheroid.m_SemiMajorAxis) {
    row.Missing();
  } else {
    listing.Exact(row, spheroid.m_InverseFlattening);
  }
}

// Still listed, as the editors list it, so the index of every later file holds.
void DescribeUnread(std::int32_t index, const std::string& file, CatalogueWriter& listing) {
  RowWriter& row = listing.NewRow();
  listing.Count(row, index);
  row.Missing();
  listing.Text(row, Cp1252ToUtf8(file));
  for (int k = 0; k < 4; ++k)
    row.Missing();
}

// True when every record was read.
bool ListCatalogue(CatalogueWriter& listing, const Streams& streams) {
  CSpheroid spheroid;
  for (std::int32_t index = 0; spheroid.SetBuiltIn(index); ++index)
    Describe(spheroid, listing);
  const RecordListing files = ListSpheroidRecordFiles();
  bool all_read = ReportRecordFolder(kCommand, files.problem, streams);
  for (std::size_t k = 0; k < files.files.size(); ++k) {
    const std::int32_t index = kFirstUserSpheroidIndex + static_cast<std::int32_t>(k);
    CSpheroid record;
    record.m_Index = index;
    const RecordStatus status = ReadSpheroidRecord(record, files.files[k]);
    if (status.ok) {
      Describe(record, listing);
      continue;
    }
    DescribeUnread(index, files.files[k], listing);
    all_read = false;
    streams.err << "orvale spheroids: " << Printable(files.files[k])
                << ": cannot be read: " << Printable(status.reason) << "; listed without values\n";
  }
  return all_read;
}

int RunSpheroids(const CatalogueOptions& options, const Streams& streams) {
  CatalogueWriter listing("orvale spheroids", kColumns);
  if (!listing.Configure(options, streams.err)) return kExitUsage;
  const bool all_read = ListCatalogue(listing, streams);
  return listing.Write(all_read ? kExitOk : kExitBadInput, streams);
}

}  // namespace

void AddSpheroidsCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<CatalogueOptions>();
  const CatalogueValues values{.angles = false, .lengths = true};
  CLI::App* command = app.add_subcommand(
      "spheroids",
      "List the spheroids Orvale knows, in the order of their catalogue index:\n"
      "the 53 built-in rows (0 to 52, with their EPSG ellipsoid codes), then the\n"
      "user's record files (*.SPD in the record folder, see 'orvale folders') from\n"
      "index 53 in name order. a and b are in metres and printed in full; spheres\n"
      "(b = a) show no inverse flattening. A record file that cannot be read (cut\n"
      "short, too long, or holding values that are no spheroid: an axis not above 0,\n"
      "b larger than a, 1/f below 1, b disagreeing with a and 1/f by over a metre)\n"
      "is listed by its file name without values and named on standard error with the\n"
      "reason; so are a record folder that cannot be had or listed and a redirect in\n"
      "MyData.INI that cannot be followed. The exit status is then 1, as it is when\n"
      "the output cannot be written.\n" +
          CatalogueHelp(values) +
          "\nExamples:\n"
          "  orvale spheroids\n"
          "  orvale spheroids --csv -o spheroids.csv\n"
          "  orvale spheroids --units us-ft --decimals 2");
  AddCatalogueOptions(*command, *options, values);
  command->callback([options, &streams, &status] { status = RunSpheroids(*options, streams); });
}

}  // namespace orvale::cli
