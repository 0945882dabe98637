#include "qtgui/DiagramPictures.h"

#include <QFile>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>

#include "diagram/PerceptionDrawing.h"
#include "model/TPerception.h"
#include "qtgui/QtConversions.h"
#include "qtgui/TQtCanvas.h"

namespace kavo {

namespace {

QSize DrawingSize(TPerception& perception) {
    PlacePerception(perception);
    return {std::max(1, perception.Extent.Right), std::max(1, perception.Extent.Bottom)};
}

}  // namespace

QImage PerceptionImage(TPerception& perception, TDrawMode mode) {
    QImage image(DrawingSize(perception), QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!perception.FiPs.empty()) {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        DrawPerception(perception, canvas, mode);
    }
    return image;
}

bool SavePerceptionSvg(TPerception& perception, const std::string& path, TDrawMode mode) {
    const QSize size = DrawingSize(perception);
    QFile file(ToQString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(QImage(1, 1, QImage::Format_RGB32).logicalDpiX());
    {
        QPainter painter;
        if (!painter.begin(&generator)) {
            return false;
        }
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        TQtCanvas canvas(painter);
        DrawPerception(perception, canvas, mode);
    }
    return file.error() == QFileDevice::NoError;
}

}  // namespace kavo
