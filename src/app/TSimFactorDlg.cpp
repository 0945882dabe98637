#include "app/TSimFactorDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "app/DialogFrame.h"
#include "model/TFactor.h"
#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

constexpr int kLabelLeft = 8;

QString Quoted(const TFactor& factor) {
    return QLatin1Char('"') + ToQString(factor.Name) + QLatin1Char('"');
}

}  // namespace

TSimFactorDlg::TSimFactorDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("similarFactorsDialog"));
    UseDialogFrame(*this);
    setWindowTitle(tr("Similar factors"));
    auto* grid = new QGridLayout;
    grid->setContentsMargins(kLabelLeft, 8, 8, 8);
    grid->addWidget(new QLabel(tr("Change all occurrences of:"), this), 0, 0);
    FromFLbl = new QLabel(this);
    FromFLbl->setObjectName(QStringLiteral("FromFLbl"));
    grid->addWidget(FromFLbl, 1, 0);
    grid->addWidget(new QLabel(tr("into occurrences of:"), this), 2, 0);
    ToFLbl = new QLabel(this);
    ToFLbl->setObjectName(QStringLiteral("ToFLbl"));
    grid->addWidget(ToFLbl, 3, 0);
    for (QLabel* name : {FromFLbl, ToFLbl}) {
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);
        name->setTextFormat(Qt::PlainText);
    }
    Signs = new QCheckBox(tr("change signs of associated prospects, goals and links"), this);
    Signs->setObjectName(QStringLiteral("InvertBox"));
    grid->addWidget(Signs, 4, 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelBtn"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 5, 0);
    setLayout(grid);
}

bool TSimFactorDlg::Ask(const TFactor& from, const TFactor& into) {
    FromFLbl->setText(Quoted(from));
    ToFLbl->setText(Quoted(into));
    Signs->setChecked(false);
    // Wide enough for the longer name, however long the names are.
    const int labels = std::max(FromFLbl->sizeHint().width(), ToFLbl->sizeHint().width());
    setFixedWidth(std::max(Signs->sizeHint().width() + 8, kLabelLeft + labels) + 40);
    setFixedHeight(sizeHint().height());
    return exec() == QDialog::Accepted;
}

bool TSimFactorDlg::Invert() const {
    return Signs->isChecked();
}

}  // namespace kavo
