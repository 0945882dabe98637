#include "qtgui/GifFile.h"

#include <gif_lib.h>

#include <memory>

#include "casefile/TFileReplacement.h"

namespace kavo {

namespace {

struct TGifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

// giflib encodes into memory through this function; the file is written whole afterwards, so
// that it replaces an older picture only when complete.
int WriteToMemory(GifFileType* gif, const GifByteType* bytes, int count) {
    auto* encoded = static_cast<std::string*>(gif->UserData);
    encoded->append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count));
    return count;
}

struct TColorMapFreer {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// Bits per pixel of a palette of the given size; GIF palettes hold a power of two of 2 to 256.
int PaletteBits(int colors) {
    int bits = 1;
    while ((1 << bits) < colors) {
        ++bits;
    }
    return bits;
}

}  // namespace

bool SaveGif(const QImage& image, const std::string& path, bool whiteTransparent,
             std::string* reason) {
    std::string encoded;
    if (!EncodeGif(image, whiteTransparent, encoded)) {
        if (reason != nullptr) {
            *reason = "the picture could not be encoded";
        }
        return false;
    }
    std::string error;
    const bool written = TFileReplacement::Replace(path, encoded, false, error);
    if (!written && reason != nullptr) {
        *reason = error;
    }
    return written;
}

bool EncodeGif(const QImage& image, bool whiteTransparent, std::string& encoded) {
    if (image.isNull()) {
        return false;
    }
    // Without dithering, an image of up to 256 colours keeps them exactly.
    QImage indexed =
        image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    const QList<QRgb> table = indexed.colorTable();
    const int bits = PaletteBits(static_cast<int>(table.size()));
    const std::unique_ptr<ColorMapObject, TColorMapFreer> map(GifMakeMapObject(1 << bits, nullptr));
    if (!map) {
        return false;
    }
    int transparent = -1;
    for (int i = 0; i < static_cast<int>(table.size()); ++i) {
        const QRgb color = table[i];
        map->Colors[i] = {static_cast<GifByteType>(qRed(color)),
                          static_cast<GifByteType>(qGreen(color)),
                          static_cast<GifByteType>(qBlue(color))};
        if (whiteTransparent && transparent < 0 && (color & 0xFFFFFF) == 0xFFFFFF) {
            transparent = i;
        }
    }
    int error = 0;
    std::unique_ptr<GifFileType, TGifCloser> gif(EGifOpen(&encoded, WriteToMemory, &error));
    if (!gif) {
        return false;
    }
    EGifSetGifVersion(gif.get(), true);
    if (EGifPutScreenDesc(gif.get(), indexed.width(), indexed.height(), bits, 0, map.get()) ==
        GIF_ERROR) {
        return false;
    }
    if (transparent >= 0) {
        const GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, transparent};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_ERROR) {
            return false;
        }
    }
    if (EGifPutImageDesc(gif.get(), 0, 0, indexed.width(), indexed.height(), false, nullptr) ==
        GIF_ERROR) {
        return false;
    }
    for (int y = 0; y < indexed.height(); ++y) {
        if (EGifPutLine(gif.get(), indexed.scanLine(y), indexed.width()) == GIF_ERROR) {
            return false;
        }
    }
    // Closing writes the trailer.
    return EGifCloseFile(gif.release(), &error) == GIF_OK;
}

}  // namespace kavo
