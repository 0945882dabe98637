#include "app/TEditProspectDlg.h"

#include <QPainter>

#include "app/EditorPictures.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TProspect.h"

namespace kavo {

namespace {

const TCase& CaseOf(const TProspect& prospect) {
    return *prospect.FiP->Factor->Case;
}

}  // namespace

TEditProspectDlg::TEditProspectDlg(QWidget* parent) : TStripEditor(tr("Prospect"), 26, parent) {
    setObjectName(QStringLiteral("prospectEditor"));
}

void TEditProspectDlg::Start(TFiP& fip, const TProspect* old) {
    NewItem = std::make_unique<TProspect>(*fip.Factor->Case, &fip, 0, 0);
    if (old != nullptr) {
        NewItem->Level = old->Level;
        NewItem->Uncertainty = old->Uncertainty;
        NewItem->Vector = old->Vector;
        NewItem->Distribution = old->Distribution;
    }
    Redraw();
}

void TEditProspectDlg::DrawUpper(QPainter& painter) {
    if (NewItem) {
        DrawProspectStrip(painter, NewItem->Level, CaseOf(*NewItem));
    }
}

void TEditProspectDlg::DrawLower(QPainter& painter) {
    if (NewItem) {
        DrawProbabilityStrip(painter, NewItem->Distribution.ToVector(CaseOf(*NewItem)));
    }
}

void TEditProspectDlg::UpperPressed(int level, Qt::MouseButton /*button*/,
                                    Qt::KeyboardModifiers modifiers) {
    if (!NewItem) {
        return;
    }
    const int uncertainty = UncertaintyOf(modifiers);
    NewItem->Level = static_cast<std::int8_t>(level);
    NewItem->Uncertainty = static_cast<std::uint8_t>(uncertainty);
    NewItem->Distribution.SetChange(CaseOf(*NewItem), level, uncertainty);
    NewItem->Vector = UncertaintyProfile(uncertainty, level);
}

bool TEditProspectDlg::ArrowKey(int key) {
    if (!NewItem) {
        return false;
    }
    int level = NewItem->Level;
    int uncertainty = NewItem->Uncertainty;
    if (StepLevelOrUncertainty(key, level, uncertainty)) {
        UpperPressed(level, Qt::LeftButton, ModifiersOfUncertainty(uncertainty));
    }
    return true;
}

}  // namespace kavo
