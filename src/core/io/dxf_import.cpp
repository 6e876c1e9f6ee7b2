#include "io/dxf_import.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <istream>
#include <memory>
#include <new>
#include <numbers>
#include <optional>
#include <unordered_map>

#include "geometry/arc.h"
#include "io/drawing.h"
#include "io/dxf_scan.h"
#include "io/dxf_units.h"
#include "io/outline_chain.h"
#include "io/outline_layout.h"
#include "model/fd.h"

namespace io {

namespace {

using geometry::Outline;
using geometry::Point;
using geometry::Vertex;

constexpr std::int64_t kMaxFileBytes = std::int64_t{256} << 20;
// Ends of lines, arcs and curves closer than this part of the drawing's size join.
constexpr double kJoin = 1e-6;
// Chords of ellipses and splines stray at most this part of the drawing's size.
constexpr double kSagitta = 1e-4;
// Chords standing for arcs in the crossing test stray at most this part of it.
constexpr double kTestSagitta = 1e-5;
// A bulge beyond tan(22.5 degrees) makes an arc of more than a quarter circle: such arcs are
// halved (a polyline's arc may exceed a half circle, an outline's may not).
constexpr double kMaxBulge = 0.41422;

// Coordinates and sizes whose squares (areas) a double holds with room to spare.
constexpr double kMaxCoordinate = 1e30;
constexpr double kMinSize = 1e-30;

constexpr const char* kNoOutline = "Rysunek nie zawiera żadnego zamkniętego obrysu";
constexpr const char* kTooLarge = "Współrzędne rysunku są zbyt duże";
constexpr const char* kBadSpline = "Rysunek zawiera nieprawidłową krzywą SPLINE";

std::string number(double v) {
    if (v == 0) v = 0;  // no "-0"
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 9);
    return std::string(buf, r.ptr);
}

std::string point(Point p) {
    return "(" + number(p.x) + ", " + number(p.y) + ")";
}

std::string folded(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The text dxflib reads, in place.
class MemoryBuf : public std::streambuf {
  public:
    explicit MemoryBuf(std::string_view t) {
        char* b = const_cast<char*>(t.data());
        setg(b, b, b + t.size());
    }
    std::size_t position() const { return static_cast<std::size_t>(gptr() - eback()); }
};

// The arc of a polyline segment from a to b with bulge tan(angle / 4) (positive
// counter-clockwise), as outline vertices from a (b excluded). Radius: chord / 2 *
// (1 + bulge^2) / (2 |bulge|). Beyond a quarter circle the arc is halved at its middle,
// which lies bulge * chord / 2 right of the chord's middle; each half has bulge
// tan(angle / 8) = bulge / (1 + sqrt(1 + bulge^2)).
void appendBulge(std::vector<Vertex>& out, Point a, Point b, double bulge) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double chord = std::hypot(dx, dy);
    if (!(std::abs(bulge) > 1e-12) || !(chord > 0)) {
        out.push_back({a.x, a.y, 0});
        return;
    }
    if (std::abs(bulge) > kMaxBulge) {
        const Point mid{a.x + 0.5 * dx + 0.5 * bulge * dy, a.y + 0.5 * dy - 0.5 * bulge * dx};
        const double half = bulge / (1 + std::hypot(1.0, bulge));
        appendBulge(out, a, mid, half);
        appendBulge(out, mid, b, half);
        return;
    }
    const double radius = 0.5 * chord * (1 + bulge * bulge) / (2 * std::abs(bulge));
    out.push_back({a.x, a.y, bulge > 0 ? radius : -radius});
}

// The path under a similarity (the object-coordinate mirror): arcs keep their radius and
// turn the other way when it mirrors.
void mapPath(Path& p, const Affine& m) {
    const double sense = m.det() < 0 ? -1 : 1;
    for (Vertex& v : p.v) {
        const Point q = m({v.x, v.y});
        v = {q.x, q.y, v.r * sense};
    }
}

// An entity's plane by its extrusion direction: the drawing plane seen from above or from
// below (its object coordinates mirror x: the arbitrary axis rule), or another plane.
enum class Plane { Up, Down, Tilted };

Plane planeOf(const double* n) {
    const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(len > 0) || !std::isfinite(len)) return Plane::Up;
    const double z = n[2] / len;
    if (z >= 1 - 1e-9) return Plane::Up;
    if (z <= -(1 - 1e-9)) return Plane::Down;
    return Plane::Tilted;
}

Affine ocsMap(Plane p) {
    return p == Plane::Down ? Affine{-1, 0, 0, 1, 0, 0} : Affine{};
}

// Collects dxflib's reports into a drawing. The scan's objects tell what dxflib does not:
// which section an entity is in, a VERTEX's flags, the entities it does not report.
class Reader : public DL_CreationAdapter {
  public:
    Reader(const DxfScan& scan, std::istream& in, const MemoryBuf& buf, std::size_t size,
           const Postep& postep)
        : scan_(scan), in_(in), buf_(buf), size_(size), postep_(postep) {}

    Drawing drawing;
    std::optional<int> insunits;
    std::string error;
    bool cancelled = false;

    void setVariableInt(const std::string& key, int value, int) override {
        if (key == "$INSUNITS") insunits = value;
    }

    void addBlock(const DL_BlockData& d) override {
        finishOpen();
        block_ = static_cast<int>(drawing.blocks.size());
        drawing.blocks.push_back({d.name, {d.bpx, d.bpy}, {}});
    }
    void endBlock() override {
        finishOpen();
        block_ = -1;
    }

    void addLine(const DL_LineData& d) override {
        Element e;
        e.kind = Element::Kind::Path;
        e.path.v = {{d.x1, d.y1, 0}, {d.x2, d.y2, 0}};
        add(std::move(e));
    }

    void addArc(const DL_ArcData& d) override {
        const Plane plane = planeOf(getExtrusion()->getDirection());
        double sweep = std::fmod(d.angle2 - d.angle1, 360.0);
        if (!(sweep > 0)) sweep += 360;
        if (plane == Plane::Tilted || !(d.radius > 0) || !std::isfinite(sweep)) return addUnused();
        if (sweep >= 360 - 1e-9) return addCircle({d.cx, d.cy, d.cz, d.radius});
        Element e;
        e.kind = Element::Kind::Path;
        const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / 90 - 1e-9)));
        const double a0 = d.angle1 * std::numbers::pi / 180,
                     step = sweep / pieces * std::numbers::pi / 180;
        for (int k = 0; k <= pieces; ++k) {
            const double a = a0 + k * step;
            e.path.v.push_back({d.cx + d.radius * std::cos(a), d.cy + d.radius * std::sin(a),
                                k < pieces ? d.radius : 0});
        }
        mapPath(e.path, ocsMap(plane));
        add(std::move(e));
    }

    void addCircle(const DL_CircleData& d) override {
        const Plane plane = planeOf(getExtrusion()->getDirection());
        if (plane == Plane::Tilted || !(d.radius > 0)) return addUnused();
        Element e;
        e.kind = Element::Kind::Path;
        e.path.v = geometry::circleOutline({d.cx, d.cy, d.radius}).v;
        e.path.closed = true;
        mapPath(e.path, ocsMap(plane));
        add(std::move(e));
    }

    void addEllipse(const DL_EllipseData& d) override {
        const Plane plane = planeOf(getExtrusion()->getDirection());
        const double major = std::hypot(d.mx, d.my);
        double sweep = std::fmod(d.angle2 - d.angle1, 2 * std::numbers::pi);
        if (!(sweep > 0)) sweep += 2 * std::numbers::pi;
        if (plane == Plane::Tilted || !(major > 0) || !(d.ratio > 0) || !(d.ratio <= 1 + 1e-6) ||
            !std::isfinite(sweep))
            return addUnused();
        // The minor axis is the major one turned a quarter about the extrusion direction.
        const double s = plane == Plane::Down ? -1 : 1;
        Element e;
        e.kind = Element::Kind::Ellipse;
        const double t0 = std::fmod(d.angle1, 2 * std::numbers::pi);
        e.arc = {
            {d.cx, d.cy}, {d.mx, d.my}, {-s * d.ratio * d.my, s * d.ratio * d.mx}, t0, t0 + sweep};
        e.full = sweep >= 2 * std::numbers::pi - 1e-9;
        add(std::move(e));
    }

    void addPolyline(const DL_PolylineData& d) override {
        finishOpen();
        const ScanObject* o = current();
        OpenPolyline p;
        p.light = o && o->kind == ObjectKind::LwPolyline;
        p.flags = d.flags;
        p.plane = planeOf(getExtrusion()->getDirection());
        p.target = target();
        p.layer = layerId();
        poly_ = std::move(p);
    }

    void addVertex(const DL_VertexData& d) override {
        if (!poly_) return;
        // A spline-fit polyline also lists its frame's control points: not drawn.
        const ScanObject* o = current();
        if (!poly_->light && o && o->kind == ObjectKind::Vertex && (o->flags & 16)) return;
        poly_->points.push_back({d.x, d.y, d.bulge});
    }

    void addSpline(const DL_SplineData& d) override {
        finishOpen();
        OpenSpline s;
        s.degree = static_cast<int>(std::min(d.degree, 1000u));
        s.closed = d.flags & 1;
        s.startTangent = {d.tangentStartX, d.tangentStartY};
        s.endTangent = {d.tangentEndX, d.tangentEndY};
        s.target = target();
        s.layer = layerId();
        spline_ = std::move(s);
    }
    void addControlPoint(const DL_ControlPointData& d) override {
        if (!spline_) return;
        spline_->curve.points.push_back({d.x, d.y});
        spline_->curve.weights.push_back(d.w);
    }
    void addFitPoint(const DL_FitPointData& d) override {
        if (spline_) spline_->fit.push_back({d.x, d.y});
    }
    void addKnot(const DL_KnotData& d) override {
        if (spline_) spline_->curve.knots.push_back(d.k);
    }

    void addInsert(const DL_InsertData& d) override {
        const Plane plane = planeOf(getExtrusion()->getDirection());
        if (plane == Plane::Tilted) return addUnused();
        Element e;
        e.kind = Element::Kind::Insert;
        e.block = d.name;
        e.outer = ocsMap(plane) * shift(d.ipx, d.ipy) * turn(d.angle * std::numbers::pi / 180);
        e.sx = d.sx, e.sy = d.sy;
        e.cols = std::max(1, d.cols), e.rows = std::max(1, d.rows);
        e.colStep = d.colSp, e.rowStep = d.rowSp;
        add(std::move(e));
    }

    void endEntity() override { finishOpen(); }
    void endSequence() override { finishOpen(); }

    // dxflib ends every object here, right after reporting it.
    void endSection() override {
        if (const ScanObject* o = current()) {
            if (o->kind == ObjectKind::Unused) addUnused();
            if (o->kind != ObjectKind::Polyline && o->kind != ObjectKind::Vertex) finishOpen();
        }
        ++groups_;
        if (groups_ % 1024 == 0 && postep_ &&
            !postep_("Wczytywanie rysunku", static_cast<double>(buf_.position()) / size_)) {
            cancelled = true;
        }
        if (cancelled || !error.empty()) in_.setstate(std::ios::eofbit);
    }

  private:
    struct OpenPolyline {
        bool light = false;
        int flags = 0;
        Plane plane = Plane::Up;
        int target = -1, layer = 0;
        std::vector<Vertex> points;  // r: the bulge
    };
    struct OpenSpline {
        int degree = 3;
        bool closed = false;
        Point startTangent, endTangent;
        int target = -1, layer = 0;
        Nurbs curve;
        std::vector<Point> fit;
    };

    // The object dxflib is reporting.
    const ScanObject* current() const {
        if (groups_ == 0 || groups_ > scan_.objects.size()) return nullptr;
        return &scan_.objects[groups_ - 1];
    }

    // The block the entity goes into: the one being defined, else the model for an entity
    // of the ENTITIES section in model space; -1: none.
    int target() const {
        if (block_ >= 0) return block_;
        const ScanObject* o = current();
        return o && o->inEntities && !attributes.isInPaperSpace() ? 0 : -1;
    }

    int layerId() {
        const std::string name = attributes.getLayer();
        const auto [it, added] =
            layers_.emplace(folded(name), static_cast<int>(drawing.layers.size()));
        if (added) drawing.layers.push_back(name);
        return it->second;
    }

    void addTo(int block, int layer, Element e) {
        if (block < 0) return;
        e.layer = layer;
        drawing.blocks[block].elements.push_back(std::move(e));
    }
    void add(Element e) { addTo(target(), layerId(), std::move(e)); }
    void addUnused() {
        Element e;
        e.kind = Element::Kind::Unused;
        add(std::move(e));
    }

    void finishOpen() {
        if (poly_) finishPolyline();
        if (spline_) finishSpline();
    }

    void finishPolyline() {
        OpenPolyline p = std::move(*poly_);
        poly_.reset();
        Element e;
        const bool mesh = !p.light && (p.flags & (16 | 64));
        const bool space = !p.light && (p.flags & 8);  // 3D: world coordinates, no bulges
        if (mesh || (!space && p.plane == Plane::Tilted) || p.points.size() < 2)
            return addTo(p.target, p.layer, e);
        e.kind = Element::Kind::Path;
        e.path.closed = p.flags & 1;
        const std::size_t n = p.points.size();
        for (std::size_t i = 0; i < n; ++i) {
            const Vertex& a = p.points[i];
            if (i + 1 == n && !e.path.closed) {
                e.path.v.push_back({a.x, a.y, 0});
                break;
            }
            const Vertex& b = p.points[(i + 1) % n];
            appendBulge(e.path.v, {a.x, a.y}, {b.x, b.y}, space ? 0 : a.r);
        }
        if (!space) mapPath(e.path, ocsMap(p.plane));
        addTo(p.target, p.layer, std::move(e));
    }

    void finishSpline() {
        OpenSpline s = std::move(*spline_);
        spline_.reset();
        if (s.target < 0) return;
        Element e;
        e.kind = Element::Kind::Spline;
        if (!s.curve.points.empty()) {
            e.spline = std::move(s.curve);
            e.spline.degree = s.degree;
            if (e.spline.knots.empty() &&
                e.spline.points.size() > static_cast<std::size_t>(s.degree)) {
                // No knots given: clamped and uniform.
                const std::size_t n = e.spline.points.size(),
                                  p = static_cast<std::size_t>(s.degree);
                for (std::size_t i = 0; i < n + p + 1; ++i)
                    e.spline.knots.push_back(static_cast<double>(std::clamp(i, p, n) - p));
            }
            if (!validNurbs(e.spline)) {
                error = kBadSpline;
                return;
            }
        } else if (s.fit.size() >= 2) {
            std::optional<Nurbs> c =
                interpolatingCubic(s.fit, s.closed, s.startTangent, s.endTangent);
            if (!c) {
                // Only a spline whose fit points all coincide has no curve and is no fault.
                const Point f = s.fit.front();
                if (!std::all_of(s.fit.begin(), s.fit.end(),
                                 [f](Point p) { return p.x == f.x && p.y == f.y; })) {
                    error = kBadSpline;
                    return;
                }
                return addTo(s.target, s.layer, Element{});
            }
            e.spline = std::move(*c);
        } else {
            return addTo(s.target, s.layer, Element{});
        }
        addTo(s.target, s.layer, std::move(e));
    }

    const DxfScan& scan_;
    std::istream& in_;
    const MemoryBuf& buf_;
    std::size_t size_;
    const Postep& postep_;
    std::size_t groups_ = 0;
    int block_ = -1;
    std::unordered_map<std::string, int> layers_{{"0", 0}};
    std::optional<OpenPolyline> poly_;
    std::optional<OpenSpline> spline_;
};

// Reverses a closed outline: the arc from vertex i to i + 1 becomes the reversed arc.
void reverse(Outline& o) {
    const std::size_t n = o.v.size();
    std::vector<Vertex> v(n);
    for (std::size_t k = 0; k < n; ++k) {
        v[k] = o.v[n - 1 - k];
        v[k].r = -o.v[(2 * n - 2 - k) % n].r;
    }
    o.v = std::move(v);
}

std::string chainMessage(const Chained& c) {
    if (c.fault == ChainFault::Branch)
        return "Obrysy przecinają się w pobliżu punktu " + point(c.a);
    if (c.ends == 2)
        return "Obrys nie jest zamknięty: wolne końce w punktach " + point(c.a) + " i " +
               point(c.b);
    return "Obrys nie jest zamknięty: wolny koniec w punkcie " + point(c.a);
}

std::string layoutMessage(const PolygonLayout& l) {
    switch (l.fault) {
        case LayoutFault::Flat:
            return "Obrys w pobliżu punktu " + point(l.at) + " ma zerowe pole";
        case LayoutFault::SelfCrossing:
            return "Obrys przecina sam siebie w pobliżu punktu " + point(l.at);
        case LayoutFault::Crossing:
            return "Obrysy przecinają się w pobliżu punktu " + point(l.at);
        case LayoutFault::None:
            break;
    }
    return {};
}

// The outlines of the drawing: read, placed, joined and checked.
DxfImport run(std::string_view text, const DxfOptions& opt) {
    DxfImport out;
    auto fail = [&out](std::string message) {
        out.outlines.clear();
        out.holes = out.ignored = 0;
        out.minX = out.minY = out.maxX = out.maxY = 0;
        out.error = std::move(message);
        return out;
    };
    auto stopped = [&]() {
        out = DxfImport{};
        out.cancelled = true;
        return out;
    };
    auto report = [&opt](const char* stage, double part) {
        return !opt.postep || opt.postep(stage, part);
    };
    if (!(opt.scale > 0) || !std::isfinite(opt.scale)) return fail("Skala musi być dodatnia");
    if (static_cast<std::int64_t>(text.size()) > kMaxFileBytes)
        return fail("Plik jest większy niż 256 MiB");
    if (!report("Wczytywanie rysunku", 0)) return stopped();

    const DxfScan scan = scanDxf(text);
    if (!scan.error.empty()) return fail(scan.error);
    const std::string_view dxf = scan.text();
    MemoryBuf buf(dxf);
    std::istream in(&buf);
    Reader reader(scan, in, buf, std::max<std::size_t>(dxf.size(), 1), opt.postep);
    {
        const auto lib = std::make_unique<DL_Dxf>();
        lib->in(in, &reader);
    }
    if (reader.cancelled) return stopped();
    const DrawingUnit unit = drawingUnit(reader.insunits);
    out.units = unit.name;
    out.unitScale = unit.mm;
    if (!reader.error.empty()) return fail(reader.error);
    const Drawing& drawing = reader.drawing;

    int layer = -1;
    if (!opt.layer.empty()) {
        layer = -2;  // a layer the drawing does not have: nothing passes
        for (std::size_t k = 0; k < drawing.layers.size(); ++k)
            if (folded(drawing.layers[k]) == folded(opt.layer)) layer = static_cast<int>(k);
    }
    if (!report("Rozmieszczanie bloków", -1)) return stopped();
    const Placed placed = placeDrawing(drawing, layer);
    if (!placed.error.empty()) return fail(placed.error);
    for (std::size_t k = 0; k < placed.layersDrawn.size(); ++k)
        if (placed.layersDrawn[k]) out.layers.push_back(drawing.layers[k]);
    std::sort(out.layers.begin(), out.layers.end());
    const std::string none =
        opt.layer.empty() ? std::string(kNoOutline)
                          : "Na warstwie „" + opt.layer + "” nie ma żadnego zamkniętego obrysu";
    if (placed.paths.empty()) return fail(none);
    const int ignored = placed.unused;

    const geometry::Box box = placedBox(placed);
    const double size = std::max(box.x1 - box.x0, box.y1 - box.y0);
    if (!std::isfinite(size) || !std::isfinite(box.x0) || !std::isfinite(box.y0) ||
        !std::isfinite(box.x1) || !std::isfinite(box.y1))
        return fail(kTooLarge);
    if (!(size > 0)) return fail(none);
    const double far =
        std::max({std::abs(box.x0), std::abs(box.y0), std::abs(box.x1), std::abs(box.y1)});
    if (far > kMaxCoordinate) return fail(kTooLarge);
    if (size < kMinSize) return fail("Rysunek jest zbyt mały");
    std::vector<Path> paths;
    if (!flatten(placed, kSagitta * size, paths))
        return fail("Rysunek zawiera zbyt wiele elementów");
    for (const Path& p : paths)
        for (const Vertex& v : p.v)
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.r))
                return fail(kTooLarge);

    if (!report("Łączenie obrysów", -1)) return stopped();
    Chained chained = chainPaths(std::move(paths), kJoin * size);
    if (chained.fault != ChainFault::None) return fail(chainMessage(chained));
    if (chained.outlines.empty()) return fail(none);

    if (!report("Sprawdzanie obrysów", -1)) return stopped();
    std::vector<std::vector<Point>> polygons;
    polygons.reserve(chained.outlines.size());
    for (const Outline& o : chained.outlines)
        polygons.push_back(geometry::polygonOf(
            o, [size](double, double) { return size; }, kTestSagitta));
    for (std::size_t k = 0; k < polygons.size(); ++k)
        if (polygons[k].empty()) {
            const Vertex& v = chained.outlines[k].v.front();
            return fail("Obrys w pobliżu punktu " + point({v.x, v.y}) + " ma zerowe pole");
        }
    const PolygonLayout layout = polygonLayout(polygons);
    if (layout.fault != LayoutFault::None) return fail(layoutMessage(layout));

    out.outlines = std::move(chained.outlines);
    out.ignored = ignored;
    for (std::size_t k = 0; k < out.outlines.size(); ++k) {
        Outline& o = out.outlines[k];
        const bool hole = layout.depth[k] % 2 == 1;
        out.holes += hole;
        if (layout.ccw[k] == hole) reverse(o);
        for (Vertex& v : o.v)
            v = {v.x * opt.scale, v.y * opt.scale, v.r * opt.scale};
        const geometry::Box b = geometry::outlineBox(o);
        if (k == 0) out.minX = b.x0, out.minY = b.y0, out.maxX = b.x1, out.maxY = b.y1;
        out.minX = std::min(out.minX, b.x0), out.minY = std::min(out.minY, b.y0);
        out.maxX = std::max(out.maxX, b.x1), out.maxY = std::max(out.maxY, b.y1);
    }
    if (!std::isfinite(out.minX) || !std::isfinite(out.minY) || !std::isfinite(out.maxX) ||
        !std::isfinite(out.maxY))
        return fail(kTooLarge);
    return out;
}

// Reads the whole of an open regular file, at most kMaxFileBytes.
bool readAll(int fd, std::string& text, bool& tooLarge) {
    char buf[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buf, sizeof buf);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        if (static_cast<std::int64_t>(text.size()) + got > kMaxFileBytes) {
            tooLarge = true;
            return false;
        }
        text.append(buf, static_cast<std::size_t>(got));
    }
}

}  // namespace

DxfImport importDxfText(std::string_view text, const DxfOptions& options) {
    try {
        return run(text, options);
    } catch (const std::bad_alloc&) {
        DxfImport out;
        out.error = "Za mało pamięci, by wczytać rysunek";
        return out;
    } catch (...) {
        DxfImport out;
        out.error = "Plik nie jest rysunkiem DXF";
        return out;
    }
}

DxfImport importDxf(const std::string& path, const DxfOptions& options) {
    DxfImport failed;
    failed.error = "Nie można otworzyć pliku";
    // Only a regular file is opened: opening a device may act on it, a named pipe may block.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return failed;
    // O_NONBLOCK: should the name lead to a pipe by now, the open does not hang either.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return failed;
    failed.error = "Plik jest większy niż 256 MiB";
    if (st.st_size > kMaxFileBytes) return failed;
    std::string text;
    bool tooLarge = false;
    try {
        text.reserve(static_cast<std::size_t>(st.st_size));
        if (!readAll(fd.get(), text, tooLarge)) {
            if (!tooLarge) failed.error = "Nie można otworzyć pliku";
            return failed;
        }
    } catch (const std::bad_alloc&) {
        failed.error = "Za mało pamięci, by wczytać rysunek";
        return failed;
    }
    fd.close();
    return importDxfText(text, options);
}

}  // namespace io
