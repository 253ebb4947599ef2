#pragma once
// Little-endian numbers in byte buffers, decoded field by field at named offsets
// rather than by laying a struct over the bytes.

#include <bit>
#include <cstdint>
#include <string>

namespace orvale {

inline std::uint32_t LoadUint32Le(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

inline std::uint64_t LoadUint64Le(const unsigned char* bytes) {
  return static_cast<std::uint64_t>(LoadUint32Le(bytes)) |
         static_cast<std::uint64_t>(LoadUint32Le(bytes + 4)) << 32;
}

inline std::int32_t LoadInt32Le(const unsigned char* bytes) {
  return std::bit_cast<std::int32_t>(LoadUint32Le(bytes));
}

inline float LoadFloatLe(const unsigned char* bytes) {
  return std::bit_cast<float>(LoadUint32Le(bytes));
}

inline double LoadDoubleLe(const unsigned char* bytes) {
  return std::bit_cast<double>(LoadUint64Le(bytes));
}

inline void AppendUint32Le(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out += static_cast<char>((value >> shift) & 0xFF);
}

inline void AppendUint64Le(std::string& out, std::uint64_t value) {
  for (int shift = 0; shift < 64; shift += 8)
    out += static_cast<char>((value >> shift) & 0xFF);
}

inline void AppendInt32Le(std::string& out, std::int32_t value) {
  AppendUint32Le(out, std::bit_cast<std::uint32_t>(value));
}

inline void AppendDoubleLe(std::string& out, double value) {
  AppendUint64Le(out, std::bit_cast<std::uint64_t>(value));
}

}  // namespace orvale
