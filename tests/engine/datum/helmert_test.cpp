// The Helmert transformation: the IOGP worked examples, PROJ's helmert step in both
// conventions and directions with and without rates, the second-order gap of a
// forward and reverse, the identities between the conventions and forms, and the
// epoch read from a clock.

#include "orvale/engine/datum/helmert.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "support/text_table.h"

namespace orvale {
namespace {

constexpr double kTenthMillimetre = 1e-4;

struct Point {
  double x, y, z;
};

Point Transform(const DatumShiftParameters& p, int direction, const Point& in,
                const IClock& clock = DefaultClock()) {
  Point out{};
  HelmertTransform(p, direction, in.x, in.y, in.z, out.x, out.y, out.z, clock);
  return out;
}

DatumShiftParameters SevenParameters(const std::vector<double>& v, int method) {
  DatumShiftParameters p;
  p.m_DX = v[0];
  p.m_DY = v[1];
  p.m_DZ = v[2];
  p.m_RX = v[3];
  p.m_RY = v[4];
  p.m_RZ = v[5];
  p.m_Scale = v[6];
  p.m_RotationMethod = method;
  return p;
}

void SetRates(DatumShiftParameters& p, const std::vector<double>& r, double t0, double t) {
  p.m_TimeDependent = 1;
  p.m_DXRate = r[0];
  p.m_DYRate = r[1];
  p.m_DZRate = r[2];
  p.m_RXRate = r[3];
  p.m_RYRate = r[4];
  p.m_RZRate = r[5];
  p.m_ScaleRate = r[6];
  p.m_ReferenceEpoch = t0;
  p.m_Epoch = t;
}

// A clock that counts how often it is read.
class CountingClock final : public IClock {
 public:
  explicit CountingClock(const LocalDateTime& now) : now_(now) {}
  LocalDateTime Now() const override {
    ++reads;
    return now_;
  }
  mutable int reads = 0;

 private:
  LocalDateTime now_;
};

const Point kWorkedPoint = {3657660.66, 255768.55, 5201382.11};

TEST(Helmert, TransformsTheWorkedExamplesToTheCentimetre) {
  for (const auto& row : testing::ReadTextTable("datum/helmert_worked_examples.txt", 6)) {
    SCOPED_TRACE(row.where);
    std::vector<double> values = row.Numbers(1);
    for (const std::size_t i : {2u, 3u})
      for (const double v : row.Numbers(i))
        values.push_back(v);
    const std::vector<double> in = row.Numbers(4), expected = row.Numbers(5);
    const Point out = Transform(SevenParameters(values, std::stoi(row[0])), kHelmertForward,
                                {in[0], in[1], in[2]});
    EXPECT_NEAR(out.x, expected[0], 0.01);
    EXPECT_NEAR(out.y, expected[1], 0.01);
    EXPECT_NEAR(out.z, expected[2], 0.01);
  }
}

TEST(Helmert, AgreesWithProjInBothConventionsAndDirectionsWithAndWithoutRates) {
  const auto rows = testing::ReadTextTable("datum/helmert_proj_reference.txt", 8);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.where);
    DatumShiftParameters p = SevenParameters(row.Numbers(1), std::stoi(row[4]));
    if (row[2] != "-") SetRates(p, row.Numbers(2), row.Numbers(3)[0], row.Numbers(3)[1]);
    const std::vector<double> in = row.Numbers(6), expected = row.Numbers(7);
    const Point out = Transform(p, std::stoi(row[5]), {in[0], in[1], in[2]});
    EXPECT_NEAR(out.x, expected[0], kTenthMillimetre);
    EXPECT_NEAR(out.y, expected[1], kTenthMillimetre);
    EXPECT_NEAR(out.z, expected[2], kTenthMillimetre);

    // The same through a run of points, in place.
    std::array<double, 1> x = {in[0]}, y = {in[1]}, z = {in[2]};
    HelmertTransformMany(MakeHelmertStep(p, std::stoi(row[5])), x, y, z, x, y, z);
    EXPECT_EQ(x[0], out.x);
    EXPECT_EQ(y[0], out.y);
    EXPECT_EQ(z[0], out.z);
  }
}

// Forward then reverse: (I - R)((I + R) X m + T) m' - T with m = 1 + s, m' = 1 - s,
// which is X - (R² + s²) X - (s + R) T plus third-order terms.
TEST(Helmert, ForwardThenReverseMissesTheStartOnlyBySecondOrderTerms) {
  const std::vector<double> values = {446.448, -125.157, 542.06, 15.0, -24.7, 8.42, -20.489};
  for (const int method : {kPositionVector, kCoordinateFrame}) {
    const DatumShiftParameters p = SevenParameters(values, method);
    const HelmertStep step = MakeHelmertStep(p, kHelmertForward);
    const double s = values[6] * 1e-6;
    const Point start = kWorkedPoint;
    const Point back = Transform(p, kHelmertReverse, Transform(p, kHelmertForward, start));
    // R v for the skew matrix [[0, -rz, ry], [rz, 0, -rx], [-ry, rx, 0]].
    const auto rotate = [&step](const Point& v) {
      return Point{-step.rz * v.y + step.ry * v.z, step.rz * v.x - step.rx * v.z,
                   -step.ry * v.x + step.rx * v.y};
    };
    const Point rx = rotate(start), rrx = rotate(rx),
                rt = rotate({values[0], values[1], values[2]});
    const Point predicted = {-rrx.x - s * s * start.x - s * values[0] - rt.x,
                             -rrx.y - s * s * start.y - s * values[1] - rt.y,
                             -rrx.z - s * s * start.z - s * values[2] - rt.z};
    const Point gap = {back.x - start.x, back.y - start.y, back.z - start.z};
    EXPECT_GT(std::fabs(gap.x) + std::fabs(gap.y) + std::fabs(gap.z), 0.01) << "not exact";
    EXPECT_NEAR(gap.x, predicted.x, 1e-5);
    EXPECT_NEAR(gap.y, predicted.y, 1e-5);
    EXPECT_NEAR(gap.z, predicted.z, 1e-5);
  }
}

TEST(Helmert, CoordinateFrameIsPositionVectorWithTheRotationsReversed) {
  const std::vector<double> values = {-89.5, 93.8, 123.1, 0.15, -0.247, 0.842, -1.2};
  const std::vector<double> reversed = {-89.5, 93.8, 123.1, -0.15, 0.247, -0.842, -1.2};
  for (const int direction : {kHelmertForward, kHelmertReverse}) {
    const Point frame =
        Transform(SevenParameters(values, kCoordinateFrame), direction, kWorkedPoint);
    const Point vector =
        Transform(SevenParameters(reversed, kPositionVector), direction, kWorkedPoint);
    EXPECT_EQ(frame.x, vector.x);
    EXPECT_EQ(frame.y, vector.y);
    EXPECT_EQ(frame.z, vector.z);
  }
}

TEST(Helmert, TheTimeDependentFormAtItsReferenceEpochIsTheSevenParameterForm) {
  const std::vector<double> values = {1.0, -2.0, 3.0, 0.4, -0.5, 0.6, 0.7};
  for (const int method : {kPositionVector, kCoordinateFrame}) {
    DatumShiftParameters timed = SevenParameters(values, method);
    SetRates(timed, {0.1, 0.2, 0.3, 0.04, 0.05, 0.06, 0.07}, 2010.0, 2010.0);
    const Point seven = Transform(SevenParameters(values, method), kHelmertForward, kWorkedPoint);
    const Point fourteen = Transform(timed, kHelmertForward, kWorkedPoint);
    EXPECT_EQ(seven.x, fourteen.x);
    EXPECT_EQ(seven.y, fourteen.y);
    EXPECT_EQ(seven.z, fourteen.z);
    timed.m_TimeDependent = 2;  // only 1 is the 14-parameter form
    timed.m_Epoch = 2030.0;
    EXPECT_EQ(Transform(timed, kHelmertForward, kWorkedPoint).x, seven.x);
  }
}

// Without a fixed epoch the rates run to the clock's date, read once per
// transformation and only then.
TEST(Helmert, RatesRunToTheClocksEpochWhenNoEpochIsFixed) {
  LocalDateTime now;
  now.year = 2020;
  now.month = 7;
  now.day = 2;
  now.hour = 12;
  const CountingClock clock(now);
  const double epoch = 2020.0 + 183.5 / 365.0;
  DatumShiftParameters fixed = SevenParameters({1.0, -2.0, 3.0, 0.4, -0.5, 0.6, 0.7}, 0);
  SetRates(fixed, {0.1, 0.2, 0.3, 0.04, 0.05, 0.06, 0.07}, 2010.0, epoch);
  DatumShiftParameters running = fixed;
  running.m_UseEpoch = 0;
  running.m_Epoch = 1900.0;
  const Point by_clock = Transform(running, kHelmertForward, kWorkedPoint, clock);
  EXPECT_EQ(clock.reads, 1);
  const Point by_epoch = Transform(fixed, kHelmertForward, kWorkedPoint, clock);
  EXPECT_EQ(clock.reads, 1);
  EXPECT_NEAR(by_clock.x, by_epoch.x, 1e-9);
  EXPECT_NEAR(by_clock.y, by_epoch.y, 1e-9);
  EXPECT_NEAR(by_clock.z, by_epoch.z, 1e-9);
  fixed.m_TimeDependent = 0;
  fixed.m_UseEpoch = 0;
  static_cast<void>(Transform(fixed, kHelmertForward, kWorkedPoint, clock));
  EXPECT_EQ(clock.reads, 1);
  EXPECT_GT(std::fabs(by_clock.x - Transform(fixed, kHelmertForward, kWorkedPoint).x), 1.0);
}

TEST(Helmert, TheCurrentEpochCountsDaysOverThreeHundredAndSixtyFive) {
  for (const auto& row : testing::ReadTextTable("datum/helmert_epochs.txt", 2)) {
    SCOPED_TRACE(row.where);
    const std::vector<double> d = row.Numbers(0);
    LocalDateTime now;
    now.year = static_cast<int>(d[0]);
    now.month = static_cast<int>(d[1]);
    now.day = static_cast<int>(d[2]);
    now.hour = static_cast<int>(d[3]);
    now.minute = static_cast<int>(d[4]);
    now.second = d[5];
    EXPECT_NEAR(GetCurrentEpoch(FixedClock(now)), row.Numbers(1)[0], 1e-12);
  }
  const double today = GetCurrentEpoch();
  EXPECT_GT(today, 2020.0);
  EXPECT_LT(today, 2200.0);
}

TEST(Helmert, ConvertsSecondsOfArcByTheLibrarysOwnFactor) {
  DatumShiftParameters p;
  p.m_RZ = 3600.0;
  const HelmertStep step = MakeHelmertStep(p, kHelmertForward);
  EXPECT_EQ(step.rz, 3600.0 * (0.017453292519943 / 3600));
  EXPECT_EQ(MakeHelmertStep(p, kHelmertReverse).rz, -step.rz);
  EXPECT_EQ(kRotationMethodTexts[kCoordinateFrame].name, "Co-ordinate Frame");
}

}  // namespace
}  // namespace orvale
