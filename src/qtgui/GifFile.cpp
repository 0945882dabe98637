#include "qtgui/GifFile.h"

#include <gif_lib.h>

#include <cstdio>
#include <memory>

namespace kavo {

namespace {

struct TGifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// giflib's own file opening makes files only their owner can read; a case folder's images are
// for browsers too, so the file is opened here and giflib writes through this function.
int WriteToFile(GifFileType* gif, const GifByteType* bytes, int count) {
    auto* file = static_cast<std::FILE*>(gif->UserData);
    return static_cast<int>(std::fwrite(bytes, 1, static_cast<std::size_t>(count), file));
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

bool SaveGif(const QImage& image, const std::string& path, bool whiteTransparent) {
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
    const std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return false;
    }
    int error = 0;
    std::unique_ptr<GifFileType, TGifCloser> gif(EGifOpen(file.get(), WriteToFile, &error));
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
    // Closing writes the trailer, so its failure is a failed write too.
    GifFileType* finished = gif.release();
    return EGifCloseFile(finished, &error) == GIF_OK && std::fflush(file.get()) == 0 &&
           !std::ferror(file.get());
}

}  // namespace kavo
