#pragma once
// The catalogue commands (projections, spheroids, and every later catalogue) write
// their rows through the point pipeline's writer, so a listing comes in the same
// forms as a command's results: an aligned table on screen, CSV with a header, or
// JSON lines with the CSV header's keys; angles in the user's notation and lengths in
// the user's unit when asked; and --output written whole or not at all.

#include <CLI/CLI.hpp>

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "cli.h"
#include "point_pipeline.h"

namespace orvale::cli {

struct CatalogueColumn {
  std::string key;      // the CSV header's name and the JSON key
  std::string heading;  // the table's heading, UTF-8
  bool number = false;  // right-aligned in the table, decimal points lined up
  bool length = false;  // a length: its heading's "(m)" names the --units unit
};

struct CatalogueOptions {
  std::string format = "text";
  bool csv = false;
  bool json = false;
  std::string output;
  std::string angles;
  std::string units;
  int decimals = -1;
  std::vector<CLI::Option*> named;  // --angles, --units, --decimals, when offered
  bool Given(std::string_view name) const;
};

// What the listing offers beyond its format and output file.
struct CatalogueValues {
  bool angles = false;   // it lists angles: --angles applies
  bool lengths = false;  // it lists lengths: --units applies
};

void AddCatalogueOptions(CLI::App& command, CatalogueOptions& options, CatalogueValues values);

// The help text's part about the listing's forms.
std::string CatalogueHelp(CatalogueValues values);

class CatalogueWriter {
 public:
  CatalogueWriter(std::string command, std::vector<CatalogueColumn> columns);
  CatalogueWriter(const CatalogueWriter&) = delete;
  CatalogueWriter& operator=(const CatalogueWriter&) = delete;

  // Reads the options into the style; false, with "<command>: problem" said on `err`,
  // for a wrong command line.
  [[nodiscard]] bool Configure(const CatalogueOptions& options, std::ostream& err);

  // A new row, whose cells are added in column order with the writers below.
  RowWriter& NewRow();
  void Text(RowWriter& row, std::string_view utf8) const;
  void Count(RowWriter& row, long long value) const;
  // Without --units or --decimals, metres as the shortest text that reads back as the
  // same double, so nothing is rounded away.
  void Length(RowWriter& row, double metres) const;
  // Without --angles or --decimals, degrees to ten decimals without trailing zeros.
  void Angle(RowWriter& row, double radians, int type) const;
  // A value that is no angle or length of the listing's units (a table's constant):
  // the shortest text that reads back.
  void Exact(RowWriter& row, double value) const;

  // Writes every row in the chosen form to standard output or the --output file;
  // returns `status`, or kExitBadInput when the file could not be put in place.
  int Write(int status, const Streams& streams) const;

 private:
  void WriteTable(std::ostream& out) const;
  std::string CsvOrJson() const;

  std::string command_;
  std::vector<CatalogueColumn> columns_;
  std::string output_;
  std::string units_;  // as given to --units, for the table's headings
  ValueStyle style_;
  bool exact_lengths_ = true;
  bool exact_angles_ = true;
  std::deque<RowWriter> rows_;  // a deque: each row keeps a reference to style_
};

}  // namespace orvale::cli
