#include "geometry/section.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

using geometry::Outline;
using geometry::Section;
using geometry::Shape;

Shape obrys(Outline o, int line, bool otwor = false) {
    Shape s;
    s.kind = Shape::Kind::Obrys;
    s.outline = std::move(o);
    s.line = line;
    s.otwor = otwor;
    return s;
}

Shape okrag(double x, double y, double r, int line, bool otwor = false) {
    Shape s;
    s.kind = Shape::Kind::Okrag;
    s.circle = {x, y, r};
    s.line = line;
    s.otwor = otwor;
    return s;
}

Shape profil(geometry::Profile p, int line) {
    Shape s;
    s.kind = Shape::Kind::Profil;
    s.profile = std::move(p);
    s.line = line;
    return s;
}

const Outline kSquare{{{0, 0}, {4, 0}, {4, 4}, {0, 4}}};

struct Faulty {
    const char* name;
    Shape shape;
    const char* message;
};

const std::string kCrossing = "Obrys przecina sam siebie";

const Faulty kFaulty[] = {
    {"TwoPoints", obrys({{{0, 0}, {1, 0}}}, 5), "Obrys musi mieć co najmniej trzy punkty"},
    {"TwoPointsAfterRepeatsGo", obrys({{{0, 0}, {1, 0}, {1, 0}, {0, 0}}}, 5),
     "Obrys musi mieć co najmniej trzy punkty"},
    {"FigureEight", obrys({{{0, 0}, {2, 0}, {1, 1}, {2, 2}, {0, 2}, {1, 1}}}, 6),
     kCrossing.c_str()},
    {"BowTie", obrys({{{0, 0}, {2, 2}, {2, 0}, {0, 2}}}, 7), kCrossing.c_str()},
    {"VertexOnAnotherEdge", obrys({{{0, 0}, {4, 0}, {4, 4}, {2, 0}, {0, 4}}}, 7),
     kCrossing.c_str()},
    {"FoldsBackOnItself", obrys({{{0, 0}, {4, 0}, {2, 0}, {2, 2}}}, 7), kCrossing.c_str()},
    // The inward half circle reaches past the opposite side.
    {"ArcCrossesAnEdge", obrys({{{0, 0}, {0.5, 0, -1}, {0.5, 2}, {0, 2}}}, 8), kCrossing.c_str()},
    // Two arcs over one chord bulging the same way cross at their ends only if equal: here
    // the second, larger one sweeps over the first.
    {"ArcsOverlap", obrys({{{0, 0, 1}, {1, 0, -1}}}, 8), kCrossing.c_str()},
    {"ZeroArea", obrys({{{0, 0}, {1, 0}, {3, 0}}}, 9), "Obrys ma zerowe pole"},
    {"ImpossibleArc", obrys({{{0, 0}, {2, 0, 0.99}, {2, 2}}}, 10),
     "Promień łuku jest mniejszy niż połowa odległości między punktami"},
    {"NaN", obrys({{{0, 0}, {2, NAN}, {2, 2}}}, 11),
     "Współrzędne obrysu muszą być liczbami skończonymi"},
    {"InfiniteRadius", obrys({{{0, 0}, {2, 0, INFINITY}, {2, 2}}}, 11),
     "Współrzędne obrysu muszą być liczbami skończonymi"},
    {"CircleWithoutRadius", okrag(1, 1, 0, 12), "Promień okręgu musi być dodatni"},
    {"CircleNegativeRadius", okrag(1, 1, -2, 12), "Promień okręgu musi być dodatni"},
    {"CircleAtInfinity", okrag(INFINITY, 1, 2, 12),
     "Współrzędne okręgu muszą być liczbami skończonymi"},
    {"ImpossibleProfile", profil({geometry::ProfileKind::CHS, {10, 5}}, 13),
     "Grubość ścianki t musi być mniejsza niż d/2"},
};

TEST(SectionLoops, TheFirstFaultyShapeGivesItsMessageAndLine) {
    for (const Faulty& f : kFaulty) {
        SCOPED_TRACE(f.name);
        Section s;
        s.shapes = {obrys(kSquare, 2), f.shape, okrag(0, 0, -1, 40)};
        const geometry::Loops loops = geometry::sectionLoops(s);
        EXPECT_EQ(loops.error, f.message);
        EXPECT_EQ(loops.line, f.shape.line);
        EXPECT_TRUE(loops.loops.empty());
    }
}

TEST(SectionLoops, ValidShapesExpandInOrderWithTheirFlags) {
    Section s;
    // A slot with half circle ends, its last point repeating the first and a doubled point.
    s.shapes.push_back(obrys({{{0, 0}, {10, 0, 2}, {10, 4}, {10, 4}, {0, 4, 2}, {0, 0}}}, 3));
    s.shapes.push_back(okrag(5, 2, 1, 4, true));
    s.shapes.push_back(obrys({{{20, 0, 3}, {24, 0, 5}}}, 5));  // lens of two arcs
    s.shapes.push_back(profil({geometry::ProfileKind::RHS, {100, 50, 5, 10}, 0, 50, 30}, 6));
    const geometry::Loops loops = geometry::sectionLoops(s);
    ASSERT_TRUE(loops.ok()) << loops.error;
    ASSERT_EQ(loops.loops.size(), 5u);
    const int shapeOf[] = {0, 1, 2, 3, 3};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(loops.loops[i].shape, shapeOf[i]);
    EXPECT_FALSE(loops.loops[0].otwor);
    EXPECT_TRUE(loops.loops[1].otwor);
    const Outline& slot = loops.loops[0].outline;
    ASSERT_EQ(slot.v.size(), 4u);
    EXPECT_EQ(slot.v[1].r, 2);
    EXPECT_EQ(slot.v[3].x, 0);
    EXPECT_EQ(slot.v[3].y, 4);
    EXPECT_NEAR(geometry::outlineArea(slot), 40 + 4 * std::numbers::pi, 1e-12);
}

// The verdicts do not depend on the scale or the place of the drawing.
TEST(SectionLoops, HugeAndTinyCoordinatesKeepTheirVerdicts) {
    const Outline bowTie{{{0, 0}, {2, 2}, {2, 0}, {0, 2}}};
    const Outline bulged{{{0, 0}, {2, 0, 1}, {2, 2}, {0, 2}}};
    const Outline crossing{{{0, 0}, {0.75, 0, -1}, {0.75, 2}, {0, 2}}};  // the arc crosses x = 0
    struct Case {
        Outline o;
        bool ok;
    };
    for (double scale : {1e300, 1e-300, 3e-320, 1.0}) {
        for (double shift : {0.0, 1e6}) {
            for (const Case& c : {Case{bowTie, false}, Case{bulged, true}, Case{crossing, false},
                                  Case{kSquare, true}}) {
                Outline o = c.o;
                for (geometry::Vertex& v : o.v) {
                    v.x = v.x * scale + shift * scale;
                    v.y *= scale;
                    v.r *= scale;
                }
                SCOPED_TRACE(testing::Message() << scale << " " << shift << " " << o.v[1].x);
                Section s;
                s.shapes = {obrys(o, 1)};
                EXPECT_EQ(geometry::sectionLoops(s).ok(), c.ok);
            }
        }
    }
}

// Many vertices: a fine circle, a comb of long teeth (all spanning one sweep line) and the
// comb closed by an edge across every tooth.
TEST(SectionLoops, ManyVerticesAreCheckedQuickly) {
    Outline circle;
    const int n = 200000;
    for (int i = 0; i < n; ++i) {
        const double t = 2 * std::numbers::pi * i / n;
        circle.v.push_back({1000 * std::cos(t), 1000 * std::sin(t)});
    }
    Outline comb;
    const int teeth = 20000;
    comb.v.push_back({0, 0});
    for (int i = 0; i < teeth; ++i) {
        comb.v.push_back({1000, 2.0 * i});
        comb.v.push_back({1000, 2.0 * i + 1});
        comb.v.push_back({1, 2.0 * i + 1});
        comb.v.push_back({1, 2.0 * i + 2});
    }
    comb.v.push_back({0, 2.0 * teeth});
    Outline crossed = comb;
    crossed.v.back().x = 2000;  // the closing edge runs across every tooth
    Section s;
    s.shapes = {obrys(circle, 1), obrys(comb, 2)};
    EXPECT_TRUE(geometry::sectionLoops(s).ok());
    s.shapes.push_back(obrys(crossed, 3));
    const geometry::Loops bad = geometry::sectionLoops(s);
    EXPECT_EQ(bad.error, kCrossing);
    EXPECT_EQ(bad.line, 3);
}

}  // namespace
