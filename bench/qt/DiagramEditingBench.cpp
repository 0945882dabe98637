#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QUndoStack>

#include "SamplePerception.h"
#include "app/TCaseTree.h"
#include "app/TCaseView.h"
#include "app/TDiagramView.h"
#include "editing/PerceptionEdits.h"
#include "editing/TEdit.h"
#include "model/TArena.h"
#include "qtgui/TQtTextMeasure.h"
#include "support/TestPlatform.h"

namespace kavo {
namespace {

// A case window showing the sample perception of 200 boxes and 400 links, with every fourth box
// selected (50 boxes).
struct TEditedWindow {
    test::TTestPlatform Platform;
    TQtTextMeasure Measure;
    TContext Context{Platform.Messages, Platform.Status, Measure};
    TCaseView View{Context};
    TPerception* Shown = nullptr;

    TEditedWindow() {
        Shown = &bench::BuildSamplePerception(View.Case());
        View.BuildTree();
        View.Tree()->SelectNode(TNodeKind::nkAnalystView, View.Case().ArenaList.At(0));
        View.resize(1400, 900);
        View.show();
        for (std::size_t i = 0; i + 4 < Shown->FiPs.size(); i += 4) {
            Shown->Selection.push_back(Shown->FiPs[i].get());
        }
    }
    void Pointer(QEvent::Type type, QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QWidget* area = View.DrawingArea();
        QMouseEvent event(type, QPointF(at), area->mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, keys);
        QApplication::sendEvent(area, &event);
    }
};

// One step of dragging 50 selected boxes: the pointer move that moves them (one edit merged into
// the drag's undo step, the diagram recorded again) and the repaint of the window's visible part
// of the diagram, 1200 x 800 pixels.
void BM_DragFiftyBoxes(benchmark::State& state) {
    TEditedWindow window;
    const TFiP* grabbed = window.Shown->FiPs[196].get();
    QPoint at(grabbed->X, grabbed->Y);
    // Shift adds the 50th box and starts the drag of all of them.
    window.Pointer(QEvent::MouseButtonPress, at, Qt::ShiftModifier);
    QImage screen(1200, 800, QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        at += QPoint(step % 2 == 0 ? 3 : -2, step % 2 == 0 ? 2 : -1);
        ++step;
        window.Pointer(QEvent::MouseMove, at);
        window.View.DrawingArea()->render(&screen);
    }
    window.Pointer(QEvent::MouseButtonRelease, at);
    state.counters["undo steps"] = window.View.UndoStack()->count();
}
BENCHMARK(BM_DragFiftyBoxes)->Unit(benchmark::kMillisecond);

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The memory that 1,000 undo steps on the sample perception hold: drags of the 50 selected boxes,
// link changes and range cell presses in turn, each a step of its own on the window's stack.
void BM_ThousandUndoSteps(benchmark::State& state) {
    for (auto _ : state) {
        TEditedWindow window;
        const std::size_t before = HeapInUse();
        std::vector<TFiP*> selected;
        for (const TPerceptionItem& item : window.Shown->Selection) {
            selected.push_back(std::get<TFiP*>(item));
        }
        for (int i = 0; i < 1000; ++i) {
            TEdit edit;
            switch (i % 3) {
                case 0:
                    MoveFiPs(edit, *window.Shown, selected, 1 + i % 5, 1);
                    break;
                case 1: {
                    TLink& link = *window.Shown->Links[static_cast<std::size_t>(i % 400)];
                    TLink values(window.View.Case(), link.FromFiP, link.ToFiP);
                    values.Level = static_cast<std::int8_t>(i % 7 - 3);
                    values.Distribution.SetMultiplier(window.View.Case(), values.Level, i % 4);
                    SetLinkValues(edit, *window.Shown, link, values);
                    break;
                }
                default:
                    PressRangeCell(edit, *window.Shown, *window.Shown->FiPs[0], i % 7 - 3, false,
                                   false);
                    break;
            }
            window.View.Perform(std::move(edit));
        }
        state.counters["undo steps"] = window.View.UndoStack()->count();
        state.counters["MB held"] = static_cast<double>(HeapInUse() - before) / (1024.0 * 1024.0);
    }
}
BENCHMARK(BM_ThousandUndoSteps)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace kavo
