#include "orvale/panes/dockable_pane.h"

#include <cstdio>

namespace orvale {

bool CMyDockablePane::CreatePane(CWnd* parent, std::string_view caption, int id) {
  parent_ = parent;
  id_ = id;
  caption_ = caption;
  if (!CreateEx(caption, parent, id)) return false;
  if (!grid_.CreateChild(this, kGridId)) return false;
  grid_.SetOwner(this);
  if (IProfileStore* profile = Profile(); profile != nullptr) {
    char section[48];
    std::snprintf(section, sizeof section, "Workspace\\BasePane-%d", id);
    if (profile->GetProfileInt(section, "IsVisible", -1) == -1) ShowPane(false, false, false);
  } else {
    ShowPane(false, false, false);
  }
  return true;
}

void CMyDockablePane::SetPropListFont() {
  font_ = PaneFont{};
}

void CMyDockablePane::SetVSDotNetLook(int value) {
  grid_.SetVSDotNetLook(value != 0);
  grid_.SetGroupNameFullWidth(value != 0, true);
}

void CMyDockablePane::SetNightMode(bool night) {
  grid_.SetNightMode(night);
  grid_.SetColourScheme(grid_.GetColourScheme());
}

void CMyDockablePane::BeginPropList() {
  SetPropListFont();
  grid_.RemoveAll();
  grid_.EnableHeaderCtrl(false);
  grid_.SetVSDotNetLook(true);
  grid_.EnableDescriptionArea();
  grid_.SetColourScheme(1);
  grid_.MarkModifiedProperties(true, true);
}

void CMyDockablePane::PostToParent(UINT message, LPARAM lParam) {
  if (parent_ != nullptr) parent_->PostMessage(message, 0, lParam);
}

}  // namespace orvale
