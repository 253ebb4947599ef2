// Prints a latitude in each notation Orvale displays, then reads one back.
// Texts from the library are Windows-1252; convert them before printing.

#include <orvale/orvale.h>
#include <cmath>
#include <cstdio>

int main() {
  using namespace orvale;
  const double latitude = 51.5 * kRadiansPerDegree;
  for (int notation = ANGLE_PREF_DMS; notation <= ANGLE_PREF_GRADIANS; ++notation) {
    const std::string text = FormatAngle(latitude, ANGLE_LATITUDE, notation);
    std::printf("%-16s %s\n", std::string(AngleNotationName(notation)).c_str(),
                Cp1252ToUtf8(text).c_str());
  }
  const AngleParseResult back = ParseAngle("51 30 00.00000 N", ANGLE_LATITUDE);
  if (!back.ok) {
    std::fprintf(stderr, "could not read the angle back: %s\n", back.error.c_str());
    return 1;
  }
  std::printf("read back: %.12f degrees\n", back.radians * kDegreesPerRadian);
  return std::abs(back.radians - latitude) < 1e-12 ? 0 : 1;
}
