// The studio's host as the browser drives it, without a socket: every pane kind made,
// edited and read back; what one pane posts reaching the others; display settings,
// night mode, visibility, the sun shot's clock and almanac; the routes' refusals; and
// the time an edit takes.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "api.h"
#include "grid_json.h"
#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/survey/sun_shot.h"
#include "orvale/panes/compute_heading_pane.h"
#include "orvale/panes/property_grid.h"
#include "orvale/panes/spheroid_projection_pane.h"
#include "orvale/platform/files.h"
#include "orvale/storage/config_file.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"
#include "text_json.h"
#include "workbench.h"

namespace orvale::studio {
namespace {

using nlohmann::json;

class WorkbenchTest : public testing::TemporaryDrives {
 protected:
  WorkbenchTest() : clock_({2026, 3, 20, 12, 0, 0.0, 0, false}) {}

  void SetUp() override {
    TemporaryDrives::SetUp();
    host_ = std::make_unique<Workbench>(clock_);
    AddPaneRoutes(router_, *host_);
  }
  void TearDown() override {
    host_.reset();
    TemporaryDrives::TearDown();
  }

  int Open(std::string_view kind) {
    const PaneKindInfo* info = FindPaneKind(kind);
    EXPECT_NE(info, nullptr) << kind;
    const std::optional<int> id = info ? host_->OpenPane(info->kind) : std::nullopt;
    EXPECT_TRUE(id.has_value()) << kind;
    return id.value_or(0);
  }

  // Applies "path=text; path=text" to pane `id`, each taken.
  void EditAll(int id, const std::string& edits, const std::string& where) {
    std::istringstream in(edits);
    for (std::string edit; std::getline(in, edit, ';');) {
      edit = testing::TextField(edit);
      const std::size_t equals = edit.find('=');
      ASSERT_NE(equals, std::string::npos) << where;
      const EditResult result = host_->Edit(id, edit.substr(0, equals), edit.substr(equals + 1));
      EXPECT_EQ(result.outcome, EditOutcome::kTaken)
          << where << ": " << edit << ": " << result.reason;
    }
  }

  // The display text (Windows-1252) of the row at `path` of pane `id`.
  std::string Text(int id, const std::string& path) {
    CMyDockablePane* pane = host_->Pane(id);
    if (pane == nullptr) return "<no pane>";
    const CMFCPropertyGridProperty* property = FindProperty(pane->Grid(), path);
    return property != nullptr ? property->FormatProperty() : "<no row " + path + ">";
  }

  json Call(const std::string& method, const std::string& path, json body = nullptr,
            int* status = nullptr) {
    ApiRequest request;
    request.body = std::move(body);
    const std::optional<ApiReply> reply = router_.Dispatch(method, path, request);
    if (!reply) {
      if (status) *status = 404;
      return nullptr;
    }
    if (status) *status = reply->status;
    if (!reply->content_type.empty()) {
      EXPECT_EQ(reply->content_type, "application/json");
      EXPECT_TRUE(reply->filename.empty());
      return json::parse(reply->bytes);
    }
    return reply->json;
  }

  FixedClock clock_;
  std::unique_ptr<Workbench> host_;
  ApiRouter router_;
};

int AngleTypeOf(const std::string& form) {
  if (form == "latitude") return ANGLE_LATITUDE;
  if (form == "longitude") return ANGLE_LONGITUDE;
  if (form == "bearing") return ANGLE_BEARING;
  return ANGLE_SIGNED;
}

TEST_F(WorkbenchTest, EveryPaneKindTakesEditsAndShowsItsResults) {
  for (const testing::TextRow& row : testing::ReadTextTable("studio/pane_edits.txt")) {
    host_ = std::make_unique<Workbench>(clock_);  // every row from a fresh host
    const int id = Open(row[0]);
    EditAll(id, row[1], row.where);
    const std::string text = Text(id, row[2]);
    const std::string& form = row.fields[3];
    if (form == "text") {
      EXPECT_EQ(text, row[4]) << row.where;
      continue;
    }
    double value = 0.0;
    if (form == "metric") {
      value = std::strtod(text.c_str(), nullptr);
    } else {
      const AngleParseResult angle = ParseAngle(text, AngleTypeOf(form), ANGLE_PREF_DM);
      ASSERT_TRUE(angle.ok) << row.where << ": " << text << ": " << angle.error;
      value = angle.radians * kDegreesPerRadian;
    }
    EXPECT_NEAR(value, std::stod(row[4]), std::stod(row[5])) << row.where << ": " << text;
  }
}

TEST_F(WorkbenchTest, EachKindHasOnePaneWithItsOwnCaptionAndOnlyTheHeadingPaneDraws) {
  for (const PaneKindInfo& info : kPaneKinds) {
    const int id = Open(info.name);
    EXPECT_EQ(Open(info.name), id) << "one pane per kind";
    const json pane = host_->PaneJson(id);
    EXPECT_EQ(pane["caption"], std::string(info.caption));
    EXPECT_EQ(pane["kind"], std::string(info.name));
    EXPECT_TRUE(pane["visible"].get<bool>());
    EXPECT_FALSE(pane["grid"]["properties"].empty());
    if (info.kind == PaneKind::kComputeHeading) {
      ASSERT_TRUE(pane["view"].is_object());
      EXPECT_EQ(pane["view"]["width"], Workbench::kViewSize);
      EXPECT_FALSE(pane["view"]["commands"].empty());
      EXPECT_TRUE(pane["view"]["commands"][0].contains("shape"));
    } else {
      EXPECT_TRUE(pane["view"].is_null()) << info.name;
    }
  }
  const json state = host_->State();
  EXPECT_EQ(state["kinds"].size(), kPaneKinds.size());
  EXPECT_EQ(state["panes"].size(), kPaneKinds.size());
}

TEST_F(WorkbenchTest, APositionPostedByOnePaneReachesThePanesWithAPosition) {
  const int sun = Open("sun-shot");
  const int convergence = Open("convergence");
  const int grid = Open("grid-to-geog");
  const int range = Open("range-bearing");
  EditAll(sun, "0/0=52 10 30N; 0/1=1 20 15W", "sun shot");
  EXPECT_EQ(Text(convergence, "2/0"), "52\xB0 10'.5000000N");
  EXPECT_EQ(Text(convergence, "2/1"), "001\xB0 20'.2500000W");
  EXPECT_EQ(Text(grid, "2/0"), "52\xB0 10'.5000000N");
  EXPECT_EQ(Text(grid, "2/1"), "001\xB0 20'.2500000W");
  EXPECT_EQ(Text(range, "2/0"), "00\xB0 00'.0000000N") << "two points: no single position";

  // And back: a position typed in the convergence pane moves the sun shot.
  EditAll(convergence, "2/0=10S", "convergence");
  EXPECT_EQ(Text(sun, "0/0"), "10\xB0 00'.0000000S");
  EXPECT_EQ(Text(grid, "2/0"), "10\xB0 00'.0000000S");
  EXPECT_EQ(host_->Queue().Count(), 0u) << "every message handled";
}

TEST_F(WorkbenchTest, AProjectionPickedInOnePaneIsFollowedByThePanesSharingIt) {
  const int grid = Open("grid-to-geog");
  const int range = Open("range-bearing");
  const int datum = Open("datum-shift");
  EditAll(range, "2/2=500000; 2/3=5700000", "range and bearing");
  const std::string latitude_on_31 = Text(range, "2/0");
  const std::string datum_projection = Text(datum, "3/1");

  EditAll(grid, "1/1=Grid Zone 32 (9\xB0 E)", "grid to geographicals");
  EXPECT_EQ(Text(range, "1/1"), "Grid Zone 32 (9\xB0 E)");
  EXPECT_EQ(Text(range, "1/11"), "009\xB0 00'.0000000E");
  EXPECT_EQ(Text(range, "2/2"), "500000.000 m") << "the grid form, as last given, stays";
  EXPECT_EQ(Text(range, "2/1"), "009\xB0 00'.0000000E") << "and the position follows the zone";
  EXPECT_EQ(Text(range, "2/0"), latitude_on_31);
  EXPECT_EQ(Text(datum, "3/1"), datum_projection) << "the datum's records are its own";
  EXPECT_EQ(&host_->Projection(),
            static_cast<CSpheroidProjectionPane*>(host_->Pane(grid))->GetProjection());
}

TEST_F(WorkbenchTest, DisplaySettingsAreWrittenAndChangeEveryPanesTexts) {
  const int grid = Open("grid-to-geog");
  const int sun = Open("sun-shot");
  EditAll(sun, "0/0=51 30 0N", "sun");  // which moves the grid pane's position too
  EditAll(grid, "2/2=500000; 2/3=5700000", "grid");
  std::string error;
  ASSERT_TRUE(host_->ApplySettings(
      json{{"geographicals", {{"notation", ANGLE_PREF_DEGREES}, {"decimals", 4}}},
           {"units", {{"mode", 1}, {"index", 0}, {"imperial_mode", 1}}}},
      error))
      << error;
  EXPECT_EQ(Text(grid, "2/0"), "51\xB0.4512N");
  EXPECT_EQ(Text(sun, "0/0"), "51\xB0.5000N");
  // 500000 m in international yards: 500000 / 0.9144.
  EXPECT_EQ(Text(grid, "2/2"), "546806.649 Yds");
  const json settings = host_->SettingsJson();
  EXPECT_EQ(settings["geographicals"]["notation"]["value"], ANGLE_PREF_DEGREES);
  EXPECT_EQ(settings["geographicals"]["decimals"]["value"], 4);
  EXPECT_EQ(settings["units"]["mode"]["value"], 1);
  EXPECT_EQ(settings["units"]["index"]["options"].size(), 12u) << "the foot definitions";
  EXPECT_EQ(ReadBytes(CConfigFile().GetSettingsPath("Units Mode")),
            "Mode = 1\r\nIndex = 0\r\nImperial = 1\r\n");

  // A bad field changes nothing at all.
  const std::string angles_before = ReadBytes(CConfigFile().GetSettingsPath("Angle Settings"));
  for (const json& bad :
       {json{{"angles", {{"notation", 9}}}}, json{{"angles", {{"decimals", "3"}}}},
        json{{"geographicals", {{"latitude_letter", "E"}}}}, json{{"units", {{"index", 12}}}},
        json{{"scheme", 8}}, json{{"night", 1}}, json::array()}) {
    EXPECT_FALSE(host_->ApplySettings(bad, error)) << bad.dump();
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(ReadBytes(CConfigFile().GetSettingsPath("Angle Settings")), angles_before);
  EXPECT_EQ(Text(grid, "2/2"), "546806.649 Yds");
}

TEST_F(WorkbenchTest, NightModeAndTheColourSchemeRepaintEveryPane) {
  const int grid = Open("grid-to-geog");
  const int heading = Open("compute-heading");
  std::string error;
  ASSERT_TRUE(host_->ApplySettings(json{{"night", true}, {"scheme", 3}}, error)) << error;
  GridColours night{};
  ASSERT_TRUE(ColourScheme(3, true, night));
  for (const int id : {grid, heading}) {
    const json pane = host_->PaneJson(id);
    EXPECT_EQ(pane["grid"]["night"], true);
    EXPECT_EQ(pane["grid"]["scheme"], 3);
    EXPECT_EQ(pane["grid"]["colours"]["background"], ColourText(night[0]));
    EXPECT_EQ(pane["grid"]["colours"]["line"], ColourText(night[6]));
  }
  EXPECT_TRUE(static_cast<CComputeHeadingPane*>(host_->Pane(heading))->Bubble().GetNightMode());
  // A pane made later comes up in the same mode.
  const json later = host_->PaneJson(Open("traverse"));
  EXPECT_EQ(later["grid"]["night"], true);
  EXPECT_EQ(later["grid"]["scheme"], 3);
  EXPECT_EQ(host_->SettingsJson()["night"], true);
}

TEST_F(WorkbenchTest, ClosedPanesAreKeptInTheProfileAndShownAgain) {
  const int grid = Open("grid-to-geog");
  const int traverse = Open("traverse");
  EXPECT_EQ(host_->VisiblePanes().size(), 2u);
  ASSERT_TRUE(host_->ShowPane(grid, false));
  EXPECT_EQ(host_->Profile().GetProfileInt("Workspace\\BasePane-" + std::to_string(grid),
                                           "IsVisible", -1),
            0);
  const json visible = host_->VisiblePanes();
  ASSERT_EQ(visible.size(), 1u);
  EXPECT_EQ(visible[0]["id"], traverse);
  EXPECT_EQ(Open("grid-to-geog"), grid) << "asking again shows the same pane";
  EXPECT_EQ(host_->Profile().GetProfileInt("Workspace\\BasePane-" + std::to_string(grid),
                                           "IsVisible", -1),
            1);
  EXPECT_FALSE(host_->ShowPane(99, true));
}

TEST_F(WorkbenchTest, TheSunShotSaysWhichAlmanacIsMissingAndTheHostWritesIt) {
  const int sun = Open("sun-shot");
  EditAll(sun, "0/0=51 30 0N; 0/1=0 10 W", "sun");
  EXPECT_EQ(host_->PaneJson(sun)["almanac_missing"], 2026);
  EXPECT_EQ(Text(sun, "3/0"), "no result");
  int status = 0;
  const json answer =
      Call("POST", "/panes/" + std::to_string(sun) + "/almanac", json{{"year", 2026}}, &status);
  ASSERT_EQ(status, 200) << answer.dump();
  EXPECT_EQ(answer["file"], CSunShot::AlmanacFileName(2026));
  EXPECT_TRUE(FileExists(CSunShot::AlmanacPath(2026)));
  EXPECT_FALSE(host_->PaneJson(sun).contains("almanac_missing"));
  EXPECT_NE(Text(sun, "3/0"), "no result") << "the declination, from the new almanac";

  // Only a sun shot has an almanac; a year must be a number.
  const int grid = Open("grid-to-geog");
  Call("POST", "/panes/" + std::to_string(grid) + "/almanac", json{{"year", 2026}}, &status);
  EXPECT_EQ(status, 409);
  Call("POST", "/panes/" + std::to_string(sun) + "/almanac", json{{"year", "2026"}}, &status);
  EXPECT_EQ(status, 400);
}

TEST_F(WorkbenchTest, TheClockTickShowsTheNewTime) {
  const int sun = Open("sun-shot");
  EXPECT_EQ(Text(sun, "1/1"), "12:00:00.00");
  clock_.Set({2026, 3, 21, 13, 45, 30.0, 0, false});
  int status = 0;
  const json answer = Call("POST", "/clock", nullptr, &status);
  EXPECT_EQ(status, 200);
  EXPECT_EQ(Text(sun, "1/1"), "13:45:30.00");
  EXPECT_EQ(Text(sun, "1/0"), "21 Mar 2026");
  EXPECT_EQ(answer["panes"][0]["grid"]["properties"][1]["items"][1]["text"], "13:45:30.00");
}

TEST_F(WorkbenchTest, TheRoutesRefuseWhatTheyCannotDo) {
  int status = 0;
  Call("POST", "/panes", json{{"kind", "spreadsheet"}}, &status);
  EXPECT_EQ(status, 400);
  Call("POST", "/panes", json{{"kind", 3}}, &status);
  EXPECT_EQ(status, 400);
  Call("POST", "/panes/1/edit", json{{"path", "2/2"}, {"text", "1"}}, &status);
  EXPECT_EQ(status, 404) << "no pane made yet";
  const json pane = Call("POST", "/panes", json{{"kind", "grid-to-geog"}}, &status);
  ASSERT_EQ(status, 200);
  const std::string edit = "/panes/" + std::to_string(pane["id"].get<int>()) + "/edit";
  Call("POST", edit, json{{"path", "2/2"}}, &status);
  EXPECT_EQ(status, 400);
  const std::vector<std::pair<json, std::string>> answers = {
      {json{{"path", "2/2"}, {"text", "five"}}, "refused"},
      {json{{"path", "2/2"}, {"text", "12\xE2\x82\xAC"}}, "refused"},  // the euro sign
      {json{{"path", "2/2"}, {"text", "\xE2\x9C\x93"}}, "refused"},    // no such character
      {json{{"path", "2/9"}, {"text", "1"}}, "read-only"},
      {json{{"path", "2/99"}, {"text", "1"}}, "no-such-property"},
      {json{{"path", "2/2"}, {"text", "123.5"}}, "taken"},
  };
  for (const auto& [body, outcome] : answers) {
    const json answer = Call("POST", edit, body, &status);
    EXPECT_EQ(status, 200) << body.dump();
    EXPECT_EQ(answer["outcome"], outcome) << body.dump();
    EXPECT_EQ(answer["panes"].size(), 1u);
  }
  EXPECT_EQ(Text(pane["id"].get<int>(), "2/2"), "123.500 m");
  Call("POST", "/settings", json{{"scheme", -1}}, &status);
  EXPECT_EQ(status, 400);
}

TEST_F(WorkbenchTest, TheWrittenJsonIsTheTreesJson) {
  for (const PaneKindInfo& info : kPaneKinds) {
    CMyDockablePane* pane = host_->Pane(Open(info.name));
    ASSERT_NE(pane, nullptr);
    std::string text;
    AppendGridJson(text, TakeSnapshot(pane->Grid()));
    EXPECT_EQ(text, GridJson(pane->Grid()).dump()) << info.name;
  }
  std::string text;
  AppendJsonString(text, std::string("a\"b\\c\x01\t\x0B\xB0\x80", 10));
  EXPECT_EQ(text, json(std::string("a\"b\\c\x01\t\x0B\xC2\xB0\xE2\x82\xAC", 13)).dump());
}

TEST_F(WorkbenchTest, WireTextsAreUtf8AndColoursRgb) {
  EXPECT_EQ(ColourText(0x00123456), "#563412");
  EXPECT_EQ(ColourText(0x000000FF), "#ff0000");
  EXPECT_EQ(ToWire("51\xB0 N"), "51\xC2\xB0 N");
  EXPECT_EQ(FromWire("51\xC2\xB0 N"), std::optional<std::string>("51\xB0 N"));
  EXPECT_EQ(FromWire("\xFF"), std::nullopt);
  const int grid = Open("grid-to-geog");
  const json latitude = host_->PaneJson(grid)["grid"]["properties"][2]["items"][0];
  EXPECT_EQ(latitude["text"], "00\xC2\xB0 00'.0000000N");
  EXPECT_EQ(latitude["path"], "2/0");
  EXPECT_EQ(latitude["kind"], "angle");
  EXPECT_TRUE(latitude["editable"].get<bool>());
  EXPECT_TRUE(latitude["colour"].is_null());
}

// An edit's server time is the handler, the posted messages and the JSON of every
// visible pane that goes back with it (all nine here). The median of several rounds,
// since the machine is shared; sanitised debug builds run several times slower.
TEST_F(WorkbenchTest, AnEditAndItsSnapshotsTakeUnderTwentyMilliseconds) {
#if defined(NDEBUG)
  constexpr double kBudgetMs = 20.0;
#else
  constexpr double kBudgetMs = 200.0;
#endif
  struct Case {
    const char* kind;
    const char* path;
    const char* a;
    const char* b;
  };
  const Case cases[] = {
      {"grid-to-geog", "2/2", "500000", "510000"},
      {"range-bearing", "3/0", "52N", "53N"},
      {"traverse", "3/1", "1000", "2000"},
      {"sun-shot", "0/0", "51N", "52N"},
      {"convergence", "2/0", "51N", "52N"},
      {"compute-heading", "0/0", "3", "4"},
      {"datum-shift", "4/0", "51N", "52N"},
      {"wgs84-datum-shift", "0/0", "Ordnance Survey", "WGS84 Shifts"},
      {"parameter-transformation", "3/0", "1.5", "2"},
  };
  for (const PaneKindInfo& info : kPaneKinds)
    Open(info.name);
  for (const Case& c : cases) {
    const std::string edit = "/panes/" + std::to_string(Open(c.kind)) + "/edit";
    constexpr int kRounds = 15;
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
      ApiRequest request;
      request.body = json{{"path", c.path}, {"text", round % 2 ? c.b : c.a}};
      const auto start = std::chrono::steady_clock::now();
      const std::optional<ApiReply> reply = router_.Dispatch("POST", edit, request);
      times.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
      ASSERT_TRUE(reply.has_value());
      const json answer = json::parse(reply->bytes);
      ASSERT_EQ(answer["outcome"], "taken") << c.kind << ": " << answer["reason"];
      ASSERT_EQ(answer["panes"].size(), kPaneKinds.size());
    }
    std::sort(times.begin(), times.end());
    const double median = times[kRounds / 2];
    std::printf("edit of %-26s median %6.2f ms, worst %6.2f ms\n", c.kind, median, times.back());
    EXPECT_LT(median, kBudgetMs) << c.kind;
  }
}

}  // namespace
}  // namespace orvale::studio
