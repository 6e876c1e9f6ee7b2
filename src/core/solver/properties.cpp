#include "solver/properties.h"

#include <cmath>
#include <numbers>

#include "solver/quadratic_element.h"

SectionProperties areaProperties(const Model& m) {
    SectionProperties p;
    // First moments about a corner of the mesh, then second moments about the centroid.
    const double rx = m.x[m.noc[1][1]][1], ry = m.x[m.noc[1][1]][2];
    double sx = 0, sy = 0;
    for (int e = 1; e <= m.ne; ++e) {
        const QuadraticTriangle t = quadraticTriangle(m, e, rx, ry);
        p.A += t.area;
        sx += t.area * (t.x[0] + t.x[1] + t.x[2]) / 3;
        sy += t.area * (t.y[0] + t.y[1] + t.y[2]) / 3;
    }
    p.xc = rx + sx / p.A;
    p.yc = ry + sy / p.A;
    for (int e = 1; e <= m.ne; ++e) {
        const QuadraticTriangle t = quadraticTriangle(m, e, p.xc, p.yc);
        for (const QuadraturePoint& q : kDegree2) {
            const double x = t.pointX(q.l), y = t.pointY(q.l), w = q.w * t.area;
            p.Ix += w * y * y;
            p.Iy += w * x * x;
            p.Ixy += w * x * y;
        }
    }
    const double mean = (p.Ix + p.Iy) / 2, half = (p.Ix - p.Iy) / 2;
    const double radius = std::hypot(half, p.Ixy);
    p.I1 = mean + radius;
    p.I2 = mean - radius;
    if (radius > 1e-6 * mean) {
        // I(α) = mean + half·cos 2α − Ixy·sin 2α is largest where (cos 2α, sin 2α) ∥ (half, −Ixy).
        p.alfa = std::atan2(-p.Ixy, half) / 2 * 180 / std::numbers::pi;
        if (p.alfa <= -90) p.alfa += 180;
    }
    return p;
}

void addWarpingProperties(const Model& m, const QuadraticMesh& q, const std::vector<double>& omega,
                          SectionProperties& p) {
    // Integrals over the elements, exact for the quadratic ω times polynomials of degree ≤ 2.
    const auto integrate = [&](auto&& f) {
        for (int e = 1; e <= m.ne; ++e) {
            const QuadraticTriangle t = quadraticTriangle(m, e, p.xc, p.yc);
            double u[6];
            for (int l = 0; l < 6; ++l)
                u[l] = omega[q.element[e - 1][l]];
            for (const QuadraturePoint& qp : kDegree4) {
                double n[6];
                shapeValues(qp.l, n);
                double w = 0;
                for (int l = 0; l < 6; ++l)
                    w += n[l] * u[l];
                f(t.pointX(qp.l), t.pointY(qp.l), w, qp.w * t.area);
            }
        }
    };
    double ixw = 0, iyw = 0;
    integrate([&](double x, double y, double w, double a) {
        ixw += a * x * w;
        iyw += a * y * w;
    });
    const double d = p.Ix * p.Iy - p.Ixy * p.Ixy;
    const double ex = d > 0 ? (p.Ixy * ixw - p.Iy * iyw) / d : 0;
    const double ey = d > 0 ? (p.Ix * ixw - p.Ixy * iyw) / d : 0;
    p.xs = p.xc + ex;
    p.ys = p.yc + ey;
    double s1 = 0, s2 = 0;
    integrate([&](double x, double y, double w, double a) {
        const double ws = w - ey * x + ex * y;
        s1 += a * ws;
        s2 += a * ws * ws;
    });
    p.Iw = s2 - s1 * s1 / p.A;
}
