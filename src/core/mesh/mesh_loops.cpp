#include "mesh/mesh_loops.h"

#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "mesh/cgal_triangulate.h"
#include "mesh/chords.h"
#include "mesh/lattice.h"
#include "mesh/sizing.h"

namespace mesh {

namespace {

using geometry::Point;

constexpr double kMaxElements = 2e7;
constexpr double kBytesPerElement = 400;  // mesher and solver together
constexpr double kMaxBoundaryPoints = 4e7;

constexpr const char* kNoArea = "Przekrój nie ma pola";
constexpr const char* kCutOutside = "Otwór nie przecina przekroju";
constexpr const char* kSizeNotFinite = "Wielkość elementu siatki musi być liczbą skończoną";
constexpr const char* kCoordinates = "Współrzędne przekroju muszą być liczbami skończonymi";
constexpr const char* kBeyondFloat =
    "Współrzędne przekroju przekraczają zakres liczb pojedynczej precyzji";
constexpr const char* kTooFine =
    "Elementy siatki byłyby zbyt małe wobec współrzędnych przekroju (pojedyncza precyzja)";
constexpr const char* kFailed = "Nie udało się zbudować siatki przekroju";

double physicalMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || size <= 0) return 1e18;
    return static_cast<double>(pages) * static_cast<double>(size);
}

// n rounded to two significant digits, thousands apart by spaces.
std::string countText(double n) {
    if (!(n < 1e18)) n = 1e18;
    const double p = std::pow(10.0, std::max(0.0, std::floor(std::log10(std::max(n, 1.0))) - 1));
    const std::string digits = std::to_string(static_cast<long long>(std::round(n / p) * p));
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
        out += digits[i];
    }
    return out;
}

std::string tooLarge(double n, const char* about) {
    return std::string("Siatka o takiej wielkości elementu byłaby zbyt duża (") + about + " " +
           countText(n) + " elementów)";
}

// The similarity onto (-1, 1)^2 in which the work is done: x' = (x - cx) 2^-e.
struct Frame {
    double cx = 0, cy = 0;
    int e = 0;
};

geometry::Outline framed(const geometry::Outline& o, const Frame& f) {
    geometry::Outline n;
    n.v.reserve(o.v.size());
    for (const geometry::Vertex& v : o.v)
        n.v.push_back(
            {std::ldexp(v.x - f.cx, -f.e), std::ldexp(v.y - f.cy, -f.e), std::ldexp(v.r, -f.e)});
    return n;
}

// The mesh in model coordinates, nodes by y then x, corners counter-clockwise from the
// smallest, triangles in order. Where the region is thinner than single precision resolves
// (the tip of a cusp) triangles come out flat: they are dropped, but false when they hold
// more than next to no area.
bool finish(TriangleMesh& mesh, const Frame& frame, LoopMesh& out) {
    for (Point& p : mesh.nodes)
        p = {frame.cx + std::ldexp(p.x, frame.e), frame.cy + std::ldexp(p.y, frame.e)};
    double total = 0, lost = 0;
    std::vector<char> used(mesh.nodes.size(), 0);
    std::size_t kept = 0;
    for (const std::array<int, 3>& t : mesh.triangles) {
        const Point &a = mesh.nodes[t[0]], &b = mesh.nodes[t[1]], &c = mesh.nodes[t[2]];
        const double area = 0.5 * ((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y));
        total += area;
        const double ax = static_cast<float>(a.x), ay = static_cast<float>(a.y);
        const double bx = static_cast<float>(b.x), by = static_cast<float>(b.y);
        const double cx = static_cast<float>(c.x), cy = static_cast<float>(c.y);
        if (!((bx - ax) * (cy - ay) - (cx - ax) * (by - ay) > 0)) {
            lost += area;
            continue;
        }
        mesh.triangles[kept++] = t;
        for (int k : t)
            used[k] = 1;
    }
    mesh.triangles.resize(kept);
    if (!(lost <= 1e-9 * total) || kept == 0) return false;

    std::vector<int> order;
    order.reserve(mesh.nodes.size());
    for (std::size_t k = 0; k < mesh.nodes.size(); ++k)
        if (used[k]) order.push_back(static_cast<int>(k));
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const Point &p = mesh.nodes[a], &q = mesh.nodes[b];
        return p.y != q.y ? p.y < q.y : p.x < q.x;
    });
    std::vector<int> number(mesh.nodes.size(), -1);
    out.nodes.resize(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        number[order[k]] = static_cast<int>(k);
        out.nodes[k] = mesh.nodes[order[k]];
    }
    std::vector<Point>().swap(mesh.nodes);
    out.triangles = std::move(mesh.triangles);
    for (std::array<int, 3>& t : out.triangles) {
        for (int& c : t)
            c = number[c];
        std::rotate(t.begin(), std::min_element(t.begin(), t.end()), t.end());
    }
    std::sort(out.triangles.begin(), out.triangles.end());
    return true;
}

}  // namespace

LoopMesh meshLoops(const std::vector<geometry::Loop>& loops, std::optional<double> size,
                   const Postep& postep) {
    LoopMesh out;
    auto fail = [&out](MeshStatus status, std::string message, int loop = -1) {
        out.status = status;
        out.message = std::move(message);
        out.loop = loop;
        out.nodes.clear();
        out.triangles.clear();
        return out;
    };
    auto cancelled = [&]() { return fail(MeshStatus::Cancelled, ""); };
    auto ask = [&postep](const char* stage, double fraction) {
        return !postep || postep(stage, fraction);
    };

    if (size && !std::isfinite(*size)) return fail(MeshStatus::Refused, kSizeNotFinite);
    const bool given = size && *size > 0;
    if (loops.empty()) return fail(MeshStatus::Refused, kNoArea);

    geometry::Box box = geometry::outlineBox(loops[0].outline);
    for (const geometry::Loop& l : loops) {
        const geometry::Box b = geometry::outlineBox(l.outline);
        box.x0 = std::min(box.x0, b.x0), box.x1 = std::max(box.x1, b.x1);
        box.y0 = std::min(box.y0, b.y0), box.y1 = std::max(box.y1, b.y1);
        for (const geometry::Vertex& v : l.outline.v)
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.r))
                return fail(MeshStatus::Refused, kCoordinates);
    }
    const double maxAbs =
        std::max({std::abs(box.x0), std::abs(box.x1), std::abs(box.y0), std::abs(box.y1)});
    if (!(maxAbs < 0.5 * FLT_MAX)) return fail(MeshStatus::Refused, kBeyondFloat);
    const double half = std::max(0.5 * box.x1 - 0.5 * box.x0, 0.5 * box.y1 - 0.5 * box.y0);
    if (!(half > 0)) return fail(MeshStatus::Refused, kNoArea);
    Frame frame{0.5 * box.x0 + 0.5 * box.x1, 0.5 * box.y0 + 0.5 * box.y1, 0};
    std::frexp(half, &frame.e);

    std::vector<geometry::Outline> outlines;
    std::vector<char> cut;
    for (const geometry::Loop& l : loops) {
        outlines.push_back(framed(l.outline, frame));
        cut.push_back(l.otwor ? 1 : 0);
    }

    // The region, checked once with a coarse tracing and once with the chords of the mesh.
    auto region = [&](const SizeField* f, bool tight, Region& r) -> bool {
        const Polygons polygons = loopPolygons(outlines, f, tight, kMaxBoundaryPoints);
        if (polygons.noArc) return fail(MeshStatus::Refused, kFailed), false;
        if (polygons.tooMany)
            return fail(MeshStatus::TooLarge, tooLarge(kMaxBoundaryPoints, "ponad")), false;
        r = traceRegion(polygons.loops, cut, polygons.gaps);
        if (r.failed) return fail(MeshStatus::Refused, kFailed), false;
        if (!(r.solidArea > 0)) return fail(MeshStatus::Refused, kNoArea), false;
        for (std::size_t i = 0; i < cut.size(); ++i)
            if (cut[i] && !r.cutMeetsSolid[i])
                return fail(MeshStatus::Refused, kCutOutside, static_cast<int>(i)), false;
        if (!(r.area > 0)) return fail(MeshStatus::Refused, kNoArea), false;
        return true;
    };

    if (!ask("Siatkowanie: obszar", 0)) return cancelled();
    Region coarse;
    if (!region(nullptr, true, coarse)) return out;

    // The size from a traced region: its area and the thickness rays from its edges.
    SizeField field;
    double estimate = 0;
    auto sizeFrom = [&](const Region& r) -> bool {
        const std::vector<ThicknessRay> rays = thicknessRays(r.boundary, 0.5 * areaSize(r.area));
        field = given ? SizeField(std::min(std::ldexp(*size, -frame.e), 8.0))
                      : automaticSize(r.boundary, rays, r.area);
        estimate = elementEstimate(r.boundary, rays, field, r.area);
        if (!(estimate <= kMaxElements) ||
            !(estimate * kBytesPerElement <= 0.25 * physicalMemory()))
            return fail(MeshStatus::TooLarge, tooLarge(estimate, "ok.")), false;
        if (std::ldexp(field.smallest(), frame.e) < 16 * FLT_EPSILON * maxAbs)
            return fail(MeshStatus::Refused, kTooFine), false;
        return true;
    };
    if (!ask("Siatkowanie: wielkość elementów", 0)) return cancelled();
    if (!sizeFrom(coarse)) return out;

    if (!ask("Siatkowanie: brzeg", 0)) return cancelled();
    // With the chords of the mesh; thin curved walls need the thickness measured again.
    Region fine;
    if (!region(&field, false, fine)) return out;
    if (!given && (!sizeFrom(fine) || !region(&field, false, fine))) return out;
    // Arcs closer than their chords' gap may cross: the coarse tracing, whose gaps are small
    // by the frame, decides how the loops nest.
    if ((fine.depths != coarse.depths || fine.pieces != coarse.pieces) &&
        !region(&field, true, fine))
        return out;
    out.size = given ? *size : std::ldexp(field.largest(), frame.e);
    out.pieces = fine.pieces;

    bool stopped = false;
    std::vector<Point> interior = latticePoints(
        fine.boundary, field, 0.5 * estimate,
        [&](double f) { return ask("Siatkowanie: punkty wewnętrzne", f); }, stopped);
    if (stopped) return cancelled();

    const double maxVertices = std::min(2 * estimate + 2e5, 0.6 * kMaxElements);
    // The shape is let be below a thousandth of the size a compact section would take, and
    // below what single precision tells apart.
    const double least = std::max(1e-3 * std::min(field.smallest(), areaSize(fine.area)),
                                  std::ldexp(64 * FLT_EPSILON * maxAbs, -frame.e));
    TriangleMesh mesh =
        refineRegion(fine.boundary, std::move(interior), field, least, 0.5 * estimate, maxVertices,
                     [&](double f) { return ask("Siatkowanie: zagęszczanie", f); });
    switch (mesh.status) {
        case RefineStatus::Ok:
            break;
        case RefineStatus::Cancelled:
            return cancelled();
        case RefineStatus::TooLarge:
            return fail(MeshStatus::TooLarge, tooLarge(2 * maxVertices, "ponad"));
        case RefineStatus::Failed:
            return fail(MeshStatus::Refused, kFailed);
    }
    if (mesh.triangles.empty()) return fail(MeshStatus::Refused, kNoArea);
    if (!ask("Siatkowanie: numeracja", 0)) return cancelled();

    if (!finish(mesh, frame, out)) return fail(MeshStatus::Refused, kTooFine);
    return out;
}

}  // namespace mesh
