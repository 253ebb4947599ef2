#pragma once
// A property grid's snapshot, an edit's answer and the bubble view's drawing as the
// JSON of the studio's API: UTF-8 texts, colours as "#rrggbb".

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "orvale/panes/compute_heading_pane.h"
#include "orvale/panes/grid_snapshot.h"

namespace orvale::studio {

// A Windows colour reference (0x00BBGGRR) as "#rrggbb".
std::string ColourText(COLORREF colour);

nlohmann::json GridJson(const GridSnapshot& snapshot);
// The same JSON written straight into `out`: an edit's answer carries every visible
// pane, and building a JSON tree for each would cost more than the edit itself.
void AppendGridJson(std::string& out, const GridSnapshot& snapshot);
// A library text (Windows-1252) as a JSON string in UTF-8.
void AppendJsonString(std::string& out, std::string_view cp1252);
inline nlohmann::json GridJson(const CMyMFCPropertyGridCtrl& grid) {
  return GridJson(TakeSnapshot(grid));
}

// {"outcome": "taken" | "no-such-property" | "read-only" | "refused", "reason": ...}
nlohmann::json EditJson(const EditResult& result);

// {"width", "height", "commands": [{"shape", "x1", "y1", "x2", "y2", "pen", "fill"}]}
nlohmann::json ViewJson(const std::vector<DrawCommand>& commands, int width, int height);

}  // namespace orvale::studio
