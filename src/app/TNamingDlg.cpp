#include "app/TNamingDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/DialogFrame.h"

namespace kavo {

TNamingDlg::TNamingDlg(const QString& caption, QWidget* parent) : QDialog(parent) {
    UseDialogFrame(*this);
    setWindowTitle(caption);
    Fields = new QFormLayout;
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelBtn"));
    // Enter belongs to the fields, which decide what it does.
    for (QAbstractButton* button : buttons->buttons()) {
        if (auto* push = qobject_cast<QPushButton*>(button)) {
            push->setAutoDefault(false);
            push->setDefault(false);
        }
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &TNamingDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TNamingDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(Fields);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TNamingDlg::accept() {
    if (!Check()) {
        QApplication::beep();
        return;
    }
    QDialog::accept();
}

void TNamingDlg::AddField(const QString& label, QWidget* field) {
    Fields->addRow(label, field);
    field->installEventFilter(this);
    if (auto* combo = qobject_cast<QComboBox*>(field); combo != nullptr && combo->isEditable()) {
        combo->lineEdit()->installEventFilter(this);
    }
}

QLineEdit* TNamingDlg::NewLineEdit(const char* name, int maxLength) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0) {
        edit->setMaxLength(maxLength);
    }
    edit->setMinimumWidth(220);
    return edit;
}

QComboBox* TNamingDlg::NewComboBox(const char* name, bool editable) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(editable);
    if (editable) {
        box->setInsertPolicy(QComboBox::NoInsert);
    }
    box->setMinimumWidth(220);
    return box;
}

QComboBox* TNamingDlg::NewAggregationBox() {
    QComboBox* box = NewComboBox("FiPTypeBox", false);
    box->addItems({QStringLiteral("ADD"), QStringLiteral("MUL"), QStringLiteral("MIN"),
                   QStringLiteral("MAX")});
    box->setToolTip(tr("Aggregation mode for incoming changes"));
    // Greyed when disabled, as the dictionary's change of a factor shows it.
    box->setStyleSheet(
        QStringLiteral("QComboBox { background: #404040; color: white; }"
                       "QComboBox:disabled { background: palette(window); }"));
    return box;
}

void TNamingDlg::OnEnter(QWidget* field, std::function<void()> action) {
    EnterActions.insert(field, action);
    if (auto* combo = qobject_cast<QComboBox*>(field); combo != nullptr && combo->isEditable()) {
        EnterActions.insert(combo->lineEdit(), std::move(action));
    }
}

QString TNamingDlg::Trimmed(QLineEdit* field) {
    const QString text = field->text().trimmed();
    field->setText(text);
    return text;
}

QString TNamingDlg::Trimmed(QComboBox* field) {
    const QString text = field->currentText().trimmed();
    field->setEditText(text);
    return text;
}

bool TNamingDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const auto action = EnterActions.constFind(watched);
            if (action != EnterActions.constEnd()) {
                (*action)();
            } else {
                accept();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kavo
