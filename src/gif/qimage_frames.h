// Between Qt pictures and the writer's 24-bit buffers.
#pragma once

#include <optional>

#include "gif/rgb_image.h"

class QImage;

namespace gif {

// The picture as 24-bit colours (alpha dropped); empty for a null or 0 x 0 picture,
// which the writer reports as a failed conversion (error 6).
std::optional<RgbImage> ToRgbImage(const QImage& image);
QImage ToQImage(const RgbImage& picture);

}  // namespace gif
