#pragma once
// A property grid's snapshot, an edit's answer and the bubble view's drawing as the
// JSON of the studio's API: UTF-8 texts, colours as "#rrggbb".

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "orvale/panes/compute_heading_pane.h"
#include "orvale/panes/grid_snapshot.h"

namespace orvale::studio {

// A Windows colour reference (0x00BBGGRR) as "#rrggbb".
std::string ColourText(COLORREF colour);

nlohmann::json GridJson(const GridSnapshot& snapshot);
inline nlohmann::json GridJson(const CMyMFCPropertyGridCtrl& grid) {
  return GridJson(TakeSnapshot(grid));
}

// {"outcome": "taken" | "no-such-property" | "read-only" | "refused", "reason": ...}
nlohmann::json EditJson(const EditResult& result);

// {"width", "height", "commands": [{"shape", "x1", "y1", "x2", "y2", "pen", "fill"}]}
nlohmann::json ViewJson(const std::vector<DrawCommand>& commands, int width, int height);

}  // namespace orvale::studio
