// The program interface model.
#include "engine/program_interface.h"

#include <cmath>

namespace engine {

Real Slider::Value() const {
    return (maximum - minimum) / 200 * position + (maximum + minimum) / 2;
}

ProgramInterface::ProgramInterface() {
    Reset();
}

void ProgramInterface::Reset() {
    const std::array<int, 2> positions = {sliders[0].position, sliders[1].position};
    sliders = {};
    // The sliders keep where the user left them; only what drives them goes.
    for (size_t i = 0; i < sliders.size(); ++i) sliders[i].position = positions[i];
    fields = {};
    fields[0].enabled = true;
    selection = {};
    continueCaption = kContinueCaption;
    continueVisible = false;
    slidersItemEnabled = true;
    slidersShown = false;
    trackBarParameters = true;
}

TextField* ProgramInterface::UsableField(Real number) {
    if (!(number >= 1 && number < 4)) return nullptr;
    TextField& field = fields[static_cast<size_t>(std::trunc(number)) - 1];
    return field.enabled ? &field : nullptr;
}

}  // namespace engine
