#pragma once
// What every computation pane shares: a docking window holding one property grid, the
// grid's font, colour scheme and night mode, and the common start of every property
// list. A pane hears its grid's changes through OnPropertyChanged.

#include <string>
#include <string_view>

#include "orvale/panes/property_grid.h"
#include "orvale/platform/window.h"

namespace orvale {

// The grid's font: the framework's regular GUI font with the height, weight and
// slant of the system's menu font.
struct PaneFont {
  std::string face = "Segoe UI";
  int height = -12;
  int weight = 400;
  bool italic = false;
};

class CMyDockablePane : public CDockablePane, public IPropertyGridOwner {
 public:
  static constexpr int kGridId = 2;  // the grid's control identifier

  // The shared creation: the docking window, then the grid. A pane whose identifier
  // has no "IsVisible" in the profile section "Workspace\\BasePane-<id>" starts
  // hidden. False when the window cannot be created.
  [[nodiscard]] bool CreatePane(CWnd* parent, std::string_view caption, int id);

  // The framework's layout messages: the grid fills the client area. Nothing to lay
  // out in memory, so these only keep the calls the host makes.
  void AdjustLayout() {}
  void SetPropListFont();
  const PaneFont& GetPropListFont() const { return font_; }

  void SetVSDotNetLook(int value);
  // Re-applies the current colour scheme by night or by day.
  virtual void SetNightMode(bool night);
  void SetDaylightMode() { SetNightMode(false); }
  bool GetNightMode() const { return grid_.GetNightMode(); }

  CMyMFCPropertyGridCtrl& Grid() { return grid_; }
  const CMyMFCPropertyGridCtrl& Grid() const { return grid_; }
  int GetId() const { return id_; }
  const std::string& GetCaption() const { return caption_; }
  CWnd* GetParentWindow() const { return parent_; }

  // No property of the base pane reports anything.
  LRESULT OnPropertyChanged(WPARAM, CMFCPropertyGridProperty*) override { return 0; }

 protected:
  // The start of every InitPropList: font, empty grid, no header, the VS.NET look
  // and description area, colour scheme 1 for the current night mode, modified
  // properties marked.
  void BeginPropList();
  // Posts a registered message to the parent (never sends it).
  void PostToParent(UINT message, LPARAM lParam = 0);

 private:
  CWnd* parent_ = nullptr;
  int id_ = 0;
  std::string caption_;
  PaneFont font_;
  CMyMFCPropertyGridCtrl grid_;
};

}  // namespace orvale
