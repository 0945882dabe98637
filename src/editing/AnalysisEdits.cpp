#include "editing/AnalysisEdits.h"

#include "analyses/TAnalysisCatalog.h"
#include "analyses/TAnalysisField.h"
#include "editing/TEdit.h"
#include "model/TCase.h"

namespace kavo {

namespace {

void StoreChoice(TEdit& edit, TCase* owningCase, const TAnalysisCatalog& catalog) {
    if (owningCase != nullptr) {
        edit.Set(owningCase->AnalysisLines, catalog.SelectionLines());
    }
}

}  // namespace

void SetFamilySelected(TEdit& edit, TCase* owningCase, TAnalysisCatalog& catalog,
                       TAnalysisFamily family, bool selected) {
    edit.NameIfUnnamed(selected ? "Check analysis family" : "Uncheck analysis family");
    edit.Set(catalog.FamilySelected[static_cast<std::size_t>(family)], selected);
    StoreChoice(edit, owningCase, catalog);
}

void SetAnalysisSelected(TEdit& edit, TCase* owningCase, TAnalysisCatalog& catalog,
                         TAnalysis& analysis, bool selected) {
    edit.NameIfUnnamed(selected ? "Check analysis" : "Uncheck analysis");
    edit.Set(analysis.Selected, selected);
    StoreChoice(edit, owningCase, catalog);
}

void SetFieldSelected(TEdit& edit, TCase* owningCase, TAnalysisCatalog& catalog,
                      TAnalysisField& field, bool selected) {
    edit.NameIfUnnamed(selected ? "Check analysis field" : "Uncheck analysis field");
    edit.Set(field.Selected, selected);
    StoreChoice(edit, owningCase, catalog);
}

}  // namespace kavo
