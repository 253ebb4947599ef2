#include "workbench.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "grid_json.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/survey/sun_almanac.h"
#include "orvale/engine/survey/sun_shot.h"
#include "orvale/panes/compute_heading_pane.h"
#include "orvale/panes/convergence_pane.h"
#include "orvale/panes/datum_shift_pane.h"
#include "orvale/panes/grid_to_geog_pane.h"
#include "orvale/panes/parameter_transformation_pane.h"
#include "orvale/panes/range_bearing_pane.h"
#include "orvale/panes/sun_shot_pane.h"
#include "orvale/panes/traverse_pane.h"
#include "orvale/platform/stdio_file.h"
#include "text_json.h"

namespace orvale::studio {
namespace {

using nlohmann::json;

constexpr int kWgs84Spheroid = 26;
constexpr int kUtmZone31 = 31;     // catalogue row of the U.T.M projection type
constexpr int kWgs84Shifts = 1;    // datum type of the WGS84 shifts
constexpr int kMaxMessages = 256;  // a pane that posted in a loop would stop here
constexpr int kFirstColourScheme = 0;
constexpr int kLastColourScheme = 7;

// The sun shot's date and time rows.
constexpr std::string_view kSunDatePath = "1/0";
constexpr std::string_view kSunTimePath = "1/1";

struct UniversalTime {
  std::string date;  // "21 Mar 2026"
  std::string time;  // "13:45:30.00"
};

// The clock's local time less its offset from UTC, as the rows show it.
UniversalTime UniversalNow(const IClock& clock) {
  using namespace std::chrono;
  const LocalDateTime now = clock.Now();
  const sys_days day = year_month_day{year{now.year}, month{static_cast<unsigned>(now.month)},
                                      std::chrono::day{static_cast<unsigned>(now.day)}};
  const double seconds =
      now.hour * 3600.0 + now.minute * 60.0 + now.second - now.utc_offset_minutes * 60.0;
  // Whole centiseconds, as the time row shows them, so a value never rounds up to 60.
  const auto instant = time_point_cast<milliseconds>(day) +
                       milliseconds(static_cast<long long>(std::floor(seconds * 100.0)) * 10);
  const sys_days utc_day = floor<days>(instant);
  const year_month_day ymd{utc_day};
  const long long centis = duration_cast<milliseconds>(instant - utc_day).count() / 10;
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char date[32], time[32];
  std::snprintf(date, sizeof date, "%02u %s %d", static_cast<unsigned>(ymd.day()),
                kMonths[static_cast<unsigned>(ymd.month()) - 1], static_cast<int>(ymd.year()));
  std::snprintf(time, sizeof time, "%02lld:%02lld:%02lld.%02lld", centis / 360000,
                centis / 6000 % 60, centis / 100 % 60, centis % 100);
  return {date, time};
}

// Pane ids are fixed per kind: the kind's place in the table, from 1.
int IdOf(const PaneKindInfo& info) {
  return static_cast<int>(&info - kPaneKinds.data()) + 1;
}

std::string ProfileSection(int id) {
  char section[48];
  std::snprintf(section, sizeof section, "Workspace\\BasePane-%d", id);
  return section;
}

bool SharesProjection(PaneKind kind) {
  return kind == PaneKind::kGridToGeog || kind == PaneKind::kRangeBearing ||
         kind == PaneKind::kTraverse || kind == PaneKind::kConvergence;
}

bool SharesDatum(PaneKind kind) {
  return kind == PaneKind::kDatumShift || kind == PaneKind::kWgs84DatumShift;
}

template <typename T>
T& As(CMyDockablePane& pane) {
  return static_cast<T&>(pane);
}

}  // namespace

const PaneKindInfo* FindPaneKind(std::string_view name) {
  for (const PaneKindInfo& info : kPaneKinds)
    if (info.name == name) return &info;
  return nullptr;
}

Workbench::Workbench(const IClock& clock) : clock_(clock) {
  window_.AttachHost(&queue_, &profile_);
  // A fresh host starts on WGS84 and U.T.M zone 31, shifting WGS84 positions.
  projection_.m_Spheroid = &spheroid_;
  static_cast<void>(spheroid_.SetBuiltIn(kWgs84Spheroid));
  static_cast<void>(projection_.SetFromCatalogue(kUtmZone31, PROJECTION_UTM, 0));
  static_cast<void>(target_spheroid_.SetBuiltIn(kWgs84Spheroid));
  target_projection_.m_Spheroid = &target_spheroid_;
  static_cast<void>(target_projection_.SetFromCatalogue(kUtmZone31, PROJECTION_UTM, 0));
  datum_.m_TargetSpheroid = &target_spheroid_;
  datum_.m_TargetProjection = &target_projection_;
  static_cast<void>(datum_.SetFromCatalogue(kWgs84Shifts, 1, 1));
}

Workbench::~Workbench() {
  // Panes go first: they point at the records and post to the window's queue.
  for (Slot& slot : slots_)
    queue_.Forget(slot.pane.get());
  slots_.clear();
}

Workbench::Slot* Workbench::Find(int id) {
  for (Slot& slot : slots_)
    if (IdOf(*slot.info) == id) return &slot;
  return nullptr;
}

bool Workbench::HasPane(int id) const {
  for (const Slot& slot : slots_)
    if (IdOf(*slot.info) == id) return true;
  return false;
}

CMyDockablePane* Workbench::Pane(int id) {
  Slot* slot = Find(id);
  return slot == nullptr ? nullptr : slot->pane.get();
}

std::optional<int> Workbench::OpenPane(PaneKind kind) {
  const PaneKindInfo* info = nullptr;
  for (const PaneKindInfo& candidate : kPaneKinds)
    if (candidate.kind == kind) info = &candidate;
  if (info == nullptr) return std::nullopt;
  const int id = IdOf(*info);
  if (HasPane(id)) {
    ShowPane(id, true);
    return id;
  }
  // The pane starts hidden unless the profile says it was shown: it is asked for.
  profile_.WriteProfileInt(ProfileSection(id), "IsVisible", 1);
  std::unique_ptr<CMyDockablePane> pane;
  bool made = false;
  switch (kind) {
    case PaneKind::kGridToGeog: {
      auto p = std::make_unique<CGridToGeogPane>();
      made = p->Create(&window_, id, &projection_, true);
      pane = std::move(p);
      break;
    }
    case PaneKind::kRangeBearing: {
      auto p = std::make_unique<CRangeAndBearingPane>();
      made = p->Create(&window_, id, &projection_, true);
      pane = std::move(p);
      break;
    }
    case PaneKind::kTraverse: {
      auto p = std::make_unique<CTraversePane>();
      made = p->Create(&window_, id, &projection_, true);
      pane = std::move(p);
      break;
    }
    case PaneKind::kSunShot: {
      auto p = std::make_unique<CSunShotPane>(clock_);
      made = p->Create(&window_, id);
      pane = std::move(p);
      break;
    }
    case PaneKind::kConvergence: {
      auto p = std::make_unique<CConvergencePane>();
      made = p->Create(&window_, id, &projection_, true);
      pane = std::move(p);
      break;
    }
    case PaneKind::kComputeHeading: {
      auto p = std::make_unique<CComputeHeadingPane>();
      made = p->Create(&window_, id);
      if (made) p->Layout(kViewSize, 3 * kViewSize);
      pane = std::move(p);
      break;
    }
    case PaneKind::kDatumShift: {
      auto p = std::make_unique<CDatumShiftPane>();
      made = p->Create(&window_, id, &datum_, false, true);
      pane = std::move(p);
      break;
    }
    case PaneKind::kWgs84DatumShift: {
      auto p = std::make_unique<CWgs84DatumShiftPane>();
      made = p->Create(&window_, id, &datum_);
      pane = std::move(p);
      break;
    }
    case PaneKind::kParameterTransformation: {
      auto p = std::make_unique<CParameterTransformationPane>(clock_);
      made = p->Create(&window_, id);
      pane = std::move(p);
      break;
    }
  }
  if (!made) {
    queue_.Forget(pane.get());
    return std::nullopt;
  }
  slots_.push_back({info, std::move(pane)});
  Paint(slots_.back());
  // Creation may post (a pane that loads its records); the others hear of it.
  DrainMessages(slots_.back().pane.get());
  return id;
}

bool Workbench::ShowPane(int id, bool show) {
  Slot* slot = Find(id);
  if (slot == nullptr) return false;
  slot->pane->ShowPane(show, false, show);
  profile_.WriteProfileInt(ProfileSection(id), "IsVisible", show ? 1 : 0);
  return true;
}

EditResult Workbench::Edit(int id, std::string_view path, std::string_view text) {
  Slot* slot = Find(id);
  if (slot == nullptr) return {EditOutcome::kNoSuchProperty, "no such pane"};
  EditResult result = ApplyEdit(slot->pane->Grid(), path, text);
  DrainMessages(slot->pane.get());
  return result;
}

void Workbench::DrainMessages(const CMyDockablePane* source) {
  const Slot* from = nullptr;
  for (const Slot& slot : slots_)
    if (slot.pane.get() == source) from = &slot;
  for (int handled = 0; handled < kMaxMessages; ++handled) {
    const std::optional<MSG> message = queue_.Take();
    if (!message) return;
    if (message->message == GeodeticUpdateMessage()) {
      if (from != nullptr) Geodetic(*from);
    } else if (message->message == GeographicalUpdateMessage() && message->lParam != 0) {
      // A copy: the panes told of it may post again, and the sender's record moves on.
      const tagXY position = *reinterpret_cast<const tagXY*>(message->lParam);
      if (from != nullptr) Geographical(*from, position);
    }
  }
}

void Workbench::Geodetic(const Slot& source) {
  const PaneKind from = source.info->kind;
  for (Slot& slot : slots_) {
    if (&slot == &source) continue;
    const PaneKind kind = slot.info->kind;
    if (SharesProjection(from) && SharesProjection(kind)) {
      As<CSpheroidProjectionPane>(*slot.pane).RefreshProjection();
    } else if (kind == PaneKind::kDatumShift &&
               (SharesDatum(from) || from == PaneKind::kParameterTransformation)) {
      // A datum record saved by the parameter pane joins the datum lists.
      auto& pane = As<CDatumShiftPane>(*slot.pane);
      if (from == PaneKind::kParameterTransformation) pane.UpdateDatumShifts();
      pane.RefreshDatum();
    } else if (kind == PaneKind::kWgs84DatumShift && SharesDatum(from)) {
      auto& pane = As<CWgs84DatumShiftPane>(*slot.pane);
      pane.UpdateGrid();
      pane.UpdateGeographicals();
    }
  }
}

void Workbench::Geographical(const Slot& source, const tagXY& position) {
  for (Slot& slot : slots_) {
    if (&slot == &source) continue;
    switch (slot.info->kind) {
      case PaneKind::kGridToGeog:
        As<CGridToGeogPane>(*slot.pane).SetGeog(position);
        break;
      case PaneKind::kTraverse:
        As<CTraversePane>(*slot.pane).SetGeog(position);
        break;
      case PaneKind::kSunShot:
        As<CSunShotPane>(*slot.pane).SetGeog(position);
        break;
      case PaneKind::kConvergence:
        As<CConvergencePane>(*slot.pane).SetGeog(position);
        break;
      default:
        break;
    }
  }
}

void Workbench::RecordsChanged() {
  for (Slot& slot : slots_) {
    switch (slot.info->kind) {
      case PaneKind::kDatumShift: {
        auto& pane = As<CDatumShiftPane>(*slot.pane);
        pane.UpdateDatumShifts();
        pane.RefreshDatum();
        break;
      }
      case PaneKind::kWgs84DatumShift: {
        auto& pane = As<CWgs84DatumShiftPane>(*slot.pane);
        pane.UpdateGrid();
        pane.UpdateGeographicals();
        break;
      }
      case PaneKind::kParameterTransformation:
        As<CParameterTransformationPane>(*slot.pane).Renew();
        break;
      default:
        if (SharesProjection(slot.info->kind))
          As<CSpheroidProjectionPane>(*slot.pane).RefreshProjection();
        break;
    }
  }
  DrainMessages(nullptr);
}

void Workbench::TickClock() {
  for (Slot& slot : slots_) {
    if (slot.info->kind != PaneKind::kSunShot) continue;
    // The pane keeps the instant it took at creation; the clock's rows show "now" as
    // the user would type it, in universal time, which recomputes the shot.
    const UniversalTime now = UniversalNow(clock_);
    CMyMFCPropertyGridCtrl& grid = slot.pane->Grid();
    static_cast<void>(ApplyEdit(grid, kSunDatePath, now.date));
    static_cast<void>(ApplyEdit(grid, kSunTimePath, now.time));
    As<CSunShotPane>(*slot.pane).UpdateClock();
    DrainMessages(slot.pane.get());
  }
}

std::optional<std::string> Workbench::WriteAlmanac(int id, int year) {
  Slot* slot = Find(id);
  if (slot == nullptr || slot->info->kind != PaneKind::kSunShot) return std::nullopt;
  const std::string path = CSunShot::AlmanacPath(year);
  if (path.empty()) return std::nullopt;
  CStdioFile file;
  if (!file.Open(path, FileMode::WriteBinary)) return std::nullopt;
  file.WriteString(SunAlmanacText(FitSunAlmanac(year)));
  if (!file.Close()) return std::nullopt;
  // The pane reads an almanac when its date changes (an unchanged value tells it
  // nothing): another day of the same year loads the file, then the user's day is back.
  CMyMFCPropertyGridCtrl& grid = slot->pane->Grid();
  const CMFCPropertyGridProperty* date = FindProperty(grid, kSunDatePath);
  if (date != nullptr) {
    const std::string day = date->FormatProperty();
    const std::string other = (day.starts_with("01 Jan") ? "02 Jan " : "01 Jan ") +
                              std::to_string(As<CSunShotPane>(*slot->pane).Year());
    static_cast<void>(ApplyEdit(grid, kSunDatePath, other));
    static_cast<void>(ApplyEdit(grid, kSunDatePath, day));
  }
  As<CSunShotPane>(*slot->pane).UpdatePoly();
  DrainMessages(slot->pane.get());
  return CSunShot::AlmanacFileName(year);
}

void Workbench::Redraw(Slot& slot) {
  CMyDockablePane& p = *slot.pane;
  switch (slot.info->kind) {
    case PaneKind::kGridToGeog:
      As<CGridToGeogPane>(p).UpdateGrid();
      As<CGridToGeogPane>(p).UpdateGeographicals();
      As<CGridToGeogPane>(p).UpdateAngles();
      break;
    case PaneKind::kRangeBearing:
      As<CRangeAndBearingPane>(p).UpdateGrid();
      As<CRangeAndBearingPane>(p).UpdateGeographicals();
      As<CRangeAndBearingPane>(p).UpdateAngles();
      break;
    case PaneKind::kTraverse:
      As<CTraversePane>(p).UpdateGrid();
      As<CTraversePane>(p).UpdateGeographicals();
      As<CTraversePane>(p).UpdateAngles();
      break;
    case PaneKind::kSunShot:
      As<CSunShotPane>(p).UpdateGeographicals();
      As<CSunShotPane>(p).UpdateAngles();
      break;
    case PaneKind::kConvergence:
      As<CConvergencePane>(p).UpdateGrid();
      As<CConvergencePane>(p).UpdateGeographicals();
      break;
    case PaneKind::kDatumShift:
      As<CDatumShiftPane>(p).UpdateGrid();
      As<CDatumShiftPane>(p).UpdateGeographicals();
      As<CDatumShiftPane>(p).UpdateAngles();
      break;
    case PaneKind::kWgs84DatumShift:
      As<CWgs84DatumShiftPane>(p).UpdateGrid();
      As<CWgs84DatumShiftPane>(p).UpdateGeographicals();
      break;
    case PaneKind::kComputeHeading:
    case PaneKind::kParameterTransformation:
      break;  // their rows format with the settings when shown; nothing is kept
  }
}

void Workbench::Paint(Slot& slot) {
  slot.pane->Grid().SetColourScheme(scheme_);
  slot.pane->SetNightMode(night_);
}

std::string Workbench::PaneText(int id) {
  Slot* slot = Find(id);
  if (slot == nullptr) return {};
  CMyDockablePane& pane = *slot->pane;
  std::string out = "{";
  if (slot->info->kind == PaneKind::kSunShot) {
    const auto& sun = As<CSunShotPane>(pane);
    if (sun.SunShot().m_AlmanacYear != sun.Year() || sun.Year() == 0)
      out += "\"almanac_missing\":" + std::to_string(sun.Year()) + ",";
  }
  out += "\"caption\":";
  AppendJsonString(out, pane.GetCaption());
  out += ",\"grid\":";
  AppendGridJson(out, TakeSnapshot(pane.Grid()));
  out += ",\"id\":" + std::to_string(id) + ",\"kind\":";
  AppendJsonString(out, slot->info->name);
  out += ",\"view\":";
  if (slot->info->kind == PaneKind::kComputeHeading) {
    const auto& heading = As<CComputeHeadingPane>(pane);
    out += ViewJson(heading.Bubble().OnDraw(kViewSize, kViewSize), kViewSize, kViewSize).dump();
  } else {
    out += "null";
  }
  out += std::string(",\"visible\":") + (pane.IsPaneVisible() ? "true" : "false") + "}";
  return out;
}

std::string Workbench::VisiblePanesText() {
  std::string out = "[";
  for (const Slot& slot : slots_) {
    if (!slot.pane->IsPaneVisible()) continue;
    if (out.size() > 1) out += ',';
    out += PaneText(IdOf(*slot.info));
  }
  return out + "]";
}

json Workbench::PaneJson(int id) {
  const std::string text = PaneText(id);
  return text.empty() ? json(nullptr) : json::parse(text);
}

json Workbench::VisiblePanes() {
  return json::parse(VisiblePanesText());
}

json Workbench::State() {
  json kinds = json::array();
  for (const PaneKindInfo& info : kPaneKinds)
    kinds.push_back({{"kind", std::string(info.name)}, {"caption", std::string(info.caption)}});
  json panes = json::array();
  for (const Slot& slot : slots_)
    panes.push_back(PaneJson(IdOf(*slot.info)));
  return json{
      {"kinds", std::move(kinds)}, {"panes", std::move(panes)}, {"settings", SettingsJson()}};
}

json Workbench::SettingsJson() const {
  json settings = DisplaySettingsJson(ReadDisplaySettings());
  settings["night"] = night_;
  settings["scheme"] = scheme_;
  return settings;
}

bool Workbench::ApplySettings(const json& body, std::string& error) {
  if (!body.is_object()) {
    error = "settings must be an object";
    return false;
  }
  DisplaySettings settings = ReadDisplaySettings();
  if (!MergeDisplaySettings(body, settings, error)) return false;
  bool night = night_;
  int scheme = scheme_;
  if (const auto found = body.find("night"); found != body.end()) {
    if (!found->is_boolean()) {
      error = "night must be true or false";
      return false;
    }
    night = found->get<bool>();
  }
  if (const auto found = body.find("scheme"); found != body.end()) {
    if (!found->is_number_integer() || found->get<long long>() < kFirstColourScheme ||
        found->get<long long>() > kLastColourScheme) {
      error = "scheme must be a whole number from 0 to 7";
      return false;
    }
    scheme = found->get<int>();
  }
  if (!WriteDisplaySettings(settings)) {
    error = "the settings files cannot be written";
    return false;
  }
  night_ = night;
  scheme_ = scheme;
  for (Slot& slot : slots_) {
    Redraw(slot);
    Paint(slot);
  }
  DrainMessages(nullptr);
  return true;
}

}  // namespace orvale::studio

#include <charconv>

#include "api.h"

namespace orvale::studio {
namespace {

using nlohmann::json;

std::optional<int> IdParam(const ApiRequest& request) {
  if (request.params.empty()) return std::nullopt;
  const std::string& text = request.params[0];
  int id = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return id;
}

ApiReply NoPane() {
  return ApiReply::Error(404, "no such pane");
}

// `head` (an object) with "panes" added, already written: the reply as JSON text.
ApiReply WithPanes(const json& head, const std::string& panes) {
  std::string text = head.is_object() && !head.empty() ? head.dump() : "{}";
  text.pop_back();
  text += (text.size() > 1 ? ",\"panes\":" : "\"panes\":") + panes + "}";
  return ApiReply{200, nullptr, std::move(text), "application/json", {}, true};
}

}  // namespace

void AddPaneRoutes(ApiRouter& router, Workbench& host) {
  router.Add("GET", "/state", [&host](const ApiRequest&) { return ApiReply::Json(host.State()); });

  router.Add("POST", "/panes", [&host](const ApiRequest& request) {
    const std::optional<std::string> name = StringField(request.body, "kind");
    if (!name) return ApiReply::Error(400, "\"kind\" must name a pane kind");
    const PaneKindInfo* info = FindPaneKind(*name);
    if (info == nullptr) return ApiReply::Error(400, "no pane kind \"" + *name + "\"");
    const std::optional<int> id = host.OpenPane(info->kind);
    if (!id) return ApiReply::Error(409, "the pane could not be made");
    return ApiReply{200, nullptr, host.PaneText(*id), "application/json", {}, true};
  });

  router.Add("POST", R"(/panes/(\d+)/edit)", [&host](const ApiRequest& request) {
    const std::optional<int> id = IdParam(request);
    if (!id || !host.HasPane(*id)) return NoPane();
    const std::optional<std::string> path = StringField(request.body, "path");
    const std::optional<std::string> text = StringField(request.body, "text");
    if (!path || !text) return ApiReply::Error(400, "an edit needs \"path\" and \"text\"");
    const std::optional<std::string> library_text = TypedText(*text);
    json answer;
    if (!library_text) {
      answer = EditJson({EditOutcome::kRefused, "the text holds a character that cannot be kept"});
    } else {
      answer = EditJson(host.Edit(*id, *path, *library_text));
    }
    return WithPanes(answer, host.VisiblePanesText());
  });

  for (const bool show : {false, true}) {
    router.Add("POST", show ? R"(/panes/(\d+)/show)" : R"(/panes/(\d+)/close)",
               [&host, show](const ApiRequest& request) {
                 const std::optional<int> id = IdParam(request);
                 if (!id || !host.ShowPane(*id, show)) return NoPane();
                 return WithPanes(json::object(), host.VisiblePanesText());
               });
  }

  router.Add("POST", "/clock", [&host](const ApiRequest&) {
    host.TickClock();
    return WithPanes(json::object(), host.VisiblePanesText());
  });

  router.Add("POST", R"(/panes/(\d+)/almanac)", [&host](const ApiRequest& request) {
    const std::optional<int> id = IdParam(request);
    if (!id || !host.HasPane(*id)) return NoPane();
    const std::optional<long long> year = IntField(request.body, "year");
    // The almanac's file names carry two digits of the year: one century either side.
    if (!year || *year < 1950 || *year > 2149)
      return ApiReply::Error(400, "\"year\" must be a year from 1950 to 2149");
    const std::optional<std::string> file = host.WriteAlmanac(*id, static_cast<int>(*year));
    if (!file) return ApiReply::Error(409, "the almanac could not be written for that pane");
    return WithPanes(json{{"file", ToWire(*file)}}, host.VisiblePanesText());
  });

  router.Add("GET", "/settings",
             [&host](const ApiRequest&) { return ApiReply::Json(host.SettingsJson()); });

  router.Add("POST", "/settings", [&host](const ApiRequest& request) {
    std::string error;
    if (!host.ApplySettings(request.body, error)) return ApiReply::Error(400, error);
    return WithPanes(json{{"settings", host.SettingsJson()}}, host.VisiblePanesText());
  });
}

}  // namespace orvale::studio
