#pragma once

#include <QIcon>
#include <QSize>
#include <QString>

#include "qtgui/DiagramPictures.h"

namespace kavo {

// Puts the drawing on the clipboard as an SVG picture, with a PNG image of it beside for
// programs that take no SVG; the description names the picture in its metadata.
void CopyDrawing(QSize size, const TDrawing& draw, const QString& description = {});

// An icon of the size drawn by the core on a transparent ground.
QIcon DrawnIcon(QSize size, const TDrawing& draw);
// Two sheets, one over the other: copying to the clipboard.
QIcon CopyIcon();

}  // namespace kavo
