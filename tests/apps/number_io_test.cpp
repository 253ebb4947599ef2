// WriteFixed and ParseDecimal against the standard writer and reader they stand in
// for: the table in tests/data/apps/number_io.txt, then millions of random values
// compared byte for byte and bit for bit.

#include "number_io.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "support/text_table.h"

namespace orvale {
namespace {

using cli::kFixedRoom;
using cli::kMostFixedDecimals;

std::string Fixed(double value, int decimals) {
  char text[kFixedRoom];
  return std::string(text, cli::WriteFixed(text, value, decimals));
}

std::string StandardFixed(double value, int decimals) {
  char text[kFixedRoom];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return std::string(text, result.ptr);
}

// How the command read a co-ordinate before ParseDecimal: the reference.
bool StandardDecimal(std::string_view text, double& value) {
  if (text.starts_with('+') && !text.starts_with("+-")) text.remove_prefix(1);
  double parsed = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(parsed))
    return false;
  value = parsed;
  return true;
}

// Counts the values on which the two disagree, keeping the first for the message: one
// EXPECT per run, not per value.
class Disagreements {
 public:
  void Write(double value, int decimals) {
    const std::string ours = Fixed(value, decimals);
    if (ours != StandardFixed(value, decimals)) {
      Note(Hex(value) + " with " + std::to_string(decimals) + " decimals: " + ours + " but " +
           StandardFixed(value, decimals));
    }
  }

  void Read(const std::string& text) {
    constexpr double kUntouched = -1234.5;
    double ours = kUntouched, standard = kUntouched;
    const bool ours_read = cli::ParseDecimal(text, ours);
    const bool standard_read = StandardDecimal(text, standard);
    if (ours_read != standard_read ||
        std::bit_cast<std::uint64_t>(ours) != std::bit_cast<std::uint64_t>(standard)) {
      Note("'" + text + "': " + (ours_read ? Hex(ours) : "refused") + " but " +
           (standard_read ? Hex(standard) : "refused"));
    }
  }

  int count() const { return count_; }
  const std::string& first() const { return first_; }

 private:
  static std::string Hex(double value) {
    char text[64];
    return std::string(text,
                       std::to_chars(text, text + sizeof text, value, std::chars_format::hex).ptr);
  }
  void Note(const std::string& what) {
    if (count_++ == 0) first_ = what;
  }

  int count_ = 0;
  std::string first_;
};

TEST(NumberIo, WritesAndReadsAsItsTableSays) {
  for (const testing::TextRow& row : testing::ReadTextTable("apps/number_io.txt")) {
    SCOPED_TRACE(row.where);
    if (row[0] == "write") {
      const double value = std::strtod(row[1].c_str(), nullptr);
      const int decimals = std::stoi(row[2]);
      EXPECT_EQ(Fixed(value, decimals), row[3]);
      EXPECT_EQ(StandardFixed(value, decimals), row[3]) << "the row disagrees with std::to_chars";
    } else {
      ASSERT_EQ(row[0], "read");
      constexpr double kUntouched = -1234.5;
      double value = kUntouched;
      const bool read = cli::ParseDecimal(row[1], value);
      if (row[2] == "refused") {
        EXPECT_FALSE(read) << value;
        EXPECT_EQ(value, kUntouched);
      } else {
        EXPECT_TRUE(read);
        const double expected = std::strtod(row[2].c_str(), nullptr);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected))
            << value << " is not " << expected;
      }
    }
  }
}

TEST(NumberIo, WritesNothingForDecimalsOutsideItsRange) {
  char text[kFixedRoom];
  EXPECT_EQ(cli::WriteFixed(text, 1.5, -1), text);
  EXPECT_EQ(cli::WriteFixed(text, 1.5, kMostFixedDecimals + 1), text);
}

TEST(NumberIo, WritesNonFiniteValuesAsTheStandardWriterDoes) {
  for (const double value : {INFINITY, -INFINITY, NAN}) {
    EXPECT_EQ(Fixed(value, 3), StandardFixed(value, 3));
  }
}

std::mt19937_64& Random() {
  static std::mt19937_64 random(20261206);
  return random;
}

int AnyDecimals() {
  return static_cast<int>(Random()() % (kMostFixedDecimals + 1));
}

double Uniform(double low, double high) {
  return std::uniform_real_distribution<double>(low, high)(Random());
}

TEST(NumberIo, WritesAnyFiniteDoubleAsTheStandardWriter) {
  Disagreements disagreements;
  for (int i = 0; i < 300000; ++i) {
    const double value = std::bit_cast<double>(Random()());
    if (std::isfinite(value)) disagreements.Write(value, AnyDecimals());
  }
  // Where the exact scaled integer starts and stops being enough: 2^-140 .. 2^80.
  for (int i = 0; i < 600000; ++i) {
    const auto exponent = static_cast<int>(Random()() % 221) - 140;
    const double value = std::ldexp(Uniform(-1.0, 1.0), exponent);
    disagreements.Write(value, AnyDecimals());
  }
  EXPECT_EQ(disagreements.count(), 0) << disagreements.first();
}

TEST(NumberIo, WritesCoordinatesAsTheStandardWriter) {
  Disagreements disagreements;
  for (int i = 0; i < 500000; ++i) {
    const int decimals = static_cast<int>(Random()() % 13);
    disagreements.Write(Uniform(-1e7, 1e7), decimals);
    disagreements.Write(Uniform(-360.0, 360.0), decimals);
  }
  EXPECT_EQ(disagreements.count(), 0) << disagreements.first();
}

// A tie at d decimals is an odd multiple of 2^-(d+1); half of them round down.
TEST(NumberIo, BreaksTiesToEvenAsTheStandardWriter) {
  Disagreements disagreements;
  for (int i = 0; i < 400000; ++i) {
    const int decimals = AnyDecimals();
    const int bits = 1 + static_cast<int>(Random()() % 53);
    const std::uint64_t odd = (Random()() >> (64 - bits)) | 1;
    const double tie = std::ldexp(static_cast<double>(odd), -(decimals + 1));
    disagreements.Write(i % 2 == 0 ? tie : -tie, decimals);
  }
  EXPECT_EQ(disagreements.count(), 0) << disagreements.first();
}

TEST(NumberIo, WritesValuesAroundItsExactBoundsAsTheStandardWriter) {
  Disagreements disagreements;
  for (int decimals = 0; decimals <= kMostFixedDecimals; ++decimals) {
    for (const double bound : {0x1p53, 0x1p64, 0.5}) {
      const double centre = bound / std::pow(10.0, decimals);
      double up = centre, down = centre;
      for (int step = 0; step < 2000; ++step) {
        disagreements.Write(up, decimals);
        disagreements.Write(down, decimals);
        up = std::nextafter(up, INFINITY);
        down = std::nextafter(down, 0.0);
      }
    }
  }
  EXPECT_EQ(disagreements.count(), 0) << disagreements.first();
}

std::string RandomDigits(int most) {
  std::string digits;
  for (auto count = Random()() % (most + 1); count > 0; --count)
    digits += static_cast<char>('0' + Random()() % 10);
  return digits;
}

TEST(NumberIo, ReadsDecimalTextAsTheStandardReader) {
  Disagreements disagreements;
  constexpr std::array<const char*, 3> kSigns = {"", "-", "+"};
  for (int i = 0; i < 1000000; ++i) {
    std::string text = kSigns[Random()() % kSigns.size()] + RandomDigits(12);
    if (Random()() % 4 != 0) text += "." + RandomDigits(12);
    if (Random()() % 4 == 0) {
      text +=
          "e" + std::string(kSigns[Random()() % kSigns.size()]) + std::to_string(Random()() % 400);
    }
    disagreements.Read(text);
  }
  EXPECT_EQ(disagreements.count(), 0) << disagreements.first();
}

TEST(NumberIo, ReadsBackWhatIsWrittenAsTheStandardReader) {
  Disagreements disagreements;
  for (int i = 0; i < 300000; ++i) {
    const double value = std::bit_cast<double>(Random()());
    char text[64];
    disagreements.Read(std::string(text, std::to_chars(text, text + sizeof text, value).ptr));
    disagreements.Read(Fixed(Uniform(-1e7, 1e7), static_cast<int>(Random()() % 13)));
  }
  EXPECT_EQ(disagreements.count(), 0) << disagreements.first();
}

TEST(NumberIo, RefusesWhatTheStandardReaderRefuses) {
  Disagreements disagreements;
  constexpr std::string_view kAlphabet = "0123456789.eE+- xn";
  for (int i = 0; i < 300000; ++i) {
    std::string text;
    for (auto length = Random()() % 9; length > 0; --length)
      text += kAlphabet[Random()() % kAlphabet.size()];
    disagreements.Read(text);
  }
  // Long runs of digits with any one byte among them ('/' and ':' border the digits).
  for (int i = 0; i < 300000; ++i) {
    std::string text = RandomDigits(16) + "." + RandomDigits(16);
    text[Random()() % text.size()] = static_cast<char>(Random()() % 256);
    disagreements.Read(text);
  }
  EXPECT_EQ(disagreements.count(), 0) << disagreements.first();
}

}  // namespace
}  // namespace orvale
