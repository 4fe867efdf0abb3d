// Conversion through Qt's RGB888 format, row by row (Qt pads rows to 4 bytes).
#include "gif/qimage_frames.h"

#include <QImage>
#include <cstring>

namespace gif {

std::optional<RgbImage> ToRgbImage(const QImage& image) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) return std::nullopt;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull()) return std::nullopt;
    RgbImage picture;
    picture.width = rgb.width();
    picture.height = rgb.height();
    const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
    picture.pixels.resize(rowBytes * static_cast<size_t>(picture.height));
    for (int row = 0; row < picture.height; ++row) {
        std::memcpy(picture.pixels.data() + static_cast<size_t>(row) * rowBytes,
                    rgb.constScanLine(row), rowBytes);
    }
    return picture;
}

QImage ToQImage(const RgbImage& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB888);
    if (image.isNull()) return image;
    const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
    for (int row = 0; row < picture.height; ++row) {
        std::memcpy(image.scanLine(row),
                    picture.pixels.data() + static_cast<size_t>(row) * rowBytes, rowBytes);
    }
    return image;
}

}  // namespace gif
