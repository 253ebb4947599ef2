#include "orvale/dialogs/record_edit_dialog.h"

#include <memory>

#include "orvale/platform/files.h"
#include "orvale/storage/data_folders.h"

namespace orvale {

bool CRecordEditDialog::OnBnClickedOk() {
  if (!SaveRecord()) return false;
  result_ = IDOK;
  return true;
}

void CRecordEditDialog::SetNightMode(bool night) {
  grid_.SetNightMode(night);
  // The dialogs' colours by day and by night are those of scheme 1.
  grid_.SetColourScheme(1);
}

void CRecordEditDialog::BeginGrid(std::string_view name_description, std::string_view extension) {
  grid_.SetOwner(this);
  grid_.RemoveAll();
  grid_.EnableHeaderCtrl(true, "Property", "Value");
  grid_.EnableDescriptionArea();
  grid_.SetVSDotNetLook(true);
  grid_.MarkModifiedProperties(true, true);
  SetNightMode(grid_.GetNightMode());
  auto file = std::make_unique<CMFCPropertyGridProperty>("File");
  auto* name =
      file->Add<CMFCPropertyGridProperty>("Name", file_title_, std::string(name_description), 1);
  const std::string folder = RecordFolder();
  if (!folder.empty()) {
    for (std::string title : FindFiles(folder + "*." + std::string(extension))) {
      title.resize(title.size() - extension.size() - 1);
      name->AddOption(title);
    }
  }
  name->AllowEdit(true);
  grid_.AddProperty(std::move(file));
}

void CRecordEditDialog::SetFileTitle(std::string_view title) {
  file_title_ = title;
  if (grid_.GetPropertyCount() > 0) FileName()->SetValue(file_title_);
}

}  // namespace orvale
