// View3d: matrix and projections of the 3D commands.
#include "plot/view3d.h"

#include <cmath>
#include <numbers>

namespace plot {

namespace {

constexpr Real kRadiansPerDegree = std::numbers::pi_v<Real> / 180;

// 0, 1 or 2 for the axes x, y and z; -1 for anything else.
int AxisIndex(std::string_view axis) {
    if (axis.empty()) return -1;
    switch (axis.front()) {
        case 'x':
        case 'X':
        case '1':
            return 0;
        case 'y':
        case 'Y':
        case '2':
            return 1;
        case 'z':
        case 'Z':
        case '3':
            return 2;
        default:
            return -1;
    }
}

}  // namespace

void View3d::Reset() {
    matrix_ = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    SetParallel(30, 0.5L);
}

void View3d::SetParallel(Real degrees, Real factor) {
    central_ = false;
    cosAlpha_ = std::cos(degrees * kRadiansPerDegree);
    sinAlpha_ = std::sin(degrees * kRadiansPerDegree);
    factor_ = factor;
}

void View3d::SetCentral(Real thetaDegrees, Real phiDegrees, Real eye, Real screen) {
    central_ = true;
    sinTheta_ = std::sin(thetaDegrees * kRadiansPerDegree);
    cosTheta_ = std::cos(thetaDegrees * kRadiansPerDegree);
    sinPhi_ = std::sin(phiDegrees * kRadiansPerDegree);
    cosPhi_ = std::cos(phiDegrees * kRadiansPerDegree);
    eye_ = eye;
    screen_ = screen;
}

bool View3d::Rotate(std::string_view axis, Real phi) {
    const Real c = std::cos(phi), s = std::sin(phi);
    switch (AxisIndex(axis)) {
        case 0:
            matrix_ = {1, 0, 0, 0, c, -s, 0, s, c};
            return true;
        case 1:
            matrix_ = {c, 0, -s, 0, 1, 0, s, 0, c};
            return true;
        case 2:
            matrix_ = {c, -s, 0, s, c, 0, 0, 0, 1};
            return true;
        default:
            return false;
    }
}

bool View3d::Mirror(std::string_view axis, Real phi) {
    const Real c = std::cos(2 * phi), s = std::sin(2 * phi);
    switch (AxisIndex(axis)) {
        case 0:
            matrix_ = {1, 0, 0, 0, c, s, 0, s, -c};
            return true;
        case 1:
            matrix_ = {c, 0, s, 0, 1, 0, s, 0, -c};
            return true;
        case 2:
            matrix_ = {c, s, 0, s, -c, 0, 0, 0, 1};
            return true;
        default:
            return false;
    }
}

bool View3d::Project(Real x, Real y, Real z, Real& u, Real& v) const {
    const auto& m = matrix_;
    const Real tx = m[0] * x + m[1] * y + m[2] * z;
    const Real ty = m[3] * x + m[4] * y + m[5] * z;
    const Real tz = m[6] * x + m[7] * y + m[8] * z;
    if (!central_) {
        u = ty - factor_ * tx * cosAlpha_;
        v = tz - factor_ * tx * sinAlpha_;
        return true;
    }
    const Real xe = -sinTheta_ * tx + cosTheta_ * ty;
    const Real ye = -cosPhi_ * cosTheta_ * tx - cosPhi_ * sinTheta_ * ty + sinPhi_ * tz;
    const Real ze = -sinPhi_ * cosTheta_ * tx - sinPhi_ * sinTheta_ * ty - cosPhi_ * tz + eye_;
    // A point behind the eye would show mirrored through it; one on the eye's plane
    // has no image at all.
    if (!(ze > 0)) return false;
    u = screen_ * xe / ze;
    v = screen_ * ye / ze;
    return true;
}

}  // namespace plot
