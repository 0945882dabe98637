#pragma once

#include <QDialog>

class QPainter;

namespace kavo {

// The shared frame of the goal, prospect, link and utility editors: two strips of seven cells,
// one per level -3..+3 from left to right, and OK above Cancel on the right. A press in the upper
// strip chooses a level, the modifier keys a second value; the lower strip shows the consequence.
// Enter is OK, Esc Cancel; the arrow keys go to the editor.
class TStripEditor : public QDialog {
    Q_OBJECT

  public:
    // Cell k covers x 26k + 1 to 26k + 25; the gap columns x = 26k belong to the cell right of
    // them, and the last pixel column to level +3.
    static constexpr int kCellPitch = 26;
    static constexpr int kStripWidth = 183;
    static constexpr int kLowerTop = 25;
    static int LevelAt(int x);

    // Acts as a press on the strips at a point of the strip area, as the pointer does.
    void PressAt(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    QWidget* StripArea() const { return Strips; }

  protected:
    TStripEditor(const QString& caption, int upperHeight, QWidget* parent);

    virtual void DrawUpper(QPainter& painter) = 0;
    virtual void DrawLower(QPainter& painter) = 0;
    virtual void UpperPressed(int level, Qt::MouseButton button,
                              Qt::KeyboardModifiers modifiers) = 0;
    virtual void LowerPressed(int level, Qt::MouseButton button);
    // An arrow key; false lets it pass on.
    virtual bool ArrowKey(int key) = 0;
    void Redraw();
    void keyPressEvent(QKeyEvent* event) override;

  private:
    friend class TStripArea;
    QWidget* Strips;
    int UpperHeight;
};

}  // namespace kavo
