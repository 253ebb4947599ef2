#include <gtest/gtest.h>

#include "orvale/storage/internal/little_endian.h"

namespace orvale {
namespace {

const unsigned char* Bytes(const std::string& text) {
  return reinterpret_cast<const unsigned char*>(text.data());
}

TEST(LittleEndian, PutsTheLowByteFirst) {
  std::string out;
  AppendUint32Le(out, 0x11223344u);
  AppendInt32Le(out, -2);
  EXPECT_EQ(out, std::string("\x44\x33\x22\x11\xFE\xFF\xFF\xFF", 8));
  EXPECT_EQ(LoadUint32Le(Bytes(out)), 0x11223344u);
  EXPECT_EQ(LoadInt32Le(Bytes(out) + 4), -2);
}

TEST(LittleEndian, StoresDoublesAsTheirIeeeBytes) {
  std::string out;
  AppendDoubleLe(out, 1.0);
  EXPECT_EQ(out, std::string("\0\0\0\0\0\0\xF0\x3F", 8));
  for (double value : {6378137.0, 298.257223563, -0.0, 1e-300}) {
    std::string bytes;
    AppendDoubleLe(bytes, value);
    EXPECT_EQ(LoadDoubleLe(Bytes(bytes)), value);
  }
  const std::string one_float("\0\0\x80\x3F", 4);
  EXPECT_EQ(LoadFloatLe(Bytes(one_float)), 1.0f);
}

}  // namespace
}  // namespace orvale
