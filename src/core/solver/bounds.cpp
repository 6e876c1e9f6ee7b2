#include "solver/bounds.h"

#include <cmath>
#include <new>

#include "solver/assembly.h"
#include "solver/boundary.h"
#include "solver/quadratic_element.h"
#include "solver/quadratic_stress.h"
#include "solver/warping.h"

namespace {

constexpr const char* kNoProject = "Błąd obliczeń - projekt nie istnieje";
constexpr const char* kNoElements = "Niezdefiniowano podpór,węzłów lub elementów";
constexpr const char* kNotComputed = "Nie obliczono przedziału J: ";
constexpr const char* kCancelled = "Przerwano obliczanie przedziału J";

SectionBounds refused(BoundsStatus status, const char* message) {
    SectionBounds r;
    r.status = status;
    r.message = message;
    return r;
}

SectionBounds failed(BoundsStatus status, const std::string& why) {
    return refused(status,
                   status == BoundsStatus::Cancelled ? kCancelled : (kNotComputed + why).c_str());
}

SectionBounds factorFailed(FactorStatus f) {
    if (f == FactorStatus::NotPositiveDefinite)
        return failed(BoundsStatus::Unheld, "część siatki nie jest związana z żadnym konturem");
    return failed(BoundsStatus::OutOfMemory, "brak pamięci");
}

SectionBounds compute(const Model& m, const Postep& postep) {
    SectionBounds r;
    Stopwatch clock;
    const auto go_on = [&postep](const char* stage, double done) {
        return !postep || postep(stage, done);
    };
    if (!go_on("Siatka elementów kwadratowych", 0)) return failed(BoundsStatus::Cancelled, "");
    const QuadraticMesh q = quadraticMesh(m);
    const std::vector<BoundaryEdge> edges = boundaryEdges(m);
    const Contours c = findContours(m, edges);
    if (c.unheld) return factorFailed(FactorStatus::NotPositiveDefinite);
    const std::vector<int> contour = quadraticContours(q, c, edges);
    SectionProperties p = areaProperties(m);
    clock.lap(r.times.assembly);

    // The warping function has the larger system: solved first, its memory serves both.
    QuadraticWork work;
    if (!go_on("Funkcja deplanacji", 0.1)) return failed(BoundsStatus::Cancelled, "");
    const WarpingFunction omega = solveWarping(m, q, p.xc, p.yc, p.Ix + p.Iy, work, r.times);
    if (omega.status != FactorStatus::Ok) return factorFailed(omega.status);
    if (!go_on("Funkcja naprężeń", 0.5)) return failed(BoundsStatus::Cancelled, "");
    const QuadraticStress phi = solveQuadraticStress(m, q, c, contour, work, r.times);
    if (phi.status != FactorStatus::Ok) return factorFailed(phi.status);
    work = QuadraticWork();

    if (!go_on("Właściwości przekroju", 0.9)) return failed(BoundsStatus::Cancelled, "");
    clock.restart();
    BracketEnergies b = bracketEnergies(m, q, phi.phi, phi.C, c, omega.omega, p.xc, p.yc);
    addWarpingProperties(m, q, omega.omega, p);
    clock.lap(r.times.smoothing);
    const double values[] = {b.lower, b.upper, p.A,  p.xc,   p.yc, p.Ix, p.Iy,
                             p.Ixy,   p.I1,    p.I2, p.alfa, p.xs, p.ys, p.Iw};
    for (double v : values)
        if (!std::isfinite(v))
            return failed(BoundsStatus::Degenerate, "wynik nie jest liczbą skończoną");
    // On a plane mesh the indicators sum to the gap whatever the fields; folded or overlapping
    // elements break the sum, and with it the bounds.
    double gap = 0;
    for (double e : b.eta2)
        gap += e;
    if (!(std::fabs(gap - (b.upper - b.lower)) <= 1e-8 * std::fabs(b.upper)))
        return failed(BoundsStatus::Degenerate, "elementy siatki zachodzą na siebie");
    r.J_dolne = b.lower;
    r.J_gorne = b.upper;
    r.eta2 = std::move(b.eta2);
    r.properties = p;
    r.holes = c.holes();
    r.unknowns = phi.equations + omega.equations;
    r.iterations = phi.iterations + omega.iterations;
    r.factored = phi.direct || omega.direct;
    go_on("Właściwości przekroju", 1);
    return r;
}

}  // namespace

BracketEnergies bracketEnergies(const Model& m, const QuadraticMesh& q,
                                const std::vector<double>& phi, const std::vector<double>& C,
                                const Contours& c, const std::vector<double>& omega, double ox,
                                double oy) {
    BracketEnergies r;
    r.eta2.assign(m.ne, 0.0);
    double integral = 0, gradient = 0;
    for (int e = 1; e <= m.ne; ++e) {
        const QuadraticTriangle t = quadraticTriangle(m, e, ox, oy);
        double u[6], w[6];
        for (int l = 0; l < 6; ++l) {
            u[l] = phi[q.element[e - 1][l]];
            w[l] = omega[q.element[e - 1][l]];
        }
        // ∫N is 0 for a corner and area/3 for a midpoint.
        integral += t.area / 3 * (u[3] + u[4] + u[5]);
        double upper = 0, eta = 0;
        for (const QuadraturePoint& qp : kDegree2) {
            double g[2][6], px, py, wx, wy;
            shapeGradients(t, qp.l, g);
            fieldGradient(g, u, px, py);
            fieldGradient(g, w, wx, wy);
            const double a = qp.w * t.area;
            // ∇ω − g with g = (y, −x), and its difference from rot φ = (φy, −φx).
            const double sx = wx - t.pointY(qp.l), sy = wy + t.pointX(qp.l);
            gradient += a * (px * px + py * py);
            upper += a * (sx * sx + sy * sy);
            eta += a * ((sx - py) * (sx - py) + (sy + px) * (sy + px));
        }
        r.upper += upper;
        r.eta2[e - 1] = eta;
    }
    for (int k = 0; k < c.holes(); ++k)
        integral += C[k] * c.area[k];
    r.lower = 4 * integral - gradient;
    return r;
}

SectionBounds computeBounds(const Model& m, const Postep& postep) {
    if (m.Pusty == 1) return refused(BoundsStatus::NoProject, kNoProject);
    if (m.ne <= 0 || m.nn <= 2) return refused(BoundsStatus::NoElements, kNoElements);
    if (!modelConsistent(m) || m.x.rows() < m.nn)
        return failed(BoundsStatus::Degenerate, "model jest niespójny");
    for (int e = 1; e <= m.ne; ++e) {
        const double detj = elementGeometry(m, e).detj;
        if (!std::isfinite(detj))
            return failed(BoundsStatus::Degenerate, "wynik nie jest liczbą skończoną");
        if (detj == 0.0)
            return failed(BoundsStatus::Degenerate,
                          "element " + std::to_string(e) + " ma zerowe pole");
    }
    try {
        return compute(m, postep);
    } catch (const std::bad_alloc&) {
        return failed(BoundsStatus::OutOfMemory, "brak pamięci");
    }
}
