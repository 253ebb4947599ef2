#include "orvale/panes/grid_snapshot.h"

#include <charconv>

#include "orvale/panes/property_kinds.h"

namespace orvale {
namespace {

bool IsEditable(const CMFCPropertyGridProperty& p) {
  return !p.IsGroup() && p.IsVisible() && p.IsEnabled() &&
         (p.IsAllowEdit() || !p.GetOptions().empty());
}

PropertySnapshot SnapshotOf(const CMFCPropertyGridProperty& p, const std::string& path) {
  PropertySnapshot s;
  s.path = path;
  s.kind = p.Kind();
  s.name = p.GetName();
  s.text = p.IsGroup() ? std::string() : p.FormatProperty();
  s.description = p.GetDescription();
  s.data = p.GetData();
  s.group = p.IsGroup();
  s.visible = p.IsVisible();
  s.editable = IsEditable(p);
  s.enabled = p.IsEnabled();
  s.modified = p.IsModified();
  s.options = p.GetOptions();
  if (const auto* dual = dynamic_cast<const CMFCPropertyGridDualDisplay*>(&p)) {
    s.second_name = dual->SecondName();
    s.second_text = dual->SecondText();
  }
  if (const auto* button = dynamic_cast<const CMFCPropertyGridButton*>(&p))
    s.colour = button->GetColour();
  for (int i = 0; i < p.GetSubItemsCount(); ++i)
    s.items.push_back(SnapshotOf(*p.GetSubItem(i), path + "/" + std::to_string(i)));
  return s;
}

}  // namespace

GridSnapshot TakeSnapshot(const CMyMFCPropertyGridCtrl& grid) {
  GridSnapshot s;
  for (int i = 0; i < grid.GetPropertyCount(); ++i)
    s.properties.push_back(SnapshotOf(*grid.GetProperty(i), std::to_string(i)));
  s.colours = grid.GetCustomColors();
  s.scheme = grid.GetColourScheme();
  s.night = grid.GetNightMode();
  s.header = grid.IsHeaderCtrl();
  s.header_labels = grid.HeaderLabels();
  s.description_area = grid.IsDescriptionArea();
  s.mark_modified = grid.IsMarkModifiedProperties();
  s.dot_net_look = grid.IsVSDotNetLook();
  return s;
}

CMFCPropertyGridProperty* FindProperty(const CMyMFCPropertyGridCtrl& grid, std::string_view path) {
  CMFCPropertyGridProperty* found = nullptr;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    const std::string_view step = path.substr(start, end - start);
    int index = -1;
    const auto [stop, error] = std::from_chars(step.data(), step.data() + step.size(), index);
    if (step.empty() || error != std::errc() || stop != step.data() + step.size()) return nullptr;
    found = found == nullptr ? grid.GetProperty(index) : found->GetSubItem(index);
    if (found == nullptr) return nullptr;
    start = end + 1;
  }
  return found;
}

EditResult ApplyEdit(CMyMFCPropertyGridCtrl& grid, std::string_view path, std::string_view text) {
  CMFCPropertyGridProperty* property = FindProperty(grid, path);
  if (property == nullptr)
    return {EditOutcome::kNoSuchProperty, "no property at \"" + std::string(path) + "\""};
  if (!IsEditable(*property))
    return {EditOutcome::kReadOnly, "\"" + property->GetName() + "\" cannot be edited"};
  if (!property->OnUpdateValue(text)) return {EditOutcome::kRefused, property->RefusalReason()};
  return {};
}

}  // namespace orvale
