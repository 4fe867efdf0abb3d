// Decoding is Qt's GIF reader's; only the first frame is kept.
#include "gif/gif_picture.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>

namespace gif {

TGifPicture::TGifPicture() : picture_(std::make_unique<QImage>()) {}

TGifPicture::~TGifPicture() = default;

bool TGifPicture::LoadFromFile(const std::string& fileName) {
    *picture_ = QImage();
    const QString path = QString::fromStdString(fileName);
    const QFileInfo info(path);
    if (!info.exists()) {
        lastError_ = GifError::FileNotFound;
        return false;
    }
    // Only GIF: a PNG or text file named .gif is not one.
    QImageReader reader(path, "gif");
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    QImage image;
    if (!info.isFile() || !reader.read(&image) || image.isNull()) {
        lastError_ = GifError::InvalidFileFormat;
        return false;
    }
    *picture_ = image.convertToFormat(QImage::Format_ARGB32);
    lastError_ = GifError::None;
    return true;
}

}  // namespace gif
