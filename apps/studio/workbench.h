#pragma once
// The host of the panes, as a docking-window host would be: it owns the current
// projection (with its spheroid) and datum (with its target spheroid and projection),
// creates one pane per kind on request, applies the user's edits and then handles
// what the panes posted, and keeps display settings, night mode and colour scheme.
// Not thread-safe: the server calls it under one lock.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "orvale/engine/coord.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/panes/dockable_pane.h"
#include "orvale/panes/grid_snapshot.h"
#include "orvale/platform/clock.h"
#include "orvale/platform/window.h"
#include "settings_json.h"

namespace orvale::studio {

enum class PaneKind {
  kGridToGeog,
  kRangeBearing,
  kTraverse,
  kSunShot,
  kConvergence,
  kComputeHeading,
  kDatumShift,
  kWgs84DatumShift,
  kParameterTransformation,
};

struct PaneKindInfo {
  PaneKind kind;
  std::string_view name;     // the API's name: "grid-to-geog"
  std::string_view caption;  // the pane's own caption
};

inline constexpr std::array<PaneKindInfo, 9> kPaneKinds = {{
    {PaneKind::kGridToGeog, "grid-to-geog", "Grid To Geographicals"},
    {PaneKind::kRangeBearing, "range-bearing", "Range and Bearing"},
    {PaneKind::kTraverse, "traverse", "Traverse"},
    {PaneKind::kSunShot, "sun-shot", "Sun Shot"},
    {PaneKind::kConvergence, "convergence", "Convergence"},
    {PaneKind::kComputeHeading, "compute-heading", "Compute Heading"},
    {PaneKind::kDatumShift, "datum-shift", "Datum Shift"},
    {PaneKind::kWgs84DatumShift, "wgs84-datum-shift", "Spheroid / Projection"},
    {PaneKind::kParameterTransformation, "parameter-transformation", "Parameter Transformation"},
}};

// The kind of that API name; null for none.
const PaneKindInfo* FindPaneKind(std::string_view name);

class Workbench {
 public:
  // The bubble view's drawing size in the API, pixels.
  static constexpr int kViewSize = 200;

  // `clock` gives the sun shot's and the epoch's "now"; it must outlive the host.
  explicit Workbench(const IClock& clock);
  ~Workbench();
  Workbench(const Workbench&) = delete;
  Workbench& operator=(const Workbench&) = delete;

  // {"kinds": [...], "panes": [every pane made], "settings": SETTINGS}
  nlohmann::json State();
  // Every visible pane, as PANE objects.
  nlohmann::json VisiblePanes();
  // PANE of pane `id`; null when there is none.
  nlohmann::json PaneJson(int id);
  // The same as JSON texts, written without a tree (what the routes send).
  std::string VisiblePanesText();
  std::string PaneText(int id);

  // Creates the pane of `kind`, or shows it again; its id, or nothing when the pane
  // could not be made.
  std::optional<int> OpenPane(PaneKind kind);
  bool HasPane(int id) const;
  // Shows or hides pane `id` and remembers it in the profile; false without the pane.
  bool ShowPane(int id, bool show);
  // The user's edit (Windows-1252 text) of pane `id`, then the posted messages.
  EditResult Edit(int id, std::string_view path, std::string_view text);

  // The sun shot's clock shown again.
  void TickClock();
  // Writes the almanac of `year` where the sun shot looks, then reloads it; the file's
  // name, or nothing when it cannot be written.
  std::optional<std::string> WriteAlmanac(int id, int year);

  nlohmann::json SettingsJson() const;
  // Writes the settings files from `body`, then redraws every pane; false with `error`
  // for a bad field (nothing is written then) or a file that cannot be written.
  [[nodiscard]] bool ApplySettings(const nlohmann::json& body, std::string& error);

  // The host's records, for routes that edit them (dialogs, editors).
  CProjection& Projection() { return projection_; }
  CSpheroid& Spheroid() { return spheroid_; }
  CDatum& Datum() { return datum_; }
  CWnd& Window() { return window_; }
  CMessageQueue& Queue() { return queue_; }
  IProfileStore& Profile() { return profile_; }
  const IClock& Clock() const { return clock_; }
  // After a route changed the records or their files: every pane shows them again.
  void RecordsChanged();
  // Handles what the panes posted; `source` (may be null) is the pane the user drove.
  void DrainMessages(const CMyDockablePane* source);

  // The pane of `id` (null for none), for tests and routes.
  CMyDockablePane* Pane(int id);

 private:
  struct Slot {
    const PaneKindInfo* info = nullptr;
    std::unique_ptr<CMyDockablePane> pane;
  };
  Slot* Find(int id);
  void Geodetic(const Slot& source);
  void Geographical(const Slot& source, const tagXY& position);
  void Redraw(Slot& slot);
  void Paint(Slot& slot);

  const IClock& clock_;
  CMessageQueue queue_;
  CMemoryProfileStore profile_;
  CWnd window_;
  CSpheroid spheroid_;
  CProjection projection_;
  CSpheroid target_spheroid_;
  CProjection target_projection_;
  CDatum datum_;
  std::vector<Slot> slots_;  // in the order they were made
  bool night_ = false;
  int scheme_ = 1;
};

}  // namespace orvale::studio

namespace orvale::studio {

class ApiRouter;

// The routes of the panes, the clock and the settings (API.md, "Panes", "Settings").
void AddPaneRoutes(ApiRouter& router, Workbench& host);

}  // namespace orvale::studio
