#pragma once
// The sun shot in the field: the observer's location, the clock, the almanac
// polynomials of the month and the azimuth of a reference object from an observation
// of the sun. A new location is posted to the host with UM_GEOGRAPHICAL_UPDATE.

#include "orvale/engine/coord.h"
#include "orvale/engine/survey/sun_shot.h"
#include "orvale/panes/dockable_pane.h"
#include "orvale/platform/clock.h"

namespace orvale {

class CSunShotPane : public CMyDockablePane {
 public:
  static constexpr int kLatitudeId = 1;
  static constexpr int kLongitudeId = 2;
  static constexpr int kDateId = 3;
  static constexpr int kTimeId = 4;
  static constexpr int kROAngleId = 5;

  // The date and time of day come from `clock`, which must outlive the pane.
  explicit CSunShotPane(const IClock& clock);

  // Caption "Sun Shot"; groups "Location", "Clock", the month's polynomials,
  // "Computation" and "Reference Object (R.O.)".
  [[nodiscard]] bool Create(CWnd* parent, int id);

  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;
  // The results again from the inputs; without an almanac for the year every result
  // row shows that there is none.
  void Compute();
  void UpdatePoly();
  void SetGeog(double latitude, double longitude);
  void SetGeog(const tagXY& p) { SetGeog(p.y, p.x); }
  void UpdateGeog();

  void UpdateGeographicals();
  // Shows the clock's date and time again.
  void UpdateClock();
  void UpdateAngles();

  const CSunShot& SunShot() const { return sun_; }
  int Year() const { return year_; }
  const tagXY& Position() const { return position_; }

 private:
  void InitPropList();
  void SaveSettings();

  CSunShot sun_;
  int year_;
  tagXY position_;  // the payload of UM_GEOGRAPHICAL_UPDATE
};

}  // namespace orvale
