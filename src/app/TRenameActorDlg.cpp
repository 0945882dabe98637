#include "app/TRenameActorDlg.h"

#include <QComboBox>
#include <QLineEdit>

#include "model/TActor.h"
#include "qtgui/QtConversions.h"

namespace kavo {

TRenameActorDlg::TRenameActorDlg(QWidget* parent)
    : TNewActorDlg(tr("Rename actor in ALL arenas"), parent) {
    setObjectName(QStringLiteral("renameActorDialog"));
}

bool TRenameActorDlg::Ask(const TActor& actor) {
    // Without a case the name list stays empty and typing fills in nothing.
    Current = nullptr;
    Actors->clear();
    Actors->setEditText(ToQString(actor.Name));
    Short->setText(ToQString(actor.ShortName));
    Actors->setFocus();
    return exec() == QDialog::Accepted;
}

}  // namespace kavo
