#include "orvale/platform/list_control.h"

#include <gtest/gtest.h>

namespace orvale {
namespace {

CListCtrl ThreeByTwo() {
  CListCtrl list;
  list.InsertColumn(0, "Name");
  list.InsertColumn(1, "Value", LVCFMT_RIGHT, 80);
  for (const char* name : {"beta", "Alpha", "gamma"}) {
    const int item = list.InsertItem(list.GetItemCount(), name);
    EXPECT_TRUE(list.SetItemText(item, 1, std::string(name) + "!"));
    EXPECT_TRUE(list.SetItemData(item, static_cast<std::uintptr_t>(item) + 10));
  }
  return list;
}

TEST(ListControl, KeepsCellsInPlaceAsColumnsAndRowsComeAndGo) {
  CListCtrl list = ThreeByTwo();
  EXPECT_EQ(list.InsertItem(0, "first", 1), 0);
  EXPECT_EQ(list.GetItemCount(), 4);
  EXPECT_EQ(list.GetItemText(1, 0), "beta");
  EXPECT_EQ(list.GetItemImage(0), 1);
  EXPECT_EQ(list.InsertColumn(1, "Middle"), 1);
  EXPECT_EQ(list.GetItemText(1, 2), "beta!");
  EXPECT_EQ(list.GetItemText(1, 1), "");
  EXPECT_TRUE(list.DeleteItem(0));
  EXPECT_TRUE(list.DeleteColumn(1));
  EXPECT_EQ(list.GetItemText(0, 1), "beta!");
  EXPECT_EQ(list.GetColumn(1)->format, LVCFMT_RIGHT);
  // Outside the rows and columns nothing changes and nothing is read.
  EXPECT_FALSE(list.SetItemText(3, 0, "x"));
  EXPECT_FALSE(list.SetItemText(0, 2, "x"));
  EXPECT_EQ(list.GetItemText(-1, 0), "");
  EXPECT_EQ(list.GetColumn(2), nullptr);
  EXPECT_FALSE(list.DeleteItem(3));
  list.DeleteAllItems();
  EXPECT_EQ(list.GetItemCount(), 0);
  CListCtrl no_columns;
  EXPECT_EQ(no_columns.InsertItem(0, "x"), -1);
}

TEST(ListControl, SelectsOneRowUnlessToldOtherwise) {
  CListCtrl list = ThreeByTwo();
  EXPECT_EQ(list.GetNextItem(-1), -1);
  EXPECT_TRUE(list.SetItemSelected(0, true));
  EXPECT_TRUE(list.SetItemSelected(2, true));
  EXPECT_EQ(list.GetSelectedCount(), 1);
  EXPECT_EQ(list.GetNextItem(-1), 2);
  list.SetSingleSelection(false);
  EXPECT_TRUE(list.SetItemSelected(0, true));
  EXPECT_EQ(list.GetSelectedCount(), 2);
  EXPECT_EQ(list.GetNextItem(0), 2);
  EXPECT_FALSE(list.SetItemSelected(5, true));
}

TEST(ListControl, SortsIgnoringCaseAndCarriesDataAndSelection) {
  CListCtrl list = ThreeByTwo();
  EXPECT_TRUE(list.SetItemSelected(0, true));  // "beta"
  list.SortByColumn(0);
  EXPECT_EQ(list.GetItemText(0, 0), "Alpha");
  EXPECT_EQ(list.GetItemText(1, 0), "beta");
  EXPECT_EQ(list.GetItemData(1), 10u);
  EXPECT_TRUE(list.IsItemSelected(1));
  list.SortItems([](std::uintptr_t a, std::uintptr_t b) { return a > b; });
  EXPECT_EQ(list.GetItemText(0, 0), "gamma");
  EXPECT_TRUE(LessIgnoringCase("abc", "ABD"));
  EXPECT_FALSE(LessIgnoringCase("ABC", "abc"));
  EXPECT_TRUE(LessIgnoringCase("Zeta", "\xC9tat"));  // bytes above 0x7F sort after ASCII
}

}  // namespace
}  // namespace orvale
