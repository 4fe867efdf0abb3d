// View3d: the 3D view of a run, a 3x3 matrix followed by an oblique parallel or a
// central projection, turning space points into world points of the plane.
#pragma once

#include <array>
#include <string_view>

namespace plot {

using Real = long double;

class View3d {
public:
    View3d() { Reset(); }

    // The identity matrix and the parallel view set3d(30; 0.5).
    void Reset();
    // set3d: the x-axis recedes at `degrees` below the horizontal, shortened by `factor`.
    void SetParallel(Real degrees, Real factor);
    // set3dcentraal: the eye seen from the angles theta and phi (degrees) at distance
    // `eye`, the picture plane at distance `screen`.
    void SetCentral(Real thetaDegrees, Real phiDegrees, Real eye, Real screen);
    // setmat3d: the matrix row by row.
    void SetMatrix(const std::array<Real, 9>& rows) { matrix_ = rows; }
    // rot3d and spiegel3d: the whole matrix becomes the rotation about, or the
    // reflection in the plane through, the axis named by `axis` ("x" or "1", "y" or
    // "2", "z" or "3"); false, and the matrix unchanged, for another name.
    bool Rotate(const std::string_view axis, Real phi);
    bool Mirror(const std::string_view axis, Real phi);

    bool Central() const { return central_; }
    const std::array<Real, 9>& Matrix() const { return matrix_; }

    // The world point of (x, y, z). False when the central projection cannot show
    // it: the point lies in or behind the plane of the eye.
    bool Project(Real x, Real y, Real z, Real& u, Real& v) const;

private:
    std::array<Real, 9> matrix_{};
    bool central_ = false;
    Real cosAlpha_ = 0, sinAlpha_ = 0, factor_ = 0.5L;
    Real sinTheta_ = 0, cosTheta_ = 1, sinPhi_ = 0, cosPhi_ = 1;
    Real eye_ = 0, screen_ = 0;
};

}  // namespace plot
