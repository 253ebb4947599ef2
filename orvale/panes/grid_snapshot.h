#pragma once
// What a host needs to render a property grid and to drive it: a snapshot of the
// whole grid as a plain tree of values (a host turns it into JSON or anything else),
// and edits given as the path of a property and the text the user typed or chose.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvale/panes/property_grid.h"

namespace orvale {

struct PropertySnapshot {
  std::string path;  // sub-item indices from the top-level property down: "1/5"
  std::string kind;  // "group", "text", "double", "metric", "angle", ...
  std::string name;
  std::string text;  // the display text, in the user's current settings
  std::string description;
  int data = 0;  // the identifier
  bool group = false;
  bool visible = true;
  bool editable = false;  // an edit would be taken (shown, enabled, editable or a list)
  bool enabled = true;
  bool modified = false;
  std::vector<std::string> options;
  std::string second_name;  // a dual display's second value
  std::string second_text;
  std::optional<COLORREF> colour;  // a button's
  std::vector<PropertySnapshot> items;
};

struct GridSnapshot {
  std::vector<PropertySnapshot> properties;
  GridColours colours{};
  int scheme = 0;
  bool night = false;
  bool header = true;
  std::array<std::string, 2> header_labels;
  bool description_area = false;
  bool mark_modified = false;
  bool dot_net_look = false;
};

GridSnapshot TakeSnapshot(const CMyMFCPropertyGridCtrl& grid);

// The property at `path` ("1/5"); null when there is none.
CMFCPropertyGridProperty* FindProperty(const CMyMFCPropertyGridCtrl& grid, std::string_view path);

enum class EditOutcome {
  kTaken,           // the property took the text (its owner heard when it changed)
  kNoSuchProperty,  // the path names no property
  kReadOnly,        // a group, a hidden or disabled property, or one that is only shown
  kRefused,         // the property could not read the text: reason says why
};

struct [[nodiscard]] EditResult {
  EditOutcome outcome = EditOutcome::kTaken;
  std::string reason;
};

// Applies a user's edit as the in-place editor would.
EditResult ApplyEdit(CMyMFCPropertyGridCtrl& grid, std::string_view path, std::string_view text);

}  // namespace orvale
