#pragma once
// The panes that show the host's spheroid and projection and let the user pick others
// from the catalogues: the projection pane every grid computation derives from, and
// the spheroid-only pane. They edit the host's records in place and never own them.

#include <string_view>

#include "orvale/panes/dockable_pane.h"

namespace orvale {

class CSpheroid;
class CProjection;

// Input modes: which form of the position the host last gave the pane.
inline constexpr int kInputGrid = 0;
inline constexpr int kInputGeographical = 1;
inline constexpr int kInputCartesian = 2;

class CSpheroidProjectionPane : public CMyDockablePane {
 public:
  // Group 0 "Spheroid", group 1 "Projection". With `force_wgs84` the projection's
  // spheroid becomes WGS84 and offers no selectors. False when the window cannot be
  // created.
  [[nodiscard]] bool Create(CWnd* parent, std::string_view caption, int id, CProjection* projection,
                            bool select, bool force_wgs84 = false);

  // A spheroid pick (identifiers 1 and 2) matches the projection to the new spheroid;
  // any pick (1 to 5) refreshes the projection group and posts UM_GEODETIC_UPDATE to
  // the parent. Non-zero when something was picked: derived panes then recompute.
  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;

  void UpdateSpheroid();
  // After the host changed the projection itself.
  virtual void RefreshProjection();
  void UpdateGeographicals();
  void UpdateGrid();

  CProjection* GetProjection() const { return projection_; }
  CSpheroid* GetSpheroid() const { return spheroid_; }
  int GetInputMode() const { return input_mode_; }

 protected:
  virtual void InitPropList();
  CMFCPropertyGridProperty* SpheroidGroup() { return Grid().GetProperty(0); }
  CMFCPropertyGridProperty* ProjectionGroup() { return Grid().GetProperty(1); }
  void SetInputMode(int mode) { input_mode_ = mode; }
  bool IsSelect() const { return select_; }

 private:
  bool select_ = false;
  CSpheroid* spheroid_ = nullptr;
  CProjection* projection_ = nullptr;
  bool force_wgs84_ = false;
  int input_mode_ = kInputGrid;
};

class CSpheroidPane : public CMyDockablePane {
 public:
  [[nodiscard]] bool Create(CWnd* parent, std::string_view caption, int id, CSpheroid* spheroid,
                            bool select);
  // A pick refreshes the group; nothing is posted.
  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;
  void UpdateSpheroid();
  void UpdateGrid();

 private:
  void InitPropList();

  bool select_ = false;
  CSpheroid* spheroid_ = nullptr;
};

}  // namespace orvale
