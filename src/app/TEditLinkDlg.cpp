#include "app/TEditLinkDlg.h"

#include <QPainter>

#include "app/EditorPictures.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLink.h"

namespace kavo {

namespace {

const TCase& CaseOf(const TLink& link) {
    return *link.FromFiP->Factor->Case;
}

}  // namespace

TEditLinkDlg::TEditLinkDlg(QWidget* parent) : TStripEditor(tr("Link"), 26, parent) {
    setObjectName(QStringLiteral("linkEditor"));
}

void TEditLinkDlg::Start(TFiP& source, TFiP& target, const TLink* old) {
    NewItem = std::make_unique<TLink>(*source.Factor->Case, &source, &target);
    if (old != nullptr) {
        NewItem->Level = old->Level;
        NewItem->Uncertainty = old->Uncertainty;
        NewItem->Vector = old->Vector;
        NewItem->Distribution = old->Distribution;
        NewItem->Comment = old->Comment;
    }
    Redraw();
}

void TEditLinkDlg::DrawUpper(QPainter& painter) {
    if (NewItem) {
        DrawLinkStrip(painter, NewItem->Level);
    }
}

void TEditLinkDlg::DrawLower(QPainter& painter) {
    if (NewItem) {
        DrawProbabilityStrip(painter, NewItem->Distribution.ToVector(CaseOf(*NewItem)));
    }
}

void TEditLinkDlg::UpperPressed(int level, Qt::MouseButton /*button*/,
                                Qt::KeyboardModifiers modifiers) {
    if (!NewItem) {
        return;
    }
    const int uncertainty = UncertaintyOf(modifiers);
    NewItem->Level = static_cast<std::int8_t>(level);
    NewItem->Uncertainty = static_cast<std::uint8_t>(uncertainty);
    NewItem->Distribution.SetMultiplier(CaseOf(*NewItem), level, uncertainty);
    NewItem->Vector = UncertaintyProfile(uncertainty, level);
}

bool TEditLinkDlg::ArrowKey(int key) {
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
