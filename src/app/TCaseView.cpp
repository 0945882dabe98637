#include "app/TCaseView.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QScrollArea>
#include <QVBoxLayout>

#include "qtgui/QtConversions.h"

namespace kavo {

TCaseView::TCaseView(TContext& context, QWidget* parent)
    : QWidget(parent),
      CaseModel(std::make_unique<TCase>(context)),
      Scroller(new QScrollArea(this)),
      Drawing(new QWidget) {
    setWindowTitle(ToQString(CaseModel->Name));
    Drawing->setObjectName(QStringLiteral("drawingArea"));
    Drawing->setFixedSize(CaseModel->MaxWidth, CaseModel->MaxHeight);
    Drawing->setAutoFillBackground(true);
    Drawing->setBackgroundRole(QPalette::Base);
    Scroller->setWidget(Drawing);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Scroller);
}

TCaseView::~TCaseView() = default;

bool TCaseView::CanClose() {
    if (!CaseModel->Modified) {
        return true;
    }
    QMessageBox question(QMessageBox::Warning, windowTitle(),
                         tr("Do you want to save the changes you made?"),
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    question.setDefaultButton(QMessageBox::Yes);
    switch (question.exec()) {
        case QMessageBox::No:
            return true;
        case QMessageBox::Yes:
            // Saving comes with the case file; until then only a case saved meanwhile may go.
            return !CaseModel->Modified;
        default:
            return false;
    }
}

void TCaseView::closeEvent(QCloseEvent* event) {
    if (!CanClose()) {
        event->ignore();
        return;
    }
    event->accept();
    emit Closed(this);
}

}  // namespace kavo
