#include "orvale/panes/property_grid.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace orvale {
namespace {

// Day and night colours of the eight schemes, as the panes' hosts know them.
struct SchemeColours {
  GridColours day;
  GridColours night;
};

constexpr std::array<SchemeColours, 8> kSchemes = {{
    {{0xFFFFFF, 0x000000, 0xEBEBEB, 0x555555, 0xEBEBEB, 0x000000, 0xEBEBEB},
     {0xFFFFFF, 0x000000, 0xEBEBEB, 0x555555, 0xEBEBEB, 0x000000, 0xEBEBEB}},
    {{0xD6D6D6, 0x000000, 0x555555, 0xEBEBEB, 0x555555, 0xEBEBEB, 0x555555},
     {0x000000, 0xC0C0C0, 0x555555, 0xEBEBEB, 0x555555, 0xC0C0C0, 0x555555}},
    {{0xCCFFCC, 0x000000, 0x008000, 0x80FF80, 0x008000, 0x80FF80, 0x000000},
     {0x000000, 0x008000, 0x004000, 0x008000, 0x004000, 0x008000, 0x008000}},
    {{0xFFCC99, 0x000000, 0x800000, 0xFF8080, 0x800000, 0xFF8080, 0x000000},
     {0x000000, 0x800000, 0x400000, 0x800000, 0x400000, 0x800000, 0x800000}},
    {{0xFF99CC, 0x000000, 0x800080, 0xFF80FF, 0x800080, 0xFF80FF, 0x000000},
     {0x000000, 0x800080, 0x400040, 0x800080, 0x400040, 0x800080, 0x800080}},
    {{0xF0F0FF, 0x000000, 0x000080, 0x8080FF, 0x000080, 0x8080FF, 0x000000},
     {0x000000, 0x000080, 0x000040, 0x000080, 0x000040, 0x000080, 0x000080}},
    {{0xE7FFFF, 0x000000, 0x008080, 0x00FFFF, 0x008080, 0x00FFFF, 0x000000},
     {0x000000, 0x008080, 0x004040, 0x008080, 0x004040, 0x008080, 0x008080}},
    {{0xD6D6D6, 0x000000, 0x400000, 0xEBEBEB, 0x555555, 0xEBEBEB, 0x555555},
     {0x000000, 0xC0C0C0, 0x800000, 0xEBEBEB, 0x555555, 0xC0C0C0, 0x555555}},
}};

}  // namespace

double CPropertyValue::AsDouble() const {
  const double* number = std::get_if<double>(&value_);
  return number == nullptr ? 0.0 : *number;
}

std::string CPropertyValue::AsText() const {
  const std::string* text = std::get_if<std::string>(&value_);
  return text == nullptr ? std::string() : *text;
}

bool CPropertyValue::AsBool() const {
  const bool* truth = std::get_if<bool>(&value_);
  return truth != nullptr && *truth;
}

CMFCPropertyGridProperty::CMFCPropertyGridProperty(std::string group_name)
    : name_(std::move(group_name)), is_group_(true) {}

CMFCPropertyGridProperty::CMFCPropertyGridProperty(std::string name, CPropertyValue value,
                                                   std::string description, int data)
    : name_(std::move(name)),
      description_(std::move(description)),
      value_(value),
      original_(std::move(value)),
      data_(data) {}

CMFCPropertyGridProperty* CMFCPropertyGridProperty::AddSubItem(
    std::unique_ptr<CMFCPropertyGridProperty> item) {
  if (item == nullptr) return nullptr;
  item->parent_ = this;
  return items_.emplace_back(std::move(item)).get();
}

CMFCPropertyGridProperty* CMFCPropertyGridProperty::GetSubItem(int index) const {
  if (index < 0 || index >= GetSubItemsCount()) return nullptr;
  return items_[static_cast<std::size_t>(index)].get();
}

void CMFCPropertyGridProperty::SetName(std::string name, bool redraw) {
  name_ = std::move(name);
  if (redraw) Redraw();
}

void CMFCPropertyGridProperty::SetValue(const CPropertyValue& value) {
  value_ = value;
}

void CMFCPropertyGridProperty::Show(bool show, bool) {
  visible_ = show;
}

void CMFCPropertyGridProperty::AddOption(std::string option, bool) {
  options_.push_back(std::move(option));
}

std::string CMFCPropertyGridProperty::FormatProperty() const {
  if (value_.IsBool()) return value_.AsBool() ? "True" : "False";
  if (value_.IsNumber()) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value_.AsDouble());
    return text;
  }
  return value_.AsText();
}

bool CMFCPropertyGridProperty::OnUpdateValue(std::string_view text) {
  // A plain property holds text; with options and no free typing, one of them.
  if (!options_.empty() && !allow_edit_ &&
      std::find(options_.begin(), options_.end(), text) == options_.end()) {
    return Refuse("\"" + std::string(text) + "\" is not one of the choices");
  }
  if (value_.IsBool()) {
    if (text == "True") return Accept(true);
    if (text == "False") return Accept(false);
    return Refuse("choose True or False");
  }
  return Accept(std::string(text));
}

CMyMFCPropertyGridCtrl* CMFCPropertyGridProperty::GetGrid() const {
  const CMFCPropertyGridProperty* top = this;
  while (top->parent_ != nullptr)
    top = top->parent_;
  return top->grid_;
}

void CMFCPropertyGridProperty::NotifyChanged() {
  if (CMyMFCPropertyGridCtrl* grid = GetGrid(); grid != nullptr) grid->OnPropertyChanged(this);
}

bool CMFCPropertyGridProperty::Refuse(std::string reason) {
  refusal_ = std::move(reason);
  return false;
}

bool CMFCPropertyGridProperty::Accept(const CPropertyValue& value) {
  refusal_.clear();
  const bool changed = !(value == value_);
  SetValue(value);
  if (changed) NotifyChanged();
  return true;
}

bool ColourScheme(int scheme, bool night, GridColours& colours) {
  if (scheme < 0 || scheme >= static_cast<int>(kSchemes.size())) return false;
  const SchemeColours& chosen = kSchemes[static_cast<std::size_t>(scheme)];
  colours = night ? chosen.night : chosen.day;
  return true;
}

int CMyMFCPropertyGridCtrl::AddProperty(std::unique_ptr<CMFCPropertyGridProperty> group, bool) {
  if (group == nullptr) return -1;
  group->grid_ = this;
  groups_.push_back(std::move(group));
  return GetPropertyCount() - 1;
}

CMFCPropertyGridProperty* CMyMFCPropertyGridCtrl::GetProperty(int index) const {
  if (index < 0 || index >= GetPropertyCount()) return nullptr;
  return groups_[static_cast<std::size_t>(index)].get();
}

bool CMyMFCPropertyGridCtrl::DeleteProperty(CMFCPropertyGridProperty*& group) {
  const auto found = std::find_if(groups_.begin(), groups_.end(),
                                  [group](const auto& g) { return g.get() == group; });
  if (found == groups_.end()) return false;
  groups_.erase(found);
  group = nullptr;
  return true;
}

void CMyMFCPropertyGridCtrl::EnableHeaderCtrl(bool enable, std::string left, std::string right) {
  header_ = enable;
  header_labels_ = {std::move(left), std::move(right)};
}

void CMyMFCPropertyGridCtrl::SetGroupNameFullWidth(bool on, bool redraw) {
  group_name_full_width_ = on;
  if (redraw) ++invalidations_;
}

void CMyMFCPropertyGridCtrl::MarkModifiedProperties(bool mark, bool redraw) {
  mark_modified_ = mark;
  if (redraw) ++invalidations_;
}

void CMyMFCPropertyGridCtrl::SetColourScheme(int scheme) {
  GridColours colours{};
  if (!ColourScheme(scheme, night_, colours)) return;
  scheme_ = scheme;
  SetCustomColors(colours);
  ++invalidations_;
}

void CMyMFCPropertyGridCtrl::OnPropertyChanged(CMFCPropertyGridProperty* property) {
  if (owner_ != nullptr) owner_->OnPropertyChanged(static_cast<WPARAM>(GetDlgCtrlID()), property);
}

}  // namespace orvale
