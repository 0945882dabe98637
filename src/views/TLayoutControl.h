#pragma once

#include <QTimer>
#include <QWidget>
#include <vector>

#include "diagram/TLayout.h"

class QLabel;
class QSlider;
class QToolButton;

namespace kavo {

class TCase;
class TFiP;
class TPerception;
class TRandom;

// Where a box was before a run of the layout moved it.
struct TFiPPlace {
    TFiP* FiP = nullptr;
    int X = 0;
    int Y = 0;
};

// The tool window "Layout": runs the automatic layout on a case window's diagram as an animation,
// one step every 100 ms while "Start" is down, with the edge length and the rectangle the boxes
// stay in as controls. A run lasts from Start to Stop (or until the window closes or the diagram
// changes); at its end the window reports where the boxes were, so that the run becomes one
// undoable step.
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
    // Releases every button and sets every velocity to zero; a run ends.
    void Stop();

  signals:
    // The boxes moved, or the diagram should be drawn again.
    void Stepped(kavo::TPerception* perception);
    // A run moved boxes of the perception: where they were when it began.
    void RunEnded(kavo::TPerception* perception, const std::vector<kavo::TFiPPlace>& before);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void Started(bool down);
    void EdgeLengthChanged(int value);
    void SizeChanged();
    void BeginRun();
    void EndRun();

    TRandom& Random;
    TLayout Layout;
    TCase* ShownCase = nullptr;
    TPerception* Shown = nullptr;
    // Where the boxes were when the run began; empty while no run is under way.
    std::vector<TFiPPlace> RunStart;
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
