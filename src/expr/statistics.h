// Statistics on list data: the (weighted) mean with the population standard
// deviation, and the even-odd test of a point in a polygon.
#pragma once

#include <vector>

#include "analysis_error.h"

namespace expr {

using Real = long double;

struct MeanAndDeviation {
    Real mean = 0;
    Real deviation = 0;  // divisor n: the population standard deviation
};

// `weights` empty: every value counts once; otherwise weights[i] is the frequency
// of values[i]. Throws EAnalysisError when the frequencies do not add up to more
// than 0.
MeanAndDeviation Statistics(const std::vector<Real>& values, const std::vector<Real>& weights);

// Even-odd rule with the polygon closed from the last vertex to the first. A point
// on a left or lower edge counts as inside, on a right or upper edge as outside, so
// polygons that share an edge never both hold it. Fewer than 3 vertices hold nothing.
bool PointInPolygon(Real px, Real py, const std::vector<Real>& xs, const std::vector<Real>& ys);

}  // namespace expr
