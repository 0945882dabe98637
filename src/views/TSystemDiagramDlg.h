#pragma once

#include <QDialog>
#include <memory>

class QComboBox;
class QLabel;
class QScrollArea;
class QToolButton;

namespace kavo {

class TArena;
class TSystemDiagram;

// The window "System diagram": an arena's analyst view in the classic systems layout, on a private
// copy, so that dragging boxes, stretching the system box and hiding factors leave the case as it
// was. A tool bar copies the picture, switches between the inside of the box and impact arrows and
// shows hidden factors again; the status bar shows the pointer's position and the factor under it.
class TSystemDiagramDlg : public QDialog {
    Q_OBJECT

  public:
    TSystemDiagramDlg(TArena& arena, QWidget* parent = nullptr);
    ~TSystemDiagramDlg() override;

    TSystemDiagram& Diagram() const { return *Shown; }
    QWidget* Picture() const { return PictureArea; }
    QToolButton* CopyButton() const { return CopyBtn; }
    QToolButton* ModeButton() const { return ModeBtn; }
    QComboBox* UnhideList() const { return Unhide; }
    QLabel* PositionPanel() const { return Position; }
    QLabel* NamePanel() const { return Name; }

    // The picture as SVG and image on the clipboard.
    void CopyToClipboard();
    // Between the inside of the box with its links and the impact arrows; the arrows need the
    // impacts, which are inferred the first time.
    void SwitchMode();

  private:
    void ChooseUnhide(int index);
    void FillUnhideList();
    // The picture changed: its size and its pixels.
    void Redraw();
    void PointerMoved(QPoint at);
    void PointerPressed(QPoint at, bool ctrl);
    void PointerReleased(QPoint at);

    std::unique_ptr<TSystemDiagram> Shown;
    QWidget* PictureArea = nullptr;
    QScrollArea* Scroller = nullptr;
    QToolButton* CopyBtn = nullptr;
    QToolButton* ModeBtn = nullptr;
    QComboBox* Unhide = nullptr;
    QLabel* Position = nullptr;
    QLabel* Name = nullptr;
};

}  // namespace kavo
