// orvale projections: the projection catalogue as every Orvale program sees it, by
// type: the built-in rows, then the user's record files, as an aligned table, CSV or
// JSON.

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_records.h"
#include "orvale/platform/text_encoding.h"
#include "output_check.h"
#include "projection_select.h"
#include "text_fields.h"

namespace orvale::cli {
namespace {

constexpr std::string_view kCommand = "projections";

enum class Format { kTable, kCsv, kJson };

constexpr std::size_t kColumnCount = 11;
using Row = std::array<std::string, kColumnCount>;  // UTF-8 texts

// The first six columns are texts in JSON, the last five numbers.
constexpr std::size_t kFirstNumberColumn = 6;
const Row kTableHeader = {"Type",
                          "Row",
                          "Method",
                          "Name",
                          "Country",
                          "Spheroid",
                          "\xCF\x86"
                          "0 (\xC2\xB0)",
                          "\xCE\xBB"
                          "0 (\xC2\xB0)",
                          "FE",
                          "FN",
                          "k0"};
const Row kKeys = {"type", "row",  "method", "name", "country", "spheroid",
                   "lat0", "lon0", "fe",     "fn",   "k0"};
constexpr std::array<bool, kColumnCount> kRightAligned = {true, true, true, false, false, false,
                                                          true, true, true, true,  true};

// The shortest text that reads back as the same double, so nothing is rounded away,
// in plain decimals as surveyors write lengths.
std::string Number(double value) {
  char text[400];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  return std::string(text, result.ptr);
}

// Degrees to ten decimals (the catalogue's own precision), without trailing zeros.
// Dividing by the factor the catalogue multiplied by gives its degrees back exactly;
// the truncated reverse factor would show 175.5 as 175.5000000001.
std::string Degrees(double radians) {
  char text[48];
  std::snprintf(text, sizeof text, "%.10f", radians / kRadiansPerDegree);
  std::string degrees = text;
  degrees.erase(degrees.find_last_not_of('0') + 1);
  if (degrees.back() == '.') degrees.pop_back();
  return degrees == "-0" ? "0" : degrees;
}

Row Describe(const CatalogueEntry& entry, const CProjection& p) {
  if (!entry.readable) {
    return {std::to_string(entry.type),
            std::to_string(entry.index),
            "",
            Cp1252ToUtf8(entry.file),
            "",
            "",
            "",
            "",
            "",
            "",
            ""};
  }
  std::string spheroid;
  // A UTM zone is computed on whatever spheroid it is given.
  if (p.m_Spheroid != nullptr && p.m_Type != PROJECTION_UTM) {
    spheroid = p.m_Spheroid->m_Country.empty()
                   ? p.m_Spheroid->m_Name
                   : p.m_Spheroid->m_Name + " " + p.m_Spheroid->m_Country;
  }
  return {std::to_string(entry.type),  std::to_string(entry.index),  std::to_string(p.m_Method),
          Cp1252ToUtf8(p.m_Name),      Cp1252ToUtf8(p.m_Country),    Cp1252ToUtf8(spheroid),
          Degrees(p.m_OriginLatitude), Degrees(p.m_CentralMeridian), Number(p.m_FalseEasting),
          Number(p.m_FalseNorthing),   Number(p.m_ScaleFactor)};
}

struct Catalogue {
  std::vector<Row> rows;
  bool all_read = true;
};

Catalogue ReadCatalogue(int type, const Streams& streams) {
  Catalogue catalogue;
  catalogue.all_read = ReportRecordFolder(kCommand, ListProjectionRecordFiles().problem, streams);
  CSpheroid spheroid;
  CProjection scratch;
  scratch.m_Spheroid = &spheroid;
  const std::vector<std::string> uncounted =
      VisitCatalogue(type, scratch, [&](const CatalogueEntry& entry, const CProjection& p) {
        catalogue.rows.push_back(Describe(entry, p));
        if (entry.readable) return;
        // Changed since it was counted: still listed, so the index of every later record holds.
        catalogue.all_read = false;
        streams.err << "orvale projections: " << Printable(entry.file)
                    << ": cannot be read (changed while it was listed); listed without values\n";
      });
  for (const std::string& file : uncounted) {
    catalogue.all_read = false;
    // Read again for its reason: a file that counts for no type is rare.
    const RecordStatus status = ReadProjectionRecordFile(scratch, file);
    streams.err << "orvale projections: " << Printable(file) << ": cannot be read: "
                << Printable(status.ok ? "it changed while it was listed" : status.reason)
                << "; counted for no type\n";
  }
  return catalogue;
}

// Characters on screen: every UTF-8 sequence counts once.
std::size_t DisplayWidth(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

void PrintTable(const std::vector<Row>& rows, std::ostream& out) {
  std::array<std::size_t, kColumnCount> widths{};
  for (std::size_t c = 0; c < kColumnCount; ++c)
    widths[c] = DisplayWidth(kTableHeader[c]);
  for (const Row& row : rows) {
    for (std::size_t c = 0; c < kColumnCount; ++c) {
      widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
  }
  auto print = [&](const Row& row) {
    std::string line;
    for (std::size_t c = 0; c < kColumnCount; ++c) {
      const std::string padding(widths[c] - DisplayWidth(row[c]), ' ');
      if (c != 0) line += "  ";
      line += kRightAligned[c] ? padding + row[c] : row[c] + padding;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << "\n";
  };
  print(kTableHeader);
  for (const Row& row : rows)
    print(row);
}

// A control character in a name is shown as "\xNN" before the widths are counted.
void PrintEscapedTable(std::vector<Row> rows, std::ostream& out) {
  for (Row& row : rows) {
    for (std::string& cell : row)
      cell = EscapedControls(cell);
  }
  PrintTable(rows, out);
}

void PrintCsv(const std::vector<Row>& rows, std::ostream& out) {
  auto print = [&](const Row& row) {
    std::string line;
    for (std::size_t c = 0; c < kColumnCount; ++c) {
      if (c != 0) line += ',';
      line += CsvField(row[c]);
    }
    out << line << "\n";
  };
  print(kKeys);
  for (const Row& row : rows)
    print(row);
}

void PrintJson(const std::vector<Row>& rows, std::ostream& out) {
  out << "[";
  for (std::size_t r = 0; r < rows.size(); ++r) {
    out << (r == 0 ? "\n  {" : ",\n  {");
    for (std::size_t c = 0; c < kColumnCount; ++c) {
      const std::string& value = rows[r][c];
      const bool number = c < 3 || c >= kFirstNumberColumn;
      out << (c == 0 ? "" : ", ") << JsonString(kKeys[c]) << ": "
          << (!number         ? JsonString(value)
              : value.empty() ? "null"
                              : value);
    }
    out << "}";
  }
  out << (rows.empty() ? "]\n" : "\n]\n");
}

struct Options {
  std::string type;
  bool csv = false;
  bool json = false;
};

int RunProjections(const Options& options, const Streams& streams) {
  int type = -1;
  std::string problem;
  if (!options.type.empty() && !ProjectionTypeFromText(options.type, type, problem)) {
    streams.err << "orvale projections: --type: " << problem << "\n";
    return kExitUsage;
  }
  const Catalogue catalogue = ReadCatalogue(type, streams);
  if (options.json) {
    PrintJson(catalogue.rows, streams.out);
  } else if (options.csv) {
    PrintCsv(catalogue.rows, streams.out);
  } else {
    PrintEscapedTable(catalogue.rows, streams.out);
  }
  return catalogue.all_read ? kExitOk : kExitBadInput;
}

}  // namespace

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
      "status is then 1, as it is when the output cannot be written.");
  command->add_option("--type", options->type,
                      "Only this projection type: its number 0..14 or its name (utm, tm, gk,\n"
                      "tm-south, tm-usa, mercator, lambert, cassini, azimuthal,\n"
                      "stereographic, polyconic, rso, state-plane, norwegian, danish)");
  auto* csv = command->add_flag("--csv", options->csv,
                                "Print comma-separated values (RFC 4180) with a header line\n"
                                "type,row,method,name,country,spheroid,lat0,lon0,fe,fn,k0");
  command->add_flag("--json", options->json, "Print a JSON array of objects with the keys of --csv")
      ->excludes(csv);
  command->callback([options, &streams, &status] { status = RunProjections(*options, streams); });
}

}  // namespace orvale::cli
