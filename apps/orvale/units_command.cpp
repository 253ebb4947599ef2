// orvale units: the length units Orvale displays, and a metre value in any of them.

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "orvale/engine/angles/units.h"
#include "orvale/platform/text_encoding.h"
#include "text_fields.h"

namespace orvale::cli {
namespace {

struct UnitsOptions {
  std::vector<std::string> metres;
  int mode = UNITS_METRIC;
  int index = 0;
  int imperial_mode = IMPERIAL_FEET;
};

// A decimal number as people write lengths: no hexadecimal, no "nan" or "inf".
bool ReadLength(const std::string& text, double& metres) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first < last && *first == '+') ++first;
  if (first == last ||
      (*first != '-' && *first != '.' && !std::isdigit(static_cast<unsigned char>(*first))))
    return false;
  const auto [end, error] = std::from_chars(first, last, metres, std::chars_format::general);
  return error == std::errc() && end == last && std::isfinite(metres);
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

void ListUnits(const Streams& streams) {
  streams.out << "Metric (--mode 0):\n";
  int index = 0;
  for (const LengthUnit& unit : MetricUnits()) {
    streams.out << "  --index " << index++ << "  " << Cp1252ToUtf8(unit.name) << ": "
                << Fixed(unit.metres_per_unit, 10) << " m\n";
  }
  streams.out << "Imperial (--mode 1), the foot of:\n";
  index = 0;
  for (const LengthUnit& unit : ImperialUnits()) {
    streams.out << "  --index " << index++ << "  " << Cp1252ToUtf8(unit.name) << ": "
                << Fixed(unit.metres_per_unit, 17) << " m\n";
  }
  streams.out << "counted in (--imperial):\n";
  index = 0;
  for (const ImperialSubUnit& sub : ImperialSubUnits()) {
    streams.out << "  " << index++ << "  " << Cp1252ToUtf8(sub.name) << " ("
                << Cp1252ToUtf8(sub.abbreviation) << "), " << sub.feet_per_unit << " ft\n";
  }
}

int RunUnits(const UnitsOptions& options, const Streams& streams) {
  if (options.metres.empty()) {
    ListUnits(streams);
    return kExitOk;
  }
  const double factor = GetUnitFactor(options.mode, options.index, options.imperial_mode);
  const std::string abbreviation =
      Cp1252ToUtf8(GetUnitAbbreviation(options.mode, options.index, options.imperial_mode));
  bool all_ok = true;
  for (const std::string& text : options.metres) {
    double metres = 0.0;
    if (!ReadLength(text, metres)) {
      // In its place, as a bad line of a stream: the output stays one line a length.
      streams.out << "ERROR: not a length in metres: '" << Excerpt(text) << "'\n";
      streams.err << "orvale units: '" << Excerpt(text)
                  << "' is not a length in metres (a finite decimal number)\n";
      all_ok = false;
      continue;
    }
    if (!std::isfinite(metres / factor)) {
      streams.out << "ERROR: too large to show in this unit: '" << Excerpt(text) << "'\n";
      streams.err << "orvale units: '" << Excerpt(text) << "' m is too large to show in "
                  << abbreviation << "\n";
      all_ok = false;
      continue;
    }
    streams.out << Fixed(metres / factor, 4) << " " << abbreviation << "\n";
  }
  return all_ok ? kExitOk : kExitBadInput;
}

}  // namespace

void AddUnitsCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<UnitsOptions>();
  CLI::App* command = app.add_subcommand(
      "units",
      "List the length units, or show lengths given in metres in one of them.\n"
      "A displayed length is the metre value divided by the unit's metres per unit.\n"
      "Example: orvale units 1000 --mode 1 --index 1 --imperial 3   (US survey chains)");
  command->add_option("METRES", options->metres, "Lengths in metres to show in the chosen unit");
  command->add_option("--mode", options->mode, "0 metric, 1 imperial")->check(CLI::Range(0, 1));
  command->add_option("--index", options->index,
                      "Row of the mode's table (see the list): 0..2 metric, 0..11 imperial");
  command->add_option("--imperial", options->imperial_mode, "0 feet, 1 yards, 2 links, 3 chains")
      ->check(CLI::Range(0, 3));
  command->callback([options, &streams, &status] {
    const int rows = static_cast<int>(options->mode == UNITS_METRIC ? MetricUnits().size()
                                                                    : ImperialUnits().size());
    if (options->index < 0 || options->index >= rows) {
      streams.err << "orvale units: --index must be 0.." << rows - 1 << " for this mode, not "
                  << options->index << "\n";
      status = kExitUsage;
      return;
    }
    status = RunUnits(*options, streams);
  });
}

}  // namespace orvale::cli
