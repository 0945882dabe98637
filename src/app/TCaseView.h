#pragma once

#include <QWidget>
#include <memory>

#include "model/TCase.h"
#include "model/TContext.h"

class QScrollArea;

namespace kavo {

// The window of one open case inside the main window. It owns the case; the drawing area has the
// size of the case's diagrams.
class TCaseView : public QWidget {
    Q_OBJECT

  public:
    explicit TCaseView(TContext& context, QWidget* parent = nullptr);
    ~TCaseView() override;

    TCase& Case() const { return *CaseModel; }
    QWidget* DrawingArea() const { return Drawing; }

    // Asks whether the changes of a modified case are to be saved. False when the user cancels,
    // or when he wants to save and the case could not be saved.
    bool CanClose();

  signals:
    // The window has agreed to close and is about to go.
    void Closed(kavo::TCaseView* view);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::unique_ptr<TCase> CaseModel;
    QScrollArea* Scroller;
    QWidget* Drawing;
};

}  // namespace kavo
