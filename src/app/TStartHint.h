#pragma once

#include <QWidget>

class QAction;
class QMdiArea;

namespace kavo {

// What the main window shows while no case is open: a short hint, with buttons for New and Open,
// in the middle of the area where case windows go. The buttons trigger the given menu entries.
class TStartHint : public QWidget {
    Q_OBJECT

  public:
    TStartHint(QMdiArea& area, QAction& newCase, QAction& openCase);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Centre();

    QMdiArea& Area;
};

}  // namespace kavo
