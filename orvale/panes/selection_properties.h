#pragma once
// Properties that pick a catalogue entry from a drop-down list: spheroids, projections
// and datums. Each is bound to a record its pane or dialog owns, loads the chosen entry
// straight into it and then tells the grid's owner, with the property's identifier as
// its data. The shown text always comes from the bound record; none takes free typing.
// The owner hears of a selection only when it changed the record; text that names
// nothing offered changes nothing and is refused with the reason (RefusalReason).

#include <string>
#include <string_view>

#include "orvale/panes/property_grid.h"

namespace orvale {

class CSpheroid;
class CProjection;
class CDatum;

// The display name of a spheroid: the built-in rows, then the "SPD" record files of
// the Global folder. `wgs84_only` fixes the spheroid to WGS84 and disables the property.
class CMFCPropertyGridSpheroidNameProperty : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridSpheroidNameProperty(std::string label, CSpheroid* spheroid, bool wgs84_only,
                                       int id);
  std::string_view Kind() const override { return "spheroid-name"; }
  // Rebuilds the option list; without selection (or disabled) the property only shows.
  void SetSelect(bool select);
  std::string FormatProperty() const override;
  // Loads the entry whose display name the text is, else the first built-in row, then
  // record file, whose name begins with the text ("Clarke 1880").
  bool OnUpdateValue(std::string_view text) override;

 private:
  CSpheroid* spheroid_;
  bool wgs84_only_;
};

// The EPSG number of a spheroid ("n/a" for one without).
class CMFCPropertyGridSpheroidEPSGNoProperty : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridSpheroidEPSGNoProperty(CSpheroid* spheroid, bool wgs84_only, int id);
  std::string_view Kind() const override { return "spheroid-epsg"; }
  void SetSelect(bool select);
  std::string FormatProperty() const override;
  bool OnUpdateValue(std::string_view text) override;

 private:
  CSpheroid* spheroid_;
  bool wgs84_only_;
};

// The projection type; `restrict_to_spheroid` offers only types with a catalogue row
// or record file on the bound projection's spheroid.
class CMFCPropertyGridProjectionTypeProperty : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridProjectionTypeProperty(CProjection* projection, bool restrict_to_spheroid,
                                         int id);
  std::string_view Kind() const override { return "projection-type"; }
  void SetSelect(bool select);
  // Edit-dialog mode: the seven types a user may define.
  void SetEdit();
  std::string FormatProperty() const override;
  bool OnUpdateValue(std::string_view text) override;

 protected:
  // The first catalogue index of `type` whose spheroid matches the projection's, or -1.
  int AnyValidProjections(int type, const CProjection& projection) const;

 private:
  CProjection* projection_;
  bool restrict_;
  bool selectable_ = true;
  bool edit_mode_ = false;
};

// The projection's name among the catalogue rows and record files of its type. Rows
// and files are offered as "<name> <country>" (the name alone for U.T.M zones and the
// Norwegian grid, or without a country), and the property shows the bound projection
// in the same form, so that it names its own entry in the list.
class CMFCPropertyGridProjectionNameProperty : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridProjectionNameProperty(CProjection* projection, bool restrict_to_spheroid,
                                         int id);
  std::string_view Kind() const override { return "projection-name"; }
  void SetSelect(bool select);
  std::string FormatProperty() const override;
  bool OnUpdateValue(std::string_view text) override;

 private:
  CProjection* projection_;
  bool restrict_;
  int built_in_rows_ = 0;
};

// The projection's method (variant), with a list that depends on its type; hidden for
// types without one. The list is that of the type the projection has when SetSelect
// runs: call it again after the type changed. For U.T.M and the Norwegian grid the
// method is the hemisphere or the axis, and choosing one rebuilds the zone's row.
class CMFCPropertyGridProjectionMethodProperty : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridProjectionMethodProperty(CProjection* projection, int id);
  std::string_view Kind() const override { return "projection-method"; }
  void SetSelect(bool select);
  std::string FormatProperty() const override;
  bool OnUpdateValue(std::string_view text) override;

 private:
  CProjection* projection_;
};

// The latitude origin of a polar stereographic projection: at either pole, on a
// standard parallel, or with a false origin at a parallel. Shown only for the polar
// method; SetSelect makes a polar projection without pole or parallel north polar.
class CMFCPropertyGridStereographicTypeProperty : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridStereographicTypeProperty(CProjection* projection, int id);
  std::string_view Kind() const override { return "stereographic-origin"; }
  void SetSelect(bool select);
  std::string FormatProperty() const override;
  bool OnUpdateValue(std::string_view text) override;

 private:
  CProjection* projection_;
};

// The datum's shift type; `wgs84_only` offers only what shifts to WGS84 or GRS80.
class CMFCPropertyGridDatumTypeProperty : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridDatumTypeProperty(CDatum* datum, bool wgs84_only, bool fill_now, int id);
  std::string_view Kind() const override { return "datum-type"; }
  void SetSelect(bool select);
  // Rebuilds options and text after the owner changed the datum.
  void Update();
  std::string FormatProperty() const override;
  bool OnUpdateValue(std::string_view text) override;

 private:
  CDatum* datum_;
  bool wgs84_only_;
  bool select_ = false;  // what Update rebuilds the list for
};

// The datum among the catalogue entries and record files of its shift type.
class CMFCPropertyGridDatumNameProperty : public CMFCPropertyGridProperty {
 public:
  CMFCPropertyGridDatumNameProperty(CDatum* datum, bool wgs84_only, bool fill_now, int id);
  std::string_view Kind() const override { return "datum-name"; }
  void SetSelect(bool select);
  void Update();
  std::string FormatProperty() const override;
  bool OnUpdateValue(std::string_view text) override;

 private:
  CDatum* datum_;
  bool wgs84_only_;
  bool select_ = false;  // what Update rebuilds the list for
};

}  // namespace orvale
