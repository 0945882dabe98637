#include "app/TNewArenaDlg.h"

#include <QLineEdit>

namespace kavo {

TNewArenaDlg::TNewArenaDlg(QWidget* parent) : TNamingDlg(tr("Name of new arena"), parent) {
    setObjectName(QStringLiteral("newArenaDialog"));
    NameEdit = NewLineEdit("Edit");
    AddField(tr("Arena:"), NameEdit);
}

bool TNewArenaDlg::Ask() {
    NameEdit->clear();
    NameEdit->setFocus();
    return exec() == QDialog::Accepted;
}

QString TNewArenaDlg::Name() const {
    return NameEdit->text();
}

bool TNewArenaDlg::Check() {
    const QString name = Trimmed(NameEdit);
    return !name.isEmpty() && !name.startsWith(QLatin1Char('*'));
}

}  // namespace kavo
