#pragma once

#include <QImage>
#include <string>

#include "diagram/TDrawMode.h"

namespace kavo {

class TPerception;

// The perception drawn on white into an image as large as its drawing; 1 x 1 when it has no FiPs.
QImage PerceptionImage(TPerception& perception, TDrawMode mode);

// The perception drawn as an SVG picture as large as its drawing, with the image's resolution so
// that text has the same size as in an image. False when the file cannot be written.
bool SavePerceptionSvg(TPerception& perception, const std::string& path, TDrawMode mode);

}  // namespace kavo
