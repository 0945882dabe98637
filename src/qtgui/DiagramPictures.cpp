#include "qtgui/DiagramPictures.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>

#include "diagram/PerceptionDrawing.h"
#include "model/TCase.h"
#include "model/TPerception.h"
#include "qtgui/QtConversions.h"
#include "qtgui/TQtCanvas.h"

namespace kavo {

namespace {

QSize AtLeastOnePixel(QSize size) {
    return {std::max(1, size.width()), std::max(1, size.height())};
}

QSize DrawingSize(TPerception& perception) {
    PlacePerception(perception);
    return AtLeastOnePixel({perception.Extent.Right, perception.Extent.Bottom});
}

TDrawing PerceptionDrawing(TPerception& perception, TDrawMode mode) {
    return [&perception, mode](TCanvas& canvas) {
        if (!perception.FiPs.empty()) {
            DrawPerception(perception, canvas, mode);
        }
    };
}

bool WriteSvg(QIODevice& device, QSize size, const TDrawing& draw, const QString& description) {
    size = AtLeastOnePixel(size);
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(QImage(1, 1, QImage::Format_RGB32).logicalDpiX());
    generator.setTitle(QStringLiteral("KAVO (version %1)").arg(QString::fromLatin1(kCaseVersion)));
    generator.setDescription(description);
    QPainter painter;
    if (!painter.begin(&generator)) {
        return false;
    }
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    TQtCanvas canvas(painter);
    draw(canvas);
    return painter.end();
}

}  // namespace

QImage DrawnImage(QSize size, const TDrawing& draw) {
    QImage image(AtLeastOnePixel(size), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    draw(canvas);
    return image;
}

QByteArray DrawnSvg(QSize size, const TDrawing& draw, const QString& description) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return WriteSvg(buffer, size, draw, description) ? bytes : QByteArray();
}

bool SaveDrawnSvg(const std::string& path, QSize size, const TDrawing& draw,
                  const QString& description) {
    QFile file(ToQString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return WriteSvg(file, size, draw, description) && file.error() == QFileDevice::NoError;
}

QImage PerceptionImage(TPerception& perception, TDrawMode mode) {
    return DrawnImage(DrawingSize(perception), PerceptionDrawing(perception, mode));
}

bool SavePerceptionSvg(TPerception& perception, const std::string& path, TDrawMode mode) {
    return SaveDrawnSvg(path, DrawingSize(perception), PerceptionDrawing(perception, mode));
}

}  // namespace kavo
