// orvale angle: shows how an angle is displayed and read back, one angle per
// argument or per line of standard input.

#include <array>
#include <charconv>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/platform/text_encoding.h"
#include "point_stream.h"
#include "text_fields.h"
#include "text_options.h"

namespace orvale::cli {
namespace {

constexpr std::array<NamedValue, 9> kTypeNames = {{
    {"signed", ANGLE_SIGNED, "leading + or -, -180..180"},
    {"bearing", ANGLE_BEARING, "0..360, no sign"},
    {"signed90", ANGLE_SIGNED_90, "leading + or -, -90..90"},
    {"complement", ANGLE_COMPLEMENT, "shows 90 degrees minus the value (zenith <-> elevation)"},
    {"latitude", ANGLE_LATITUDE, "trailing N or S"},
    {"longitude", ANGLE_LONGITUDE, "trailing E or W"},
    {"bearing2", ANGLE_BEARING_2, "as bearing, 2 decimals by default"},
    {"signed90-2", ANGLE_SIGNED_90_2, "as signed90, 2 decimals by default"},
    {"signed2", ANGLE_SIGNED_2, "as signed, 2 decimals by default"},
}};

constexpr std::array<NamedValue, 6> kNotationNames = {{
    {"dms", ANGLE_PREF_DMS, "degrees, minutes and seconds: 51\xB0 30' 15\".00000N"},
    {"dm", ANGLE_PREF_DM, "degrees and decimal minutes: 51\xB0 30'.2500000N"},
    {"degrees", ANGLE_PREF_DEGREES, "decimal degrees: 51\xB0.504166667N"},
    {"signed-degrees", ANGLE_PREF_SIGNED_DEGREES,
     "signed decimal degrees: +51\xB0.504166667 (a latitude: 051\xB0.504166667)"},
    {"gradians", ANGLE_PREF_GRADIANS, "gradians: 057g.226851852N"},
    {"saved", ANGLE_PREF_SAVED, "the notation saved in the user's angle settings"},
}};

struct AngleOptions {
  std::vector<std::string> angles;
  std::string type = "signed";
  std::string notation = "dms";
  int decimals = -1;
  std::string hint;
  bool in_radians = false;
  bool out_radians = false;
  bool show_template = false;
  bool cp1252 = false;
  bool decimals_given = false;
};

constexpr int kMostDecimals = 32;
constexpr double kNotApplicableRadians = -1.0;

struct Settings {
  int type = ANGLE_SIGNED;
  int notation = ANGLE_PREF_DMS;
  char hint = 0;
};

std::string ToOutput(const std::string& text, const AngleOptions& options) {
  return options.cp1252 ? text : Cp1252ToUtf8(text);
}

// Reads one input angle; on failure returns false with a reason.
bool ReadAngle(const std::string& input, const AngleOptions& options, const Settings& settings,
               double& radians, std::string& reason) {
  if (options.in_radians) {
    const char* first = input.data();
    const char* last = first + input.size();
    while (first < last && *first == ' ')
      ++first;
    while (last > first && last[-1] == ' ')
      --last;
    if (first < last && *first == '+' && last - first > 1 && first[1] != '-') ++first;
    const auto [end, error] = std::from_chars(first, last, radians);
    if (error != std::errc() || end != last || first == last) {
      reason = "not a number of radians: '" + Excerpt(input) + "'";
      return false;
    }
    // Out of its type's range (or not finite) an angle would print as a made-up or
    // saturated text.
    if (!CheckAngleRange(radians, settings.type, reason)) {
      reason = "'" + Excerpt(input) + "': " + Cp1252ToUtf8(reason);
      return false;
    }
  } else {
    const auto text = Utf8AngleToCp1252(input);
    if (!text) {
      reason = EncodingProblem(input);
      return false;
    }
    const int parse_notation =
        settings.notation == ANGLE_PREF_SAVED ? ANGLE_PREF_DMS : settings.notation;
    const AngleParseResult parsed = ParseAngle(*text, settings.type, parse_notation);
    if (!parsed.ok) {
      reason = "'" + Excerpt(input) + "': " + Cp1252ToUtf8(parsed.error);
      return false;
    }
    radians = parsed.radians;
  }
  // The display keeps exactly -1 radian as its "n/a" mark: such an angle would show
  // as no value at all.
  if (radians == kNotApplicableRadians && !options.out_radians) {
    reason = "'" + Excerpt(input) + "' is exactly -1 radian, which the display shows as n/a";
    return false;
  }
  return true;
}

std::string Show(double radians, const AngleOptions& options, const Settings& settings) {
  if (options.out_radians) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", radians);
    return text;
  }
  return ToOutput(
      FormatAngle(radians, settings.type, settings.notation, options.decimals, settings.hint),
      options);
}

// Converts one input; returns false when it was refused.
bool ConvertOne(std::string_view input, const std::string& where, const AngleOptions& options,
                const Settings& settings, const Streams& streams) {
  double radians = 0.0;
  std::string reason;
  if (!ReadAngle(std::string(input), options, settings, radians, reason)) {
    streams.out << "ERROR: " << reason << "\n";
    streams.err << "orvale angle: " << where << ": " << reason << "\n";
    return false;
  }
  streams.out << Show(radians, options, settings) << "\n";
  return true;
}

// Angles from the lines of standard input, each line's result in its place.
bool ConvertLines(const AngleOptions& options, const Settings& settings, const Streams& streams) {
  bool all_ok = true;
  LineReader reader(streams.in);
  std::string_view line;
  bool too_long = false;
  std::uint64_t bytes = 0;
  for (std::uint64_t number = 1; streams.out && reader.Next(line, too_long, bytes); ++number) {
    const std::string where = "line " + std::to_string(number);
    if (too_long) {
      const std::string reason =
          "line longer than " + std::to_string(kMaxLineBytes) + " bytes, skipped";
      streams.out << "ERROR: " << reason << "\n";
      streams.err << "orvale angle: " << where << ": " << reason << "\n";
      all_ok = false;
      continue;
    }
    all_ok &= ConvertOne(line, where, options, settings, streams);
  }
  return InputReadToEnd(streams.in, streams.err, "orvale angle") && all_ok;
}

int RunAngle(const AngleOptions& options, const Streams& streams) {
  Settings settings;
  std::string problem;
  if (options.decimals_given && (options.decimals < 0 || options.decimals > kMostDecimals)) {
    streams.err << "orvale angle: --decimals must be 0.." << kMostDecimals << ", not "
                << options.decimals << "\n";
    return kExitUsage;
  }
  if (!LookUp(kTypeNames, options.type, settings.type, problem) ||
      !LookUp(kNotationNames, options.notation, settings.notation, problem)) {
    streams.err << "orvale angle: " << problem << "\n";
    return kExitUsage;
  }
  if (!options.hint.empty()) {
    settings.hint = NormaliseQuadrant(options.hint.size() == 1 ? options.hint[0] : '?');
    if (settings.hint == 0) {
      streams.err << "orvale angle: --hint takes one of N, S, E, W, not '" << options.hint << "'\n";
      return kExitUsage;
    }
  }
  if (options.show_template) {
    const AngleTemplate shape =
        BuildAngleTemplate(settings.type, settings.notation, options.decimals);
    streams.out << ToOutput(shape.text, options) << "\t" << shape.digit_limit << "\n";
    return kExitOk;
  }
  bool all_ok = true;
  if (!options.angles.empty()) {
    for (std::size_t i = 0; i < options.angles.size(); ++i) {
      all_ok &= ConvertOne(options.angles[i], "argument " + std::to_string(i + 1), options,
                           settings, streams);
    }
  } else {
    if (!IsReadableInput({}, streams.in_descriptor, problem)) {
      streams.err << "orvale angle: " << problem << "\n";
      return kExitUsage;
    }
    all_ok = ConvertLines(options, settings, streams);
  }
  return all_ok ? kExitOk : kExitBadInput;
}

}  // namespace

void AddAngleCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<AngleOptions>();
  CLI::App* command = app.add_subcommand(
      "angle",
      "Show angles as Orvale displays them, and read typed angles back.\n"
      "Each ANGLE is read as the --type says (decimal degrees, DMS with or without\n"
      "symbols, quadrant letters, gradians with a 'g') and printed in --notation.\n"
      "Without ANGLE arguments, one angle is read from each line of standard input;\n"
      "a line that cannot be read, or whose angle is beyond what the type shows (a\n"
      "latitude beyond 90 degrees, say), prints 'ERROR: reason' in its place.\n"
      "Minutes and seconds must be below 60; give a sign or a quadrant letter, not both.");
  command->add_option("ANGLE", options->angles, "Angles to show, e.g. 51.5 or \"51 30 15.2N\"");
  command->add_option("-t,--type", options->type, "Angle type:\n" + Describe(kTypeNames))
      ->capture_default_str();
  command
      ->add_option("-n,--notation", options->notation,
                   "Notation to print:\n" + Describe(kNotationNames))
      ->capture_default_str();
  CLI::Option* decimals =
      command->add_option("-d,--decimals", options->decimals,
                          "Decimals of the last field, 0..32 (default: 5 for dms, 7 for dm,\n"
                          "9 for decimal notations; 2 for the *2 types)");
  command->add_option("--hint", options->hint,
                      "Quadrant letter shown for an exactly zero latitude or longitude");
  command->add_flag("--in-radians", options->in_radians, "Read the angles as radians");
  command->add_flag("--out-radians", options->out_radians, "Print radians instead of display text");
  command->add_flag("--template", options->show_template,
                    "Print the widest text of the type and notation and its leading-digit\n"
                    "limit (what an entry mask allows), then stop");
  command->add_flag("--cp1252", options->cp1252,
                    "Print Windows-1252 bytes (as stored in Orvale files) instead of UTF-8");
  command->callback([options, decimals, &streams, &status] {
    options->decimals_given = decimals->count() > 0;
    status = RunAngle(*options, streams);
  });
}

}  // namespace orvale::cli
