#pragma once
// A 14-parameter time-dependent Helmert datum edited and evaluated at an epoch: the
// seven base values, their rates and the reference epoch t0 above, the equivalent
// 7-parameter set at the transformation epoch tn below. Either set can be written as
// a datum record file.

#include <string>
#include <string_view>
#include <vector>

#include "orvale/engine/datum/datum.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/panes/dockable_pane.h"
#include "orvale/platform/clock.h"

namespace orvale {

class CParameterTransformationPane : public CMyDockablePane {
 public:
  // Identifiers of the rows that take edits.
  static constexpr int kFileId = 1, kDescriptionId = 2, kFromNameId = 3, kReferenceEpochId = 4;
  static constexpr int kFirstValueId = 5;  // dX, dY, dZ, rX, rY, rZ, scale: 5 to 11
  static constexpr int kRotationMethodId = 12;
  static constexpr int kFirstRateId = 13;  // their rates: 13 to 19
  static constexpr int kSaveEditedId = 20, kToNameId = 21, kFixedId = 22, kEpochId = 23;
  static constexpr int kToSpheroidId = 25, kSaveFixedId = 26;

  // `clock` gives tn while "Fixed (t)" is clear; it must outlive the pane.
  explicit CParameterTransformationPane(const IClock& clock);

  // Caption "Parameter Transformation". The record named in the "Datum File To Edit"
  // settings is loaded when there is one.
  [[nodiscard]] bool Create(CWnd* parent, int id);

  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;

  // The edited datum into the grid.
  void Renew();
  // Makes the edited datum the "User Defined Shifts" record of that title, in its
  // time-dependent form, and remembers the choice. False when it cannot be read.
  bool SetFileName(std::string_view title);
  // The datum record files of the Global folder, by title.
  std::vector<std::string> GetValidDatumFiles() const;
  void WriteSettings() const;
  void UpdateToSpheroid();
  // tn, then the fixed set at tn.
  void Compute();

  const CDatum& Edited() const { return edited_; }
  const CDatum& Fixed() const { return fixed_; }
  double TransformationEpoch() const { return epoch_; }

  // A number's text as record titles use it: with a point, trailing blanks and zeros
  // go, then a trailing point ("1989.000000" -> "1989", "2010.500000" -> "2010.5").
  static std::string TrimNumber(std::string text);
  // The titles the two buttons write under.
  std::string EditedTitle() const;
  std::string FixedTitle() const;

 private:
  void InitPropList();
  void RefreshFileList();
  bool SaveEdited();
  bool SaveFixed();

  const IClock& clock_;
  CDatum edited_;
  CDatum fixed_;
  CSpheroid to_spheroid_;
  double epoch_ = 0.0;  // tn
};

}  // namespace orvale
