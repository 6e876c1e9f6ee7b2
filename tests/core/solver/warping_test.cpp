#include "solver/warping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "quadratic_test_meshes.h"
#include "solver/boundary.h"
#include "solver/bounds.h"
#include "solver/properties.h"
#include "solver/quadratic_element.h"

namespace {

namespace qm = quadratic_test_meshes;

struct Integrals {
    double mean = 0;      // ∫ω dA / A
    double gradient = 0;  // ∫|∇ω|² dA
};

Integrals integrals(const Model& m, const QuadraticMesh& q, const std::vector<double>& omega) {
    Integrals r;
    double area = 0;
    for (int e = 1; e <= m.ne; ++e) {
        const QuadraticTriangle t = quadraticTriangle(m, e, 0, 0);
        double u[6];
        for (int l = 0; l < 6; ++l)
            u[l] = omega[q.element[e - 1][l]];
        for (const QuadraturePoint& p : kDegree4) {
            double n[6], g[2][6], dx, dy, w = 0;
            shapeValues(p.l, n);
            shapeGradients(t, p.l, g);
            fieldGradient(g, u, dx, dy);
            for (int l = 0; l < 6; ++l)
                w += n[l] * u[l];
            r.mean += p.w * t.area * w;
            r.gradient += p.w * t.area * (dx * dx + dy * dy);
        }
        area += t.area;
    }
    r.mean /= area;
    return r;
}

struct Section {
    const char* name;
    std::function<void(Model&)> build;
};

class Warping : public testing::TestWithParam<Section> {};

// For the solved ω the upper bound equals Ix + Iy − ∫|∇ω|² (Galerkin orthogonality): a wrong
// load or a lost constraint breaks it. ω has zero mean, and its upper bound does not depend on
// the origin it is taken about (the quadratic space holds the linear change).
TEST_P(Warping, MeetsItsGalerkinIdentityAboutAnyOrigin) {
    Model m;
    GetParam().build(m);
    const QuadraticMesh q = quadraticMesh(m);
    const SectionProperties p = areaProperties(m);
    const Contours c = findContours(m, boundaryEdges(m));
    const std::vector<double> zero_phi(q.nodes(), 0.0), zero_c(c.holes(), 0.0);
    SolverTimes t;
    QuadraticWork w;
    const WarpingFunction about_centroid = solveWarping(m, q, p.xc, p.yc, p.Ix + p.Iy, w, t);
    ASSERT_EQ(about_centroid.status, FactorStatus::Ok);
    const Integrals i = integrals(m, q, about_centroid.omega);
    EXPECT_NEAR(i.mean, 0.0, 1e-12);
    const double upper =
        bracketEnergies(m, q, zero_phi, zero_c, c, about_centroid.omega, p.xc, p.yc).upper;
    EXPECT_NEAR(upper, p.Ix + p.Iy - i.gradient, 1e-9 * (p.Ix + p.Iy));
    EXPECT_LT(upper, p.Ix + p.Iy);

    const double ox = p.xc + 0.3, oy = p.yc - 0.7;
    const SectionProperties moved = [&] {
        SectionProperties s = p;
        s.Ix += p.A * 0.7 * 0.7;
        s.Iy += p.A * 0.3 * 0.3;
        return s;
    }();
    const WarpingFunction about_point = solveWarping(m, q, ox, oy, moved.Ix + moved.Iy, w, t);
    ASSERT_EQ(about_point.status, FactorStatus::Ok);
    EXPECT_NEAR(bracketEnergies(m, q, zero_phi, zero_c, c, about_point.omega, ox, oy).upper, upper,
                1e-9 * upper);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, Warping,
    testing::Values(Section{"rectangle", [](Model& m) { test_meshes::rectangle(m, 2, 1, 6, 3); }},
                    Section{"angle", [](Model& m) { qm::angle(m, 1, 1, 0.25, 0.125); }},
                    Section{"tube", [](Model& m) { test_meshes::ring(m, 0.5, 1, 2, 16); }},
                    Section{"triangle", [](Model& m) { qm::triangle(m, 1, 6); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Warping, EachPieceHasZeroMean) {
    Model m;
    test_meshes::Nodes n;
    test_meshes::Elements e;
    test_meshes::grid(n, e, 0, 0, 2, 1, 4, 2, false, [](int, int) { return true; });
    test_meshes::grid(n, e, 5, 3, 1, 1, 2, 2, false, [](int, int) { return true; });
    test_meshes::fill(m, n, e);
    const QuadraticMesh q = quadraticMesh(m);
    SolverTimes t;
    QuadraticWork w;
    const WarpingFunction omega = solveWarping(m, q, 1, 1, 10, w, t);
    ASSERT_EQ(omega.status, FactorStatus::Ok);
    ASSERT_EQ(q.pieces, 2);
    double integral[2] = {0, 0};
    for (int k = 1; k <= m.ne; ++k) {
        const double a = quadraticTriangle(m, k, 0, 0).area;
        for (int l = 3; l < 6; ++l)
            integral[q.piece[k - 1]] += omega.omega[q.element[k - 1][l]] * a / 3;
    }
    EXPECT_NEAR(integral[0], 0.0, 1e-12);
    EXPECT_NEAR(integral[1], 0.0, 1e-12);
}

}  // namespace
