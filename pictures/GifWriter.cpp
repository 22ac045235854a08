#include "pictures/GifWriter.h"

#include <memory>
#include <vector>

#include <gif_lib.h>

#include <QImage>

namespace {

constexpr int kGreys = 16;
constexpr int kGreyStep = 255 / (kGreys - 1); // 17

QString GifError(int code) {
    const char* text = GifErrorString(code);
    return text ? QString::fromUtf8(text) : QStringLiteral("GIF error %1").arg(code);
}

} // namespace

bool WriteGreyGif(const QImage& image, const QString& path, QString& error) {
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    const int width = source.width();
    const int height = source.height();

    int code = 0;
    GifFileType* gif = EGifOpenFileName(path.toLocal8Bit().constData(), false, &code);
    if (!gif) {
        error = GifError(code);
        return false;
    }
    auto closeGif = [](GifFileType* file) {
        int closeCode = 0;
        return EGifCloseFile(file, &closeCode) == GIF_OK;
    };
    EGifSetGifVersion(gif, true);

    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> palette(GifMakeMapObject(kGreys, nullptr),
                                                                       GifFreeMapObject);
    if (!palette) {
        closeGif(gif);
        error = QStringLiteral("out of memory");
        return false;
    }
    for (int i = 0; i < kGreys; ++i) {
        const auto level = static_cast<GifByteType>(i * kGreyStep);
        palette->Colors[i] = GifColorType{level, level, level};
    }

    if (EGifPutScreenDesc(gif, width, height, kGreys, kGreys - 1, palette.get()) != GIF_OK ||
        EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) != GIF_OK) {
        error = GifError(gif->Error);
        closeGif(gif);
        return false;
    }

    std::vector<GifPixelType> line(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < width; ++x)
            line[static_cast<std::size_t>(x)] =
                static_cast<GifPixelType>((qGray(pixels[x]) + kGreyStep / 2) / kGreyStep);
        if (EGifPutLine(gif, line.data(), width) != GIF_OK) {
            error = GifError(gif->Error);
            closeGif(gif);
            return false;
        }
    }
    if (!closeGif(gif)) {
        error = QStringLiteral("cannot finish the file");
        return false;
    }
    return true;
}
