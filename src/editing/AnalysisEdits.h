#pragma once

#include "analyses/TAnalysis.h"

namespace kavo {

class TAnalysisCatalog;
class TAnalysisField;
class TCase;
class TEdit;

// The changes of the choice of analyses that the analysis dialog makes. The choice belongs to the
// program's catalog; the case keeps it as its analysis lines, so that each change marks the case
// changed, and Undo brings back both the catalog's check marks and the case's lines. Without a
// case (null) only the catalog changes.

// Whether the report runs the analyses of the family that are checked.
void SetFamilySelected(TEdit& edit, TCase* owningCase, TAnalysisCatalog& catalog,
                       TAnalysisFamily family, bool selected);
void SetAnalysisSelected(TEdit& edit, TCase* owningCase, TAnalysisCatalog& catalog,
                         TAnalysis& analysis, bool selected);
void SetFieldSelected(TEdit& edit, TCase* owningCase, TAnalysisCatalog& catalog,
                      TAnalysisField& field, bool selected);

}  // namespace kavo
