#pragma once
// "Edit Datum": one Helmert datum record file: names, both spheroids, the seven
// parameters, and the epochs and rates of the time-dependent form. The "Units" button
// shows rotations and scale in seconds of arc and ppm, or in milliseconds of arc and
// ppb.

#include <string>

#include "orvale/dialogs/record_edit_dialog.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

class CEditDatum : public CRecordEditDialog {
 public:
  explicit CEditDatum(CWnd* parent = nullptr);

  std::string Caption() const override { return "Edit Datum"; }
  bool OnInitDialog() override;
  void SetFileName(std::string_view title) override;
  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;
  void Redraw();

  // Switches rotations and scale between the two pairs of units.
  void OnBnClickedUnits();
  // The button's caption: the pair shown now.
  std::string UnitsCaption() const { return milli_ ? "mas/ppb" : "Sec Arc/ppm"; }

  const CDatum& Datum() const { return datum_; }

 private:
  bool SaveRecord() override;
  void ShowEpochRows();
  void ShowUnits();

  CDatum datum_;
  CSpheroid to_spheroid_;
  bool milli_ = false;  // rotations in mas and scale in ppb
};

}  // namespace orvale
