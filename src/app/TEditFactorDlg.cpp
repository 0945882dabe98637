#include "app/TEditFactorDlg.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>

#include "model/Names.h"
#include "model/TActor.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

QString Caption(TFactorKind kind) {
    switch (kind) {
        case TFactorKind::fkAttribute:
            return TNamingDlg::tr("Attribute");
        case TFactorKind::fkAction:
            return TNamingDlg::tr("Action");
        default:
            return TNamingDlg::tr("Factor");
    }
}

bool IsOfKind(const TFactor& factor, TFactorKind kind) {
    switch (kind) {
        case TFactorKind::fkAttribute:
            return factor.IsAttribute();
        case TFactorKind::fkAction:
            return factor.Owner != nullptr && factor.IsAction;
        default:
            return factor.Owner == nullptr && !factor.IsAction;
    }
}

}  // namespace

TEditFactorDlg::TEditFactorDlg(TFactorKind kind, QWidget* parent)
    : TNamingDlg(Caption(kind), parent), Kind(kind) {
    setObjectName(QStringLiteral("factorDialog"));
    Names = NewComboBox("NameBox", true);
    AddField(tr("Name:"), Names);
    if (kind != TFactorKind::fkFactor) {
        Actors = NewComboBox("ActorNameBox", true);
        AddField(tr("Actor:"), Actors);
        OnEnter(Names, [this] { Actors->setFocus(); });
        Actors->lineEdit()->installEventFilter(this);
        connect(Names, &QComboBox::activated, this, &TEditFactorDlg::NameChosen);
    }
    Aggregation = NewAggregationBox();
    AddField(tr("Aggregation:"), Aggregation);
}

bool TEditFactorDlg::Ask(const TCase& current) {
    Current = &current;
    Names->clear();
    for (const auto& factor : current.FactorList) {
        if (IsOfKind(*factor, Kind)) {
            Names->addItem(ToQString(factor->Name));
        }
    }
    Names->setCurrentIndex(-1);
    Names->setEditText(QString());
    if (Actors != nullptr) {
        Actors->clear();
        for (const auto& actor : current.ActorList) {
            Actors->addItem(ToQString(actor->Name));
        }
        Actors->setCurrentIndex(-1);
        Actors->setEditText(QString());
    }
    Aggregation->setCurrentIndex(0);
    ChosenShort.clear();
    ActorIsNew = false;
    Names->setFocus();
    const bool confirmed = exec() == QDialog::Accepted;
    Current = nullptr;
    return confirmed;
}

QString TEditFactorDlg::Name() const {
    return Names->currentText().trimmed();
}

TOperator TEditFactorDlg::Operator() const {
    return static_cast<TOperator>(std::max(0, Aggregation->currentIndex()));
}

void TEditFactorDlg::NameChosen(int index) {
    const QString text = Names->itemText(index);
    const int open = text.indexOf(QStringLiteral(" ["));
    if (open >= 0 && text.endsWith(QLatin1Char(']'))) {
        Actors->setEditText(text.mid(open + 2, text.size() - open - 3));
    }
}

void TEditFactorDlg::CutSuffix() {
    const QString text = Names->currentText();
    const int open = text.indexOf(QStringLiteral(" ["));
    if (open >= 0) {
        Names->setEditText(text.left(open));
    }
}

bool TEditFactorDlg::Check() {
    if (Actors != nullptr) {
        CutSuffix();
    }
    if (Trimmed(Names).isEmpty()) {
        return false;
    }
    if (Actors == nullptr) {
        return true;
    }
    const QString actorText = Trimmed(Actors);
    if (actorText.isEmpty() || Current == nullptr) {
        return false;
    }
    const std::string typed = actorText.toStdString();
    const int index = Current->ActorList.FindByName(typed);
    ActorIsNew = false;
    if (index >= 0) {
        ChosenShort = ToQString(Current->ActorList.At(index)->ShortName);
    } else if (const TActor* actor = Current->FindActorByShortName(typed)) {
        ChosenShort = actorText;
        Actors->setEditText(ToQString(actor->Name));
    } else {
        ChosenShort = actorText;
        ActorIsNew = true;
    }
    return true;
}

}  // namespace kavo
