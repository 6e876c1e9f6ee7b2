// Fitting the model into the client area, the mapping both ways, and what a paint leaves in
// the mapping when it does not reach the fit.
#include <QPainter>
#include <cmath>

#include <gtest/gtest.h>

#include "view/view_mapping.h"
#include "view_test_util.h"

namespace {

struct FitCase {
    const char* name;
    std::vector<std::pair<float, float>> nodes;
    int w, h;
    float sx, sa;  // expected scales
    float ax, aa;  // expected origin
};

class Fit : public ::testing::TestWithParam<FitCase> {};

TEST_P(Fit, ScalesAndOrigin) {
    const FitCase& c = GetParam();
    Model m;
    buildModel(m, c.nodes, {});
    ViewMapping v;
    v.fit(m, static_cast<float>(c.w), static_cast<float>(c.h));
    EXPECT_FLOAT_EQ(v.sx, c.sx);
    EXPECT_FLOAT_EQ(v.sa, c.sa);
    EXPECT_EQ(v.ax, c.ax);
    EXPECT_EQ(v.aa, c.aa);
    EXPECT_EQ(v.hmax, c.h);
    releaseModel(m);
}

INSTANTIATE_TEST_SUITE_P(
    ViewMapping, Fit,
    ::testing::Values(
        // Square model: the height limits (350 px), the width is not filled.
        FitCase{"square", {{2, 3}, {12, 3}, {12, 13}, {2, 13}}, 500, 400, 35, 35, 2, 3},
        // Wide model: the width limits.
        FitCase{"wide", {{0, 0}, {10, 0}, {10, 1}}, 500, 400, 45, 45, 0, 0},
        // The smallest coordinates come from different nodes, none of them node 1.
        FitCase{"mixed", {{5, 5}, {-1, 7}, {3, -2}}, 300, 300, 250.0f / 9, 250.0f / 9, -1, -2},
        // All nodes on a vertical line: X extent 1e-6, both scales become the Y one.
        FitCase{"vertical", {{4, 0}, {4, 10}}, 500, 400, 35, 35, 4, 0},
        FitCase{"horizontal", {{0, -1}, {9, -1}}, 500, 400, 50, 50, 0, -1},
        // One node: both extents are 1e-6.
        FitCase{"one node", {{0, 0}}, 500, 400, 350e6f, 350e6f, 0, 0},
        // Far from 0, ax + 1e-6 rounds back to ax; the scale must stay finite.
        FitCase{"one far node", {{1000, -5000}}, 500, 400, 350e6f, 350e6f, 1000, -5000}),
    [](const auto& info) {
        std::string s = std::to_string(info.index) + "_" + info.param.name;
        for (char& ch : s)
            if (ch == ' ') ch = '_';
        return s;
    });

TEST(ViewMapping, SquareModelLandsOnTheDocumentedEdges) {
    Model m;
    buildModel(m, {{2, 3}, {12, 3}, {12, 13}, {2, 13}}, {});
    ViewMapping v;
    v.fit(m, 500, 400);
    EXPECT_EQ(pixel(v.toWindowX(2)), 25);
    EXPECT_EQ(pixel(v.toWindowX(12)), 375);
    EXPECT_EQ(pixel(v.toWindowY(3)), 360);
    EXPECT_EQ(pixel(v.toWindowY(13)), 10);
    releaseModel(m);
}

TEST(ViewMapping, InverseReadsBackTheModelPoint) {
    Model m;
    buildModel(m, {{-3.5f, 1.25f}, {7.75f, 1.25f}, {0.5f, 9.0f}}, {});
    for (QSize s : {QSize(151, 151), QSize(640, 400), QSize(1280, 300), QSize(200, 900)}) {
        ViewMapping v;
        v.fit(m, static_cast<float>(s.width()), static_cast<float>(s.height()));
        for (int n = 1; n <= m.nn; ++n) {
            const float X = v.toWindowX(m.x[n][1]), Y = v.toWindowY(m.x[n][2]);
            // One pixel is 1/scale model units; the round trip is exact up to float round-off.
            EXPECT_NEAR(v.toModelX(X), m.x[n][1], 1e-4f / v.sx) << s.width() << "x" << s.height();
            EXPECT_NEAR(v.toModelY(Y), m.x[n][2], 1e-4f / v.sa) << s.width() << "x" << s.height();
            // The pixel a node is drawn at reads back within one pixel of the node.
            EXPECT_NEAR(v.toModelX(static_cast<float>(pixel(X))), m.x[n][1], 1.0f / v.sx);
            EXPECT_NEAR(v.toModelY(static_cast<float>(pixel(Y))), m.x[n][2], 1.0f / v.sa);
        }
        // The whole model lies inside the margins.
        for (int n = 1; n <= m.nn; ++n) {
            EXPECT_GE(pixel(v.toWindowX(m.x[n][1])), 25);
            EXPECT_LE(pixel(v.toWindowX(m.x[n][1])), s.width() - 25);
            EXPECT_GE(pixel(v.toWindowY(m.x[n][2])), 10);
            EXPECT_LE(pixel(v.toWindowY(m.x[n][2])), s.height() - 40);
        }
    }
    releaseModel(m);
}

TEST(ViewMapping, PixelTruncatesTowardZeroAndStaysInRange) {
    EXPECT_EQ(pixel(12.9f), 12);
    EXPECT_EQ(pixel(-12.9f), -12);
    EXPECT_EQ(pixel(0.99f), 0);
    EXPECT_EQ(pixel(NAN), 0);
    EXPECT_EQ(pixel(INFINITY), 1000000);
    EXPECT_EQ(pixel(-INFINITY), -1000000);
    EXPECT_EQ(pixel(3e9f), 1000000);
}

// What a paint leaves in the mapping: hmax with any project, the fit only when it is reached.
struct KeepCase {
    const char* name;
    int Pusty;
    int nn;
    QSize size;
    int hmax;
    bool fitted;
};

class PaintMapping : public ::testing::TestWithParam<KeepCase> {};

TEST_P(PaintMapping, RewritesOnlyWhatThePaintReached) {
    const KeepCase& c = GetParam();
    Model m;
    if (c.nn > 0)
        buildModel(m, {{0, 0}, {10, 0}, {0, 10}}, {{1, 2, 3}});
    else
        newProject(m);
    m.Pusty = c.Pusty;
    ViewMapping v{-7.0f, -8.0f, 3.0f, 3.0f, 1.0f, 77};
    render(m, ViewOptions{}, c.size, &v);
    EXPECT_EQ(v.hmax, c.hmax);
    if (c.fitted) {
        EXPECT_EQ(v.ax, 0.0f);
        EXPECT_EQ(v.aa, 0.0f);
        EXPECT_FLOAT_EQ(v.sx, (std::min(c.size.width(), c.size.height()) - 50) / 10.0f);
    } else {
        EXPECT_EQ(v.ax, -7.0f);
        EXPECT_EQ(v.aa, -8.0f);
        EXPECT_EQ(v.sx, 3.0f);
        EXPECT_EQ(v.sa, 3.0f);
    }
    m.Pusty = 0;
    releaseModel(m);
}

INSTANTIATE_TEST_SUITE_P(ViewMapping, PaintMapping,
                         ::testing::Values(KeepCase{"no project", 1, 3, {400, 300}, 77, false},
                                           KeepCase{"no nodes", 0, 0, {400, 300}, 300, false},
                                           KeepCase{"too low", 0, 3, {400, 150}, 150, false},
                                           KeepCase{"too narrow", 0, 3, {150, 400}, 400, false},
                                           KeepCase{
                                               "just large enough", 0, 3, {151, 151}, 151, true},
                                           KeepCase{"large", 0, 3, {640, 400}, 400, true}),
                         [](const auto& info) {
                             std::string s = std::to_string(info.index) + "_" + info.param.name;
                             for (char& ch : s)
                                 if (ch == ' ') ch = '_';
                             return s;
                         });

}  // namespace
