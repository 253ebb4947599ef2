#pragma once
// "Edit Projection": one projection record file: its spheroid, type, name, method and
// the parameters that type and method use, each shown only when used.

#include "orvale/dialogs/record_edit_dialog.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

class CEditProjection : public CRecordEditDialog {
 public:
  explicit CEditProjection(CWnd* parent = nullptr);

  std::string Caption() const override { return "Edit Projection"; }
  bool OnInitDialog() override;
  void SetFileName(std::string_view title) override;
  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;
  // Values and visibility of every row from the held projection.
  void Redraw();
  void UpdateParameters() { Redraw(); }

  const CProjection& Projection() const { return projection_; }

 private:
  bool SaveRecord() override;

  CSpheroid spheroid_;
  CProjection projection_;
};

}  // namespace orvale
