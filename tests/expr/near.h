// One tolerance check for long double results; NaN never passes.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "expr/number_format.h"

namespace expr::testing {

inline ::testing::AssertionResult Near(long double actual, long double expected,
                                       long double relative = 1e-17L) {
    if (std::isnan(actual) || std::isnan(expected)) {
        return ::testing::AssertionFailure() << "NaN involved: " << FormatGeneral(actual, 18);
    }
    const long double scale = std::fmax(1.0L, std::fabs(expected));
    if (actual == expected || std::fabs(actual - expected) <= relative * scale) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << FormatGeneral(actual, 18) << " is not " << FormatGeneral(expected, 18);
}

}  // namespace expr::testing
