// The marks and swept lines of the geometric constructions: angle arcs and the
// right-angle square, strokes on segments, and conflict lines, drawn through Drawing.
#pragma once

#include <string>

#include "plot/drawing.h"

namespace plot {

// hoekmarkering: `count` arcs at a from the ray to b to the ray to c, the short way
// round, radius `size` times the shorter leg; a right angle gets the square corner
// instead when `squareForRightAngle` holds.
void MarkAngle(Drawing& drawing, FloatPoint a, FloatPoint b, FloatPoint c, Real size, Real count,
               bool squareForRightAngle);

// lijnstukmarkering: `count` strokes across pq (1..4), a "v" (5 and more) or an "o"
// (0 and less), their size a fraction of the window's diagonal.
void MarkSegment(Drawing& drawing, FloatPoint p, FloatPoint q, Real size, Real count);

// conflictlijn: the points at equal distance from p and the object named by `kind`
// ("lijnstuk" x..y, "lijn" through x with direction y, "cirkel" with centre x through
// y); any other word draws nothing.
void ConflictLine(Drawing& drawing, const std::string& kind, FloatPoint p, FloatPoint x,
                  FloatPoint y);

}  // namespace plot
