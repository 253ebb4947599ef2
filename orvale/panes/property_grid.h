#pragma once
// The property grid every pane holds, as an in-memory tree: top-level groups of named
// properties, each with a value, the text it shows, a description, an identifier
// (its data), options, and flags for shown, editable and enabled. Nothing is drawn: a
// host renders a snapshot (grid_snapshot.h) and hands edits back as text, and the
// grid tells its owner of a change as the framework message would, by calling the
// owner's OnPropertyChanged with the property.
//
// Texts are Windows-1252 bytes, as everywhere in the library.

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "orvale/platform/window.h"

namespace orvale {

// A property's value: nothing (a group or a heading), a number in internal units, a
// text, or a truth value.
class CPropertyValue {
 public:
  CPropertyValue() = default;
  CPropertyValue(double value) : value_(value) {}
  CPropertyValue(std::string value) : value_(std::move(value)) {}
  CPropertyValue(const char* value) : value_(std::string(value)) {}
  CPropertyValue(bool value) : value_(value) {}

  bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
  bool IsNumber() const { return std::holds_alternative<double>(value_); }
  bool IsText() const { return std::holds_alternative<std::string>(value_); }
  bool IsBool() const { return std::holds_alternative<bool>(value_); }
  // The value as each kind; 0, empty or false when it holds another kind.
  double AsDouble() const;
  std::string AsText() const;
  bool AsBool() const;

  bool operator==(const CPropertyValue&) const = default;

 private:
  std::variant<std::monostate, double, std::string, bool> value_;
};

class CMyMFCPropertyGridCtrl;

class CMFCPropertyGridProperty {
 public:
  // A group: a heading row whose sub-items are the properties.
  explicit CMFCPropertyGridProperty(std::string group_name);
  // A property with a value, the text of the description area and its identifier.
  CMFCPropertyGridProperty(std::string name, CPropertyValue value, std::string description = {},
                           int data = 0);
  CMFCPropertyGridProperty(const CMFCPropertyGridProperty&) = delete;
  CMFCPropertyGridProperty& operator=(const CMFCPropertyGridProperty&) = delete;
  virtual ~CMFCPropertyGridProperty() = default;

  // What kind of property this is, for a host that renders it ("group", "text",
  // "double", "metric", "angle", ...).
  virtual std::string_view Kind() const { return IsGroup() ? "group" : "text"; }

  // Sub-items, in the order added; the grid owns them through their group.
  CMFCPropertyGridProperty* AddSubItem(std::unique_ptr<CMFCPropertyGridProperty> item);
  template <typename Property, typename... Arguments>
  Property* Add(Arguments&&... arguments) {
    auto item = std::make_unique<Property>(std::forward<Arguments>(arguments)...);
    Property* added = item.get();
    AddSubItem(std::move(item));
    return added;
  }
  // Null beyond the last.
  CMFCPropertyGridProperty* GetSubItem(int index) const;
  int GetSubItemsCount() const { return static_cast<int>(items_.size()); }
  CMFCPropertyGridProperty* GetParent() const { return parent_; }
  bool IsGroup() const { return is_group_; }

  void SetName(std::string name, bool redraw = true);
  const std::string& GetName() const { return name_; }
  void SetDescription(std::string description) { description_ = std::move(description); }
  const std::string& GetDescription() const { return description_; }
  int GetData() const { return data_; }
  void SetData(int data) { data_ = data; }

  // The value; setting it does not tell the owner (only an edit does).
  virtual void SetValue(const CPropertyValue& value);
  const CPropertyValue& GetValue() const { return value_; }
  const CPropertyValue& GetOriginalValue() const { return original_; }
  // Changed since it was made: shown bold where the grid marks modified properties.
  bool IsModified() const { return !(value_ == original_); }

  void Show(bool show = true, bool adjust_layout = true);
  bool IsVisible() const { return visible_; }
  void AllowEdit(bool allow = true) { allow_edit_ = allow; }
  bool IsAllowEdit() const { return allow_edit_; }
  void Enable(bool enable = true) { enabled_ = enable; }
  bool IsEnabled() const { return enabled_; }

  // The drop-down list; with options, an edit must name one unless free text is
  // allowed (AllowEdit).
  void AddOption(std::string option, bool insert = true);
  void RemoveAllOptions() { options_.clear(); }
  const std::vector<std::string>& GetOptions() const { return options_; }

  // Asks the host to draw the row again; counted, so a host (and a test) can tell.
  void Redraw() { ++redraws_; }
  int RedrawCount() const { return redraws_; }

  // The text the row shows, in the user's current display settings.
  virtual std::string FormatProperty() const;

  // Takes typed or chosen text. True when the text was taken (and the owner told when
  // the value changed); false, with the value unchanged, when it was refused, and
  // then RefusalReason says why.
  virtual bool OnUpdateValue(std::string_view text);
  const std::string& RefusalReason() const { return refusal_; }

  // The grid this property is in (through its top-level group); null before it is
  // added to one.
  CMyMFCPropertyGridCtrl* GetGrid() const;

 protected:
  // Tells the grid's owner that this property changed, as the framework message does.
  void NotifyChanged();
  // An edit refused, with the reason for the host.
  bool Refuse(std::string reason);
  // Takes `value` as the new value and tells the owner when it differs from the old.
  bool Accept(const CPropertyValue& value);

 private:
  friend class CMyMFCPropertyGridCtrl;

  std::string name_;
  std::string description_;
  CPropertyValue value_;
  CPropertyValue original_;
  int data_ = 0;
  bool is_group_ = false;
  bool visible_ = true;
  bool allow_edit_ = true;
  bool enabled_ = true;
  int redraws_ = 0;
  std::vector<std::string> options_;
  std::string refusal_;
  CMFCPropertyGridProperty* parent_ = nullptr;
  CMyMFCPropertyGridCtrl* grid_ = nullptr;  // set on top-level groups
  std::vector<std::unique_ptr<CMFCPropertyGridProperty>> items_;
};

// Who hears of changes: the pane that owns the grid.
class IPropertyGridOwner {
 public:
  virtual ~IPropertyGridOwner() = default;
  // The framework's AFX_WM_PROPERTY_CHANGED: wParam the grid's control identifier.
  virtual LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) = 0;
};

// The seven custom colours, in the order background, text, group background, group
// text, description background, description text, line.
using GridColours = std::array<COLORREF, 7>;

// The day and night colours of scheme 0 to 7; false for any other number.
[[nodiscard]] bool ColourScheme(int scheme, bool night, GridColours& colours);

class CMyMFCPropertyGridCtrl : public CWnd {
 public:
  CMyMFCPropertyGridCtrl() = default;

  void SetOwner(IPropertyGridOwner* owner) { owner_ = owner; }
  IPropertyGridOwner* GetOwner() const { return owner_; }

  void RemoveAll() { groups_.clear(); }
  // Adds a top-level property (a group); returns its index.
  int AddProperty(std::unique_ptr<CMFCPropertyGridProperty> group, bool redraw = true);
  CMFCPropertyGridProperty* GetProperty(int index) const;
  int GetPropertyCount() const { return static_cast<int>(groups_.size()); }
  // Deletes a top-level property and everything under it; false when it is not one.
  bool DeleteProperty(CMFCPropertyGridProperty*& group);

  void EnableHeaderCtrl(bool enable, std::string left = "Property", std::string right = "Value");
  void SetVSDotNetLook(bool on) { dot_net_look_ = on; }
  void SetGroupNameFullWidth(bool on, bool redraw = true);
  void EnableDescriptionArea(bool enable = true) { description_area_ = enable; }
  void SetCustomColors(const GridColours& colours) { colours_ = colours; }
  void MarkModifiedProperties(bool mark = true, bool redraw = true);

  // Stores the scheme and sets the custom colours for it and the night-mode flag; a
  // scheme outside 0 to 7 changes nothing.
  void SetColourScheme(int scheme);
  void SetNightMode(bool night) { night_ = night; }
  bool GetNightMode() const { return night_; }
  int GetColourScheme() const { return scheme_; }

  bool IsHeaderCtrl() const { return header_; }
  const std::array<std::string, 2>& HeaderLabels() const { return header_labels_; }
  bool IsVSDotNetLook() const { return dot_net_look_; }
  bool IsGroupNameFullWidth() const { return group_name_full_width_; }
  bool IsDescriptionArea() const { return description_area_; }
  bool IsMarkModifiedProperties() const { return mark_modified_; }
  const GridColours& GetCustomColors() const { return colours_; }
  int InvalidateCount() const { return invalidations_; }

  // Called by a property whose value an edit changed: tells the owner.
  void OnPropertyChanged(CMFCPropertyGridProperty* property);

 private:
  std::vector<std::unique_ptr<CMFCPropertyGridProperty>> groups_;
  IPropertyGridOwner* owner_ = nullptr;
  std::array<std::string, 2> header_labels_ = {"Property", "Value"};
  bool header_ = true;
  bool dot_net_look_ = false;
  bool group_name_full_width_ = true;
  bool description_area_ = false;
  bool mark_modified_ = false;
  bool night_ = false;
  int scheme_ = 0;
  int invalidations_ = 0;
  GridColours colours_{};
};

}  // namespace orvale
