// Runs the cases kept in tests/data/projections/*.txt: published input and output
// pairs, and the failures the projection entries report, in files a surveyor can read
// and extend without touching C++. Each case is a test of its own, named after its
// file and title.
//
//   operation    title of the case                  (starts a case)
//   source       where the figures come from        (required)
//   spheroid     row=N | a=A rf=RF | a=A b=B
//   projection   type=T method=M lat0= lon0= fe= fn= k0= sp1= sp2= p0=..p16= axis= zone=
//                polar=north|south polarb=ANGLE polarc=ANGLE
//   unit         metres per unit of fe, fn, accept_grid and expect (default 1)
//   tolerance    value mm|cm|m                      (default 1 mm)
//   tolerance_inverse value mm|cm|m                 (default: tolerance)
//   accept       LATITUDE LONGITUDE                 (decimal degrees, or D:M:S with N/S/E/W)
//   accept_grid  EASTING NORTHING
//   expect       EASTING NORTHING                   (after accept)
//   expect       failure STATUS                     (after accept or accept_grid)
//   forward_only reason                             (expect skips its inverse check)
//   roundtrip    COUNT value mm|cm|m
//   convergence  DEGREES TOLERANCE                  (of the forward of the accepted position)
//   scale        FACTOR TOLERANCE                   (likewise)
//
// `expect E N` projects the accepted position to within `tolerance` of E N and brings
// E N back to within `tolerance_inverse` of the position; both directions must
// succeed. `roundtrip` runs COUNT forward-and-inverse cycles from the accepted
// position, each of which must succeed, and must end within its tolerance of it.
// `expect failure STATUS` requires the forward of the accepted position, or the
// inverse of the accepted grid position, to report STATUS: empty (taken as no
// position; the outputs must then be zeros and the scale factor k0), invalid (no
// projection), method (unknown method, axis or zone), outside (no result there) or
// convergence (an iteration did not settle).

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <set>
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

  std::string Word(std::size_t i) const { return i < words.size() ? words[i] : ""; }
};

struct Case {
  std::string name;  // the test's name: file and title
  std::string where;
  std::string title;
  std::string error;  // why the file could not be read into cases
  std::vector<Line> lines;
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.where << " " << c.title;
}

constexpr std::array<std::pair<const char*, ProjectionStatus>, 6> kStatusNames = {{
    {"ok", ProjectionStatus::kOk},
    {"empty", ProjectionStatus::kEmptyPosition},
    {"invalid", ProjectionStatus::kInvalidProjection},
    {"method", ProjectionStatus::kUnknownMethod},
    {"outside", ProjectionStatus::kOutsideDomain},
    {"convergence", ProjectionStatus::kNoConvergence},
}};

std::string NameOf(ProjectionStatus status) {
  for (const auto& [name, value] : kStatusNames)
    if (value == status) return name;
  return "status " + std::to_string(static_cast<int>(status));
}

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
    if (std::string("SWsw").find(text.back()) != std::string::npos) sign = -1.0;
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

// Metres from words[at] and its unit words[at + 1].
std::optional<double> Length(const std::vector<std::string>& words, std::size_t at) {
  if (words.size() < at + 2) return std::nullopt;
  const auto value = Number(words[at]);
  const std::map<std::string, double> units = {{"mm", 0.001}, {"cm", 0.01}, {"m", 1.0}};
  const auto unit = units.find(words[at + 1]);
  if (!value || unit == units.end()) return std::nullopt;
  return *value * unit->second;
}

// A test name from the file and the title: letters and digits, runs of anything
// else as one underscore.
std::string TestName(const std::filesystem::path& file, const std::string& title) {
  std::string name;
  for (const char c : file.stem().string() + " " + title) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      name += c;
    } else if (!name.empty() && name.back() != '_') {
      name += '_';
    }
  }
  while (name.ends_with('_'))
    name.pop_back();
  return name;
}

void ReadCases(const std::filesystem::path& file, std::vector<Case>& cases) {
  const auto broken = [&](const std::string& where, const std::string& error) {
    cases.push_back({TestName(file, "cannot be read"), where, "", error, {}});
  };
  std::ifstream in(file);
  const std::size_t first = cases.size();
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    std::istringstream words(text.substr(0, text.find('#')));
    Line line{file.filename().string() + ":" + std::to_string(number), {}, {}};
    if (!(words >> line.directive)) continue;
    for (std::string word; words >> word;)
      line.words.push_back(word);
    if (line.directive == "operation") {
      std::string title;
      for (const auto& word : line.words)
        title += (title.empty() ? "" : " ") + word;
      cases.push_back({TestName(file, title), line.where, title, "", {}});
    } else if (cases.size() == first) {
      broken(line.where, "'" + line.directive + "' before the first operation");
    } else {
      cases.back().lines.push_back(line);
    }
  }
  if (in.bad() || cases.size() == first) broken(file.string(), "cannot be read, or holds no case");
}

// Every case of every file, in file order, under names of their own; a folder without
// files and a file that cannot be read give a case that fails.
const std::vector<Case>& AllCases() {
  static const std::vector<Case> cases = [] {
    const auto folder = std::filesystem::path(ORVALE_TEST_DATA_DIR) / "projections";
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
      if (entry.path().extension() == ".txt") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<Case> all;
    if (files.empty()) all.push_back({"no_files", folder.string(), "", "holds no case files", {}});
    for (const auto& file : files)
      ReadCases(file, all);
    std::set<std::string> names;
    for (std::size_t i = 0; i < all.size(); ++i)
      if (!names.insert(all[i].name).second) all[i].name += "_" + std::to_string(i);
    return all;
  }();
  return cases;
}

std::map<std::string, std::string> KeyValues(const Line& line) {
  std::map<std::string, std::string> values;
  for (const auto& word : line.words) {
    const auto equals = word.find('=');
    if (equals == std::string::npos) {
      ADD_FAILURE() << "expected key=value, got '" << word << "'";
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
    ASSERT_TRUE(case_.error.empty()) << case_.where << ": " << case_.error;
    bool has_source = false;
    for (const Line& line : case_.lines) {
      SCOPED_TRACE(line.where + " (" + case_.title + ")");
      const std::string& d = line.directive;
      if (d == "source") {
        has_source = true;
      } else if (d == "spheroid") {
        SetSpheroid(line);
      } else if (d == "projection") {
        SetProjection(line);
      } else if (d == "unit") {
        unit_ = Number(line.Word(0)).value_or(0.0);
        EXPECT_GT(unit_, 0.0) << "unit needs metres per unit";
      } else if (d == "tolerance" || d == "tolerance_inverse") {
        const auto tolerance = Length(line.words, 0);
        ASSERT_TRUE(tolerance) << d << " needs a value and mm, cm or m";
        if (d == "tolerance") tolerance_ = *tolerance;
        if (d == "tolerance_inverse") inverse_tolerance_ = *tolerance;
      } else if (d == "accept" || d == "accept_grid") {
        Accept(line, d == "accept_grid");
      } else if (d == "expect") {
        Expect(line);
      } else if (d == "forward_only") {
        forward_only_ = true;
      } else if (d == "roundtrip") {
        RoundTrip(line);
      } else if (d == "convergence" || d == "scale") {
        ExpectFactor(line);
      } else {
        ADD_FAILURE() << "unknown directive '" << d << "'";
      }
    }
    EXPECT_TRUE(has_source) << case_.where << ": every case says where its figures come from";
  }

 private:
  void SetSpheroid(const Line& line) {
    auto values = KeyValues(line);
    if (values.count("row")) {
      ASSERT_TRUE(spheroid_.SetBuiltIn(static_cast<int>(Number(values["row"]).value_or(-1))));
      return;
    }
    const auto a = Number(values["a"]);
    const auto rf = Number(values["rf"]), b = Number(values["b"]);
    ASSERT_TRUE(a && (rf || b)) << "spheroid needs row= or a= with rf= or b=";
    spheroid_.m_SemiMajorAxis = *a;
    spheroid_.m_InverseFlattening = rf ? *rf : *a / (*a - *b);
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
    for (std::size_t slot = 0; slot < projection_.m_Param.size(); ++slot) {
      const std::string key = "p" + std::to_string(slot);
      if (values.count(key)) projection_.m_Param[slot] = Number(values[key]).value_or(NAN);
    }
    if (values.count("axis") || values.count("zone")) {
      projection_.SetGridAxisAndZone(static_cast<int>(number("axis", 0)),
                                     static_cast<int>(number("zone", 0)));
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

  void Accept(const Line& line, bool grid) {
    ASSERT_EQ(line.words.size(), 2u) << line.directive << " takes two values";
    const auto first = grid ? Number(line.words[0]) : Angle(line.words[0]);
    const auto second = grid ? Number(line.words[1]) : Angle(line.words[1]);
    ASSERT_TRUE(first && second) << "cannot read the position";
    grid_ = grid;
    (grid ? easting_ : latitude_) = *first * (grid ? unit_ : 1.0);
    (grid ? northing_ : longitude_) = *second * (grid ? unit_ : 1.0);
  }

  // Distance in metres between two positions, close enough for tolerances.
  double Separation(double latitude, double longitude) const {
    const double a = spheroid_.m_SemiMajorAxis;
    return std::hypot((latitude - latitude_) * a,
                      (longitude - longitude_) * a * std::cos(latitude_));
  }

  void Expect(const Line& line) {
    ASSERT_EQ(line.words.size(), 2u) << "expect takes an easting and a northing, or failure "
                                        "and a status";
    if (line.words[0] == "failure") return ExpectFailure(line.words[1]);
    ASSERT_FALSE(grid_) << "expect EASTING NORTHING needs a geographical accept";
    const auto easting = Number(line.words[0]), northing = Number(line.words[1]);
    ASSERT_TRUE(easting && northing) << "cannot read the grid position";
    double e = NAN, n = NAN;
    EXPECT_EQ(NameOf(projection_.GeogToGrid(latitude_, longitude_, &e, &n)), "ok") << "forward";
    EXPECT_NEAR(e, *easting * unit_, tolerance_) << "easting";
    EXPECT_NEAR(n, *northing * unit_, tolerance_) << "northing";
    if (forward_only_) return;
    double latitude = NAN, longitude = NAN;
    EXPECT_EQ(
        NameOf(projection_.GridToGeog(*easting * unit_, *northing * unit_, &latitude, &longitude)),
        "ok")
        << "inverse";
    EXPECT_LE(Separation(latitude, longitude), inverse_tolerance_.value_or(tolerance_))
        << "inverse gives " << latitude * kDegreesPerRadian << ", "
        << longitude * kDegreesPerRadian;
  }

  void ExpectFailure(const std::string& wanted) {
    ASSERT_TRUE(std::any_of(kStatusNames.begin() + 1, kStatusNames.end(),
                            [&](const auto& named) { return wanted == named.first; }))
        << "'" << wanted << "' is none of empty, invalid, method, outside, convergence";
    // Not NaN: an output a family never writes keeps what it held, and a NaN there
    // would read as a result that is not a number.
    std::array<double, 4> out = {0.25, 0.25, 0.25, 0.25};
    const ProjectionStatus status =
        grid_ ? projection_.GridToGeog(easting_, northing_, &out[0], &out[1], &out[2], &out[3])
              : projection_.GeogToGrid(latitude_, longitude_, &out[0], &out[1], &out[2], &out[3]);
    EXPECT_EQ(NameOf(status), wanted) << (grid_ ? "inverse" : "forward");
    if (wanted == "empty") {
      EXPECT_EQ(out, (std::array{0.0, 0.0, 0.0, projection_.m_ScaleFactor}))
          << "an empty position gives zeros and the scale factor k0";
    }
  }

  void ExpectFactor(const Line& line) {
    ASSERT_FALSE(grid_) << line.directive << " needs a geographical accept";
    const auto value = Number(line.Word(0)), tolerance = Number(line.Word(1));
    ASSERT_TRUE(value && tolerance) << line.directive << " takes a value and a tolerance";
    double convergence = NAN, scale = NAN;
    EXPECT_EQ(NameOf(projection_.GeogToGrid(latitude_, longitude_, nullptr, nullptr, &convergence,
                                            &scale)),
              "ok");
    if (line.directive == "scale") {
      EXPECT_NEAR(scale, *value, *tolerance) << "point scale factor";
    } else {
      EXPECT_NEAR(convergence * kDegreesPerRadian, *value, *tolerance) << "convergence, degrees";
    }
  }

  void RoundTrip(const Line& line) {
    ASSERT_FALSE(grid_) << "roundtrip starts from a geographical accept";
    const auto count = Number(line.Word(0));
    const auto tolerance = Length(line.words, 1);
    ASSERT_TRUE(count && tolerance) << "roundtrip takes a count and a tolerance";
    double latitude = latitude_, longitude = longitude_;
    for (int round = 0; round < *count; ++round) {
      double e = 0.0, n = 0.0;
      ASSERT_EQ(NameOf(projection_.GeogToGrid(latitude, longitude, &e, &n)), "ok") << round;
      ASSERT_EQ(NameOf(projection_.GridToGeog(e, n, &latitude, &longitude)), "ok") << round;
    }
    EXPECT_LE(Separation(latitude, longitude), *tolerance)
        << "drift after " << *count << " round trips";
  }

  const Case& case_;
  CSpheroid spheroid_;
  CProjection projection_;
  double unit_ = 1.0;
  double tolerance_ = 0.001;
  std::optional<double> inverse_tolerance_;
  bool grid_ = false;  // whether the last accept was a grid position
  double latitude_ = 0.0, longitude_ = 0.0;
  double easting_ = 0.0, northing_ = 0.0;
  bool forward_only_ = false;
};

class ProjectionCase : public ::testing::TestWithParam<Case> {};

TEST_P(ProjectionCase, MeetsEveryExpectation) {
  CaseRunner(GetParam()).Run();
}

INSTANTIATE_TEST_SUITE_P(Files, ProjectionCase, ::testing::ValuesIn(AllCases()),
                         [](const auto& info) { return info.param.name; });

TEST(ProjectionCaseFiles, HoldEveryWorkedExample) {
  EXPECT_GE(AllCases().size(), 39u) << "cases have gone missing";
}

}  // namespace
}  // namespace orvale
