#pragma once

#include <QImage>
#include <string>

namespace kavo {

// Writes the image as a GIF file with a palette of its own colours; an image of more than 256
// colours is reduced to 256. With whiteTransparent, white pixels are transparent. False when the
// file cannot be written.
bool SaveGif(const QImage& image, const std::string& path, bool whiteTransparent);

}  // namespace kavo
