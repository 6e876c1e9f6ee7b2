#include "mesh/section_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <numbers>
#include <numeric>
#include <string>
#include <vector>

#include "mesh/rectangle.h"
#include "solver/driver.h"

namespace {

using geometry::Outline;
using geometry::Section;
using geometry::Shape;
constexpr double kPi = std::numbers::pi;

Shape obrys(Outline o, bool otwor = false, int line = 0) {
    Shape s;
    s.outline = std::move(o);
    s.otwor = otwor;
    s.line = line;
    return s;
}

Shape okrag(double x, double y, double r, bool otwor = false, int line = 0) {
    Shape s;
    s.kind = Shape::Kind::Okrag;
    s.circle = {x, y, r};
    s.otwor = otwor;
    s.line = line;
    return s;
}

Shape profil(geometry::ProfileKind kind, std::vector<double> dims) {
    Shape s;
    s.kind = Shape::Kind::Profil;
    s.profile.kind = kind;
    s.profile.dims = std::move(dims);
    return s;
}

Section section(std::vector<Shape> shapes, std::optional<double> siatka = {}) {
    Section s;
    s.shapes = std::move(shapes);
    s.siatka = siatka;
    return s;
}

Outline box(double x0, double y0, double x1, double y1) {
    return {{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}};
}

Model emptyProject() {
    Model m;
    newProject(m);
    return m;
}

// ---- Torsion constants of shapes with a closed-form J ----------------------------------

struct JCase {
    const char* name;
    Section s;
    double fine;  // element size of the fine mesh
    double J;
    int holes;
};

const double kTriangleSide = 2;
const JCase kJCases[] = {
    {"Circle", section({okrag(0, 0, 1)}), 0.02, kPi / 2, 0},
    {"Ellipse", section({profil(geometry::ProfileKind::Elipsa, {2, 1})}), 0.02, kPi * 8 / 5, 0},
    {"EquilateralTriangle", section({profil(geometry::ProfileKind::Trojkat, {kTriangleSide})}),
     0.012, std::sqrt(3.0) * std::pow(kTriangleSide, 4) / 80, 0},
    {"Tube", section({okrag(0, 0, 1), okrag(0, 0, 0.5)}), 0.02, kPi*(16 - 1) / 32, 1},
};

class SectionJ : public testing::TestWithParam<JCase> {};

TEST_P(SectionJ, MatchesTheExactValueAtFineAndAutomaticSize) {
    const JCase& c = GetParam();
    struct Run {
        std::optional<double> size;
        double tolerance;
    };
    for (const Run& run : {Run{c.fine, 5e-4}, Run{std::nullopt, 5e-3}}) {
        Section s = c.s;
        s.siatka = run.size;
        Model m = emptyProject();
        const MeshOutcome mesh = meshSection(s, m);
        ASSERT_TRUE(mesh.ok()) << mesh.message;
        const ComputeOutcome out = Obliczenia(m);
        ASSERT_TRUE(out.ok());
        EXPECT_NEAR(out.J / c.J, 1, run.tolerance) << "size " << mesh.size << ", " << m.ne;
        EXPECT_EQ(out.holes, c.holes);
        if (!run.size) {
            EXPECT_LT(m.ne, 25000);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, SectionJ, testing::ValuesIn(kJCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Mesh invariants ---------------------------------------------------------------------

struct Corner {
    double x, y;
};

double twiceArea(const Corner& a, const Corner& b, const Corner& c) {
    return (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
}

double smallestAngleDegrees(const Corner& a, const Corner& b, const Corner& c) {
    const Corner p[3] = {a, b, c};
    double smallest = 180;
    for (int k = 0; k < 3; ++k) {
        const Corner& o = p[k];
        const Corner& u = p[(k + 1) % 3];
        const Corner& v = p[(k + 2) % 3];
        const double dot = (u.x - o.x) * (v.x - o.x) + (u.y - o.y) * (v.y - o.y);
        const double cross = std::abs((u.x - o.x) * (v.y - o.y) - (u.y - o.y) * (v.x - o.x));
        smallest = std::min(smallest, std::atan2(cross, dot) * 180 / kPi);
    }
    return smallest;
}

// Connected parts of the mesh, elements joined through shared edges.
int pieces(const Model& m) {
    std::vector<int> parent(m.ne + 1);
    std::iota(parent.begin(), parent.end(), 0);
    std::function<int(int)> root = [&](int e) {
        return parent[e] == e ? e : parent[e] = root(parent[e]);
    };
    std::map<std::pair<int, int>, int> edgeOwner;
    for (int e = 1; e <= m.ne; ++e)
        for (int k = 1; k <= 3; ++k) {
            const int a = m.noc[e][k], b = m.noc[e][k % 3 + 1];
            const auto key = std::minmax(a, b);
            const auto [it, fresh] = edgeOwner.emplace(key, e);
            if (!fresh) parent[root(e)] = root(it->second);
        }
    int n = 0;
    for (int e = 1; e <= m.ne; ++e)
        n += root(e) == e;
    return n;
}

struct InvariantCase {
    const char* name;
    Section s;
    std::function<bool(double, double)> inside;  // strictly inside the exact region
    double area;                                 // exact
    double arcLength;                            // of the arcs, for the chord error
};

const InvariantCase kInvariantCases[] = {
    {"SquareWithSquareHole", section({obrys(box(0, 0, 4, 4)), obrys(box(1, 1, 3, 3))}, 0.2),
     [](double x, double y) { return !(x > 1 && x < 3 && y > 1 && y < 3); }, 12, 0},
    {"OverlappingRectangles", section({obrys(box(0, 0, 3, 1)), obrys(box(1, -1, 2, 2))}, 0.1),
     [](double x, double y) { return (y > 0 && y < 1) || (x > 1 && x < 2); }, 5, 0},
    {"ArcTop", section({obrys({{{0, 0}, {2, 0}, {2, 2, 1}, {0, 2}}})}, 0.1),
     [](double x, double y) { return y < 2 || std::hypot(x - 1, y - 2) < 1; }, 4 + kPi / 2, kPi},
    {"CutNotch",
     section({obrys(box(0, 0, 4, 2)), obrys({{{1.5, 2.5}, {2, 1}, {2.5, 2.5}}}, true)}, 0.1),
     [](double x, double y) {
         // Not inside the notch (1.5, 2.5), (2, 1), (2.5, 2.5), counter-clockwise.
         auto left = [&](double ax, double ay, double bx, double by) {
             return (bx - ax) * (y - ay) - (by - ay) * (x - ax) > 0;
         };
         return !(left(1.5, 2.5, 2, 1) && left(2, 1, 2.5, 2.5) && left(2.5, 2.5, 1.5, 2.5));
     },
     8 - 1.0 / 3, 0},
};

class SectionMesh : public testing::TestWithParam<InvariantCase> {};

TEST_P(SectionMesh, FillsTheRegionWithGoodCounterClockwiseTriangles) {
    const InvariantCase& c = GetParam();
    Model m = emptyProject();
    const MeshOutcome out = meshSection(c.s, m);
    ASSERT_TRUE(out.ok()) << out.message;
    ASSERT_TRUE(modelConsistent(m));
    EXPECT_EQ(out.nodes, m.nn);
    EXPECT_EQ(out.elements, m.ne);
    EXPECT_EQ(out.size, *c.s.siatka);
    double area = 0, worst = 180, longest = 0;
    for (int e = 1; e <= m.ne; ++e) {
        Corner p[3];
        for (int k = 0; k < 3; ++k)
            p[k] = {m.x[m.noc[e][k + 1]][1], m.x[m.noc[e][k + 1]][2]};
        const double a2 = twiceArea(p[0], p[1], p[2]);
        ASSERT_GT(a2, 0) << "element " << e;
        area += 0.5 * a2;
        const double cx = (p[0].x + p[1].x + p[2].x) / 3, cy = (p[0].y + p[1].y + p[2].y) / 3;
        EXPECT_TRUE(c.inside(cx, cy)) << "element " << e << " at " << cx << ", " << cy;
        worst = std::min(worst, smallestAngleDegrees(p[0], p[1], p[2]));
        for (int k = 0; k < 3; ++k)
            longest =
                std::max(longest, std::hypot(p[k].x - p[(k + 1) % 3].x, p[k].y - p[(k + 1) % 3].y));
    }
    EXPECT_GE(worst, 20);
    EXPECT_LE(longest, *c.s.siatka * (1 + 1e-6));
    // Chords lose at most their sagitta (1/40 of h) along the arcs.
    EXPECT_NEAR(area, c.area, 1e-5 * c.area + c.arcLength * *c.s.siatka / 40);
    EXPECT_EQ(pieces(m), 1);
}

INSTANTIATE_TEST_SUITE_P(Outlines, SectionMesh, testing::ValuesIn(kInvariantCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SectionMesh, SameInputGivesTheSameBits) {
    const Section s = section({profil(geometry::ProfileKind::I, {200, 100, 5.6, 8.5, 12})});
    Model a = emptyProject(), b = emptyProject();
    ASSERT_TRUE(meshSection(s, a).ok());
    ASSERT_TRUE(meshSection(s, b).ok());
    ASSERT_EQ(a.nn, b.nn);
    ASSERT_EQ(a.ne, b.ne);
    EXPECT_EQ(std::memcmp(&a.x[1][1], &b.x[1][1], sizeof(float) * 2 * a.nn), 0);
    EXPECT_EQ(std::memcmp(&a.noc[1][1], &b.noc[1][1], sizeof(int) * 3 * a.ne), 0);
}

// Thin walls get at least four elements across, a compact section about 20 000 in all.
TEST(SectionMesh, AutomaticSizeFollowsTheThinnestPart) {
    struct Case {
        const char* name;
        Section s;
        double wall;                               // 0: compact
        std::function<bool(double, double)> thin;  // where the wall is
    };
    const Case cases[] = {
        {"ThinTube", section({okrag(0, 0, 50), okrag(0, 0, 49.5)}), 0.5,
         [](double, double) { return true; }},
        {"BlockWithFin", section({obrys(box(0, 0, 10, 10)), obrys(box(10, 4.9, 15, 5.1))}), 0.2,
         [](double x, double) { return x > 10.2; }},
        {"Square", section({obrys(box(0, 0, 10, 10))}), 0, {}},
    };
    for (const Case& c : cases) {
        Model m = emptyProject();
        const MeshOutcome out = meshSection(c.s, m);
        ASSERT_TRUE(out.ok()) << c.name << ": " << out.message;
        if (c.wall == 0) {
            EXPECT_GT(m.ne, 15000) << c.name;
            EXPECT_LT(m.ne, 25000) << c.name;
            continue;
        }
        double longest = 0;
        for (int e = 1; e <= m.ne; ++e)
            for (int k = 1; k <= 3; ++k) {
                const float* p = m.x[m.noc[e][k]];
                const float* q = m.x[m.noc[e][k % 3 + 1]];
                if (c.thin(p[1], p[2]) && c.thin(q[1], q[2]))
                    longest =
                        std::max(longest, std::hypot(double{p[1]} - q[1], double{p[2]} - q[2]));
            }
        EXPECT_GT(longest, 0) << c.name;
        EXPECT_LE(longest, c.wall / 4 * 1.001) << c.name;
    }
}

// ---- The model: replaced whole on success, untouched otherwise ------------------------------

// A computed project with a selection and flags set, to see what meshing keeps.
Model busyProject() {
    Model m = emptyProject();
    appendRectangle(m, RectanglePatch{0, 0, 1, 1, 3, 3, false});
    Obliczenia(m);
    m.a_licz = 1, m.id = 1, m.iw = 1;
    m.j_grupa = 1, m.i_grp = 2;
    m.s_grp.allocate(2);
    m.s_grp[1] = 1, m.s_grp[2] = 2;
    return m;
}

void expectSameModel(const Model& a, const Model& b) {
    ASSERT_EQ(a.nn, b.nn);
    ASSERT_EQ(a.ne, b.ne);
    EXPECT_EQ(a.nq, b.nq);
    EXPECT_EQ(a.nbw, b.nbw);
    EXPECT_EQ(a.G, b.G);
    EXPECT_EQ(a.MS, b.MS);
    EXPECT_EQ(a.obliczono, b.obliczono);
    EXPECT_EQ(a.Pusty, b.Pusty);
    EXPECT_EQ(a.j_grupa, b.j_grupa);
    EXPECT_EQ(a.i_grp, b.i_grp);
    EXPECT_EQ(std::memcmp(&a.x[1][1], &b.x[1][1], sizeof(float) * 2 * a.nn), 0);
    EXPECT_EQ(std::memcmp(&a.noc[1][1], &b.noc[1][1], sizeof(int) * 3 * a.ne), 0);
    EXPECT_EQ(std::memcmp(&a.f[1], &b.f[1], sizeof(float) * a.nn), 0);
}

TEST(SectionMesh, ReplacesTheMeshAndDropsResultsAndSelection) {
    Model m = busyProject();
    Section s = section({obrys(box(0, 0, 2, 1))}, 0.25);
    s.G = 1234, s.MS = 56;
    const MeshOutcome out = meshSection(s, m);
    ASSERT_TRUE(out.ok()) << out.message;
    EXPECT_EQ(m.nq, m.nn);
    EXPECT_EQ(m.G, 1234.0f);
    EXPECT_EQ(m.MS, 56.0f);
    EXPECT_EQ(m.obliczono, 0);
    EXPECT_EQ(m.nbw, 0);
    EXPECT_EQ(m.j_grupa, 0);
    EXPECT_EQ(m.i_grp, 0);
    EXPECT_EQ(m.Pusty, 0);
    EXPECT_EQ(m.a_licz, 1);
    EXPECT_EQ(m.id, 1);
    EXPECT_EQ(m.iw, 1);
    for (int i = 1; i <= m.nn; ++i)
        ASSERT_EQ(m.si[i], 0.0f);
    // Without G and MS the model keeps its own.
    s.G.reset(), s.MS.reset();
    ASSERT_TRUE(meshSection(s, m).ok());
    EXPECT_EQ(m.G, 1234.0f);
}

struct RefusedCase {
    const char* name;
    Section s;
    MeshStatus status;
    std::string message;  // its beginning
    int line;
};

const RefusedCase kRefused[] = {
    {"CutTouchingNothing", section({obrys(box(0, 0, 1, 1), false, 3), okrag(5, 5, 1, true, 7)}),
     MeshStatus::Refused, "Otwór nie przecina przekroju", 7},
    {"CutOnlyTouchingAnEdge",
     section({obrys(box(0, 0, 1, 1), false, 3), obrys(box(1, 0, 2, 1), true, 4)}),
     MeshStatus::Refused, "Otwór nie przecina przekroju", 4},
    {"EverythingCutAway", section({obrys(box(0, 0, 1, 1)), obrys(box(-1, -1, 2, 2), true)}),
     MeshStatus::Refused, "Przekrój nie ma pola", 0},
    {"OnlyCuts", section({okrag(0, 0, 1, true, 2)}), MeshStatus::Refused, "Przekrój nie ma pola",
     0},
    {"NoShapes", section({}), MeshStatus::Refused, "Przekrój nie ma pola", 0},
    {"FaultyLoop", section({obrys({{{0, 0}, {2, 2}, {2, 0}, {0, 2}}}, false, 9)}),
     MeshStatus::Refused, "Obrys przecina sam siebie", 9},
    {"TenBillionElements", section({obrys(box(0, 0, 1, 1))}, 1.7e-5), MeshStatus::TooLarge,
     "Siatka o takiej wielkości elementu byłaby zbyt duża (ok. ", 0},
    {"NaNSize", section({obrys(box(0, 0, 1, 1))}, std::numeric_limits<double>::quiet_NaN()),
     MeshStatus::Refused, "Wielkość elementu siatki musi być liczbą skończoną", 0},
    {"SizeTooFineForSinglePrecision", section({obrys(box(1e4, 0, 1e4 + 1, 1))}, 1e-3),
     MeshStatus::Refused, "Elementy siatki byłyby zbyt małe", 0},
};

class SectionRefused : public testing::TestWithParam<RefusedCase> {};

TEST_P(SectionRefused, SaysWhyAndLeavesTheModel) {
    const RefusedCase& c = GetParam();
    Model m = busyProject(), before = busyProject();
    const MeshOutcome out = meshSection(c.s, m);
    EXPECT_EQ(out.status, c.status);
    EXPECT_EQ(out.message.substr(0, c.message.size()), c.message) << out.message;
    EXPECT_EQ(out.line, c.line);
    expectSameModel(m, before);
}

INSTANTIATE_TEST_SUITE_P(Inputs, SectionRefused, testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SectionMesh, CancelAtAnyStageLeavesTheModel) {
    const Section s = section({profil(geometry::ProfileKind::CHS, {100, 4})}, 0.5);
    std::vector<std::string> stages;
    {
        Model m = emptyProject();
        ASSERT_TRUE(meshSection(s, m, [&](const char* stage, double) {
                        if (stages.empty() || stages.back() != stage) stages.push_back(stage);
                        return true;
                    }).ok());
    }
    ASSERT_GE(stages.size(), 5u);
    EXPECT_NE(std::find(stages.begin(), stages.end(), "Siatkowanie: zagęszczanie"), stages.end());
    for (const std::string& stop : stages) {
        Model m = busyProject(), before = busyProject();
        const MeshOutcome out =
            meshSection(s, m, [&](const char* stage, double) { return stop != stage; });
        EXPECT_EQ(out.status, MeshStatus::Cancelled) << stop;
        EXPECT_TRUE(out.message.empty());
        expectSameModel(m, before);
    }
}

}  // namespace
