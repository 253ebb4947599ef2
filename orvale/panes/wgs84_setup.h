#pragma once
// The "WGS84 Setup" dialog as a model a host drives: lists of datum types, datums,
// target spheroids, projection types and projections, and the read-only displays of
// what is chosen. Its lists are those the catalogue selection properties offer, and a
// choice loads the datum, spheroid or projection as they do.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/panes/selection_properties.h"

namespace orvale {

class CDatum;
class CWnd;

class CWGS84Setup {
 public:
  explicit CWGS84Setup(CWnd* parent = nullptr) : parent_(parent) {}

  // What the host gives before the dialog runs: the datum (with its target spheroid
  // and projection attached), the length unit and the angle notation of the displays.
  void SetDatum(CDatum* datum);
  void GridMode(int unit_mode, int index, int imperial_mode);
  void SetAnglePreference(int notation);

  std::string Caption() const { return "WGS84 Setup"; }
  // Fills every list and display.
  void OnInitDialog();

  const std::vector<std::string>& DatumTypes() const { return datum_types_; }
  const std::vector<std::string>& Datums() const { return datums_; }
  const std::vector<std::string>& Spheroids() const { return spheroids_; }
  const std::vector<std::string>& ProjectionTypes() const { return projection_types_; }
  const std::vector<std::string>& Projections() const { return projections_; }
  // Type 0 ("No datum Shift") chooses a spheroid; every other type a datum.
  bool IsDatumListShown() const;
  bool IsSpheroidListShown() const { return !IsDatumListShown(); }

  // Choices by the text of a list entry; false when the text is not in the list.
  bool SelectDatumType(const std::string& text);
  bool SelectDatum(const std::string& text);
  bool SelectSpheroid(const std::string& text);
  bool SelectProjectionType(const std::string& text);
  bool SelectProjection(const std::string& text);

  // The read-only displays in dialog order: label and text.
  std::vector<std::pair<std::string, std::string>> Displays() const;

 private:
  void RefreshLists();

  CWnd* parent_;
  CDatum* datum_ = nullptr;
  int unit_mode_ = 0, unit_index_ = 0, imperial_mode_ = 0;
  int notation_ = 1;
  CSpheroid chooser_;  // the spheroid list's record, copied into the target on a choice
  std::unique_ptr<CMFCPropertyGridDatumTypeProperty> type_;
  std::unique_ptr<CMFCPropertyGridDatumNameProperty> name_;
  std::unique_ptr<CMFCPropertyGridSpheroidNameProperty> spheroid_;
  std::unique_ptr<CMFCPropertyGridProjectionTypeProperty> projection_type_;
  std::unique_ptr<CMFCPropertyGridProjectionNameProperty> projection_;
  std::vector<std::string> datum_types_, datums_, spheroids_, projection_types_, projections_;
};

}  // namespace orvale
