#include "geometry/profile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "geometry/arc.h"
#include "geometry/section.h"

namespace {

using geometry::Profile;
using geometry::ProfileKind;
using K = ProfileKind;

constexpr double kPi = std::numbers::pi;

struct Typical {
    K kind;
    std::vector<double> dims;
    double area;  // enclosed, outer minus inner
    double w, h;  // size of the outer outline's box
    int outlines;
};

double shaftArea(double d, double b, double t) {
    const double R = d / 2, yw = std::sqrt(R * R - b * b / 4);
    const double phi = 2 * std::asin(b / d);
    return kPi * R * R - b * (yw - (R - t)) - R * R / 2 * (phi - std::sin(phi));
}

double polygonArea(int n, double s) {
    return n * s * s / 4 * std::tan(kPi / n);
}

const std::vector<Typical>& typical() {
    static const std::vector<Typical> t = {
        {K::I,
         {300, 150, 7.1, 10.7, 15},
         2 * 150 * 10.7 + (300 - 2 * 10.7) * 7.1 + (4 - kPi) * 225,
         150,
         300,
         1},
        // Fillets that take the whole flange overhang and the whole web.
        {K::I, {100, 50, 10, 10, 20}, 2 * 50 * 10 + 80 * 10 + (4 - kPi) * 400, 50, 100, 1},
        {K::I, {100, 200, 10, 40, 10}, 2 * 200 * 40 + 20 * 10 + (4 - kPi) * 100, 200, 100, 1},
        {K::U,
         {200, 75, 8.5, 11.5, 11},
         2 * 75 * 11.5 + 177 * 8.5 + (2 - kPi / 2) * 121,
         75,
         200,
         1},
        {K::L,
         {100, 80, 10, 12, 6},
         80 * 10 + 90 * 10 + (1 - kPi / 4) * 144 - 2 * (1 - kPi / 4) * 36,
         80,
         100,
         1},
        {K::L, {50, 50, 5, 0, 5}, 50 * 5 + 45 * 5 - 2 * (1 - kPi / 4) * 25, 50, 50, 1},
        {K::T, {100, 100, 11, 11, 6}, 100 * 11 + 89 * 11 + (2 - kPi / 2) * 36, 100, 100, 1},
        {K::RHS,
         {200, 100, 8, 16},
         200 * 100 - (4 - kPi) * 256 - (184 * 84 - (4 - kPi) * 64),
         100,
         200,
         2},
        {K::RHS, {120, 60, 8, 5}, 120 * 60 - (4 - kPi) * 25 - 104 * 44, 60, 120, 2},
        {K::RHS, {100, 100, 10, 50}, kPi * (2500 - 1600), 100, 100, 2},
        {K::CHS, {168.3, 7.1}, kPi / 4 * (168.3 * 168.3 - 154.1 * 154.1), 168.3, 168.3, 2},
        {K::Kolo, {50}, kPi * 625, 50, 50, 1},
        {K::Elipsa, {60, 20}, kPi * 1200, 120, 40, 1},
        {K::Elipsa, {0.5, 400}, kPi * 200, 1, 800, 1},
        {K::Elipsa, {7, 7}, kPi * 49, 14, 14, 1},
        {K::Wielokat, {6, 50}, polygonArea(6, 50), 50 / std::cos(kPi / 6), 50, 1},
        {K::Wielokat,
         {5, 40},
         polygonArea(5, 40),
         40 / std::cos(kPi / 5) * std::sin(0.6 * kPi),
         20 + 20 / std::cos(kPi / 5),
         1},
        {K::Wielokat, {1000, 10}, polygonArea(1000, 10), 10, 10, 1},
        {K::Trojkat, {30}, std::sqrt(3.0) / 4 * 900, 30, 15 * std::sqrt(3.0), 1},
        {K::Prostokat, {40, 20}, 800, 40, 20, 1},
        {K::Wal, {50, 14, 5.5}, shaftArea(50, 14, 5.5), 50, 25 + std::sqrt(625 - 49.0), 1},
    };
    return t;
}

std::string nameOf(const Typical& t) {
    testing::Message m;
    m << geometry::profileInfo(t.kind).keyword;
    for (double d : t.dims)
        m << ' ' << d;
    return m.GetString();
}

double enclosed(const geometry::ProfileOutlines& p) {
    double a = geometry::outlineArea(p.outlines[0]);
    for (std::size_t i = 1; i < p.outlines.size(); ++i)
        a -= std::abs(geometry::outlineArea(p.outlines[i]));
    return a;
}

TEST(Profile, AreaBoxAndNestingOfEveryKind) {
    for (const Typical& t : typical()) {
        SCOPED_TRACE(nameOf(t));
        const Profile p{t.kind, t.dims, 12.5, -7, 0};
        const geometry::ProfileOutlines out = geometry::profileOutlines(p);
        ASSERT_TRUE(out.ok()) << out.error;
        ASSERT_EQ(out.outlines.size(), static_cast<std::size_t>(t.outlines));
        EXPECT_GT(geometry::outlineArea(out.outlines[0]), 0);  // counter-clockwise
        const double tol = t.kind == K::Elipsa ? 1e-6 : 1e-12;
        EXPECT_NEAR(enclosed(out), t.area, tol * t.area);
        const geometry::Box b = geometry::outlineBox(out.outlines[0]);
        const double size = std::max(t.w, t.h);
        EXPECT_NEAR(0.5 * (b.x0 + b.x1), 12.5, 1e-12 * size);
        EXPECT_NEAR(0.5 * (b.y0 + b.y1), -7, 1e-12 * size);
        // The arcs of an ellipse may stand out of it by its tolerance.
        EXPECT_NEAR(b.x1 - b.x0, t.w, (t.kind == K::Elipsa ? 1e-7 : 1e-12) * size);
        EXPECT_NEAR(b.y1 - b.y0, t.h, (t.kind == K::Elipsa ? 1e-7 : 1e-12) * size);
        if (out.outlines.size() == 2) {
            const geometry::Box in = geometry::outlineBox(out.outlines[1]);
            EXPECT_TRUE(in.x0 > b.x0 && in.y0 > b.y0 && in.x1 < b.x1 && in.y1 < b.y1);
        }
        // Every outline is a proper loop (no crossing, arcs that exist).
        geometry::Section s;
        s.shapes.push_back({});
        s.shapes[0].kind = geometry::Shape::Kind::Profil;
        s.shapes[0].profile = p;
        const geometry::Loops loops = geometry::sectionLoops(s);
        EXPECT_TRUE(loops.ok()) << loops.error;
    }
}

TEST(Profile, TurnIsARotationAboutTheBoxCentre) {
    for (const Typical& t : typical()) {
        SCOPED_TRACE(nameOf(t));
        for (double deg : {90.0, 30.0, -405.0}) {
            const auto plain = geometry::profileOutlines({t.kind, t.dims, 3, 4, 0});
            const auto turned = geometry::profileOutlines({t.kind, t.dims, 3, 4, deg});
            ASSERT_TRUE(turned.ok());
            const double c = std::cos(deg * kPi / 180), s = std::sin(deg * kPi / 180);
            for (std::size_t k = 0; k < plain.outlines.size(); ++k) {
                const auto& a = plain.outlines[k].v;
                const auto& b = turned.outlines[k].v;
                ASSERT_EQ(a.size(), b.size());
                for (std::size_t i = 0; i < a.size(); ++i) {
                    const double dx = a[i].x - 3, dy = a[i].y - 4;
                    EXPECT_NEAR(b[i].x, 3 + c * dx - s * dy, 1e-12 * t.h + 1e-12 * t.w);
                    EXPECT_NEAR(b[i].y, 4 + s * dx + c * dy, 1e-12 * t.h + 1e-12 * t.w);
                    EXPECT_EQ(b[i].r, a[i].r);
                }
            }
            EXPECT_NEAR(enclosed(turned), enclosed(plain), 1e-12 * t.area);
        }
    }
    // A quarter turn is exact and swaps the sides of the box.
    const auto q = geometry::profileOutlines({K::Prostokat, {40, 20}, 1, 2, 90});
    const geometry::Box b = geometry::outlineBox(q.outlines[0]);
    EXPECT_EQ(b.x0, -9);
    EXPECT_EQ(b.x1, 11);
    EXPECT_EQ(b.y0, -18);
    EXPECT_EQ(b.y1, 22);
}

TEST(Profile, EllipseArcsStayOnTheEllipse) {
    struct Axes {
        double a, b;
    };
    for (const Axes e : {Axes{60, 20}, Axes{1, 1000}, Axes{3, 2.9}}) {
        SCOPED_TRACE(testing::Message() << e.a << " x " << e.b);
        const auto out = geometry::profileOutlines({K::Elipsa, {e.a, e.b}, 0, 0, 0});
        ASSERT_TRUE(out.ok());
        const geometry::Outline& o = out.outlines[0];
        EXPECT_LE(o.v.size(), 4 * 64u);
        const double m = std::max(e.a, e.b);
        const auto pts = geometry::polygonOf(
            o, [m](double, double) { return m; }, 1e-9);
        double worst = 0;
        for (const geometry::Point& p : pts) {
            // Distance to the ellipse to first order: F / |grad F|.
            const double F = p.x * p.x / (e.a * e.a) + p.y * p.y / (e.b * e.b) - 1;
            const double g = std::hypot(2 * p.x / (e.a * e.a), 2 * p.y / (e.b * e.b));
            worst = std::max(worst, std::abs(F / g));
        }
        EXPECT_LT(worst, 2e-7 * m);
        EXPECT_NEAR(geometry::outlineArea(o), kPi * e.a * e.b, 1e-7 * kPi * e.a * e.b);
        // Mirror symmetric in both axes.
        const std::size_t n = o.v.size();
        for (std::size_t i = 0; i < n; ++i) {
            const geometry::Vertex& v = o.v[i];
            const geometry::Vertex& opposite = o.v[(i + n / 2) % n];
            EXPECT_EQ(opposite.x, -v.x);
            EXPECT_EQ(opposite.y, -v.y);
        }
    }
}

struct Refusal {
    Profile p;
    const char* message;
};

const Refusal kRefusals[] = {
    {{K::I, {100, 50, 5, 50, 0}}, "Grubość półki tf musi być mniejsza niż h/2"},
    {{K::I, {100, 50, 50, 10, 0}}, "Grubość środnika tw musi być mniejsza niż b"},
    {{K::I, {100, 50, 10, 10, 20.001}}, "Promień r nie mieści się w profilu"},
    {{K::I, {100, 200, 10, 40, 10.001}}, "Promień r nie mieści się w profilu"},
    {{K::I, {-1, 50, 5, 10, 0}}, "Wymiar h musi być dodatni"},
    {{K::I, {100, NAN, 5, 10, 0}}, "Wymiar b musi być liczbą skończoną"},
    {{K::I, {100, 50, 5, 10, -1}}, "Promień r nie może być ujemny"},
    {{K::I, {100, 50, 5, 10}}, "Profil „Dwuteownik (I/H)” wymaga 5 wymiarów"},
    {{K::Kolo, {10, 10}}, "Profil „Koło” wymaga 1 wymiaru"},
    {{K::U, {100, 50, 5, 10, 45.5}}, "Promień r nie mieści się w profilu"},
    {{K::T, {100, 50, 5, 100, 0}}, "Grubość półki tf musi być mniejsza niż h"},
    {{K::T, {20, 100, 10, 10, 10.5}}, "Promień r nie mieści się w profilu"},
    {{K::L, {100, 10, 10, 0, 0}}, "Grubość t musi być mniejsza niż b"},
    {{K::L, {10, 100, 10, 0, 0}}, "Grubość t musi być mniejsza niż h"},
    {{K::L, {100, 100, 10, 0, 11}}, "Promień r2 nie może być większy niż t"},
    {{K::L, {100, 50, 10, 41, 0}}, "Promień r1 nie mieści się w profilu"},
    {{K::L, {100, 15, 10, 0, 6}}, "Promień r2 nie mieści się w profilu"},
    {{K::L, {100, 50, 10, 35, 6}}, "Promienie r1 i r2 nie mieszczą się w profilu"},
    {{K::RHS, {100, 50, 25, 0}}, "Grubość ścianki t musi być mniejsza niż min(b, h)/2"},
    {{K::RHS, {100, 50, 5, 26}}, "Promień r nie może być większy niż min(b, h)/2"},
    {{K::CHS, {100, 50}}, "Grubość ścianki t musi być mniejsza niż d/2"},
    {{K::Wielokat, {2, 10}}, "Liczba boków n musi być liczbą całkowitą nie mniejszą niż 3"},
    {{K::Wielokat, {6.5, 10}}, "Liczba boków n musi być liczbą całkowitą nie mniejszą niż 3"},
    {{K::Wielokat, {1001, 10}}, "Liczba boków n nie może być większa niż 1000"},
    {{K::Wal, {50, 50, 5}}, "Szerokość rowka b musi być mniejsza niż d"},
    {{K::Wal, {50, 10, 25}}, "Głębokość rowka t musi być mniejsza niż d/2"},
    // The circle stands 0.505 above the keyway's walls.
    {{K::Wal, {50, 10, 0.5}}, "Głębokość rowka t musi być większa niż strzałka łuku nad rowkiem"},
    {{K::Prostokat, {40, 20}, NAN, 0, 0}, "Położenie x musi być liczbą skończoną"},
    {{K::Prostokat, {40, 20}, 0, 0, NAN}, "Kąt obrotu musi być liczbą skończoną"},
};

TEST(Profile, ImpossibleDimensionsAreRefusedByName) {
    for (const Refusal& r : kRefusals) {
        SCOPED_TRACE(r.message);
        const geometry::ProfileOutlines out = geometry::profileOutlines(r.p);
        EXPECT_EQ(out.error, r.message);
        EXPECT_TRUE(out.outlines.empty());
    }
}

}  // namespace
