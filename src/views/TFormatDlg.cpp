#include "views/TFormatDlg.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "casefile/CaseFileText.h"

namespace kavo {

namespace {

constexpr int kSingleValueListWidth = 135;
constexpr int kTwoValueListWidth = 85;
constexpr double kValueLimit = 999;

QString SwatchStyle(std::uint32_t color, bool outlined) {
    const QColor fill(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                      static_cast<int>((color >> 16) & 0xFF));
    return QStringLiteral("QToolButton { background-color: %1; border: 2px solid %2; }")
        .arg(fill.name(), outlined ? QStringLiteral("black") : QStringLiteral("transparent"));
}

QToolButton* StyleButton(QWidget* parent, const QString& letter, const QString& tip,
                         const char* name, bool on) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(letter);
    button->setToolTip(tip);
    button->setCheckable(true);
    button->setChecked(on);
    return button;
}

bool AllowedInLowerValue(const QKeyEvent& key) {
    switch (key.key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;
        default:
            break;
    }
    const QString text = key.text();
    // A lower bound may be negative and may use either decimal separator.
    return text.size() == 1 &&
           (text[0].isDigit() || text[0] == u'.' || text[0] == u',' || text[0] == u'-');
}

}  // namespace

QString FormatValueText(double value) {
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

const std::array<std::uint32_t, 20>& TFormatDlg::Colors() {
    static constexpr auto rgb = [](std::uint32_t r, std::uint32_t g, std::uint32_t b) {
        return r | (g << 8) | (b << 16);
    };
    static const std::array<std::uint32_t, 20> kColors{
        rgb(0, 192, 0),     rgb(128, 255, 48),  rgb(208, 208, 0),   rgb(224, 112, 48),
        rgb(224, 0, 0),     rgb(224, 0, 176),   rgb(176, 0, 192),   rgb(0, 0, 255),
        rgb(0, 192, 176),   rgb(192, 192, 192), rgb(0, 255, 0),     rgb(192, 255, 96),
        rgb(255, 255, 0),   rgb(255, 192, 64),  rgb(255, 112, 112), rgb(255, 112, 255),
        rgb(192, 112, 255), rgb(96, 128, 255),  rgb(112, 255, 255), rgb(255, 255, 255)};
    return kColors;
}

TFormatDlg::TFormatDlg(const TFieldFormat& format, QWidget* parent)
    : QDialog(parent), Edited(format) {
    setWindowTitle(tr("Conditional format"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    auto* bar = new QHBoxLayout;
    BoldBtn = StyleButton(this, tr("B"), tr("Bold"), "BoldBtn", format.Bold);
    ItalicBtn = StyleButton(this, tr("I"), tr("Italic"), "ItalicBtn", format.Italic);
    UnderlineBtn = StyleButton(this, tr("U"), tr("Underline"), "UnderlineBtn", format.Underline);
    QFont font = BoldBtn->font();
    font.setBold(true);
    BoldBtn->setFont(font);
    font.setBold(false);
    font.setItalic(true);
    ItalicBtn->setFont(font);
    font.setItalic(false);
    font.setUnderline(true);
    UnderlineBtn->setFont(font);
    OkBtn = new QPushButton(tr("OK"), this);
    OkBtn->setObjectName(QStringLiteral("OKBtn"));
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(tr("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);
    for (QWidget* widget : {static_cast<QWidget*>(BoldBtn), static_cast<QWidget*>(ItalicBtn),
                            static_cast<QWidget*>(UnderlineBtn)}) {
        bar->addWidget(widget);
    }
    bar->addStretch();
    bar->addWidget(OkBtn);
    bar->addWidget(CancelBtn);
    layout->addLayout(bar);

    auto* swatches = new QGridLayout;
    swatches->setSpacing(2);
    for (std::size_t i = 0; i < Swatches.size(); ++i) {
        auto* swatch = new QToolButton(this);
        swatch->setObjectName(QStringLiteral("Swatch%1").arg(i));
        swatch->setFixedSize(22, 22);
        swatch->setFocusPolicy(Qt::NoFocus);
        const std::uint32_t color = Colors()[i];
        connect(swatch, &QToolButton::clicked, this, [this, color] { ChooseColor(color); });
        swatches->addWidget(swatch, static_cast<int>(i / 10), static_cast<int>(i % 10));
        Swatches[i] = swatch;
    }
    layout->addLayout(swatches);

    layout->addWidget(new QLabel(tr(" if the cell value is..."), this));
    auto* condition = new QHBoxLayout;
    Relations = new QComboBox(this);
    Relations->setObjectName(QStringLiteral("RelationList"));
    Relations->addItems({tr("equal to"), tr("approximately equal to"), tr("not equal to"),
                         tr("less than"), tr("less than or equal to"), tr("greater than"),
                         tr("greater than or equal to"), tr("between"), tr("not between")});
    // The dropped-down list is wide enough for every item.
    Relations->view()->setMinimumWidth(kSingleValueListWidth);
    Lower = new QLineEdit(this);
    Lower->setObjectName(QStringLiteral("LowerEdit"));
    AndLabel = new QLabel(tr("and"), this);
    Upper = new QLineEdit(this);
    Upper->setObjectName(QStringLiteral("UpperEdit"));
    for (QLineEdit* edit : {Lower, Upper}) {
        edit->setFixedWidth(60);
        edit->installEventFilter(this);
    }
    condition->addWidget(Relations);
    condition->addWidget(Lower);
    condition->addWidget(AndLabel);
    condition->addWidget(Upper);
    condition->addStretch();
    layout->addLayout(condition);
    Message = new QLabel(this);
    Message->setObjectName(QStringLiteral("FormatMessage"));
    Message->setStyleSheet(QStringLiteral("color: #b00000;"));
    layout->addWidget(Message);

    const auto relation = static_cast<int>(format.Relation);
    Relations->setCurrentIndex(relation < Relations->count() ? relation : -1);
    Lower->setText(FormatValueText(format.LowerValue));
    Upper->setText(FormatValueText(format.UpperValue));
    ChooseColor(format.Color);
    RelationChosen(Relations->currentIndex());

    connect(Relations, &QComboBox::currentIndexChanged, this, &TFormatDlg::RelationChosen);
    connect(OkBtn, &QPushButton::clicked, this, &TFormatDlg::AcceptFormat);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormatDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Relations->setFocus();
}

void TFormatDlg::ChooseColor(std::uint32_t color) {
    ChosenColor = color;
    for (std::size_t i = 0; i < Swatches.size(); ++i) {
        Swatches[i]->setStyleSheet(SwatchStyle(Colors()[i], Colors()[i] == color));
    }
}

bool TFormatDlg::TwoValues() const {
    const int index = Relations->currentIndex();
    return index == static_cast<int>(TFormatRelation::frBetween) ||
           index == static_cast<int>(TFormatRelation::frNotBetween);
}

void TFormatDlg::RelationChosen(int /*index*/) {
    const bool two = TwoValues();
    // Narrow beside two values, yet never so narrow that "not between" is cut off.
    const int twoValueWidth =
        std::max(kTwoValueListWidth,
                 Relations->fontMetrics().horizontalAdvance(Relations->itemText(8)) + 36);
    Relations->setFixedWidth(two ? twoValueWidth : kSingleValueListWidth);
    Lower->setVisible(two);
    AndLabel->setVisible(two);
    (two ? Lower : Upper)->setFocus();
    UpdateOk();
}

std::optional<double> TFormatDlg::ValueOf(const QLineEdit* edit) const {
    const std::optional<double> value = ReadDecimal(edit->text().trimmed().toStdString());
    if (!value || std::abs(*value) > kValueLimit) {
        return std::nullopt;
    }
    return value;
}

bool& TFormatDlg::RefusedFlag(const QLineEdit* edit) {
    return edit == Lower ? LowerRefused : UpperRefused;
}

void TFormatDlg::Refuse(QLineEdit* edit) {
    QApplication::beep();
    RefusedFlag(edit) = true;
    edit->selectAll();
    Message->setText(tr("\"%1\" is not a number from -999 to 999.").arg(edit->text()));
    UpdateOk();
}

bool TFormatDlg::LeaveValue(QLineEdit* edit) {
    const std::optional<double> value = ValueOf(edit);
    if (!value) {
        Refuse(edit);
        return false;
    }
    RefusedFlag(edit) = false;
    if (!LowerRefused && !UpperRefused) {
        Message->clear();
    }
    // The lower value never stands above the upper one: the edit left wins.
    QLineEdit* other = edit == Lower ? Upper : Lower;
    if (const std::optional<double> otherValue = ValueOf(other)) {
        const bool outOfOrder = edit == Lower ? *otherValue < *value : *otherValue > *value;
        if (outOfOrder) {
            other->setText(FormatValueText(*value));
            RefusedFlag(other) = false;
        }
    }
    UpdateOk();
    return true;
}

void TFormatDlg::UpdateOk() {
    const bool refused = UpperRefused || (TwoValues() && LowerRefused);
    OkBtn->setEnabled(Relations->currentIndex() >= 0 && !refused);
}

bool TFormatDlg::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr) {
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusOut && isVisible() && edit->isVisible()) {
        LeaveValue(edit);
    } else if (event->type() == QEvent::KeyPress && edit == Lower) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
        if (!AllowedInLowerValue(*key)) {
            QApplication::beep();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormatDlg::AcceptFormat() {
    // A value typed but not yet left is checked here: OK never takes a refused value.
    for (QLineEdit* edit : {Upper, Lower}) {
        if ((edit == Upper || TwoValues()) && !LeaveValue(edit)) {
            edit->setFocus();
            edit->selectAll();
            return;
        }
    }
    if (Relations->currentIndex() < 0) {
        return;
    }
    Edited.Relation = static_cast<TFormatRelation>(Relations->currentIndex());
    Edited.UpperValue = ValueOf(Upper).value_or(0);
    Edited.LowerValue = ValueOf(Lower).value_or(0);
    Edited.Color = ChosenColor;
    Edited.Bold = BoldBtn->isChecked();
    Edited.Italic = ItalicBtn->isChecked();
    Edited.Underline = UnderlineBtn->isChecked();
    accept();
}

}  // namespace kavo
