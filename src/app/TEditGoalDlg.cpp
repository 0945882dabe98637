#include "app/TEditGoalDlg.h"

#include <QPainter>
#include <array>

#include "app/EditorPictures.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "reasoning/GoalEvaluation.h"

namespace kavo {

namespace {

const TCase& CaseOf(const TGoal& goal) {
    return *goal.FiP->Factor->Case;
}

Qt::KeyboardModifiers ModifiersOfPriority(int priority) {
    return priority == 1 ? Qt::ControlModifier : priority == 2 ? Qt::NoModifier : Qt::ShiftModifier;
}

}  // namespace

bool TDesire::Step(int step) {
    // Negative 3, 2, 1, then standard 1, 2, 3.
    static constexpr std::array<TDesire, 6> kLadder{
        {{true, 3}, {true, 2}, {true, 1}, {false, 1}, {false, 2}, {false, 3}}};
    if (Priority == 0) {
        *this = step > 0 ? (Negative ? TDesire{false, 2} : TDesire{false, 3})
                         : (Negative ? TDesire{true, 3} : TDesire{false, 2});
        return true;
    }
    int index = 0;
    while (index < 6 &&
           (kLadder[index].Negative != Negative || kLadder[index].Priority != Priority)) {
        ++index;
    }
    const int next = index + step;
    if (index == 6 || next < 0 || next >= 6) {
        return false;
    }
    *this = kLadder[next];
    return true;
}

TEditGoalDlg::TEditGoalDlg(QWidget* parent) : TStripEditor(tr("Goal"), 25, parent) {
    setObjectName(QStringLiteral("goalEditor"));
}

void TEditGoalDlg::Start(TFiP& fip, const TGoal* old) {
    const TCase& current = *fip.Factor->Case;
    if (old != nullptr) {
        NewItem = std::make_unique<TGoal>(current, &fip, old->GoalType, old->Level, old->Priority);
        NewItem->Utilities = old->Utilities;
        NewItem->UpdateSummary();
    } else {
        NewItem = std::make_unique<TGoal>(current, &fip, TGoalType::gtStandard, 0, 2);
    }
    Redraw();
}

std::unique_ptr<TGoal> TEditGoalDlg::TakeResult() {
    if (NewItem) {
        NewItem->UpdateSummary();
    }
    return std::move(NewItem);
}

void TEditGoalDlg::DrawUpper(QPainter& painter) {
    if (!NewItem) {
        return;
    }
    const bool custom = NewItem->GoalType == TGoalType::gtCustom;
    const bool crossed =
        NewItem->GoalType == TGoalType::gtNegative || (custom && IsNegative(*NewItem));
    DrawGoalStrip(painter, NewItem->Level, NewItem->Priority, crossed, custom);
}

void TEditGoalDlg::DrawLower(QPainter& painter) {
    if (!NewItem) {
        return;
    }
    for (int level = -3; level <= 3; ++level) {
        painter.fillRect(QRect(kCellPitch * (level + 3) + 1, 0, kCellPitch - 1, 25), Qt::white);
        DrawUtilityFace(painter, kCellPitch * (level + 3) + 3, 1, NewItem->Utilities[level]);
    }
}

void TEditGoalDlg::UpperPressed(int level, Qt::MouseButton button,
                                Qt::KeyboardModifiers modifiers) {
    if (!NewItem) {
        return;
    }
    NewItem->Priority = (modifiers & Qt::ControlModifier) ? 1
                        : (modifiers & Qt::ShiftModifier) ? 3
                                                          : 2;
    NewItem->GoalType = button == Qt::RightButton ? TGoalType::gtNegative : TGoalType::gtStandard;
    NewItem->Level = static_cast<std::int8_t>(level);
    NewItem->TakeUtilitiesFromTable(CaseOf(*NewItem));
}

void TEditGoalDlg::LowerPressed(int level, Qt::MouseButton button) {
    if (!NewItem) {
        return;
    }
    std::int8_t& utility = NewItem->Utilities[level];
    if (button == Qt::RightButton) {
        utility = static_cast<std::int8_t>(utility > -3 ? utility - 1 : utility);
    } else {
        utility = static_cast<std::int8_t>(utility < 3 ? utility + 1 : utility);
    }
    NewItem->GoalType = TGoalType::gtCustom;
    NewItem->UpdateSummary();
}

bool TEditGoalDlg::ArrowKey(int key) {
    if (!NewItem) {
        return false;
    }
    const bool negative = NewItem->GoalType == TGoalType::gtNegative;
    const Qt::MouseButton button = negative ? Qt::RightButton : Qt::LeftButton;
    int level = NewItem->Level;
    if (key == Qt::Key_Left || key == Qt::Key_Right) {
        level += key == Qt::Key_Left ? -1 : 1;
        if (level < -3 || level > 3) {
            return true;
        }
        UpperPressed(level, button, ModifiersOfPriority(NewItem->Priority));
        return true;
    }
    if (NewItem->GoalType == TGoalType::gtCustom) {
        return true;
    }
    TDesire desire{negative, NewItem->Priority};
    if (desire.Step(key == Qt::Key_Up ? 1 : -1)) {
        UpperPressed(level, desire.Negative ? Qt::RightButton : Qt::LeftButton,
                     ModifiersOfPriority(desire.Priority));
    }
    return true;
}

}  // namespace kavo
