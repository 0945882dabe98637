#include "app/TRenameAllDlg.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "app/ShellIcons.h"
#include "model/Names.h"
#include "model/TActor.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "qtgui/QtConversions.h"

namespace kavo {

TRenameAllDlg::TRenameAllDlg(QWidget* parent)
    : TNamingDlg(tr("Change factor name/actor/type in ALL perceptions"), parent) {
    setObjectName(QStringLiteral("changeFactorDialog"));
    NameField = NewLineEdit("NameEdit");
    AddField(tr("Name:"), NameField);
    auto* kinds = new QWidget(this);
    auto* row = new QHBoxLayout(kinds);
    row->setContentsMargins(0, 0, 0, 0);
    AttributeBtn = new QToolButton(kinds);
    AttributeBtn->setObjectName(QStringLiteral("AttributeBtn"));
    AttributeBtn->setIcon(ShellIcon(TShellIcon::siAttribute));
    AttributeBtn->setToolTip(tr("Factor is an attribute"));
    ActionBtn = new QToolButton(kinds);
    ActionBtn->setObjectName(QStringLiteral("ActionBtn"));
    ActionBtn->setIcon(ShellIcon(TShellIcon::siAction));
    ActionBtn->setToolTip(tr("Factor is an action"));
    for (QToolButton* button : {AttributeBtn, ActionBtn}) {
        button->setCheckable(true);
        row->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, button] { KindPressed(button); });
    }
    Actors = NewComboBox("ActorBox", false);
    row->addWidget(Actors, 1);
    AddField(tr("Actor:"), kinds);
    Aggregation = NewAggregationBox();
    AddField(tr("Aggregation:"), Aggregation);
    OnEnter(NameField, [this] {
        if (Actors->isEnabled()) {
            Actors->setFocus();
        } else {
            accept();
        }
    });
}

bool TRenameAllDlg::Ask(const TCase& current, const TFactor& factor,
                        std::optional<TOperator> aggregation) {
    Current = &current;
    Actors->clear();
    for (const auto& actor : current.ActorList) {
        Actors->addItem(ToQString(actor->Name));
    }
    AttributeBtn->setChecked(factor.Owner != nullptr && !factor.IsAction);
    ActionBtn->setChecked(factor.Owner != nullptr && factor.IsAction);
    EnableActors(factor.Owner != nullptr);
    Actors->setCurrentIndex(factor.Owner != nullptr ? current.ActorList.IndexOf(factor.Owner) : -1);
    Aggregation->setEnabled(aggregation.has_value());
    Aggregation->setCurrentIndex(aggregation ? static_cast<int>(*aggregation) : -1);
    NameField->setText(ToQString(BareName(factor.Name)));
    NameField->setFocus();
    const bool confirmed = exec() == QDialog::Accepted;
    return confirmed;
}

void TRenameAllDlg::KindPressed(QToolButton* pressed) {
    QToolButton* other = pressed == AttributeBtn ? ActionBtn : AttributeBtn;
    if (pressed->isChecked()) {
        other->setChecked(false);
        EnableActors(true);
    } else {
        Actors->setCurrentIndex(-1);
        EnableActors(false);
    }
}

void TRenameAllDlg::EnableActors(bool enabled) {
    Actors->setEnabled(enabled);
}

QString TRenameAllDlg::Name() const {
    return NameField->text();
}

TActor* TRenameAllDlg::Owner() const {
    const int index = Actors->currentIndex();
    if (Current == nullptr || !Actors->isEnabled() || index < 0 ||
        index >= Current->ActorList.Size()) {
        return nullptr;
    }
    return Current->ActorList.At(index);
}

bool TRenameAllDlg::IsAction() const {
    return ActionBtn->isChecked();
}

TOperator TRenameAllDlg::Operator() const {
    return static_cast<TOperator>(std::max(0, Aggregation->currentIndex()));
}

bool TRenameAllDlg::Check() {
    return !Trimmed(NameField).isEmpty();
}

}  // namespace kavo
