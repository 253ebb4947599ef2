// orvale spheroids: the spheroid catalogue as every Orvale program sees it, the
// built-in rows followed by the user's record files, as an aligned table or as CSV.

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "commands.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "orvale/engine/spheroid/spheroid_records.h"
#include "orvale/platform/text_encoding.h"
#include "orvale/storage/record_status.h"
#include "output_check.h"
#include "text_fields.h"

namespace orvale::cli {
namespace {

constexpr std::string_view kCommand = "spheroids";
constexpr std::size_t kColumnCount = 7;
using Row = std::array<std::string, kColumnCount>;  // Windows-1252 texts

const Row kTableHeader = {"Index", "EPSG", "Name", "Country", "a (m)", "b (m)", "1/f"};
const Row kCsvHeader = {"index", "epsg", "name", "country", "a", "b", "inverse_flattening"};
constexpr std::array<bool, kColumnCount> kRightAligned = {true, true, false, false,
                                                          true, true, true};

// The shortest text that reads back as the same double, so nothing is rounded away.
std::string Number(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

Row Describe(const CSpheroid& spheroid) {
  // A sphere (b = a) has no meaningful inverse flattening to show; the catalogue's
  // 1.0 is only its marker.
  const bool sphere = spheroid.m_SemiMinorAxis == spheroid.m_SemiMajorAxis;
  return {std::to_string(spheroid.m_Index),
          spheroid.m_EPSGNo == 0 ? std::string() : std::to_string(spheroid.m_EPSGNo),
          spheroid.m_Name,
          spheroid.m_Country,
          Number(spheroid.m_SemiMajorAxis),
          Number(spheroid.m_SemiMinorAxis),
          sphere ? std::string() : Number(spheroid.m_InverseFlattening)};
}

struct Catalogue {
  std::vector<Row> rows;
  bool all_read = true;
};

Catalogue ReadCatalogue(const Streams& streams) {
  Catalogue catalogue;
  CSpheroid spheroid;
  for (std::int32_t index = 0; spheroid.SetBuiltIn(index); ++index) {
    catalogue.rows.push_back(Describe(spheroid));
  }
  const RecordListing listing = ListSpheroidRecordFiles();
  catalogue.all_read = ReportRecordFolder(kCommand, listing.problem, streams);
  const std::vector<std::string>& files = listing.files;
  for (std::size_t k = 0; k < files.size(); ++k) {
    const std::int32_t index = kFirstUserSpheroidIndex + static_cast<std::int32_t>(k);
    CSpheroid record;
    record.m_Index = index;
    const RecordStatus status = ReadSpheroidRecord(record, files[k]);
    if (status.ok) {
      catalogue.rows.push_back(Describe(record));
      continue;
    }
    // Still listed, as the editors list it, so the index of every later file holds.
    catalogue.rows.push_back({std::to_string(index), "", files[k], "", "", "", ""});
    catalogue.all_read = false;
    streams.err << "orvale spheroids: " << Printable(files[k])
                << ": cannot be read: " << Printable(status.reason) << "; listed without values\n";
  }
  return catalogue;
}

std::size_t FractionWidth(const std::string& number) {
  const std::size_t point = number.find('.');
  return point == std::string::npos ? 0 : number.size() - point;
}

// Pads numbers on the right so that, once right-aligned, their decimal points line up.
std::vector<Row> AlignDecimalPoints(std::vector<Row> rows) {
  for (std::size_t c = 0; c < kColumnCount; ++c) {
    if (!kRightAligned[c]) continue;
    std::size_t widest = 0;
    for (const Row& row : rows)
      widest = std::max(widest, FractionWidth(row[c]));
    for (Row& row : rows)
      row[c].append(widest - FractionWidth(row[c]), ' ');
  }
  return rows;
}

// A control character in a name is shown as "\xNN" (in UTF-8 before the widths are
// counted, so the columns still line up).
void PrintTable(const std::vector<Row>& rows, std::ostream& out) {
  std::vector<Row> cells{kTableHeader};
  cells.insert(cells.end(), rows.begin(), rows.end());
  cells = AlignDecimalPoints(std::move(cells));
  for (Row& row : cells) {
    for (std::string& cell : row)
      cell = EscapedControls(cell);
  }
  // Widths count Windows-1252 bytes, one per character whatever its UTF-8 length.
  std::array<std::size_t, kColumnCount> widths{};
  for (const Row& row : cells) {
    for (std::size_t c = 0; c < kColumnCount; ++c)
      widths[c] = std::max(widths[c], row[c].size());
  }
  for (const Row& row : cells) {
    std::string line;
    for (std::size_t c = 0; c < kColumnCount; ++c) {
      const std::string padding(widths[c] - row[c].size(), ' ');
      if (c != 0) line += "  ";
      line += kRightAligned[c] ? padding + row[c] : row[c] + padding;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << Cp1252ToUtf8(line) << "\n";
  }
}

void PrintCsv(const std::vector<Row>& rows, std::ostream& out) {
  auto print = [&](const Row& row) {
    std::string line;
    for (std::size_t c = 0; c < kColumnCount; ++c) {
      if (c != 0) line += ',';
      line += CsvField(row[c]);
    }
    out << Cp1252ToUtf8(line) << "\n";
  };
  print(kCsvHeader);
  for (const Row& row : rows)
    print(row);
}

int RunSpheroids(bool csv, const Streams& streams) {
  const Catalogue catalogue = ReadCatalogue(streams);
  if (csv) {
    PrintCsv(catalogue.rows, streams.out);
  } else {
    PrintTable(catalogue.rows, streams.out);
  }
  return catalogue.all_read ? kExitOk : kExitBadInput;
}

}  // namespace

void AddSpheroidsCommand(CLI::App& app, const Streams& streams, int& status) {
  auto csv = std::make_shared<bool>(false);
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
      "the output cannot be written.");
  command->add_flag("--csv", *csv,
                    "Print comma-separated values (RFC 4180 quoting) with a header line\n"
                    "index,epsg,name,country,a,b,inverse_flattening");
  command->callback([csv, &streams, &status] { status = RunSpheroids(*csv, streams); });
}

}  // namespace orvale::cli
