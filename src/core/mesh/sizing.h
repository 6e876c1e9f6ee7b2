#pragma once
// The element size field h(x, y), the largest edge wanted near a point: uniform, or the
// automatic one read from the section's area and local thickness.

#include <algorithm>
#include <cmath>
#include <vector>

#include "mesh/boundary.h"

namespace mesh {

/// Mean area of a mesh triangle of largest edge h, over h^2: the interior lattice spacing is
/// 0.9 h, its triangles equilateral.
inline constexpr double kElementArea = 0.433 * 0.81;

/// h on a grid of nodes, bilinear between them and held at the edge outside; or uniform.
class SizeField {
  public:
    /// The same size everywhere.
    explicit SizeField(double h = 1) : lo_(h), hi_(h) {}
    /// Node values `v` (nx * ny, row after row from y0) of a grid of spacing `cell`.
    SizeField(double x0, double y0, double cell, int nx, int ny, std::vector<double> v);

    /// h at (x, y).
    double at(double x, double y) const {
        if (v_.empty()) return hi_;
        const double u = std::clamp((x - x0_) * inv_, 0.0, nx_ - 1.0);
        const double w = std::clamp((y - y0_) * inv_, 0.0, ny_ - 1.0);
        const int i = std::min(static_cast<int>(u), nx_ - 2);
        const int j = std::min(static_cast<int>(w), ny_ - 2);
        const double fu = u - i, fw = w - j;
        const double* r = &v_[static_cast<std::size_t>(j) * nx_ + i];
        const double* s = r + nx_;
        return (1 - fw) * ((1 - fu) * r[0] + fu * r[1]) + fw * ((1 - fu) * s[0] + fu * s[1]);
    }
    /// True when h is the same everywhere.
    bool uniform() const { return v_.empty(); }
    /// The smallest and the largest h.
    double smallest() const { return lo_; }
    double largest() const { return hi_; }

  private:
    double x0_ = 0, y0_ = 0, inv_ = 1;
    int nx_ = 0, ny_ = 0;
    std::vector<double> v_;
    double lo_, hi_;
};

/// The size of the automatic rule for a compact region of area `area`: about 20 000
/// triangles.
double areaSize(double area);

/// A ray cast from a boundary point into the region to the next boundary crossing.
struct ThicknessRay {
    geometry::Point p;      ///< start on the boundary
    double dx = 0, dy = 0;  ///< unit direction, the edge's inward normal
    double t = 0;           ///< distance to the boundary hit
    double width = 0;       ///< length of boundary the ray stands for
};

/// Rays from points about `spacing` apart along every edge, along its inward normal; rays
/// that hit nothing (only through rounding) are left out.
std::vector<ThicknessRay> thicknessRays(const Boundary& b, double spacing);

/// The automatic size for a region of area `area`: h_area = sqrt(area / (kElementArea *
/// 20000)), at most a quarter of the local thickness, growing by at most a quarter of the
/// distance away from a thin part; at least h_area / 256.
SizeField automaticSize(const Boundary& b, const std::vector<ThicknessRay>& rays, double area);

/// Expected number of triangles of the region under `f`: its area over kElementArea h^2, and
/// parts thinner than h counted as at least one element across.
double elementEstimate(const Boundary& b, const std::vector<ThicknessRay>& rays, const SizeField& f,
                       double area);

}  // namespace mesh
