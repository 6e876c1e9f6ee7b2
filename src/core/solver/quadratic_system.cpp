#include "solver/quadratic_system.h"

#include <algorithm>
#include <future>
#include <system_error>

#include "solver/assembly.h"
#include "solver/large_arrays.h"

SymmetricMatrix equationPattern(const EquationMap& eq, int equations, int width) {
    // Rows above the diagonal of each column: counted, filled, sorted and made unique.
    const std::size_t elements = eq.size() / width;
    const auto pairs = [&](auto&& visit) {
        for (std::size_t e = 0; e < elements; ++e) {
            const int* p = &eq[width * e];
            for (int l = 0; l < width; ++l)
                for (int c = 0; c < width; ++c)
                    if (p[l] >= 0 && p[l] < p[c]) visit(p[l], p[c]);
        }
    };
    std::vector<std::int64_t> raw_start(equations + 1, 0);
    pairs([&](int, int j) { ++raw_start[j + 1]; });
    for (int j = 0; j < equations; ++j)
        raw_start[j + 1] += raw_start[j];
    std::vector<int> raw(raw_start[equations]);
    {
        std::vector<std::int64_t> fill(raw_start.begin(), raw_start.end() - 1);
        pairs([&](int i, int j) { raw[fill[j]++] = i; });
    }
    SymmetricMatrix a;
    a.n = equations;
    a.start.assign(equations + 1, 0);
    for (int j = 0; j < equations; ++j) {
        const auto b = raw.begin() + raw_start[j], en = raw.begin() + raw_start[j + 1];
        std::sort(b, en);
        a.start[j + 1] = a.start[j] + (std::unique(b, en) - b) + 1;
    }
    a.row.resize(a.start[equations]);
    for (int j = 0; j < equations; ++j) {
        const std::int64_t unique = a.start[j + 1] - a.start[j] - 1;
        std::copy_n(raw.begin() + raw_start[j], unique, a.row.begin() + a.start[j]);
        a.row[a.start[j + 1] - 1] = j;
    }
    a.value.assign(a.start[equations], 0.0);
    return a;
}

void quadraticPattern(const EquationMap& eq, int equations, UpperMatrix& a,
                      std::vector<std::int64_t>& offsets, std::vector<int>& scratch) {
    const std::size_t elements = eq.size() / 6;
    const auto distinct = [&eq](std::size_t e, int l) {
        const int* p = &eq[6 * e];
        if (p[l] < 0) return false;
        for (int k = 0; k < l; ++k)
            if (p[k] == p[l]) return false;
        return true;
    };
    // The elements of each equation: counted two places on, so that filling through the
    // counts of the place before leaves offsets[j] at the start of the list of j.
    assignLarge(offsets, static_cast<std::size_t>(equations) + 2, std::int64_t{0});
    for (std::size_t e = 0; e < elements; ++e)
        for (int l = 0; l < 6; ++l)
            if (distinct(e, l)) ++offsets[eq[6 * e + l] + 2];
    for (int j = 0; j < equations; ++j)
        offsets[j + 2] += offsets[j + 1];
    const std::size_t listed = static_cast<std::size_t>(offsets[equations + 1]);
    const std::size_t n = static_cast<std::size_t>(std::max(equations, 0));
    assignLarge(scratch, listed + n, 0);
    int* list = scratch.data();
    int* mark = list + listed;  // the column that last met each equation
    for (std::size_t e = 0; e < elements; ++e)
        for (int l = 0; l < 6; ++l)
            if (distinct(e, l)) list[offsets[eq[6 * e + l] + 1]++] = static_cast<int>(e);

    // Rows above the diagonal of column j: the lower equations of its elements.
    const auto rows = [&](int j, auto&& add) {
        for (std::int64_t k = offsets[j]; k < offsets[j + 1]; ++k) {
            const int* p = &eq[6 * static_cast<std::size_t>(list[k])];
            for (int l = 0; l < 6; ++l)
                if (p[l] >= 0 && p[l] < j && mark[p[l]] != j) {
                    mark[p[l]] = j;
                    add(p[l]);
                }
        }
    };
    a.n = equations;
    assignLarge(a.start, n + 1, std::int64_t{0});
    std::fill_n(mark, n, -1);
    for (int j = 0; j < equations; ++j) {
        std::int64_t count = 1;
        rows(j, [&count](int) { ++count; });
        a.start[j + 1] = a.start[j] + count;
    }
    assignLarge(a.row, static_cast<std::size_t>(a.start[equations]), 0);
    std::fill_n(mark, n, -1);
    for (int j = 0; j < equations; ++j) {
        int* out = &a.row[a.start[j]];
        int* o = out;
        rows(j, [&o](int i) { *o++ = i; });
        std::sort(out, o);
        *o = j;
    }
    assignLarge(a.value, static_cast<std::size_t>(a.start[equations]), 0.0);
}

QuadraticSolution solveQuadratic(const Model& m, const QuadraticMesh& q, const QuadraticSystem& s,
                                 double ox, double oy, const ElementLoad& load,
                                 const std::vector<double>& extra,
                                 const std::function<double(double)>& energy, double tolerance,
                                 QuadraticWork& w, SolverTimes& t) {
    Stopwatch clock;
    QuadraticSolution r;
    const int ne = m.ne;
    assignLarge(w.fine, 6 * static_cast<std::size_t>(ne), 0);
    assignLarge(w.coarse, 3 * static_cast<std::size_t>(ne), 0);
    for (int e = 0; e < ne; ++e) {
        for (int l = 0; l < 6; ++l)
            w.fine[6 * e + l] = s.node_eq[q.element[e][l]];
        for (int l = 0; l < 3; ++l)
            w.coarse[3 * e + l] = s.vertex_eq[q.element[e][l]];
    }
    SymmetricMatrix c = equationPattern(w.coarse, s.coarse_equations, 3);
    clock.lap(t.assembly);

    // The coarse ordering runs beside the assembly.
    SparseCholesky chol;
    double ordering_time = 0;
    const auto analyze = [&chol, &c, &ordering_time] {
        Stopwatch own;
        const FactorStatus status = c.n > 0 ? chol.analyze(c) : FactorStatus::Ok;
        own.lap(ordering_time);
        return status;
    };
    std::future<FactorStatus> analyzed;
    try {
        analyzed = std::async(std::launch::async, analyze);
    } catch (const std::system_error&) {
        analyzed = std::async(std::launch::deferred, analyze);
    }

    UpperMatrix& a = w.a;
    quadraticPattern(w.fine, s.equations, a, w.offsets, w.scratch);
    std::vector<double>& b = w.b;
    assignLarge(b, static_cast<std::size_t>(s.equations), 0.0);
    for (std::size_t i = 0; i < extra.size(); ++i)
        b[i] += extra[i];
    for (int e = 1; e <= ne; ++e) {
        const QuadraticTriangle tri = quadraticTriangle(m, e, ox, oy);
        double k[6][6], f[6];
        quadraticStiffness(tri, k);
        const int* pf = &w.fine[6 * (e - 1)];
        for (int l = 0; l < 6; ++l)
            for (int j = 0; j < 6; ++j)
                if (pf[l] >= 0 && pf[j] >= pf[l]) a.at(pf[l], pf[j]) += k[l][j];
        load(e, tri, f);
        for (int l = 0; l < 6; ++l)
            if (pf[l] >= 0) b[pf[l]] += f[l];
        const ElementGeometry g = elementGeometry(m, e);
        double k1[3][3];
        elementStiffness(g, k1);
        const int* pc = &w.coarse[3 * (e - 1)];
        for (int l = 0; l < 3; ++l)
            for (int j = 0; j < 3; ++j)
                if (pc[l] >= 0 && pc[j] >= pc[l]) c.at(pc[l], pc[j]) += k1[l][j];
    }
    // A corner is its own coarse value, a midpoint the mean of its edge's ends; a hole's
    // equation is reached from any of its nodes alike.
    Prolongation p;
    assignLarge(p.coarse, 2 * static_cast<std::size_t>(s.equations), -1);
    for (int v = q.nodes() - 1; v >= 0; --v) {
        const int i = s.node_eq[v];
        if (i < 0) continue;
        if (v < q.vertices) {
            p.coarse[2 * i] = s.vertex_eq[v];
            p.coarse[2 * i + 1] = Prolongation::kCorner;
        } else {
            p.coarse[2 * i] = s.vertex_eq[q.edge[v - q.vertices][0] - 1];
            p.coarse[2 * i + 1] = s.vertex_eq[q.edge[v - q.vertices][1] - 1];
        }
    }
    clock.lap(t.assembly);
    FactorStatus f = analyzed.get();
    t.ordering += ordering_time;
    clock.restart();
    if (f == FactorStatus::Ok && c.n > 0) f = chol.factor(c);
    clock.lap(t.factorisation);
    if (f == FactorStatus::OutOfMemory) {
        r.status = f;
        return r;
    }
    if (f == FactorStatus::Ok) {
        const CgOutcome cg =
            twoLevelCg(a, b, r.x, p, c.n > 0 ? &chol : nullptr, c.n, energy, tolerance, 100, w.cg);
        r.iterations = cg.iterations;
        clock.lap(t.solves);
        if (cg.converged) return r;
    }
    chol.release();
    c = SymmetricMatrix();

    // The iteration stalled (or the coarse matrix would not factor): the whole system, factored.
    r.direct = true;
    SymmetricMatrix whole;
    whole.n = a.n;
    whole.start = a.start;
    whole.row.assign(a.row.begin(), a.row.end());
    whole.value = a.value;
    SparseCholesky direct;
    f = direct.analyze(whole);
    clock.lap(t.ordering);
    if (f == FactorStatus::Ok) f = direct.factor(whole);
    clock.lap(t.factorisation);
    r.x = b;
    if (f == FactorStatus::Ok) f = direct.solve(r.x.data(), 1);
    clock.lap(t.solves);
    r.status = f;
    return r;
}
