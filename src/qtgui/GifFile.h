#pragma once

#include <QImage>
#include <string>

namespace kavo {

// Writes the image as a GIF file with a palette of its own colours; an image of more than 256
// colours is reduced to 256. With whiteTransparent, white pixels are transparent. The file
// replaces an older one only once complete (TFileReplacement). False when the file cannot be
// written, with the system's reason in *reason when given.
bool SaveGif(const QImage& image, const std::string& path, bool whiteTransparent,
             std::string* reason = nullptr);

// The image encoded as SaveGif writes it, appended to encoded; false for an image that cannot be
// encoded.
bool EncodeGif(const QImage& image, bool whiteTransparent, std::string& encoded);

}  // namespace kavo
