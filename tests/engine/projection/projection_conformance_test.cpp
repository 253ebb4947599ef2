// Runs the worked examples kept in tests/data/projections/*.txt: published input and
// output pairs that a surveyor can read and extend without touching C++.
//
//   operation  title of the case                 (starts a case)
//   source     where the figures come from       (required)
//   spheroid   row=N | a=A rf=RF | a=A b=B
//   projection type=T method=M lat0= lon0= fe= fn= k0= sp1= sp2= p0=..p16= axis= zone=
//              polar=north|south polarb=ANGLE polarc=ANGLE
//   unit       metres per unit of fe, fn and expect (default 1)
//   tolerance  value mm|cm|m
//   accept     LATITUDE LONGITUDE                (decimal degrees or D:M:S with N/S/E/W)
//   expect     EASTING NORTHING
//   forward_only reason                          (skip the inverse check of expect)
//   roundtrip  COUNT value mm|cm|m

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {
namespace {

struct Line {
  std::string where;  // file:line
  std::string directive;
  std::vector<std::string> words;
};

struct Case {
  std::string where;
  std::string title;
  std::vector<Line> lines;
};

std::optional<double> Number(const std::string& text) {
  double value = 0.0;
  const char* first = text.data() + (text.starts_with('+') ? 1 : 0);
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

// Decimal degrees, or D:M:S with an optional hemisphere letter; radians.
std::optional<double> Angle(std::string text) {
  double sign = 1.0;
  if (!text.empty() && std::string("NSEWnsew").find(text.back()) != std::string::npos) {
    if (text.back() == 'S' || text.back() == 's' || text.back() == 'W' || text.back() == 'w')
      sign = -1.0;
    text.pop_back();
  }
  if (text.starts_with('-')) {
    sign = -sign;
    text.erase(0, 1);
  }
  double degrees = 0.0;
  double unit = 1.0;
  std::istringstream fields(text);
  for (std::string field; std::getline(fields, field, ':'); unit /= 60.0) {
    const auto value = Number(field);
    if (!value) return std::nullopt;
    degrees += *value * unit;
  }
  return sign * degrees * kRadiansPerDegree;
}

std::optional<double> Length(const std::vector<std::string>& words, std::size_t at) {
  if (words.size() < at + 2) return std::nullopt;
  const auto value = Number(words[at]);
  if (!value) return std::nullopt;
  const std::string& unit = words[at + 1];
  if (unit == "mm") return *value / 1000.0;
  if (unit == "cm") return *value / 100.0;
  if (unit == "m") return *value;
  return std::nullopt;
}

std::vector<Case> ReadCases(const std::filesystem::path& file) {
  std::vector<Case> cases;
  std::ifstream in(file);
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    text = text.substr(0, text.find('#'));
    std::istringstream words(text);
    Line line{file.filename().string() + ":" + std::to_string(number), {}, {}};
    if (!(words >> line.directive)) continue;
    for (std::string word; words >> word;)
      line.words.push_back(word);
    if (line.directive == "operation") {
      std::string title;
      for (const auto& word : line.words)
        title += (title.empty() ? "" : " ") + word;
      cases.push_back({line.where, title, {}});
    } else if (cases.empty()) {
      ADD_FAILURE() << line.where << ": '" << line.directive << "' before the first operation";
    } else {
      cases.back().lines.push_back(line);
    }
  }
  return cases;
}

std::map<std::string, std::string> KeyValues(const Line& line) {
  std::map<std::string, std::string> values;
  for (const auto& word : line.words) {
    const auto equals = word.find('=');
    if (equals == std::string::npos) {
      ADD_FAILURE() << line.where << ": expected key=value, got '" << word << "'";
      continue;
    }
    values[word.substr(0, equals)] = word.substr(equals + 1);
  }
  return values;
}

class CaseRunner {
 public:
  explicit CaseRunner(const Case& c) : case_(c) { projection_.m_Spheroid = &spheroid_; }

  void Run() {
    bool has_source = false;
    for (const Line& line : case_.lines) {
      SCOPED_TRACE(line.where + " (" + case_.title + ")");
      if (line.directive == "source") {
        has_source = true;
      } else if (line.directive == "spheroid") {
        SetSpheroid(line);
      } else if (line.directive == "projection") {
        SetProjection(line);
      } else if (line.directive == "unit") {
        unit_ = Number(line.words.empty() ? "" : line.words[0]).value_or(0.0);
        EXPECT_GT(unit_, 0.0) << "unit needs metres per unit";
      } else if (line.directive == "tolerance") {
        const auto tolerance = Length(line.words, 0);
        ASSERT_TRUE(tolerance) << "tolerance needs a value and mm, cm or m";
        tolerance_ = *tolerance;
      } else if (line.directive == "accept") {
        Accept(line);
      } else if (line.directive == "expect") {
        Expect(line);
      } else if (line.directive == "forward_only") {
        forward_only_ = true;
      } else if (line.directive == "roundtrip") {
        RoundTrip(line);
      } else {
        ADD_FAILURE() << "unknown directive '" << line.directive << "'";
      }
    }
    EXPECT_TRUE(has_source) << case_.where << ": every case says where its figures come from";
  }

 private:
  void SetSpheroid(const Line& line) {
    auto values = KeyValues(line);
    if (values.count("row")) {
      ASSERT_TRUE(spheroid_.SetBuiltIn(static_cast<int>(*Number(values["row"]))));
      return;
    }
    const auto a = Number(values["a"]);
    ASSERT_TRUE(a) << "spheroid needs row= or a= with rf= or b=";
    spheroid_.m_SemiMajorAxis = *a;
    if (values.count("rf")) {
      spheroid_.m_InverseFlattening = Number(values["rf"]).value_or(0.0);
    } else {
      const double b = Number(values["b"]).value_or(0.0);
      spheroid_.m_InverseFlattening = *a / (*a - b);
    }
    spheroid_.ComputeConstants();
  }

  void SetProjection(const Line& line) {
    auto values = KeyValues(line);
    auto number = [&](const char* key, double fallback) {
      return values.count(key) ? Number(values[key]).value_or(NAN) : fallback;
    };
    auto angle = [&](const char* key) {
      return values.count(key) ? Angle(values[key]).value_or(NAN) : 0.0;
    };
    projection_.m_Type = static_cast<int>(number("type", 0));
    projection_.m_Method = static_cast<int>(number("method", 0));
    projection_.m_OriginLatitude = angle("lat0");
    projection_.m_CentralMeridian = angle("lon0");
    projection_.m_FalseEasting = number("fe", 0.0) * unit_;
    projection_.m_FalseNorthing = number("fn", 0.0) * unit_;
    projection_.m_ScaleFactor = number("k0", 1.0);
    projection_.m_StandardParallel1 = angle("sp1");
    projection_.m_StandardParallel2 = angle("sp2");
    for (int slot = 0; slot < 17; ++slot) {
      const std::string key = "p" + std::to_string(slot);
      if (values.count(key))
        projection_.m_Param[static_cast<std::size_t>(slot)] = *Number(values[key]);
    }
    if (values.count("axis") || values.count("zone")) {
      const int axis = static_cast<int>(number("axis", 0));
      const int zone = static_cast<int>(number("zone", 0));
      if (projection_.m_Type == PROJECTION_DANISH) {
        projection_.SetDanishZone(axis, zone);
      } else {
        projection_.SetNorwegianAxis(axis, zone);
      }
    }
    if (values.count("polar")) {
      projection_.SetPolar(values["polar"] == "north");
    } else if (values.count("polarb")) {
      projection_.SetPolarB(angle("polarb"));
    } else if (values.count("polarc")) {
      projection_.SetPolarC(angle("polarc"));
    } else {
      projection_.Initialise();
    }
  }

  void Accept(const Line& line) {
    ASSERT_EQ(line.words.size(), 2u) << "accept takes a latitude and a longitude";
    const auto latitude = Angle(line.words[0]);
    const auto longitude = Angle(line.words[1]);
    ASSERT_TRUE(latitude && longitude) << "cannot read the position";
    latitude_ = *latitude;
    longitude_ = *longitude;
  }

  // Distance in metres between two positions, close enough for tolerances.
  double Separation(double latitude, double longitude) const {
    const double a = spheroid_.m_SemiMajorAxis;
    return std::hypot((latitude - latitude_) * a,
                      (longitude - longitude_) * a * std::cos(latitude_));
  }

  void Expect(const Line& line) {
    ASSERT_EQ(line.words.size(), 2u) << "expect takes an easting and a northing";
    const double easting = *Number(line.words[0]) * unit_;
    const double northing = *Number(line.words[1]) * unit_;
    double e = NAN, n = NAN;
    EXPECT_EQ(projection_.GeogToGrid(latitude_, longitude_, &e, &n), ProjectionStatus::kOk);
    EXPECT_NEAR(e, easting, tolerance_) << "easting";
    EXPECT_NEAR(n, northing, tolerance_) << "northing";
    if (forward_only_) return;
    double latitude = 0.0, longitude = 0.0;
    EXPECT_EQ(projection_.GridToGeog(easting, northing, &latitude, &longitude),
              ProjectionStatus::kOk);
    EXPECT_LE(Separation(latitude, longitude), tolerance_)
        << "inverse gives " << latitude * kDegreesPerRadian << ", "
        << longitude * kDegreesPerRadian;
  }

  void RoundTrip(const Line& line) {
    const auto count = Number(line.words.empty() ? "" : line.words[0]);
    const auto tolerance = Length(line.words, 1);
    ASSERT_TRUE(count && tolerance) << "roundtrip takes a count and a tolerance";
    double latitude = latitude_, longitude = longitude_;
    for (int round = 0; round < *count; ++round) {
      double e = 0.0, n = 0.0;
      ASSERT_EQ(projection_.GeogToGrid(latitude, longitude, &e, &n), ProjectionStatus::kOk);
      ASSERT_EQ(projection_.GridToGeog(e, n, &latitude, &longitude), ProjectionStatus::kOk);
    }
    EXPECT_LE(Separation(latitude, longitude), *tolerance)
        << "drift after " << *count << " round trips";
  }

  const Case& case_;
  CSpheroid spheroid_;
  CProjection projection_;
  double unit_ = 1.0;
  double tolerance_ = 0.001;
  double latitude_ = 0.0;
  double longitude_ = 0.0;
  bool forward_only_ = false;
};

std::vector<std::filesystem::path> ConformanceFiles() {
  std::vector<std::filesystem::path> files;
  const std::filesystem::path folder = std::filesystem::path(ORVALE_TEST_DATA_DIR) / "projections";
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().extension() == ".txt") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(ProjectionWorkedExamples, MeetEveryPublishedFigureWithinItsTolerance) {
  int cases = 0;
  for (const auto& file : ConformanceFiles()) {
    for (const Case& c : ReadCases(file)) {
      CaseRunner(c).Run();
      ++cases;
    }
  }
  EXPECT_GE(cases, 15) << "the worked examples have gone missing";
}

}  // namespace
}  // namespace orvale
