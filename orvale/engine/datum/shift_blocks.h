#pragma once
// The two fixed-size parameter blocks of a datum shift. Each is copied byte for byte
// to and from the tail of a record file, so its layout (padding included) is part of
// the file format: the static_asserts below hold it there.

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvale {

// Helmert parameters, 7 or 14 (with rates), of a "DMF" record.
struct DatumShiftParameters {
  double m_DX = 0.0;  // metres
  double m_DY = 0.0;
  double m_DZ = 0.0;
  double m_RX = 0.0;  // seconds of arc
  double m_RY = 0.0;
  double m_RZ = 0.0;
  double m_Scale = 0.0;               // parts per million
  std::int32_t m_RotationMethod = 0;  // 0 Position Vector, 1 Co-ordinate Frame
  std::uint8_t m_Padding1[4] = {};    // carried through files as read
  double m_DXRate = 0.0;              // metres per year
  double m_DYRate = 0.0;
  double m_DZRate = 0.0;
  double m_RXRate = 0.0;  // seconds of arc per year
  double m_RYRate = 0.0;
  double m_RZRate = 0.0;
  double m_ScaleRate = 0.0;          // ppm per year
  double m_ReferenceEpoch = 0.0;     // decimal year t0
  double m_Epoch = 0.0;              // decimal year t
  std::uint8_t m_TimeDependent = 0;  // 1: the 14-parameter form
  std::uint8_t m_UseEpoch = 1;       // 1: m_Epoch, else the current date
  std::uint8_t m_Padding2[6] = {};
};

// The seven values in their usual order (dX, dY, dZ, rX, rY, rZ, scale), and their
// rates in the same order, for code that treats them alike.
inline std::array<double*, 7> HelmertValues(DatumShiftParameters& p) {
  return {&p.m_DX, &p.m_DY, &p.m_DZ, &p.m_RX, &p.m_RY, &p.m_RZ, &p.m_Scale};
}
inline std::array<double*, 7> HelmertRates(DatumShiftParameters& p) {
  return {&p.m_DXRate, &p.m_DYRate, &p.m_DZRate,   &p.m_RXRate,
          &p.m_RYRate, &p.m_RZRate, &p.m_ScaleRate};
}

// The affine grid-to-grid shift of a "GRD" record.
struct GridShiftParameters {
  double m_GridE0 = 0.0;  // metres
  double m_GridN0 = 0.0;
  double m_GridRotation = 0.0;  // degrees
  double m_GridScaleE = 1.0;
  double m_GridScaleN = 1.0;
  double m_GridA = 0.0;  // E' = A E + B N, N' = C E + D N, from rotation and scales
  double m_GridB = 0.0;
  double m_GridC = 0.0;
  double m_GridD = 0.0;
  std::uint8_t m_Reserved[112] = {};  // carried through files unchanged
};

inline constexpr std::size_t kShiftParameterBytes = 144;
inline constexpr std::size_t kGridShiftBytes = 184;

static_assert(sizeof(DatumShiftParameters) == kShiftParameterBytes);
static_assert(offsetof(DatumShiftParameters, m_Scale) == 48);
static_assert(offsetof(DatumShiftParameters, m_RotationMethod) == 56);
static_assert(offsetof(DatumShiftParameters, m_DXRate) == 64);
static_assert(offsetof(DatumShiftParameters, m_RXRate) == 88);
static_assert(offsetof(DatumShiftParameters, m_ScaleRate) == 112);
static_assert(offsetof(DatumShiftParameters, m_ReferenceEpoch) == 120);
static_assert(offsetof(DatumShiftParameters, m_Epoch) == 128);
static_assert(offsetof(DatumShiftParameters, m_TimeDependent) == 136);
static_assert(offsetof(DatumShiftParameters, m_UseEpoch) == 137);
static_assert(sizeof(GridShiftParameters) == kGridShiftBytes);
static_assert(offsetof(GridShiftParameters, m_GridScaleE) == 24);
static_assert(offsetof(GridShiftParameters, m_GridA) == 40);
static_assert(offsetof(GridShiftParameters, m_GridD) == 64);
static_assert(offsetof(GridShiftParameters, m_Reserved) == 72);

}  // namespace orvale
