#include "orvale/engine/angles/angle_parser.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "orvale/engine/angles/angle_settings.h"

namespace orvale {
namespace {

enum class Unit { kNone, kDegrees, kMinutes, kSeconds, kGradians };

struct TypeRule {
  std::string_view noun;
  double largest_degrees;
  double largest_gradians;
  bool takes_minus;
  char positive_letter;  // 0: the type takes no quadrant letter
  char negative_letter;
};

constexpr std::array<TypeRule, 9> kTypeRules = {{
    {"a signed angle", 180.0, 200.0, true, 0, 0},
    {"a bearing", 360.0, 400.0, false, 0, 0},
    {"a signed angle", 90.0, 100.0, true, 0, 0},
    {"a complement angle", 180.0, 200.0, false, 0, 0},
    {"a latitude", 90.0, 100.0, true, 'N', 'S'},
    {"a longitude", 180.0, 200.0, true, 'E', 'W'},
    {"a bearing", 360.0, 400.0, false, 0, 0},
    {"a signed angle", 90.0, 100.0, true, 0, 0},
    {"a signed angle", 180.0, 200.0, true, 0, 0},
}};
static_assert(kTypeRules.size() == ANGLE_SIGNED_2);

struct Field {
  std::string number;  // digits and at most one point, symbols removed
  Unit unit = Unit::kNone;
  bool has_point = false;
  double value = 0.0;
};

struct Tokens {
  std::vector<Field> fields;
  char sign = 0;    // '+', '-' or 0
  char letter = 0;  // upper-case N, S, E, W or 0
};

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}
bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == ':';
}

std::string Describe(char c) {
  const auto byte = static_cast<unsigned char>(c);
  char text[16];
  if (byte < 0x20 || byte == 0x7F) {
    std::snprintf(text, sizeof text, "0x%02X", byte);
  } else {
    std::snprintf(text, sizeof text, "'%c'", c);
  }
  return text;
}

std::string At(std::size_t index) {
  return " at position " + std::to_string(index + 1);
}

// Splits text into signed, lettered fields; positions in messages count from 1.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  bool Scan(Tokens& tokens) {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      bool fine = true;
      if (IsSeparator(c)) {
        ++pos_;
      } else if (c == '+' || c == '-') {
        fine = TakeSign(tokens);
      } else if (NormaliseQuadrant(c) != 0) {
        fine = TakeLetter(tokens);
      } else if (IsDigit(c) || c == '.') {
        fine = TakeField(tokens);
      } else {
        fine = Fail("unexpected character " + Describe(c) + At(pos_));
      }
      if (!fine) return false;
    }
    return true;
  }

  const std::string& error() const { return error_; }

 private:
  bool Fail(std::string reason) {
    error_ = std::move(reason);
    return false;
  }

  bool TakeSign(Tokens& tokens) {
    if (!tokens.fields.empty()) return Fail("a sign must come before the number" + At(pos_));
    if (tokens.sign != 0) return Fail("a second sign" + At(pos_));
    tokens.sign = text_[pos_++];
    return true;
  }

  bool TakeLetter(Tokens& tokens) {
    const char letter = NormaliseQuadrant(text_[pos_]);
    const bool leading = tokens.fields.empty();
    if (!leading && !OnlyBlanksAfter(pos_ + 1)) {
      return Fail(std::string("a quadrant letter must come first or last: ") + letter + At(pos_));
    }
    if (tokens.letter != 0) return Fail("a second quadrant letter" + At(pos_));
    tokens.letter = letter;
    ++pos_;
    return true;
  }

  bool OnlyBlanksAfter(std::size_t index) const {
    for (; index < text_.size(); ++index) {
      if (!IsSeparator(text_[index])) return false;
    }
    return true;
  }

  // A number with its symbol before the point (as displayed: 15".12) or after it.
  bool TakeField(Tokens& tokens) {
    const std::size_t start = pos_;
    Field field;
    field.number = TakeDigits();
    field.unit = TakeSymbol();
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      field.has_point = true;
      const std::string fraction = TakeDigits();
      if (field.number.empty() && fraction.empty()) {
        return Fail("a decimal point without digits" + At(start));
      }
      field.number += "." + fraction;
      const Unit after = TakeSymbol();
      if (after != Unit::kNone && field.unit != Unit::kNone) {
        return Fail("two unit symbols on one number" + At(start));
      }
      if (after != Unit::kNone) field.unit = after;
    }
    if (pos_ < text_.size() && text_[pos_] == '.') return Fail("a second decimal point" + At(pos_));
    tokens.fields.push_back(std::move(field));
    return true;
  }

  std::string TakeDigits() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && IsDigit(text_[pos_]))
      ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  Unit TakeSymbol() {
    if (pos_ >= text_.size()) return Unit::kNone;
    switch (text_[pos_]) {
      case kDegreeSign:
        ++pos_;
        return Unit::kDegrees;
      case '"':
        ++pos_;
        return Unit::kSeconds;
      case 'g':
      case 'G':
        ++pos_;
        return Unit::kGradians;
      case '\'':
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\'') {
          ++pos_;
          return Unit::kSeconds;
        }
        return Unit::kMinutes;
      default:
        return Unit::kNone;
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::string error_;
};

std::string_view UnitName(Unit unit) {
  switch (unit) {
    case Unit::kMinutes:
      return "minutes";
    case Unit::kSeconds:
      return "seconds";
    case Unit::kGradians:
      return "gradians";
    default:
      return "degrees";
  }
}

Unit NextUnit(Unit previous) {
  switch (previous) {
    case Unit::kDegrees:
      return Unit::kMinutes;
    case Unit::kMinutes:
      return Unit::kSeconds;
    default:
      return Unit::kDegrees;
  }
}

// Units of unmarked fields: by their count when none is marked, else following the
// field before them.
bool AssignUnits(std::vector<Field>& fields, int notation, std::string& error) {
  bool any_marked = false;
  for (const Field& field : fields)
    any_marked |= field.unit != Unit::kNone;
  if (!any_marked && fields.size() > 3) {
    error = "too many numbers: " + std::to_string(fields.size()) +
            " (degrees, minutes and seconds at most)";
    return false;
  }
  if (!any_marked && fields.size() == 1 && notation == ANGLE_PREF_GRADIANS) {
    fields.front().unit = Unit::kGradians;
    return true;
  }
  Unit previous = Unit::kNone;
  for (Field& field : fields) {
    if (field.unit == Unit::kGradians && fields.size() > 1) {
      error = "gradians stand alone, without degrees, minutes or seconds";
      return false;
    }
    if (field.unit == Unit::kNone) {
      if (previous == Unit::kSeconds) {
        error = "a number after the seconds: " + field.number;
        return false;
      }
      field.unit = NextUnit(previous);
    } else if (field.unit <= previous) {
      error = "degrees, minutes and seconds must come once each, in that order";
      return false;
    }
    previous = field.unit;
  }
  return true;
}

bool ReadNumbers(std::vector<Field>& fields, std::string& error) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    Field& field = fields[i];
    if (field.has_point && i + 1 != fields.size()) {
      error = "only the last number may have decimals: " + field.number;
      return false;
    }
    const char* first = field.number.data();
    const char* end = first + field.number.size();
    const auto [stop, status] = std::from_chars(first, end, field.value);
    if (status != std::errc() || stop != end) {
      error = "not a usable number: " + field.number;
      return false;
    }
    const bool sixtieths = field.unit == Unit::kMinutes || field.unit == Unit::kSeconds;
    // 60 is refused in every field, the last included: "51:30:60" and "51:60:00" would
    // otherwise read differently (one carried, one refused), and a typist who means
    // the carry can type it.
    if (sixtieths && field.value >= 60.0) {
      error = std::string(UnitName(field.unit)) + " must be below 60: " + field.number;
      return false;
    }
  }
  return true;
}

// Total of the fields, in degrees or (for a gradian field) in gradians.
double Magnitude(const std::vector<Field>& fields) {
  double degrees = 0.0;
  for (const Field& field : fields) {
    switch (field.unit) {
      case Unit::kMinutes:
        degrees += field.value / 60.0;
        break;
      case Unit::kSeconds:
        degrees += field.value / 3600.0;
        break;
      default:
        degrees += field.value;
        break;
    }
  }
  return degrees;
}

// Whether the sign and letter make the angle negative; sets `error` when the type
// cannot take them or they contradict each other.
bool IsNegative(const Tokens& tokens, const TypeRule& rule, std::string& error) {
  if (tokens.letter != 0 && rule.positive_letter == 0) {
    error = std::string(rule.noun) + " takes no quadrant letter: " + tokens.letter;
    return false;
  }
  if (tokens.letter != 0 && tokens.letter != rule.positive_letter &&
      tokens.letter != rule.negative_letter) {
    error = std::string(rule.noun) + " takes " + rule.positive_letter + " or " +
            rule.negative_letter + ", not " + tokens.letter;
    return false;
  }
  if (tokens.sign == '-' && !rule.takes_minus) {
    error = std::string(rule.noun) + " takes no minus sign";
    return false;
  }
  // "-51S" could mean south (the letter) or north (minus south); refuse it, and any
  // sign beside a letter, rather than guess.
  if (tokens.sign != 0 && tokens.letter != 0) {
    error = std::string("give a sign or a quadrant letter, not both: ") + tokens.sign + " and " +
            tokens.letter;
    return false;
  }
  return tokens.sign == '-' || (tokens.letter != 0 && tokens.letter == rule.negative_letter);
}

bool WithinLimit(double magnitude, bool gradians, const TypeRule& rule, std::string& error) {
  const double largest = gradians ? rule.largest_gradians : rule.largest_degrees;
  if (magnitude <= largest) return true;
  char text[128];
  const char* symbol = gradians ? "g" : "\xB0";
  std::snprintf(text, sizeof text, " cannot exceed %g%s: %.10g%s", largest, symbol, magnitude,
                symbol);
  error = std::string(rule.noun) + text;
  return false;
}

bool IsNotApplicable(std::string_view text) {
  while (!text.empty() && IsSeparator(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsSeparator(text.back()))
    text.remove_suffix(1);
  return text.size() == 3 && std::tolower(static_cast<unsigned char>(text[0])) == 'n' &&
         text[1] == '/' && std::tolower(static_cast<unsigned char>(text[2])) == 'a';
}

AngleParseResult Refuse(std::string reason) {
  return {false, 0.0, std::move(reason)};
}

}  // namespace

bool CheckAngleRange(double radians, int type, std::string& error) {
  if (type < ANGLE_SIGNED || type > ANGLE_SIGNED_2) {
    error = "unknown angle type " + std::to_string(type);
    return false;
  }
  if (!std::isfinite(radians)) {
    error = "not a finite number";
    return false;
  }
  const TypeRule& rule = kTypeRules[static_cast<std::size_t>(type - 1)];
  // What the type shows: a complement shows pi/2 - value.
  const double shown = (type == ANGLE_COMPLEMENT ? kHalfPi - radians : radians) * kDegreesPerRadian;
  // One part in 1e12 of slack: a limit typed in degrees and divided by the display
  // factor must come back within it.
  const double largest = rule.largest_degrees * (1.0 + 1e-12);
  const bool takes_negative = rule.takes_minus;
  char text[128];
  if (!takes_negative && shown < -largest * 1e-12) {
    std::snprintf(text, sizeof text, " cannot be negative: %.10g\xB0", shown);
    error = std::string(rule.noun) + text;
    return false;
  }
  if (std::fabs(shown) > largest) {
    std::snprintf(text, sizeof text, " cannot exceed %g\xB0: %.10g\xB0", rule.largest_degrees,
                  shown);
    error = std::string(rule.noun) + text;
    return false;
  }
  return true;
}

AngleParseResult ParseAngle(std::string_view text, int type, int notation) {
  if (type < ANGLE_SIGNED || type > ANGLE_SIGNED_2) {
    return Refuse("unknown angle type " + std::to_string(type));
  }
  if (text.find_first_not_of(" \t") == std::string_view::npos) return Refuse("empty text");
  if (IsNotApplicable(text))
    return Refuse("n/a marks an angle that does not apply; it has no value");
  if (notation == ANGLE_PREF_SAVED) notation = GetSavedAngleFormat(type).notation;

  Tokens tokens;
  Scanner scanner(text);
  if (!scanner.Scan(tokens)) return Refuse(scanner.error());
  if (tokens.fields.empty()) return Refuse("no number in the text");
  std::string error;
  if (!AssignUnits(tokens.fields, notation, error) || !ReadNumbers(tokens.fields, error)) {
    return Refuse(error);
  }
  const TypeRule& rule = kTypeRules[static_cast<std::size_t>(type - 1)];
  const bool negative = IsNegative(tokens, rule, error);
  if (!error.empty()) return Refuse(error);
  const bool gradians = tokens.fields.front().unit == Unit::kGradians;
  const double magnitude = Magnitude(tokens.fields);
  if (!WithinLimit(magnitude, gradians, rule, error)) return Refuse(error);

  const double shown = (gradians ? magnitude / kGradiansPerRadian : magnitude / kDegreesPerRadian);
  const double radians = negative ? -shown : shown;
  return {true, type == ANGLE_COMPLEMENT ? kHalfPi - radians : radians, {}};
}

}  // namespace orvale
