// Double-precision value of a constant expression, for APPROX and comparisons.
#pragma once

#include <optional>
#include <string>

#include "knoten.h"

namespace symbolic {

class NumericEvaluator {
public:
    // Nothing when the expression holds a variable, an unknown function or gives no finite value.
    static std::optional<double> Evaluate(const Knoten* node);
    // "%0.16G", independent of the C locale.
    static std::string Format(double value);
};

}  // namespace symbolic
