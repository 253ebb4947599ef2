#pragma once
// "Projection Editor": the built-in projections of groups 1 to 11 and the "PRJ"
// record files.

#include "orvale/dialogs/list_editor.h"
#include "orvale/engine/angles/angle_settings.h"

namespace orvale {

class CProjectionEditor : public CListEditor {
 public:
  explicit CProjectionEditor(CWnd* parent, const EditorHost& host = {});

  void DisplayProjections() { Refill(); }
  void OnEditProjection() { OnEdit(); }
  void OnAddProjection() { OnAdd(); }
  void OnRemoveProjection() { OnRemove(); }

 protected:
  void AddColumns(CListCtrl& list) override;
  void CollectEntries(std::vector<CatalogueEntry>& entries) override;
  void WriteRow(CListCtrl& list, int item, const CatalogueEntry& entry) override;
  bool RunEditDialog(IRecordDialogs& dialogs, std::string_view file_title) override {
    return dialogs.EditProjection(file_title);
  }
  void ReadDisplaySettings() override;

 private:
  AngleFormat m_Latitude;
  AngleFormat m_Longitude;
};

}  // namespace orvale
