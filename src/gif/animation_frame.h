// The frames of an animation as the animated-GIF maker makes them.
#pragma once

#include <cstdint>

#include "gif/gif_writer.h"

namespace gif {

struct AnimationSettings {
    int32_t delay = 10;  // milliseconds, every frame
    bool transparent = true;
    Colour transparentColour = kWhite;
};

// Frame `number` (from 1): at (0,0), not interlaced, disposal 2 (back to the
// background, so a transparent part does not show the frame before), comment
// "Frame #number".
TFrameInfo AnimationFrame(RgbImage picture, int number, const AnimationSettings& settings);

}  // namespace gif
