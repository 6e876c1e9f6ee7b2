#include "mesh/cgal_triangulate.h"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Constrained_triangulation_plus_2.h>
#include <CGAL/Delaunay_mesh_face_base_2.h>
#include <CGAL/Delaunay_mesh_vertex_base_2.h>
#include <CGAL/Delaunay_mesher_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Mesh_2/Face_badness.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include <CGAL/spatial_sort.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <new>
#include <numeric>
#include <unordered_map>
#include <utility>

namespace mesh {

namespace {

using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using P2 = K::Point_2;

// The tracing triangulation: every polygon one closed polyline constraint, so that each
// constrained edge knows the polygons running along it.
namespace tracing {
using Vb = CGAL::Triangulation_vertex_base_with_info_2<int, K>;
using Fb =
    CGAL::Triangulation_face_base_with_info_2<int, K,
                                              CGAL::Constrained_triangulation_face_base_2<K>>;
using Tds = CGAL::Triangulation_data_structure_2<Vb, Fb>;
using Cdt = CGAL::Constrained_Delaunay_triangulation_2<K, Tds, CGAL::Exact_predicates_tag>;
using Tr = CGAL::Constrained_triangulation_plus_2<Cdt>;
}  // namespace tracing

// The meshing triangulation.
namespace meshing {
using Vb =
    CGAL::Delaunay_mesh_vertex_base_2<K, CGAL::Triangulation_vertex_base_with_info_2<int, K>>;
using Fb = CGAL::Delaunay_mesh_face_base_2<
    K, CGAL::Constrained_Delaunay_triangulation_face_base_2<
           K, CGAL::Constrained_triangulation_face_base_2<
                  K, CGAL::Triangulation_face_base_with_info_2<int, K>>>>;
using Tds = CGAL::Triangulation_data_structure_2<Vb, Fb>;
using Cdt = CGAL::Constrained_Delaunay_triangulation_2<K, Tds, CGAL::Exact_predicates_tag>;
}  // namespace meshing

// Squared sine of the smallest angle below which a triangle is refined: 20.7 degrees.
constexpr double kShape = 0.125;

// Shape bound, and the longest edge against the size field at the centroid.
class SizeCriteria {
  public:
    using Face_handle = meshing::Cdt::Face_handle;

    // first: squared sine of the smallest angle; second: (longest edge / h)^2.
    struct Quality : public std::pair<double, double> {
        Quality() = default;
        Quality(double sine, double size) : std::pair<double, double>(sine, size) {}
        double sine() const { return first; }
        double size() const { return second; }
        // The one to refine first: too large before badly shaped, then the worse of them.
        bool operator<(const Quality& q) const {
            if (size() > 1) return q.size() > 1 ? size() > q.size() : true;
            if (q.size() > 1) return false;
            return sine() < q.sine();
        }
    };

    class Is_bad {
      public:
        Is_bad(const SizeField* f, double least) : f_(f), least2_(least * least) {}
        CGAL::Mesh_2::Face_badness operator()(const Quality q) const {
            if (q.size() > 1) return CGAL::Mesh_2::IMPERATIVELY_BAD;
            return q.sine() < kShape ? CGAL::Mesh_2::BAD : CGAL::Mesh_2::NOT_BAD;
        }
        CGAL::Mesh_2::Face_badness operator()(const Face_handle& fh, Quality& q) const {
            const P2& a = fh->vertex(0)->point();
            const P2& b = fh->vertex(1)->point();
            const P2& c = fh->vertex(2)->point();
            const double ea = CGAL::squared_distance(b, c), eb = CGAL::squared_distance(c, a),
                         ec = CGAL::squared_distance(a, b);
            const double longest = std::max({ea, eb, ec});
            const double second = ea + eb + ec - longest - std::min({ea, eb, ec});
            const double h = f_->at((a.x() + b.x() + c.x()) / 3, (a.y() + b.y() + c.y()) / 3);
            q.second = longest / (h * h);
            if (q.size() > 1) {
                q.first = 1;
                return CGAL::Mesh_2::IMPERATIVELY_BAD;
            }
            // Below the least size the shape is let be: slivers and cusps the boundary makes
            // would otherwise be refined without end.
            if (longest < least2_) {
                q.first = 1;
                return CGAL::Mesh_2::NOT_BAD;
            }
            const double twice =
                (b.x() - a.x()) * (c.y() - a.y()) - (c.x() - a.x()) * (b.y() - a.y());
            q.first = twice * twice / (longest * second);
            return q.sine() < kShape ? CGAL::Mesh_2::BAD : CGAL::Mesh_2::NOT_BAD;
        }

      private:
        const SizeField* f_;
        double least2_;
    };

    SizeCriteria(const SizeField* f, double least) : f_(f), least_(least) {}
    Is_bad is_bad_object() const { return Is_bad(f_, least_); }

  private:
    const SizeField* f_;
    double least_;
};

// Flips membership of `loop` in the sorted set `s`.
void toggle(std::vector<int>& s, int loop) {
    const auto it = std::lower_bound(s.begin(), s.end(), loop);
    if (it != s.end() && *it == loop)
        s.erase(it);
    else
        s.insert(it, loop);
}

int findRoot(std::vector<int>& parent, int i) {
    while (parent[i] != i)
        i = parent[i] = parent[parent[i]];
    return i;
}

Region trace(const std::vector<std::vector<geometry::Point>>& polygons,
             const std::vector<char>& cut, const std::vector<double>& gaps) {
    using tracing::Tr;
    Region out;
    const int loops = static_cast<int>(polygons.size());
    out.cutMeetsSolid.assign(polygons.size(), 0);
    Tr t;
    {
        // All points first, in spatial order: one after another along a circle they would
        // take quadratic time.
        std::vector<P2> all;
        for (const auto& polygon : polygons)
            for (const geometry::Point& p : polygon)
                all.emplace_back(p.x, p.y);
        t.insert(all.begin(), all.end());
    }
    std::unordered_map<const void*, int> owner;
    for (int i = 0; i < loops; ++i) {
        std::vector<P2> pts;
        pts.reserve(polygons[i].size());
        for (const geometry::Point& p : polygons[i])
            pts.emplace_back(p.x, p.y);
        if (pts.size() < 2) continue;
        const Tr::Constraint_id id = t.insert_constraint(pts.begin(), pts.end(), true);
        owner[id.vl_ptr()] = i;
    }
    if (t.dimension() < 2) return out;

    // Which polygons hold each face: a walk out from the infinite face, flipping the
    // polygons of every constrained edge crossed.
    int faces = 0;
    for (auto f = t.all_faces_begin(); f != t.all_faces_end(); ++f)
        f->info() = faces++;
    std::vector<std::vector<int>> in(faces);
    std::vector<char> seen(faces, 0);
    std::deque<Tr::Face_handle> queue{t.infinite_face()};
    seen[t.infinite_face()->info()] = 1;
    while (!queue.empty()) {
        const Tr::Face_handle f = queue.front();
        queue.pop_front();
        for (int i = 0; i < 3; ++i) {
            const Tr::Face_handle g = f->neighbor(i);
            if (seen[g->info()]) continue;
            seen[g->info()] = 1;
            std::vector<int> s = in[f->info()];
            if (f->is_constrained(i)) {
                const Tr::Vertex_handle va = f->vertex(Tr::cw(i)), vb = f->vertex(Tr::ccw(i));
                for (auto c = t.contexts_begin(va, vb); c != t.contexts_end(va, vb); ++c) {
                    const auto o = owner.find(c->id().vl_ptr());
                    if (o != owner.end()) toggle(s, o->second);
                }
            }
            in[g->info()] = std::move(s);
            queue.push_back(g);
        }
    }

    // Polygon j wholly holds i when (but for the slack) all of i is inside j, and not the
    // other way.
    std::vector<double> perimeter(loops, 0), gap(loops, 0), slack(loops, 0);
    double solidGap = 0;
    for (int i = 0; i < loops; ++i) {
        const std::vector<geometry::Point>& p = polygons[i];
        for (std::size_t k = 0; k < p.size(); ++k)
            perimeter[i] +=
                std::hypot(p[(k + 1) % p.size()].x - p[k].x, p[(k + 1) % p.size()].y - p[k].y);
        gap[i] = i < static_cast<int>(gaps.size()) ? gaps[i] : 0.0;
        if (!cut[i]) solidGap = std::max(solidGap, gap[i]);
    }
    for (int i = 0; i < loops; ++i)
        slack[i] = 2 * (gap[i] + solidGap) * perimeter[i];
    std::vector<double> area(faces, 0), own(loops, 0);
    std::unordered_map<std::uint64_t, double> shared;  // area of i inside j, by pair(i, j)
    auto pair = [](int i, int j) {
        return (static_cast<std::uint64_t>(i) << 32) | static_cast<std::uint32_t>(j);
    };
    for (auto f = t.finite_faces_begin(); f != t.finite_faces_end(); ++f) {
        const P2& a = f->vertex(0)->point();
        const P2& b = f->vertex(1)->point();
        const P2& c = f->vertex(2)->point();
        const double fa =
            0.5 * ((b.x() - a.x()) * (c.y() - a.y()) - (c.x() - a.x()) * (b.y() - a.y()));
        area[f->info()] = fa;
        const std::vector<int>& s = in[f->info()];
        for (int i : s) {
            own[i] += fa;
            for (int j : s)
                if (j != i) shared[pair(i, j)] += fa;
        }
    }
    auto within = [&](int i, int j) {
        const auto it = shared.find(pair(i, j));
        const double both = it == shared.end() ? 0.0 : it->second;
        return own[i] - both <= 2 * (gap[i] + gap[j]) * perimeter[i];
    };
    std::vector<int> depth(loops, 0);
    for (const auto& entry : shared) {
        const int i = static_cast<int>(entry.first >> 32);
        const int j = static_cast<int>(entry.first & 0xffffffffu);
        if (!cut[i] && !cut[j] && within(i, j) && !within(j, i)) ++depth[i];
    }
    out.depths = depth;

    std::vector<char> inside(faces, 0);
    std::vector<double> met(loops, 0);
    for (auto f = t.finite_faces_begin(); f != t.finite_faces_end(); ++f) {
        const std::vector<int>& s = in[f->info()];
        int deepest = -1;
        bool cutAway = false;
        for (int i : s) {
            if (cut[i])
                cutAway = true;
            else
                deepest = std::max(deepest, depth[i]);
        }
        const bool solid = deepest >= 0 && deepest % 2 == 0;
        if (!solid) continue;
        const double a = area[f->info()];
        out.solidArea += a;
        if (a > 0)
            for (int i : s)
                if (cut[i]) met[i] += a;
        if (cutAway) continue;
        inside[f->info()] = 1;
        out.area += a;
    }

    for (int i = 0; i < loops; ++i)
        out.cutMeetsSolid[i] = cut[i] && met[i] > slack[i];

    // The edges between the region and the rest, the region on their left; pieces.
    for (auto v = t.finite_vertices_begin(); v != t.finite_vertices_end(); ++v)
        v->info() = -1;
    std::vector<int> parent(faces);
    std::iota(parent.begin(), parent.end(), 0);
    auto number = [&](Tr::Vertex_handle v) {
        if (v->info() < 0) {
            v->info() = static_cast<int>(out.boundary.points.size());
            out.boundary.points.push_back({v->point().x(), v->point().y()});
        }
        return v->info();
    };
    for (auto f = t.finite_faces_begin(); f != t.finite_faces_end(); ++f) {
        if (!inside[f->info()]) continue;
        for (int i = 0; i < 3; ++i) {
            const Tr::Face_handle g = f->neighbor(i);
            if (inside[g->info()]) {
                parent[findRoot(parent, f->info())] = findRoot(parent, g->info());
                continue;
            }
            const int a = number(f->vertex(Tr::ccw(i)));
            const int b = number(f->vertex(Tr::cw(i)));
            out.boundary.edges.push_back({a, b});
        }
    }
    for (int k = 0; k < faces; ++k)
        if (inside[k] && findRoot(parent, k) == k) ++out.pieces;
    return out;
}

TriangleMesh refine(const Boundary& b, std::vector<geometry::Point> interior, const SizeField& f,
                    double leastEdge, double expectedVertices, double maxVertices,
                    const std::function<bool(double)>& progress) {
    using meshing::Cdt;
    TriangleMesh out;
    auto ask = [&](double fraction) { return !progress || progress(fraction); };
    Cdt cdt;
    {
        std::vector<P2> pts;
        pts.reserve(b.points.size());
        for (const geometry::Point& p : b.points)
            pts.emplace_back(p.x, p.y);
        std::vector<std::pair<std::size_t, std::size_t>> edges;
        edges.reserve(b.edges.size());
        for (const auto& e : b.edges)
            edges.emplace_back(e[0], e[1]);
        cdt.insert_constraints(pts.begin(), pts.end(), edges.begin(), edges.end());
    }
    {
        std::vector<P2> pts;
        pts.reserve(interior.size());
        for (const geometry::Point& p : interior)
            pts.emplace_back(p.x, p.y);
        std::vector<geometry::Point>().swap(interior);
        CGAL::spatial_sort(pts.begin(), pts.end());
        Cdt::Face_handle hint;
        for (std::size_t k = 0; k < pts.size(); ++k) {
            if ((k & 65535) == 0 && !ask(0.5 * k / (expectedVertices + 1))) {
                out.status = RefineStatus::Cancelled;
                return out;
            }
            hint = cdt.insert(pts[k], hint)->face();
        }
    }
    if (cdt.dimension() < 2) return out;

    // In the domain: an odd number of boundary edges crossed from the infinite face.
    for (auto fh = cdt.all_faces_begin(); fh != cdt.all_faces_end(); ++fh) {
        fh->info() = -1;
        fh->set_in_domain(false);
    }
    std::deque<Cdt::Face_handle> queue{cdt.infinite_face()};
    cdt.infinite_face()->info() = 0;
    while (!queue.empty()) {
        const Cdt::Face_handle fh = queue.front();
        queue.pop_front();
        for (int i = 0; i < 3; ++i) {
            const Cdt::Face_handle g = fh->neighbor(i);
            if (g->info() >= 0) continue;
            g->info() = fh->info() ^ (fh->is_constrained(i) ? 1 : 0);
            g->set_in_domain(g->info() == 1);
            queue.push_back(g);
        }
    }

    const SizeCriteria criteria(&f, leastEdge);
    CGAL::Delaunay_mesher_2<Cdt, SizeCriteria> mesher(cdt, criteria);
    mesher.init(true);
    for (long step = 0; !mesher.is_refinement_done(); ++step) {
        if ((step & 1023) == 0) {
            const double n = static_cast<double>(cdt.number_of_vertices());
            if (n > maxVertices) {
                out.status = RefineStatus::TooLarge;
                return out;
            }
            if (!ask(std::min(0.99, n / (expectedVertices + 1)))) {
                out.status = RefineStatus::Cancelled;
                return out;
            }
        }
        mesher.step_by_step_refine_mesh();
    }

    for (auto v = cdt.finite_vertices_begin(); v != cdt.finite_vertices_end(); ++v)
        v->info() = -1;
    out.triangles.reserve(2 * cdt.number_of_vertices());
    for (auto fh = cdt.finite_faces_begin(); fh != cdt.finite_faces_end(); ++fh) {
        if (!fh->is_in_domain()) continue;
        std::array<int, 3> t;
        for (int i = 0; i < 3; ++i) {
            const Cdt::Vertex_handle v = fh->vertex(i);
            if (v->info() < 0) {
                v->info() = static_cast<int>(out.nodes.size());
                out.nodes.push_back({v->point().x(), v->point().y()});
            }
            t[i] = v->info();
        }
        out.triangles.push_back(t);
    }
    return out;
}

}  // namespace

Region traceRegion(const std::vector<std::vector<geometry::Point>>& polygons,
                   const std::vector<char>& cut, const std::vector<double>& gaps) {
    try {
        return trace(polygons, cut, gaps);
    } catch (...) {
        Region r;
        r.failed = true;
        return r;
    }
}

TriangleMesh refineRegion(const Boundary& b, std::vector<geometry::Point> interior,
                          const SizeField& f, double leastEdge, double expectedVertices,
                          double maxVertices, const std::function<bool(double)>& progress) {
    try {
        return refine(b, std::move(interior), f, leastEdge, expectedVertices, maxVertices,
                      progress);
    } catch (const std::bad_alloc&) {
        TriangleMesh m;
        m.status = RefineStatus::TooLarge;
        return m;
    } catch (...) {
        TriangleMesh m;
        m.status = RefineStatus::Failed;
        return m;
    }
}

}  // namespace mesh
