// The maker's frame settings in one place, for the window and the batch mode.
#include "gif/animation_frame.h"

namespace gif {

TFrameInfo AnimationFrame(RgbImage picture, int number, const AnimationSettings& settings) {
    TFrameInfo frame;
    frame.picture = std::move(picture);
    frame.delay = settings.delay;
    frame.transparent = settings.transparent;
    frame.transparentColour = settings.transparentColour;
    frame.disposal = 2;
    frame.comment = "Frame #" + std::to_string(number);
    return frame;
}

}  // namespace gif
