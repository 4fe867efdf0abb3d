// Mean, standard deviation and point in polygon.
#include "statistics.h"

#include <algorithm>
#include <cmath>

namespace expr {

MeanAndDeviation Statistics(const std::vector<Real>& values, const std::vector<Real>& weights) {
    const auto weight = [&](size_t i) { return weights.empty() ? Real{1} : weights[i]; };
    Real n = 0, sum = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        n += weight(i);
        sum += weight(i) * values[i];
    }
    if (!(n > 0)) {
        throw EAnalysisError(weights.empty() ? "stats: er zijn geen elementen."
                                             : "stats: de som van de frequenties is niet groter "
                                               "dan 0.");
    }
    const Real mean = sum / n;
    // Two passes: the sum of squares about the mean never comes out negative.
    Real squares = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        const Real d = values[i] - mean;
        squares += weight(i) * d * d;
    }
    return {mean, std::sqrt(std::fmax(squares / n, Real{0}))};
}

bool PointInPolygon(Real px, Real py, const std::vector<Real>& xs, const std::vector<Real>& ys) {
    const size_t n = std::min(xs.size(), ys.size());
    if (n < 3) return false;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        if ((ys[i] > py) != (ys[j] > py) &&
            px < (xs[j] - xs[i]) * (py - ys[i]) / (ys[j] - ys[i]) + xs[i]) {
            inside = !inside;
        }
    }
    return inside;
}

}  // namespace expr
