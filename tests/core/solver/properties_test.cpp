#include "solver/properties.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "quadratic_test_meshes.h"
#include "solver/bounds.h"

namespace {

namespace qm = quadratic_test_meshes;

struct Box {
    double x0, y0, x1, y1;
};

// Area properties of disjoint axis-parallel rectangles, summed by the parallel-axis rule.
SectionProperties exactOf(const std::vector<Box>& boxes) {
    SectionProperties p;
    double sx = 0, sy = 0, xx = 0, yy = 0, xy = 0;
    for (const Box& b : boxes) {
        const double w = b.x1 - b.x0, h = b.y1 - b.y0, a = w * h;
        const double cx = (b.x0 + b.x1) / 2, cy = (b.y0 + b.y1) / 2;
        p.A += a;
        sx += a * cx;
        sy += a * cy;
        xx += a * (cx * cx + w * w / 12);
        yy += a * (cy * cy + h * h / 12);
        xy += a * cx * cy;
    }
    p.xc = sx / p.A;
    p.yc = sy / p.A;
    p.Iy = xx - p.A * p.xc * p.xc;
    p.Ix = yy - p.A * p.yc * p.yc;
    p.Ixy = xy - p.A * p.xc * p.yc;
    const double mean = (p.Ix + p.Iy) / 2, half = (p.Ix - p.Iy) / 2;
    p.I1 = mean + std::hypot(half, p.Ixy);
    p.I2 = mean - std::hypot(half, p.Ixy);
    return p;
}

struct AreaCase {
    const char* name;
    std::function<void(Model&)> build;
    std::vector<Box> boxes;
    double alfa;  // degrees, of the axis of I1
};

class AreaProperties : public testing::TestWithParam<AreaCase> {};

TEST_P(AreaProperties, MatchTheRectanglesTheSectionIsMadeOf) {
    Model m;
    GetParam().build(m);
    const SectionBounds b = computeBounds(m);
    ASSERT_TRUE(b.ok()) << b.message;
    const SectionProperties& p = b.properties;
    const SectionProperties e = exactOf(GetParam().boxes);
    const double scale = e.Ix + e.Iy;
    EXPECT_NEAR(p.A, e.A, 1e-12 * e.A);
    EXPECT_NEAR(p.xc, e.xc, 1e-12);
    EXPECT_NEAR(p.yc, e.yc, 1e-12);
    EXPECT_NEAR(p.Ix, e.Ix, 1e-12 * scale);
    EXPECT_NEAR(p.Iy, e.Iy, 1e-12 * scale);
    EXPECT_NEAR(p.Ixy, e.Ixy, 1e-12 * scale);
    EXPECT_NEAR(p.I1, e.I1, 1e-12 * scale);
    EXPECT_NEAR(p.I2, e.I2, 1e-12 * scale);
    EXPECT_GE(p.I1, p.I2);
    EXPECT_NEAR(p.alfa, GetParam().alfa, 1e-9);
}

constexpr double kT = 1.0 / 16;  // wall thickness of the thin sections

// Unequal angle 2 × 1, t = 1/4: tan 2α = −2Ixy/(Ix − Iy).
double unequalAngleAlfa() {
    const SectionProperties e = exactOf({{0, 0, 2, 0.25}, {0, 0.25, 0.25, 1}});
    return std::atan2(-2 * e.Ixy, e.Ix - e.Iy) / 2 * 180 / std::numbers::pi;
}

INSTANTIATE_TEST_SUITE_P(
    Sections, AreaProperties,
    testing::Values(AreaCase{"rectangle_off_origin",
                             [](Model& m) {
                                 newProject(m);
                                 RectanglePatch r;
                                 r.px = 1;
                                 r.py = -2;
                                 r.dx = 2;
                                 r.dy = 1;
                                 r.ix = 4;
                                 r.iy = 2;
                                 appendRectangle(m, r);
                             },
                             {{1, -2, 3, -1}},
                             90},
                    AreaCase{"equal_angle",
                             [](Model& m) { qm::angle(m, 1, 1, 0.125, 0.0625); },
                             {{0, 0, 1, 0.125}, {0, 0.125, 0.125, 1}},
                             45},
                    AreaCase{"unequal_angle",
                             [](Model& m) { qm::angle(m, 2, 1, 0.25, 0.125); },
                             {{0, 0, 2, 0.25}, {0, 0.25, 0.25, 1}},
                             unequalAngleAlfa()},
                    AreaCase{"channel",
                             [](Model& m) { qm::channel(m, 2, 1, kT, kT, kT / 2); },
                             {{0, 0, 1, kT}, {0, 2 - kT, 1, 2}, {0, kT, kT, 2 - kT}},
                             0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SectionProperties, TurningTheSectionTurnsItsPrincipalAxis) {
    Model m;
    qm::angle(m, 2, 1, 0.25, 0.125);
    const SectionProperties a = computeBounds(m).properties;
    const double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
    for (int i = 1; i <= m.nn; ++i) {
        const double x = m.x[i][1], y = m.x[i][2];
        m.x[i][1] = static_cast<float>(c * x - s * y);
        m.x[i][2] = static_cast<float>(s * x + c * y);
    }
    const SectionBounds b = computeBounds(m);
    ASSERT_TRUE(b.ok());
    double turned = a.alfa + 30;
    if (turned > 90) turned -= 180;
    EXPECT_NEAR(b.properties.alfa, turned, 1e-4);
    EXPECT_NEAR(b.properties.I1, a.I1, 1e-6 * a.I1);
    EXPECT_NEAR(b.properties.I2, a.I2, 1e-6 * a.I1);
    EXPECT_NEAR(b.properties.Iw, a.Iw, 1e-5 * a.Iw);
    // The shear centre turns with the section.
    EXPECT_NEAR(b.properties.xs, c * a.xs - s * a.ys, 1e-6);
    EXPECT_NEAR(b.properties.ys, s * a.xs + c * a.ys, 1e-6);
}

TEST(SectionProperties, MovingTheSectionMovesOnlyItsPoints) {
    Model m;
    qm::channel(m, 2, 1, kT, kT, kT / 2);
    const SectionBounds a = computeBounds(m);
    for (int i = 1; i <= m.nn; ++i) {
        m.x[i][1] += 100;
        m.x[i][2] -= 50;
    }
    const SectionBounds b = computeBounds(m);
    ASSERT_TRUE(a.ok() && b.ok());
    EXPECT_NEAR(b.properties.xs, a.properties.xs + 100, 1e-8);
    EXPECT_NEAR(b.properties.ys, a.properties.ys - 50, 1e-8);
    EXPECT_NEAR(b.properties.Iw, a.properties.Iw, 1e-8 * a.properties.Iw);
    EXPECT_NEAR(b.properties.Ix, a.properties.Ix, 1e-12 * a.properties.Ix);
    EXPECT_NEAR(b.J_dolne, a.J_dolne, 1e-10 * a.J_dolne);
    EXPECT_NEAR(b.J_gorne, a.J_gorne, 1e-10 * a.J_gorne);
}

// The shear centre of a channel lies beyond its web, away from the flanges, at e from the
// web's centre line (thin-walled theory: e = 3b²tf/(6b·tf + h·tw), b and h between the
// walls' centre lines); that of an angle near the crossing of its legs' centre lines; that of
// a section symmetric about two axes, or three, at its centroid.
TEST(SectionProperties, ShearCentreWhereThinWalledTheoryPutsIt) {
    Model channel;
    qm::channel(channel, 2, 1, kT, kT, kT / 2);
    const SectionProperties c = computeBounds(channel).properties;
    const double b = 1 - kT / 2, h = 2 - kT;
    const double e = 3 * b * b * kT / (6 * b * kT + h * kT);
    EXPECT_NEAR((kT / 2 - c.xs) / e, 1.0, 0.01);
    EXPECT_NEAR(c.ys, 1.0, 1e-7);

    Model angle;
    qm::angle(angle, 1, 1, kT, kT / 2);
    const SectionProperties a = computeBounds(angle).properties;
    EXPECT_NEAR(a.xs, kT / 2, 0.1 * kT);
    EXPECT_NEAR(a.ys, a.xs, 1e-7);

    Model rectangle, triangle;
    test_meshes::rectangle(rectangle, 2, 1, 8, 4);
    qm::triangle(triangle, 1, 8);
    for (const Model* m : {&rectangle, &triangle}) {
        const SectionProperties p = computeBounds(*m).properties;
        EXPECT_NEAR(p.xs, p.xc, 1e-7);
        EXPECT_NEAR(p.ys, p.yc, 1e-7);
    }
}

// Iw = √3·a⁶/40320 from the triangle's exact (cubic) warping function.
TEST(SectionProperties, WarpingConstantOfTheEquilateralTriangle) {
    const double a = 2, exact = std::sqrt(3.0) * std::pow(a, 6) / 40320;
    double last = INFINITY;
    for (int n : {4, 8, 16}) {
        Model m;
        qm::triangle(m, a, n);
        const SectionBounds b = computeBounds(m);
        ASSERT_TRUE(b.ok());
        const double error = std::fabs(b.properties.Iw / exact - 1);
        EXPECT_LT(error, last) << n;
        last = error;
    }
    EXPECT_LT(last, 1e-6);
}

}  // namespace
