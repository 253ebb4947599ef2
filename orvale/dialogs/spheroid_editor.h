#pragma once
// "Spheroid Editor": the built-in spheroids and the "SPD" record files.

#include "orvale/dialogs/list_editor.h"

namespace orvale {

class CSpheroidEditor : public CListEditor {
 public:
  explicit CSpheroidEditor(CWnd* parent, const EditorHost& host = {});

  void DisplaySpheroids() { Refill(); }
  void OnEditSpheroid() { OnEdit(); }
  void OnAddSpheroid() { OnAdd(); }
  void OnRemoveSpheroid() { OnRemove(); }

 protected:
  void AddColumns(CListCtrl& list) override;
  void CollectEntries(std::vector<CatalogueEntry>& entries) override;
  void WriteRow(CListCtrl& list, int item, const CatalogueEntry& entry) override;
  bool RunEditDialog(IRecordDialogs& dialogs, std::string_view file_title) override {
    return dialogs.EditSpheroid(file_title);
  }
};

}  // namespace orvale
