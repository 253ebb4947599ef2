#include "orvale/engine/angles/angles.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "orvale/engine/angles/angle_settings.h"

namespace orvale {
namespace {

constexpr int kMaxDecimals = 32;

// The display texts; their widths, signs and letters are the look users know.
constexpr char kDmsFormat[] = "%0*d\xB0 %02d' %0*.*lf\"%c";
constexpr char kDmFormat[] = "%0*d\xB0 %0*.*lf'%c";
constexpr char kDegreesFormat[] = "%0*.*lf\xB0%c";
constexpr char kSignedDegreesFormat[] = "%+0*.*lf\xB0";
constexpr char kUnsignedDegreesFormat[] = "%0*.*lf\xB0";
constexpr char kGradiansFormat[] = "%0*.*lfg%c";
constexpr char kDigitLimitFormat[] = "%0*d";

constexpr std::array<std::string_view, 5> kNotationNames = {{
    "DDD MM SS.SSS Q",
    "DDD MM.MMMMM Q",
    "DDD.DDDDDDDD Q",
    "\xB1"
    "DDD.DDDDDDDD",
    "GRADIANS",
}};
static_assert(kNotationNames.size() == ANGLE_PREF_SAVED);

struct AngleTypeRow {
  int largest_degrees;  // largest whole value offered for entry
  int largest_gradians;
  bool has_sign;         // shows a leading "+" or "-"
  char positive_letter;  // quadrant letter of values >= 0 (0: the type has none)
  char negative_letter;
};

constexpr std::array<AngleTypeRow, 9> kAngleTypes = {{
    {179, 199, true, 0, 0},       // ANGLE_SIGNED
    {359, 399, false, 0, 0},      // ANGLE_BEARING
    {89, 99, true, 0, 0},         // ANGLE_SIGNED_90
    {179, 199, false, 0, 0},      // ANGLE_COMPLEMENT
    {89, 99, false, 'N', 'S'},    // ANGLE_LATITUDE
    {179, 199, false, 'E', 'W'},  // ANGLE_LONGITUDE
    {359, 399, false, 0, 0},      // ANGLE_BEARING_2
    {89, 99, true, 0, 0},         // ANGLE_SIGNED_90_2
    {179, 199, true, 0, 0},       // ANGLE_SIGNED_2
}};
static_assert(kAngleTypes.size() == ANGLE_SIGNED_2);

// Large enough for any double printed with 32 decimals.
using TextBuffer = std::array<char, 512>;

bool IsAngleType(int type) {
  return type >= ANGLE_SIGNED && type <= ANGLE_SIGNED_2;
}

bool IsPrintableNotation(int notation) {
  return notation >= ANGLE_PREF_DMS && notation <= ANGLE_PREF_GRADIANS;
}

const AngleTypeRow& TypeRow(int type) {
  return kAngleTypes[static_cast<std::size_t>(type - 1)];
}

int ValidDecimals(int type, int notation, int decimals) {
  if (decimals < 0 || decimals > kMaxDecimals) return DefaultDecimals(type, notation);
  return decimals;
}

int DegreeWidth(int type, int notation) {
  switch (type) {
    case ANGLE_SIGNED_90:
    case ANGLE_SIGNED_90_2:
      return notation == ANGLE_PREF_GRADIANS ? 3 : 2;
    case ANGLE_LATITUDE:
      return notation == ANGLE_PREF_SIGNED_DEGREES || notation == ANGLE_PREF_GRADIANS ? 3 : 2;
    case ANGLE_LONGITUDE:
      return notation == ANGLE_PREF_SIGNED_DEGREES ? 4 : 3;
    default:
      return 3;
  }
}

// Templates mask digits only: the spare sign position of signed-decimal latitudes and
// longitudes is not an entry position, so their fields stay narrow.
int TemplateDegreeWidth(int type, int notation) {
  switch (type) {
    case ANGLE_SIGNED_90:
    case ANGLE_LATITUDE:
    case ANGLE_SIGNED_90_2:
      return notation == ANGLE_PREF_GRADIANS ? 3 : 2;
    default:
      return 3;
  }
}

// Width of a trailing fraction field ("SS.sssss" or "MM.mmmmm").
int FractionFieldWidth(int decimals) {
  return decimals == 0 ? 2 : decimals + 3;
}

// Width of a whole decimal-degree or gradian value.
int DecimalFieldWidth(int degree_width, int decimals) {
  return decimals == 0 ? degree_width : degree_width + 1 + decimals;
}

int WholeDegrees(double degrees) {
  // An int cannot count the degrees of a nonsense angle; saturate instead.
  if (!(degrees < static_cast<double>(INT_MAX))) return INT_MAX;
  return static_cast<int>(std::floor(degrees));
}

// Seconds above this would print as 60 with `decimals` digits: "59.", as many nines
// as decimals (21 at most, beyond which a double holds no more), then "5".
double SecondsCarryThreshold(int decimals) {
  constexpr char kNines[] = "999999999999999999999";
  char text[32];
  std::snprintf(text, sizeof text, "59.%.*s5", std::clamp(decimals, 0, 21), kNines);
  return std::strtod(text, nullptr);
}

struct Decoration {
  char prefix = 0;  // '+' or '-' for signed types
  char letter = 0;  // quadrant letter for latitudes and longitudes
};

Decoration Decorate(int type, double value, int sign, char quadrant_hint) {
  const AngleTypeRow& row = TypeRow(type);
  Decoration decoration;
  if (row.has_sign) decoration.prefix = sign < 0 ? '-' : '+';
  if (row.positive_letter == 0) return decoration;
  if (value == 0.0) {
    decoration.letter = quadrant_hint != 0 ? quadrant_hint : row.positive_letter;
  } else {
    decoration.letter = sign < 0 ? row.negative_letter : row.positive_letter;
  }
  return decoration;
}

std::string PrintDms(const DMS& split, int width, int decimals, char letter) {
  TextBuffer buffer;
  std::snprintf(buffer.data(), buffer.size(), kDmsFormat, width, split.degrees, split.minutes,
                FractionFieldWidth(decimals), decimals, split.seconds, letter);
  return buffer.data();
}

std::string PrintDm(const DMS& split, int width, int decimals, char letter) {
  TextBuffer buffer;
  std::snprintf(buffer.data(), buffer.size(), kDmFormat, width, split.degrees,
                FractionFieldWidth(decimals), decimals, split.minutes + split.seconds / 60.0,
                letter);
  return buffer.data();
}

std::string PrintDecimal(const char* format, double magnitude, int width, int decimals,
                         char letter) {
  TextBuffer buffer;
  std::snprintf(buffer.data(), buffer.size(), format, DecimalFieldWidth(width, decimals), decimals,
                magnitude, letter);
  return buffer.data();
}

std::string PrintSignedDegrees(double magnitude, int sign, int type, int width, int decimals) {
  TextBuffer buffer;
  const int total_width = DecimalFieldWidth(width, decimals);
  if (TypeRow(type).has_sign) {
    std::snprintf(buffer.data(), buffer.size(), kSignedDegreesFormat, total_width, decimals,
                  magnitude);
    if (sign < 0) buffer[0] = '-';
    return buffer.data();
  }
  // Latitudes and longitudes have no letter here, so south and west show "-" in the
  // position their wider field keeps for it: the text stays unambiguous and the width
  // is the same either way. Other unsigned types show the magnitude alone.
  const bool shows_minus = sign < 0 && (type == ANGLE_LATITUDE || type == ANGLE_LONGITUDE);
  std::snprintf(buffer.data(), buffer.size(), kUnsignedDegreesFormat, total_width, decimals,
                shows_minus ? -magnitude : magnitude);
  return buffer.data();
}

std::string PrintAngle(double value, int type, int notation, int decimals, char quadrant_hint) {
  const bool sexagesimal = notation == ANGLE_PREF_DMS || notation == ANGLE_PREF_DM;
  const DMS split = sexagesimal ? SplitDMS(value, decimals) : DMS{};
  const int sign = sexagesimal ? split.sign : (value >= 0.0 ? 1 : -1);
  const Decoration decoration = Decorate(type, value, sign, quadrant_hint);
  const int width = DegreeWidth(type, notation);
  const double degrees = std::fabs(value) * kDegreesPerRadian;
  std::string text;
  switch (notation) {
    case ANGLE_PREF_DMS:
      text = PrintDms(split, width, decimals, decoration.letter);
      break;
    case ANGLE_PREF_DM:
      text = PrintDm(split, width, decimals, decoration.letter);
      break;
    case ANGLE_PREF_DEGREES:
      text = PrintDecimal(kDegreesFormat, degrees, width, decimals, decoration.letter);
      break;
    case ANGLE_PREF_SIGNED_DEGREES:
      text = PrintSignedDegrees(degrees, sign, type, width, decimals);
      break;
    default:
      text = PrintDecimal(kGradiansFormat, std::fabs(value) * kGradiansPerRadian, width, decimals,
                          decoration.letter);
      break;
  }
  if (decoration.prefix != 0 && (text.empty() || text.front() != decoration.prefix)) {
    text.insert(text.begin(), decoration.prefix);
  }
  MoveSymbolToPoint(text);
  return text;
}

std::string PrintTemplate(int notation, int width, int largest, int decimals, char letter) {
  TextBuffer buffer;
  const double widest_fraction = 60.0 - std::pow(10.0, -decimals);
  const double widest_decimal = largest + 1 - std::pow(10.0, -decimals);
  if (notation == ANGLE_PREF_DMS) {
    std::snprintf(buffer.data(), buffer.size(), kDmsFormat, width, largest, 59, decimals + 2,
                  decimals, decimals == 0 ? 59.0 : widest_fraction, letter);
  } else if (notation == ANGLE_PREF_DM) {
    std::snprintf(buffer.data(), buffer.size(), kDmFormat, width, largest, decimals + 2, decimals,
                  decimals == 0 ? 59.0 : widest_fraction, letter);
  } else if (decimals == 0) {
    std::snprintf(buffer.data(), buffer.size(), kDegreesFormat, width, 0,
                  static_cast<double>(largest), letter);
  } else {
    // Gradians too are masked with the degree sign: the mask only fixes positions.
    std::snprintf(buffer.data(), buffer.size(), kDegreesFormat, width + 1 + decimals, decimals,
                  widest_decimal, letter);
  }
  return buffer.data();
}

// The first digits an entry may reach: "%0*d" of the first value beyond the largest,
// without its trailing zeros ("9" for latitudes, "36" for bearings).
std::string DigitLimit(int width, int largest) {
  TextBuffer buffer;
  std::snprintf(buffer.data(), buffer.size(), kDigitLimitFormat, width, largest + 1);
  std::string limit = buffer.data();
  while (!limit.empty() && limit.back() == '0')
    limit.pop_back();
  return limit;
}

bool IsUnitSymbol(char c) {
  return c == kDegreeSign || c == '\'' || c == '"' || c == 'g';
}

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Positions within a four-decimal DMS text of a two-digit degree field:
// "51\xB0 30' 15\".1234N" (wider degree fields shift them all).
constexpr int kCompactDecimals = 4;
constexpr std::size_t kMinutesAt = 4;
constexpr std::size_t kSecondsAt = 8;
constexpr std::size_t kPointAt = 11;
constexpr std::size_t kFractionAt = 12;
constexpr std::size_t kCompactLength = 17;

bool AllZeros(std::string_view digits) {
  return digits.find_first_not_of('0') == std::string_view::npos;
}

std::string CompactBody(std::string body, std::size_t shift) {
  const std::string_view digits = std::string_view(body).substr(kFractionAt + shift);
  if (!AllZeros(digits)) {
    while (body.size() > kFractionAt + shift + 1 && body.back() == '0')
      body.pop_back();
    return body;
  }
  // The point goes with its zeros: "15\"." would read as a typing slip.
  body.resize(kPointAt + shift);
  if (body.compare(kSecondsAt + shift, 2, "00") != 0) return body;
  body.resize(kSecondsAt + shift - 1);
  if (body.compare(kMinutesAt + shift, 2, "00") != 0) return body;
  body.resize(kMinutesAt + shift - 1);
  return body;
}

}  // namespace

std::string_view AngleNotationName(int notation) {
  if (!IsPrintableNotation(notation)) return {};
  return kNotationNames[static_cast<std::size_t>(notation)];
}

int DefaultDecimals(int type, int notation) {
  if (type >= ANGLE_BEARING_2 && type <= ANGLE_SIGNED_2) return 2;
  if (!IsAngleType(type)) return 0;
  switch (notation) {
    case ANGLE_PREF_DMS:
      return 5;
    case ANGLE_PREF_DM:
      return 7;
    case ANGLE_PREF_DEGREES:
    case ANGLE_PREF_SIGNED_DEGREES:
    case ANGLE_PREF_GRADIANS:
      return 9;
    default:
      return 0;
  }
}

DMS SplitDMS(double radians, int decimals) {
  const double signed_degrees = radians * kDegreesPerRadian;
  const double degrees = std::fabs(signed_degrees);
  DMS split;
  split.sign = signed_degrees < 0.0 ? -1 : 1;
  split.degrees = WholeDegrees(degrees);
  if (split.degrees == INT_MAX) return split;
  const double minutes = (degrees - split.degrees) * 60.0;
  split.minutes = static_cast<int>(std::floor(minutes));
  split.seconds = (minutes - split.minutes) * 60.0;
  if (split.seconds > SecondsCarryThreshold(decimals)) {
    split.seconds = 0.0;
    if (++split.minutes == 60) {
      split.minutes = 0;
      ++split.degrees;
    }
  }
  return split;
}

void MoveSymbolToPoint(std::string& text) {
  const std::size_t point = text.find('.');
  if (point == std::string::npos) return;
  std::size_t after = point + 1;
  while (after < text.size() && IsDigit(text[after]))
    ++after;
  if (after == text.size() || !IsUnitSymbol(text[after])) return;
  const char symbol = text[after];
  text.erase(after, 1);
  text.insert(text.begin() + static_cast<std::ptrdiff_t>(point), symbol);
}

std::string FormatAngle(double radians, int type, int notation, int decimals, char quadrant_hint) {
  if (notation == ANGLE_PREF_SAVED) {
    const AngleFormat saved = GetSavedAngleFormat(type);
    // A saved "use the saved setting" would only refer to itself.
    if (saved.notation == ANGLE_PREF_SAVED) return {};
    return FormatAngle(radians, type, saved.notation, saved.decimals, saved.quadrant);
  }
  decimals = ValidDecimals(type, notation, decimals);
  if (radians == kNoAngle) return {};
  if (radians == kNotApplicableAngle) return "n/a";
  // Infinities and NaN have no digits to show; treat them as no value too.
  if (!std::isfinite(radians)) return {};
  if (type == ANGLE_COMPLEMENT) radians = kHalfPi - radians;
  if (!IsPrintableNotation(notation) || !IsAngleType(type)) return {};
  return PrintAngle(radians, type, notation, decimals, quadrant_hint);
}

AngleTemplate BuildAngleTemplate(int type, int notation, int decimals) {
  if (notation == ANGLE_PREF_SAVED) {
    // The mask must fit what FormatAngle shows for the saved setting.
    const AngleFormat saved = GetSavedAngleFormat(type);
    notation = saved.notation;
    decimals = saved.decimals;
  }
  if (!IsAngleType(type) || !IsPrintableNotation(notation)) return {};
  // Callers asking for "the usual" decimals get the template FormatAngle would fill.
  decimals = ValidDecimals(type, notation, decimals);
  const AngleTypeRow& row = TypeRow(type);
  const int largest = notation == ANGLE_PREF_GRADIANS ? row.largest_gradians : row.largest_degrees;
  const int width = TemplateDegreeWidth(type, notation);
  AngleTemplate shape;
  shape.text = PrintTemplate(notation, width, largest, decimals, row.positive_letter);
  if (row.has_sign) shape.text.insert(shape.text.begin(), '+');
  MoveSymbolToPoint(shape.text);
  shape.digit_limit = DigitLimit(width, largest);
  return shape;
}

char NormaliseQuadrant(char letter) {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  return upper == 'N' || upper == 'S' || upper == 'E' || upper == 'W' ? upper : 0;
}

std::string FormatCompactDMS(double radians, int type) {
  if (type != ANGLE_LATITUDE && type != ANGLE_LONGITUDE) return {};
  // Four decimals give the fixed positions the list columns were laid out for.
  std::string text = FormatAngle(radians, type, ANGLE_PREF_DMS, kCompactDecimals);
  const std::size_t degree_sign = text.find(kDegreeSign);
  if (degree_sign == std::string::npos || degree_sign < 2) return text;
  const std::size_t shift = degree_sign - 2;
  if (text.size() != kCompactLength + shift) return text;
  const char letter = text.back();
  text.pop_back();
  return CompactBody(std::move(text), shift) + letter;
}

CAngle& CAngle::operator=(double radians) {
  m_Radians = radians;
  m_Degrees = radians * kDegreesPerRadian;
  m_Sin = std::sin(radians);
  m_Cos = std::cos(radians);
  return *this;
}

}  // namespace orvale
