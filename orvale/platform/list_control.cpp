#include "orvale/platform/list_control.h"

#include <algorithm>
#include <cctype>
#include <numeric>

namespace orvale {

bool LessIgnoringCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) {
      const auto byte = static_cast<unsigned char>(c);
      return byte < 0x80 ? std::tolower(byte) : byte;
    };
    return lower(x) < lower(y);
  });
}

int CListCtrl::InsertColumn(int column, std::string_view heading, int format, int width) {
  if (column < 0) return -1;
  column = std::min(column, GetColumnCount());
  columns_.insert(columns_.begin() + column, CListColumn{std::string(heading), format, width});
  for (Row& row : rows_)
    row.cells.insert(row.cells.begin() + column, std::string());
  return column;
}

bool CListCtrl::DeleteColumn(int column) {
  if (column < 0 || column >= GetColumnCount()) return false;
  columns_.erase(columns_.begin() + column);
  for (Row& row : rows_)
    row.cells.erase(row.cells.begin() + column);
  return true;
}

const CListColumn* CListCtrl::GetColumn(int column) const {
  if (column < 0 || column >= GetColumnCount()) return nullptr;
  return &columns_[static_cast<std::size_t>(column)];
}

bool CListCtrl::SetColumnWidth(int column, int width) {
  if (column < 0 || column >= GetColumnCount()) return false;
  columns_[static_cast<std::size_t>(column)].width = width;
  return true;
}

int CListCtrl::InsertItem(int item, std::string_view text, int image) {
  if (item < 0 || columns_.empty()) return -1;
  item = std::min(item, GetItemCount());
  Row row;
  row.cells.resize(columns_.size());
  row.cells[0] = text;
  row.image = image;
  rows_.insert(rows_.begin() + item, std::move(row));
  return item;
}

bool CListCtrl::DeleteItem(int item) {
  if (!IsRow(item)) return false;
  rows_.erase(rows_.begin() + item);
  return true;
}

void CListCtrl::DeleteAllItems() {
  rows_.clear();
}

bool CListCtrl::SetItemText(int item, int column, std::string_view text) {
  if (!IsRow(item) || column < 0 || column >= GetColumnCount()) return false;
  rows_[static_cast<std::size_t>(item)].cells[static_cast<std::size_t>(column)] = text;
  return true;
}

std::string CListCtrl::GetItemText(int item, int column) const {
  if (!IsRow(item) || column < 0 || column >= GetColumnCount()) return {};
  return rows_[static_cast<std::size_t>(item)].cells[static_cast<std::size_t>(column)];
}

bool CListCtrl::SetItemData(int item, std::uintptr_t data) {
  if (!IsRow(item)) return false;
  rows_[static_cast<std::size_t>(item)].data = data;
  return true;
}

std::uintptr_t CListCtrl::GetItemData(int item) const {
  return IsRow(item) ? rows_[static_cast<std::size_t>(item)].data : 0;
}

bool CListCtrl::SetItemImage(int item, int image) {
  if (!IsRow(item)) return false;
  rows_[static_cast<std::size_t>(item)].image = image;
  return true;
}

int CListCtrl::GetItemImage(int item) const {
  return IsRow(item) ? rows_[static_cast<std::size_t>(item)].image : -1;
}

bool CListCtrl::SetItemSelected(int item, bool selected) {
  if (!IsRow(item)) return false;
  if (selected && single_selection_) ClearSelection();
  rows_[static_cast<std::size_t>(item)].selected = selected;
  return true;
}

bool CListCtrl::IsItemSelected(int item) const {
  return IsRow(item) && rows_[static_cast<std::size_t>(item)].selected;
}

int CListCtrl::GetSelectedCount() const {
  return static_cast<int>(
      std::count_if(rows_.begin(), rows_.end(), [](const Row& row) { return row.selected; }));
}

int CListCtrl::GetNextItem(int after, unsigned flags) const {
  for (int item = std::max(after + 1, 0); item < GetItemCount(); ++item) {
    if ((flags & LVNI_SELECTED) == 0 || rows_[static_cast<std::size_t>(item)].selected) return item;
  }
  return -1;
}

void CListCtrl::ClearSelection() {
  for (Row& row : rows_)
    row.selected = false;
}

void CListCtrl::SortItems(const std::function<bool(std::uintptr_t, std::uintptr_t)>& before) {
  std::stable_sort(rows_.begin(), rows_.end(),
                   [&before](const Row& a, const Row& b) { return before(a.data, b.data); });
}

void CListCtrl::SortByColumn(int column, bool ascending) {
  if (column < 0 || column >= GetColumnCount()) return;
  const auto c = static_cast<std::size_t>(column);
  std::stable_sort(rows_.begin(), rows_.end(), [c, ascending](const Row& a, const Row& b) {
    return ascending ? LessIgnoringCase(a.cells[c], b.cells[c])
                     : LessIgnoringCase(b.cells[c], a.cells[c]);
  });
}

}  // namespace orvale
