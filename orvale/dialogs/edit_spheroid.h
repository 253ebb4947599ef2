#pragma once
// "Edit Spheroid": one spheroid record file, its name, country and axes, with the
// eccentricities that follow from them.

#include "orvale/dialogs/record_edit_dialog.h"
#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

class CEditSpheroid : public CRecordEditDialog {
 public:
  explicit CEditSpheroid(CWnd* parent = nullptr) : CRecordEditDialog(parent) {}

  std::string Caption() const override { return "Edit Spheroid"; }
  bool OnInitDialog() override;
  void SetFileName(std::string_view title) override;
  // A changed axis or flattening recomputes the other and the eccentricities.
  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;
  void Redraw();

  const CSpheroid& Spheroid() const { return spheroid_; }

 private:
  bool SaveRecord() override;

  CSpheroid spheroid_;
};

}  // namespace orvale
