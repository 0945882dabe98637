#include "views/ViewPictures.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>

#include "diagram/TCanvas.h"
#include "qtgui/TQtCanvas.h"

namespace kavo {

void CopyDrawing(QSize size, const TDrawing& draw, const QString& description) {
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/svg+xml"), DrawnSvg(size, draw, description));
    data->setImageData(DrawnImage(size, draw));
    QApplication::clipboard()->setMimeData(data);
}

QIcon DrawnIcon(QSize size, const TDrawing& draw) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        TQtCanvas canvas(painter);
        draw(canvas);
    }
    return QIcon(pixmap);
}

QIcon CopyIcon() {
    return DrawnIcon({16, 16}, [](TCanvas& canvas) {
        canvas.SetPen(kGray);
        canvas.SetBrush(kWhite);
        canvas.Rectangle({1, 1, 11, 12});
        canvas.Rectangle({5, 4, 15, 15});
    });
}

}  // namespace kavo
