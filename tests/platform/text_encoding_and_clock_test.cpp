#include <gtest/gtest.h>

#include "orvale/platform/clock.h"
#include "orvale/platform/text_encoding.h"

namespace orvale {
namespace {

TEST(TextEncoding, ConvertsTheCharactersOfAngleTextsToUtf8) {
  EXPECT_EQ(Cp1252ToUtf8("51\xB0 30' 00\".00000N"), "51\u00B0 30' 00\".00000N");
  EXPECT_EQ(Cp1252ToUtf8("\xB1\xAB"
                         "COMMA\xBB"),
            "\u00B1\u00AB"
            "COMMA\u00BB");
  EXPECT_EQ(Cp1252ToUtf8("\x80\x99\x9F"), "\u20AC\u2122\u0178");
}

TEST(TextEncoding, RoundTripsEveryByte) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte)
    all += static_cast<char>(byte);
  const auto back = Utf8ToCp1252(Cp1252ToUtf8(all));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, all);
}

TEST(TextEncoding, RefusesTextItCannotRepresentOrDecode) {
  EXPECT_FALSE(Utf8ToCp1252("\u2713").has_value()) << "a check mark has no Windows-1252 byte";
  EXPECT_FALSE(Utf8ToCp1252("\xC2").has_value()) << "truncated sequence";
  EXPECT_FALSE(Utf8ToCp1252("\xC0\xB0").has_value()) << "overlong encoding";
  EXPECT_FALSE(Utf8ToCp1252("\xED\xA0\x80").has_value()) << "surrogate";
  EXPECT_FALSE(Utf8ToCp1252("\xB0").has_value()) << "a bare 1252 byte is not UTF-8";
  EXPECT_EQ(Utf8ToCp1252("51\u00B0N"), "51\xB0N");
}

TEST(TextEncoding, ReadsTypographicAngleMarksAsTheSignsTheAngleReaderKnows) {
  EXPECT_EQ(Utf8AngleToCp1252("51\u02DA 30\u2032 15.5\u2033 N"), "51\xB0 30' 15.5\" N");
  EXPECT_EQ(Utf8AngleToCp1252("N51\u00BA30\u2032\u2032"),
            "N51\xB0"
            "30''");
  EXPECT_EQ(Utf8AngleToCp1252("plain"), "plain");
  EXPECT_FALSE(Utf8AngleToCp1252("51\u2713").has_value());
  EXPECT_FALSE(Utf8AngleToCp1252("\xE2\x80").has_value()) << "a mark cut short";
}

TEST(Clock, SystemClockGivesAPlausibleLocalTime) {
  const LocalDateTime now = SystemClock().Now();
  EXPECT_GE(now.year, 2024);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.second, 0.0);
  EXPECT_LT(now.second, 61.0);
  EXPECT_LE(std::abs(now.utc_offset_minutes), 14 * 60);
}

}  // namespace
}  // namespace orvale
