#pragma once
// The report-view list control as a model: columns with a heading, width and
// alignment, rows of texts with an image and a number of the owner's (item data), and
// which rows are selected. A host draws it from what the model holds; the editors and
// the list exports read and write it only through these operations. Texts are
// Windows-1252 bytes; a heading may hold "\n" where its header breaks the line.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvale {

// Column alignment, as the list view's header takes it.
enum LIST_ALIGNMENT {
  LVCFMT_LEFT = 0,
  LVCFMT_RIGHT = 1,
  LVCFMT_CENTER = 2,
};

// Extended styles the editors switch on (the host draws them).
inline constexpr std::uint32_t LVS_EX_GRIDLINES = 0x1;
inline constexpr std::uint32_t LVS_EX_FULLROWSELECT = 0x20;

// GetNextItem's flag for the next selected row.
inline constexpr unsigned LVNI_SELECTED = 0x2;

struct CListColumn {
  std::string heading;
  int format = LVCFMT_LEFT;
  int width = 0;  // pixels; 0 leaves it to the host
};

class CListCtrl {
 public:
  // Inserts a column before `column` (at the end when past the last one); every row
  // gains an empty cell there. Returns the column's index, -1 for a negative index.
  int InsertColumn(int column, std::string_view heading, int format = LVCFMT_LEFT, int width = 0);
  [[nodiscard]] bool DeleteColumn(int column);
  int GetColumnCount() const { return static_cast<int>(columns_.size()); }
  // The column, or null outside the columns.
  const CListColumn* GetColumn(int column) const;
  [[nodiscard]] bool SetColumnWidth(int column, int width);

  // Inserts a row before `item` (at the end when past the last one) whose first cell
  // is `text` and whose other cells are empty. Returns the row's index, -1 for a
  // negative index or a list without columns.
  int InsertItem(int item, std::string_view text, int image = 0);
  [[nodiscard]] bool DeleteItem(int item);
  void DeleteAllItems();
  int GetItemCount() const { return static_cast<int>(rows_.size()); }

  // False, changing nothing, outside the rows or columns.
  [[nodiscard]] bool SetItemText(int item, int column, std::string_view text);
  // Empty outside the rows or columns.
  std::string GetItemText(int item, int column) const;
  [[nodiscard]] bool SetItemData(int item, std::uintptr_t data);
  std::uintptr_t GetItemData(int item) const;  // 0 outside the rows
  [[nodiscard]] bool SetItemImage(int item, int image);
  int GetItemImage(int item) const;  // -1 outside the rows

  // Selection. With single selection (the default) selecting a row clears the others.
  void SetSingleSelection(bool single) { single_selection_ = single; }
  [[nodiscard]] bool SetItemSelected(int item, bool selected);
  bool IsItemSelected(int item) const;
  int GetSelectedCount() const;
  // The first selected row after `after` (-1 to start); -1 when there is none.
  int GetNextItem(int after, unsigned flags = LVNI_SELECTED) const;
  void ClearSelection();

  void SetExtendedStyle(std::uint32_t style) { extended_style_ = style; }
  std::uint32_t GetExtendedStyle() const { return extended_style_; }

  // Orders the rows, with their selection, by the owner's comparison of two rows'
  // item data (true when the first goes before the second); rows that compare equal
  // keep their order.
  void SortItems(const std::function<bool(std::uintptr_t, std::uintptr_t)>& before);
  // Orders the rows by the texts of one column, ignoring ASCII case.
  void SortByColumn(int column, bool ascending = true);

 private:
  struct Row {
    std::vector<std::string> cells;
    std::uintptr_t data = 0;
    int image = 0;
    bool selected = false;
  };
  bool IsRow(int item) const { return item >= 0 && item < GetItemCount(); }

  std::vector<CListColumn> columns_;
  std::vector<Row> rows_;
  std::uint32_t extended_style_ = 0;
  bool single_selection_ = true;
};

// a before b ignoring ASCII case (Windows-1252 letters above 0x7F compare as bytes),
// the order the editors list names in.
bool LessIgnoringCase(std::string_view a, std::string_view b);

}  // namespace orvale
