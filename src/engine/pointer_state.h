// The mouse over the plot surface as the free points (vrijpunt) see it.
#pragma once

#include <string>

namespace engine {

struct PointerState {
    long double x = 0;  // world coordinates
    long double y = 0;
    bool buttonDown = false;  // the left button
    std::string dragged;      // the free point being dragged, empty for none
};

}  // namespace engine
