// Condition schemes of the option form: the list of saved schemes, saving, restoring,
// deleting and renaming them through the application server.
#include "framework/BaseGene.h"

namespace nv {

void TfrmBaseGene::SetupSchemeColumns() {}

// TODO(schemes): the value lines of the property list, stored with InsertConTable.
bool TfrmBaseGene::SaveScheme(const std::string& propertyList, const std::string& name,
                              bool replace) {
  return false;
}

bool TfrmBaseGene::RestoreScheme(const std::string& propertyList, const std::string& values) {
  return false;
}

bool TfrmBaseGene::LoadSchemeList() {
  return false;
}

void TfrmBaseGene::btnInsertClick(TObject* sender) {}
void TfrmBaseGene::btnOpenClick(TObject* sender) {}
void TfrmBaseGene::btnDeleteClick(TObject* sender) {}
void TfrmBaseGene::lstConditionEdited(TObject* sender, TListItem* item, std::string& text) {}
void TfrmBaseGene::ToolButton1Click(TObject* sender) {}
void TfrmBaseGene::ViewIconExecute(TObject* sender) {}
void TfrmBaseGene::ViewSmallIconExecute(TObject* sender) {}
void TfrmBaseGene::ViewListExecute(TObject* sender) {}
void TfrmBaseGene::ViewReportExecute(TObject* sender) {}

}  // namespace nv
