#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <string>

#include "diagram/TDrawMode.h"

namespace kavo {

class TCanvas;
class TPerception;

// Draws a picture onto a canvas from the origin.
using TDrawing = std::function<void(TCanvas&)>;

// A picture drawn on white into an image of the size (at least 1 x 1).
QImage DrawnImage(QSize size, const TDrawing& draw);
// The same picture as SVG at the image's resolution, so that text has the same size as in an
// image; the description names the picture in its metadata. Empty when it could not be made.
QByteArray DrawnSvg(QSize size, const TDrawing& draw, const QString& description = {});
// Writes the SVG picture into the file; false when it cannot be written.
bool SaveDrawnSvg(const std::string& path, QSize size, const TDrawing& draw,
                  const QString& description = {});

// The perception drawn on white into an image as large as its drawing; 1 x 1 when it has no FiPs.
QImage PerceptionImage(TPerception& perception, TDrawMode mode);

// The perception drawn as an SVG picture as large as its drawing. False when the file cannot be
// written.
bool SavePerceptionSvg(TPerception& perception, const std::string& path, TDrawMode mode);

}  // namespace kavo
