// TGifPicture: loads a GIF file and hands over its first frame as a picture.
#pragma once

#include <memory>
#include <string>

#include "gif/gif_error.h"

class QImage;

namespace gif {

class TGifPicture {
public:
    TGifPicture();
    ~TGifPicture();
    TGifPicture(const TGifPicture&) = delete;
    TGifPicture& operator=(const TGifPicture&) = delete;

    // Error 7 when the file does not exist, 3 when it is no GIF that can be read.
    bool LoadFromFile(const std::string& fileName);
    GifError LastError() const { return lastError_; }
    // The first frame as decoded (32-bit, transparent pixels with alpha 0); null
    // before a successful load.
    const QImage& Picture() const { return *picture_; }

private:
    std::unique_ptr<QImage> picture_;
    GifError lastError_ = GifError::None;
};

}  // namespace gif
