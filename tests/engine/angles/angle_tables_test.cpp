// The display rules of angles as tables a surveyor can read and extend, in
// tests/data/angles: how angles are shown, the entry masks, and how typed text is
// read or refused.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/platform/text_encoding.h"
#include "support/projection_text.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using testing::ReadTextTable;
using testing::TextRow;

// Type and notation names of the tables, by value; a number stands for itself.
constexpr std::string_view kTypes[] = {
    "",         "signed",    "bearing",   "signed_90",   "complement",
    "latitude", "longitude", "bearing_2", "signed_90_2", "signed_2"};
constexpr std::string_view kNotations[] = {"dms",      "dm",   "degrees", "signed_degrees",
                                           "gradians", "saved"};
static_assert(ANGLE_SIGNED_2 == 9 && ANGLE_LATITUDE == 5 && ANGLE_PREF_SAVED == 5);

template <std::size_t N>
int Code(const std::string& name, const std::string_view (&names)[N]) {
  const auto found = std::find(std::begin(names), std::end(names), name);
  return found != std::end(names) ? static_cast<int>(found - std::begin(names)) : std::stoi(name);
}

// Degrees (decimal or D:M:S), radians ("0.5 rad") or a word; radians.
double AngleOf(const std::string& text) {
  const std::map<std::string, double> words = {
      {"n/a", kNotApplicableAngle}, {"none", kNoAngle}, {"nan", NAN}, {"inf", INFINITY}};
  if (words.contains(text)) return words.at(text);
  if (text.ends_with(" rad")) return std::stod(text);
  const std::optional<double> radians = testing::ReadAngle(text);
  EXPECT_TRUE(radians.has_value()) << "not an angle: " << text;
  return radians.value_or(NAN);
}

// A table's UTF-8 text as the library holds it.
std::string Cp1252(const std::string& utf8) {
  const auto text = Utf8ToCp1252(utf8);
  EXPECT_TRUE(text.has_value()) << "not Windows-1252: " << utf8;
  return text.value_or("");
}

TEST(AngleTables, ShowEveryAngleByteForByte) {
  for (const TextRow& row : ReadTextTable("angles/format.txt")) {
    SCOPED_TRACE(row.where);
    const double radians = AngleOf(row[0]);
    const int type = Code(row[1], kTypes);
    EXPECT_EQ(row[2] == "compact_dms"
                  ? FormatCompactDMS(radians, type)
                  : FormatAngle(radians, type, Code(row[2], kNotations), std::stoi(row[3]),
                                row[4].empty() ? '\0' : row[4][0]),
              Cp1252(row[5]));
  }
}

TEST(AngleTables, GiveTheWidestEntryOfEachTypeAndNotationAndItsLeadingDigitLimit) {
  for (const TextRow& row : ReadTextTable("angles/entry_templates.txt")) {
    SCOPED_TRACE(row.where);
    const AngleTemplate shape =
        BuildAngleTemplate(Code(row[0], kTypes), Code(row[1], kNotations), std::stoi(row[2]));
    EXPECT_EQ(shape.text, Cp1252(row[3]));
    EXPECT_EQ(shape.digit_limit, row[4]);
  }
}

TEST(AngleTables, ReadEveryTypedAngleOrSayWhatIsWrongWithIt) {
  for (const TextRow& row : ReadTextTable("angles/parse.txt")) {
    SCOPED_TRACE(row.where);
    const AngleParseResult parsed =
        ParseAngle(Cp1252(row[0]), Code(row[1], kTypes),
                   row[2].empty() ? ANGLE_PREF_DMS : Code(row[2], kNotations));
    if (row[3].starts_with("error: ")) {
      EXPECT_FALSE(parsed.ok);
      EXPECT_EQ(parsed.error, Cp1252(row[3].substr(7)));
    } else {
      EXPECT_TRUE(parsed.ok && parsed.error.empty()) << parsed.error;
      EXPECT_NEAR(parsed.radians, AngleOf(row[3]), 1e-11);
    }
  }
}

}  // namespace
}  // namespace orvale
