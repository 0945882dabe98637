#pragma once

#include <memory>

#include "app/TStripEditor.h"
#include "model/TGoal.h"

namespace kavo {

class TFiP;

// A step along the scale of desire, from a negative goal of priority 3 (strongest avoidance) to a
// standard goal of priority 3 (strongest wish); step +1 is Up, -1 Down. False when there is no
// such step.
struct TDesire {
    bool Negative = false;
    int Priority = 2;
    bool Step(int step);
};

// The goal editor ("Goal"): the upper strip chooses the level, with Ctrl for priority 1 and Shift
// for priority 3 and the right button for a negative goal; the lower strip shows the utility of
// each change as a face, and a press there raises it (right button: lowers it) and makes the goal
// custom. It works on a copy of the goal.
class TEditGoalDlg : public TStripEditor {
    Q_OBJECT

  public:
    explicit TEditGoalDlg(QWidget* parent = nullptr);

    // Starts on a copy of the FiP's goal, or on a standard goal of level 0 and priority 2 when old
    // is null.
    void Start(TFiP& fip, const TGoal* old);
    const TGoal& Working() const { return *NewItem; }
    // The edited goal, after OK.
    std::unique_ptr<TGoal> TakeResult();

  protected:
    void DrawUpper(QPainter& painter) override;
    void DrawLower(QPainter& painter) override;
    void UpperPressed(int level, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) override;
    void LowerPressed(int level, Qt::MouseButton button) override;
    bool ArrowKey(int key) override;

  private:
    std::unique_ptr<TGoal> NewItem;
};

}  // namespace kavo
