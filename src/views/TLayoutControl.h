#pragma once

#include <QTimer>
#include <QWidget>

#include "diagram/TLayout.h"

class QLabel;
class QSlider;
class QToolButton;

namespace kavo {

class TCase;
class TEdit;
class TPerception;
class TRandom;

// The tool window "Layout": runs the automatic layout on a case window's diagram as an animation,
// one step every 100 ms while "Start" is down, with the edge length and the rectangle the boxes
// stay in as controls. The window moves no box itself: at each tick it asks the case window for a
// step, which the case window makes as an edit on its undo stack. The steps of a run, from Start
// to Stop (or to "Save layout", or until the window closes or the diagram changes), share a merge
// key and so become one undoable step.
class TLayoutControl : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kTickMilliseconds = 100;

    // Draws from the program's random generator, which it does not own.
    explicit TLayoutControl(TRandom& random, QWidget* parent = nullptr);

    // Shows the window for the perception of the case, which a case window shows: on the first
    // opening the rectangle is the whole drawing area; opened again, it keeps the edge length and
    // the rectangle. A run under way ends first.
    void Open(TCase& owningCase, TPerception* perception);
    // The case window shows another perception (null for none that can be edited): the run ends
    // and Start acts on that one.
    void Retarget(TPerception* perception);
    // What the window showed is gone: it closes without reporting a run.
    void Detach();

    TPerception* Target() const { return Shown; }
    const TCase* TargetCase() const { return ShownCase; }
    const TLayout& Settings() const { return Layout; }
    bool Running() const;
    QTimer& Timer() { return Ticks; }

    QToolButton* PlayButton() const { return PlayBtn; }
    QToolButton* StopButton() const { return StopBtn; }
    QToolButton* RewindButton() const { return RewindBtn; }
    QToolButton* RecordButton() const { return RecordBtn; }
    QSlider* EdgeLengthControl() const { return EdgeLength; }
    QSlider* WidthControl() const { return RectWidth; }
    QSlider* HeightControl() const { return RectHeight; }

    // One tick of the timer, as the timer runs it.
    void Tick();
    // Makes one step of the run on the shown perception into the edit.
    void StepInto(TEdit& edit);
    // Releases every button and sets every velocity to zero; a run ends.
    void Stop();

  signals:
    // The layout should make a step on the perception (StepInto).
    void StepDue(kavo::TPerception* perception);
    // The diagram should be drawn again.
    void Stepped(kavo::TPerception* perception);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void Started(bool down);
    void EdgeLengthChanged(int value);
    void SizeChanged();
    // The steps made from now on are a new undoable step.
    void NewRun();

    TRandom& Random;
    TLayout Layout;
    TCase* ShownCase = nullptr;
    TPerception* Shown = nullptr;
    // The merge key of the steps of the run under way.
    long RunKey = 0;
    QTimer Ticks;
    QToolButton* PlayBtn = nullptr;
    QToolButton* StopBtn = nullptr;
    QToolButton* RewindBtn = nullptr;
    QToolButton* RecordBtn = nullptr;
    QSlider* EdgeLength = nullptr;
    QSlider* RectWidth = nullptr;
    QSlider* RectHeight = nullptr;
    QWidget* EdgePicture = nullptr;
    QWidget* SizePicture = nullptr;
};

}  // namespace kavo
