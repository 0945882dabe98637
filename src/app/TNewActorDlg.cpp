#include "app/TNewActorDlg.h"

#include <QComboBox>
#include <QLineEdit>

#include "model/TActor.h"
#include "model/TCase.h"
#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

constexpr int kShortNameLength = 20;

}  // namespace

TNewActorDlg::TNewActorDlg(QWidget* parent) : TNewActorDlg(tr("Name of new actor"), parent) {}

TNewActorDlg::TNewActorDlg(const QString& caption, QWidget* parent) : TNamingDlg(caption, parent) {
    setObjectName(QStringLiteral("actorDialog"));
    Actors = NewComboBox("ActorBox", true);
    Short = NewLineEdit("ShortEdit", kShortNameLength);
    AddField(tr("Actor:"), Actors);
    AddField(tr("Short name:"), Short);
    OnEnter(Actors, [this] { NameEntered(); });
    connect(Actors, &QComboBox::editTextChanged, this, &TNewActorDlg::NameTyped);
}

bool TNewActorDlg::Ask(const TCase& current, const QString& caption, const QString& shortName) {
    Current = &current;
    setWindowTitle(caption);
    int selected = -1;
    {
        // Filling the list is no typing.
        const QSignalBlocker quiet(Actors);
        Actors->clear();
        for (const auto& actor : current.ActorList) {
            Actors->addItem(ToQString(actor->Name));
            if (!shortName.isEmpty() && ToQString(actor->ShortName) == shortName) {
                selected = Actors->count() - 1;
            }
        }
        Actors->setCurrentIndex(selected);
        if (selected < 0) {
            Actors->setEditText(QString());
        }
    }
    Short->setText(selected >= 0 ? shortName : QString());
    Actors->setFocus();
    const bool confirmed = exec() == QDialog::Accepted;
    Current = nullptr;
    return confirmed;
}

QString TNewActorDlg::Name() const {
    return Actors->currentText();
}

QString TNewActorDlg::ShortName() const {
    return Short->text();
}

void TNewActorDlg::NameTyped(const QString& text) {
    if (Current == nullptr) {
        return;
    }
    const std::string name = text.trimmed().toStdString();
    const int index = Current->ActorList.FindByName(name);
    Short->setText(index >= 0 ? ToQString(Current->ActorList.At(index)->ShortName) : QString());
}

void TNewActorDlg::NameEntered() {
    if (Short->text().trimmed().isEmpty()) {
        Short->setFocus();
    } else {
        accept();
    }
}

bool TNewActorDlg::Check() {
    const QString name = Trimmed(Actors);
    if (name.isEmpty()) {
        return false;
    }
    if (Trimmed(Short).isEmpty()) {
        Short->setText(name.left(kShortNameLength));
    }
    return true;
}

}  // namespace kavo
