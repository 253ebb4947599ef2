// Runs the cases kept in tests/data/projections/*.txt: published figures, measured
// accuracy and the failures the projection entries report, in files a surveyor can
// read and extend without touching C++. Each case is a test of its own, named after
// its file and title.
//
//   operation   title of the case                  (starts a case)
//   source      where the figures come from        (required)
//   spheroid    row=N | a=A rf=RF | a=A b=B        (as in tests/support/projection_text.h)
//   projection  type=T method=M lat0= lon0= fe= fn= k0= sp1= sp2= p0=..p16= axis= zone=
//               polar=north|south | polarb=ANGLE | polarc=ANGLE | type=T row=R (built in)
//   unit        metres per unit of fe, fn, accept_grid and expect (default 1)
//   tolerance   VALUE mm|cm|m                      (default 1 mm)
//   tolerance_inverse VALUE mm|cm|m                (default: tolerance)
//   accept      LATITUDE LONGITUDE                 (decimal degrees, or D:M:S with N/S/E/W)
//   accept_grid EASTING NORTHING
//   expect      EASTING NORTHING
//   expect      failure STATUS
//   convergence DEGREES TOLERANCE
//   scale       FACTOR TOLERANCE
//   roundtrip   COUNT VALUE mm|cm|m
//   roundtrip_over lat FROM TO STEP lon FROM TO STEP within VALUE mm|cm|m
//
// `expect E N` projects the accepted position to within `tolerance` of E N in each
// co-ordinate and brings E N back to within `tolerance_inverse` of the position; both
// must succeed. `convergence` and `scale` check those outputs of the forward of the
// accepted position. `expect failure STATUS` requires the forward of the accepted
// position, or the inverse of the accepted grid position, to report STATUS: empty
// (taken as no position; the outputs must then be zeros and the scale factor k0),
// invalid (no projection), method (unknown method, axis or zone), outside (no result
// there), convergence (an iteration did not settle), nan (an input that is not a
// number), beyond_pole, pole (a pole the projection cannot show) or far (too far from
// the central meridian). `roundtrip` runs COUNT forward and inverse cycles from the
// accepted position and must end within its tolerance of it; `roundtrip_over` takes
// every point of a grid of degrees (longitudes as given, not from the central
// meridian) forward and back once, each inverse starting from the latitude of the
// point before, as a caller converting a run would. Every step of a round trip must
// succeed. A failure names the case's file, line and title, the value computed, the
// value expected and their difference. tools/proj-sweep writes the proj_sweep_*.txt
// files and round_trips.txt from PROJ; the tests need no PROJ.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>
#include <optional>
#include <ostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "support/projection_fixture.h"

namespace orvale {
namespace {

using testing::ReadAngle;
using testing::ReadNumber;

struct Line {
  std::string where;  // file:line
  std::string directive;
  std::string text;  // what follows the directive
  std::vector<std::string> words;

  std::string Word(std::size_t i) const { return i < words.size() ? words[i] : ""; }
};

struct Case {
  std::string name;  // of the test: file and title
  std::string where;
  std::string title;
  std::string error;  // why the file gave no proper case
  std::vector<Line> lines;
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.where << " " << c.title;
}

// The statuses by the names the files give them.
constexpr std::array<std::pair<ProjectionStatus, const char*>, 9> kStatusNames = {{
    {ProjectionStatus::kOk, "ok"},
    {ProjectionStatus::kInvalidProjection, "invalid"},
    {ProjectionStatus::kUnknownMethod, "method"},
    {ProjectionStatus::kOutsideDomain, "outside"},
    {ProjectionStatus::kNoConvergence, "convergence"},
    {ProjectionStatus::kNotANumber, "nan"},
    {ProjectionStatus::kBeyondPole, "beyond_pole"},
    {ProjectionStatus::kPoleNotRepresentable, "pole"},
    {ProjectionStatus::kFarFromCentralMeridian, "far"},
}};

std::string NameOf(ProjectionStatus status) {
  for (const auto& [value, name] : kStatusNames)
    if (value == status) return name;
  return "status " + std::to_string(static_cast<int>(status));
}

bool IsFailureName(const std::string& name) {
  return name != "ok" && std::any_of(kStatusNames.begin(), kStatusNames.end(),
                                     [&](const auto& entry) { return name == entry.second; });
}

// Metres from words[at] and its unit words[at + 1].
std::optional<double> Length(const Line& line, std::size_t at) {
  const std::map<std::string, double> units = {{"mm", 0.001}, {"cm", 0.01}, {"m", 1.0}};
  const auto value = ReadNumber(line.Word(at));
  const auto unit = units.find(line.Word(at + 1));
  if (!value || unit == units.end()) return std::nullopt;
  return *value * unit->second;
}

// A test name from the file and the title: letters and digits, an underscore for each
// run of anything else.
std::string TestName(const std::filesystem::path& file, const std::string& title) {
  const std::string name =
      std::regex_replace(file.stem().string() + " " + title, std::regex("[^A-Za-z0-9]+"), "_");
  return name.ends_with('_') ? name.substr(0, name.size() - 1) : name;
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
    Line line{file.filename().string() + ":" + std::to_string(number), {}, {}, {}};
    if (!(words >> line.directive)) continue;
    for (std::string word; words >> word;) {
      line.text += (line.words.empty() ? "" : " ") + word;
      line.words.push_back(word);
    }
    if (line.directive == "operation") {
      cases.push_back({TestName(file, line.text), line.where, line.text, "", {}});
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

class CaseRunner {
 public:
  explicit CaseRunner(const Case& c) : case_(c) {}

  void Run() {
    ASSERT_TRUE(case_.error.empty()) << case_.where << ": " << case_.error;
    bool has_source = false;
    for (const Line& line : case_.lines) {
      SCOPED_TRACE(line.where + " (" + case_.title + ")");
      const std::string& d = line.directive;
      if (d == "source") {
        has_source = true;
      } else if (d == "spheroid") {
        testing::SetUpSpheroid(projection_.spheroid, line.text);
      } else if (d == "projection") {
        testing::SetUpProjection(projection_, line.text, unit_);
      } else if (d == "unit") {
        unit_ = ReadNumber(line.Word(0)).value_or(0.0);
        EXPECT_GT(unit_, 0.0) << "unit needs metres per unit";
      } else if (d == "tolerance" || d == "tolerance_inverse") {
        const auto tolerance = Length(line, 0);
        ASSERT_TRUE(tolerance) << d << " needs a value and mm, cm or m";
        if (d == "tolerance") tolerance_ = *tolerance;
        if (d == "tolerance_inverse") inverse_tolerance_ = *tolerance;
      } else if (d == "accept" || d == "accept_grid") {
        Accept(line, d == "accept_grid");
      } else if (d == "expect" && line.Word(0) == "failure") {
        ExpectFailure(line.Word(1));
      } else if (d == "expect") {
        Expect(line);
      } else if (d == "convergence" || d == "scale") {
        ExpectFactor(line);
      } else if (d == "roundtrip") {
        RoundTrip(line);
      } else if (d == "roundtrip_over") {
        RoundTripOver(line);
      } else {
        ADD_FAILURE() << "unknown directive '" << d << "'";
      }
    }
    EXPECT_TRUE(has_source) << case_.where << ": every case says where its figures come from";
  }

 private:
  void Accept(const Line& line, bool grid) {
    const auto first = grid ? ReadNumber(line.Word(0)) : ReadAngle(line.Word(0));
    const auto second = grid ? ReadNumber(line.Word(1)) : ReadAngle(line.Word(1));
    ASSERT_TRUE(first && second && line.words.size() == 2) << "cannot read the position";
    grid_ = grid;
    (grid ? easting_ : latitude_) = *first * (grid ? unit_ : 1.0);
    (grid ? northing_ : longitude_) = *second * (grid ? unit_ : 1.0);
  }

  void Expect(const Line& line) {
    ASSERT_FALSE(grid_) << "expect EASTING NORTHING needs a geographical accept";
    const auto easting = ReadNumber(line.Word(0)), northing = ReadNumber(line.Word(1));
    ASSERT_TRUE(easting && northing && line.words.size() == 2) << "cannot read the grid position";
    const double e = *easting * unit_, n = *northing * unit_;
    double forward_e = NAN, forward_n = NAN;
    EXPECT_EQ(NameOf(projection_.GeogToGrid(latitude_, longitude_, &forward_e, &forward_n)), "ok");
    EXPECT_NEAR(forward_e, e, tolerance_) << "easting";
    EXPECT_NEAR(forward_n, n, tolerance_) << "northing";
    double lat = NAN, lon = NAN;
    EXPECT_EQ(NameOf(projection_.GridToGeog(e, n, &lat, &lon)), "ok") << "inverse";
    EXPECT_LE(projection_.Separation(latitude_, longitude_, lat, lon),
              inverse_tolerance_.value_or(tolerance_))
        << std::setprecision(12) << "inverse metres off: of " << e << " " << n << " gives "
        << lat * kDegreesPerRadian << " " << lon * kDegreesPerRadian << ", expected "
        << latitude_ * kDegreesPerRadian << " " << longitude_ * kDegreesPerRadian;
  }

  void ExpectFailure(const std::string& wanted) {
    ASSERT_TRUE(IsFailureName(wanted))
        << "'" << wanted
        << "' is none of invalid, method, outside, convergence, nan, beyond_pole, pole, far";
    // Not NaN, so that a stand-in number left in an output shows.
    std::array<double, 4> out = {0.25, 0.25, 0.25, 0.25};
    const ProjectionStatus status =
        grid_ ? projection_.GridToGeog(easting_, northing_, &out[0], &out[1], &out[2], &out[3])
              : projection_.GeogToGrid(latitude_, longitude_, &out[0], &out[1], &out[2], &out[3]);
    EXPECT_EQ(NameOf(status), wanted) << (grid_ ? "inverse" : "forward");
    for (const double value : out) {
      EXPECT_TRUE(std::isnan(value)) << "a point without a result has no numbers, not " << value;
    }
  }

  void ExpectFactor(const Line& line) {
    ASSERT_FALSE(grid_) << line.directive << " needs a geographical accept";
    const auto value = ReadNumber(line.Word(0)), tolerance = ReadNumber(line.Word(1));
    ASSERT_TRUE(value && tolerance) << line.directive << " takes a value and a tolerance";
    double convergence = NAN, scale = NAN;
    EXPECT_EQ(NameOf(projection_.GeogToGrid(latitude_, longitude_, nullptr, nullptr, &convergence,
                                            &scale)),
              "ok");
    const bool scale_line = line.directive == "scale";
    EXPECT_NEAR(scale_line ? scale : convergence * kDegreesPerRadian, *value, *tolerance)
        << (scale_line ? "point scale factor" : "convergence, degrees");
  }

  void RoundTrip(const Line& line) {
    ASSERT_FALSE(grid_) << "roundtrip starts from a geographical accept";
    const auto count = ReadNumber(line.Word(0));
    const auto tolerance = Length(line, 1);
    ASSERT_TRUE(count && tolerance) << "roundtrip takes a count and a tolerance";
    double lat = latitude_, lon = longitude_;
    for (int round = 0; round < *count; ++round) {
      double e = 0.0, n = 0.0;
      ASSERT_EQ(NameOf(projection_.GeogToGrid(lat, lon, &e, &n)), "ok") << "round " << round;
      ASSERT_EQ(NameOf(projection_.GridToGeog(e, n, &lat, &lon)), "ok") << "round " << round;
    }
    EXPECT_LE(projection_.Separation(latitude_, longitude_, lat, lon), *tolerance)
        << std::setprecision(12) << "drift after " << *count << " round trips: ends at "
        << lat * kDegreesPerRadian << " " << lon * kDegreesPerRadian << ", started at "
        << latitude_ * kDegreesPerRadian << " " << longitude_ * kDegreesPerRadian;
  }

  void RoundTripOver(const Line& line) {
    std::array<double, 6> span{};
    for (std::size_t i = 0; i < span.size(); ++i)
      span[i] = ReadNumber(line.Word(i < 3 ? i + 1 : i + 2)).value_or(NAN);
    const auto tolerance = Length(line, 9);
    ASSERT_TRUE(line.Word(0) == "lat" && line.Word(4) == "lon" && line.Word(8) == "within" &&
                std::none_of(span.begin(), span.end(), [](double x) { return std::isnan(x); }) &&
                span[2] > 0 && span[5] > 0 && tolerance)
        << "roundtrip_over lat FROM TO STEP lon FROM TO STEP within VALUE UNIT";
    EXPECT_LE(projection_.WorstRoundTrip({span[0], span[1], span[2]}, {span[3], span[4], span[5]},
                                         /*chain=*/true),
              *tolerance);
  }

  const Case& case_;
  testing::TestProjection projection_;
  double unit_ = 1.0;
  double tolerance_ = 0.001;
  std::optional<double> inverse_tolerance_;
  bool grid_ = false;  // whether the last accept was a grid position
  double latitude_ = 0.0, longitude_ = 0.0;
  double easting_ = 0.0, northing_ = 0.0;
};

class ProjectionCase : public ::testing::TestWithParam<Case> {};

TEST_P(ProjectionCase, MeetsEveryExpectation) {
  CaseRunner(GetParam()).Run();
}

INSTANTIATE_TEST_SUITE_P(Files, ProjectionCase, ::testing::ValuesIn(AllCases()),
                         [](const auto& info) { return info.param.name; });

TEST(ProjectionCaseFiles, HoldEveryCase) {
  EXPECT_GE(AllCases().size(), 397u) << "cases have gone missing";
}

}  // namespace
}  // namespace orvale
