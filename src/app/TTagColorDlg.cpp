#include "app/TTagColorDlg.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/DialogFrame.h"

namespace kavo {

namespace {

// The palette as #RRGGBB, row by row.
constexpr std::uint32_t kPalette[TTagColorDlg::kRows][TTagColorDlg::kColumns] = {
    {0xFF0000, 0xFF8040, 0xFFB080, 0xFFD070, 0xFFB0F0, 0xFF88D8, 0xFF00FF, 0xD000E8},
    {0xC0C000, 0xD8D860, 0xF0F030, 0xE8E8B0, 0xE8E8E8, 0xC8C8FF, 0xA080FF, 0x8030F0},
    {0x40C040, 0x60FF60, 0xA8FFA8, 0xD0FFA0, 0xA0FFFF, 0x70D0FF, 0x6090FF, 0x0040FF},
};

constexpr int kMargin = 8;

// Each channel halved.
constexpr std::uint32_t Darken(std::uint32_t rgb) {
    return (rgb >> 1) & 0x7F7F7F;
}

// #RRGGBB as a tag stores it, red in the low byte.
constexpr std::uint32_t Stored(std::uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

QRect SquareRect(int column, int row) {
    return {kMargin + column * TTagColorDlg::kSquare, kMargin + row * TTagColorDlg::kSquare,
            TTagColorDlg::kSquare, TTagColorDlg::kSquare};
}

}  // namespace

TTagColorDlg::TTagColorDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("tagColorDialog"));
    UseDialogFrame(*this);
    setWindowTitle(tr("Tag color"));
    // The arrow keys move through the palette, so the dialog keeps the focus, not its buttons.
    setFocusPolicy(Qt::StrongFocus);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelBtn"));
    for (QAbstractButton* button : buttons->buttons()) {
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    // The palette is painted above the buttons, in the room the top margin leaves.
    layout->setContentsMargins(kMargin, 2 * kMargin + kRows * kSquare, kMargin, kMargin);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(2 * kMargin + kColumns * kSquare);
}

bool TTagColorDlg::Ask(QPoint topRight) {
    adjustSize();
    // The dialog's frame is known only once it shows: the window it opens over has the same.
    const QWidget* host = parentWidget() != nullptr ? parentWidget()->window() : this;
    const int frameWidth = width() + host->frameGeometry().width() - host->width();
    move(topRight.x() - frameWidth + 1, topRight.y());
    setFocus();
    return exec() == QDialog::Accepted;
}

void TTagColorDlg::Choose(int column, int row) {
    ChosenColumn = std::clamp(column, 0, kColumns - 1);
    ChosenRow = std::clamp(row, 0, kRows - 1);
    update();
}

TTagColorDlg::TShades TTagColorDlg::ShadesOf(int column, int row) {
    const auto* colors = kPalette[row];
    const std::uint32_t chosen = colors[column];
    std::uint32_t darker = 0;
    std::uint32_t darkest = 0;
    switch (column) {
        case 0:
        case 7:
            darker = Darken(chosen);
            darkest = Darken(darker);
            break;
        case 1:
            darker = colors[0];
            darkest = Darken(darker);
            break;
        case 6:
            darker = colors[7];
            darkest = Darken(darker);
            break;
        default: {
            // Columns 2 and 3 darken towards column 0, columns 4 and 5 towards column 7.
            const int step = column < 4 ? -1 : 1;
            darker = colors[column + step];
            darkest = colors[column + 2 * step];
            break;
        }
    }
    return {Stored(chosen), Stored(darker), Stored(darkest)};
}

QPoint TTagColorDlg::SquareAt(QPoint at) const {
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            if (SquareRect(column, row).contains(at)) {
                return {column, row};
            }
        }
    }
    return {-1, -1};
}

void TTagColorDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            painter.fillRect(SquareRect(column, row), QColor::fromRgb(kPalette[row][column]));
        }
    }
    // A black frame two pixels wide inside the chosen square.
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(SquareRect(ChosenColumn, ChosenRow).adjusted(1, 1, -1, -1));
}

void TTagColorDlg::mousePressEvent(QMouseEvent* event) {
    const QPoint square = SquareAt(event->position().toPoint());
    if (square.x() >= 0) {
        Choose(square.x(), square.y());
    }
    QDialog::mousePressEvent(event);
}

void TTagColorDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            Choose(ChosenColumn - 1, ChosenRow);
            break;
        case Qt::Key_Right:
            Choose(ChosenColumn + 1, ChosenRow);
            break;
        case Qt::Key_Up:
            Choose(ChosenColumn, ChosenRow - 1);
            break;
        case Qt::Key_Down:
            Choose(ChosenColumn, ChosenRow + 1);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            accept();
            break;
        default:
            QDialog::keyPressEvent(event);
    }
}

}  // namespace kavo
