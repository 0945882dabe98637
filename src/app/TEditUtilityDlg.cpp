#include "app/TEditUtilityDlg.h"

#include <QPainter>

#include "app/EditorPictures.h"
#include "app/TEditGoalDlg.h"

namespace kavo {

namespace {

Qt::KeyboardModifiers ModifiersOfPriority(int priority) {
    return priority == 1 ? Qt::ControlModifier : priority == 3 ? Qt::ShiftModifier : Qt::NoModifier;
}

}  // namespace

TEditUtilityDlg::TEditUtilityDlg(QWidget* parent)
    : TStripEditor(tr("Edit goal utility vectors"), 25, parent) {
    setObjectName(QStringLiteral("utilityEditor"));
    StripArea()->setToolTip(tr("Left click to increase, right-click to decrease"));
}

bool TEditUtilityDlg::Edit(TUtilityVectors& standard, TUtilityVectors& negative) {
    StdTable = standard;
    NegTable = negative;
    Redraw();
    if (exec() != QDialog::Accepted) {
        return false;
    }
    standard = StdTable;
    negative = NegTable;
    return true;
}

void TEditUtilityDlg::DrawUpper(QPainter& painter) {
    DrawGoalStrip(painter, ShownLevel, ShownPriority, ShownNegative, false);
}

void TEditUtilityDlg::DrawLower(QPainter& painter) {
    const TLevels<std::int8_t> row = ShownTable().Row(ShownPriority, ShownLevel);
    for (int level = -3; level <= 3; ++level) {
        painter.fillRect(QRect(kCellPitch * (level + 3) + 1, 0, kCellPitch - 1, 25), Qt::white);
        DrawUtilityFace(painter, kCellPitch * (level + 3) + 3, 1, row[level]);
    }
}

void TEditUtilityDlg::UpperPressed(int level, Qt::MouseButton button,
                                   Qt::KeyboardModifiers modifiers) {
    ShownLevel = level;
    ShownPriority = (modifiers & Qt::ControlModifier) ? 1 : (modifiers & Qt::ShiftModifier) ? 3 : 2;
    ShownNegative = button == Qt::RightButton;
}

void TEditUtilityDlg::LowerPressed(int level, Qt::MouseButton button) {
    std::int8_t& utility = ShownTable().At(ShownPriority, ShownLevel, level);
    if (button == Qt::RightButton) {
        utility = static_cast<std::int8_t>(utility > -3 ? utility - 1 : utility);
    } else {
        utility = static_cast<std::int8_t>(utility < 3 ? utility + 1 : utility);
    }
}

bool TEditUtilityDlg::ArrowKey(int key) {
    int level = ShownLevel;
    TDesire desire{ShownNegative, ShownPriority};
    if (key == Qt::Key_Left || key == Qt::Key_Right) {
        level += key == Qt::Key_Left ? -1 : 1;
        if (level < -3 || level > 3) {
            return true;
        }
    } else if (!desire.Step(key == Qt::Key_Up ? 1 : -1)) {
        return true;
    }
    UpperPressed(level, desire.Negative ? Qt::RightButton : Qt::LeftButton,
                 ModifiersOfPriority(desire.Priority));
    return true;
}

}  // namespace kavo
