#pragma once

#include "app/TStripEditor.h"
#include "model/TUtilityVectors.h"

namespace kavo {

// The editor of the case's two standard utility tables ("Edit goal utility vectors"). The upper
// strip chooses the row shown: the level, with Ctrl for priority 1 and Shift for priority 3, the
// right button for the negative table. A press on a face of the lower strip raises that utility
// (right button: lowers it). The row shown stays from one opening to the next.
class TEditUtilityDlg : public TStripEditor {
    Q_OBJECT

  public:
    explicit TEditUtilityDlg(QWidget* parent = nullptr);

    // Edits the tables; true after OK, when they hold the edited tables. After Cancel they are as
    // they were.
    bool Edit(TUtilityVectors& standard, TUtilityVectors& negative);

    int ShownLevel = 0;
    int ShownPriority = 2;
    bool ShownNegative = false;
    TUtilityVectors StdTable;
    TUtilityVectors NegTable;

  protected:
    void DrawUpper(QPainter& painter) override;
    void DrawLower(QPainter& painter) override;
    void UpperPressed(int level, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) override;
    void LowerPressed(int level, Qt::MouseButton button) override;
    bool ArrowKey(int key) override;

  private:
    TUtilityVectors& ShownTable() { return ShownNegative ? NegTable : StdTable; }
};

}  // namespace kavo
