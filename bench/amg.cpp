// The factor against multigrid: computes unit squares of two triangles per cell and boxes with
// round holes by each method in turn, each run in a child process so that its peak resident
// size is its own, and prints them side by side with the ratio of the times. Arguments: the
// largest number of cells along a side (default 700; 1000 adds the largest square) and
// optionally "holes" to run only the boxes with holes.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "geometry/section.h"
#include "mesh/rectangle.h"
#include "mesh/section_mesh.h"
#include "solver/driver.h"

namespace {

struct Figures {
    double seconds = 0;
    SolverTimes times;
    int nn = 0;
    int holes = 0;
    int iterations = 0;
    bool fallback = false;
    double J = 0;
    bool ok = false;
};

struct Mesh {
    int cells = 0;  ///< cells a side of the unit square, or 0: the box with holes
    int holes = 0;
    double size = 0;  ///< element size of the box with holes
};

bool build(const Mesh& mesh, Model& m) {
    newProject(m);
    if (mesh.cells > 0) {
        RectanglePatch p;
        p.dx = p.dy = 1.0;
        p.ix = p.iy = mesh.cells;
        return appendRectangle(m, p).ok();
    }
    // A 4 × 1 box with a row of round holes, or as many rows as it takes.
    geometry::Section s;
    geometry::Shape box;
    box.outline = {{{0, 0}, {4, 0}, {4, 1}, {0, 1}}};
    s.shapes = {box};
    const int rows = mesh.holes > 16 ? 2 : 1, per_row = (mesh.holes + rows - 1) / rows;
    for (int k = 0; k < mesh.holes; ++k) {
        geometry::Shape c;
        c.kind = geometry::Shape::Kind::Okrag;
        c.otwor = true;
        const int row = k / per_row, col = k % per_row;
        c.circle = {4.0 * (col + 0.5) / per_row, (row + 0.5) / rows, 0.3 / per_row};
        s.shapes.push_back(c);
    }
    s.siatka = mesh.size;
    return meshSection(s, m).ok();
}

Figures run(const Mesh& mesh, SolverMethod method) {
    Figures r;
    Model m;
    if (!build(mesh, m)) return r;
    ComputeOptions o;
    o.method = method;
    const auto t0 = std::chrono::steady_clock::now();
    const ComputeOutcome out = Obliczenia(m, o);
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.ok = out.ok();
    r.J = out.J;
    r.times = out.times;
    r.nn = m.nn;
    r.holes = out.holes;
    r.iterations = out.iterations;
    r.fallback = out.fallback;
    return r;
}

// Runs in a child; false when it failed. peak_mb: the child's peak resident size.
bool runApart(const Mesh& mesh, SolverMethod method, Figures& f, double& peak_mb) {
    int fd[2];
    if (pipe(fd) != 0) return false;
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        close(fd[0]);
        const Figures got = run(mesh, method);
        if (write(fd[1], &got, sizeof got) != static_cast<ssize_t>(sizeof got)) _exit(2);
        _exit(0);
    }
    close(fd[1]);
    const bool got = read(fd[0], &f, sizeof f) == static_cast<ssize_t>(sizeof f);
    close(fd[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    peak_mb = usage.ru_maxrss / 1024.0;
    return got && f.ok;
}

}  // namespace

int main(int argc, char** argv) {
    const int largest = argc > 1 ? std::atoi(argv[1]) : 700;
    const bool only_holes = argc > 2 && std::strcmp(argv[2], "holes") == 0;
    std::printf("%-12s %8s %5s | %8s %8s %7s %7s | %8s %8s %7s %7s %4s | %6s %9s\n", "mesh", "nn",
                "holes", "chol[s]", "peak[MB]", "fact", "solve", "amg[s]", "peak[MB]", "setup",
                "pcg", "it", "ratio", "dJ/J");
    std::vector<Mesh> meshes;
    if (!only_holes)
        for (int cells : {50, 100, 150, 200, 250, 300, 400, 700, 1000})
            if (cells <= largest) meshes.push_back({cells, 0, 0});
    for (int holes : {0, 2, 4, 8, 12, 16, 24, 32})
        meshes.push_back({0, holes, 0.006});
    for (const Mesh& mesh : meshes) {
        Figures c, a;
        double cpeak = 0, apeak = 0;
        char name[32];
        if (mesh.cells > 0)
            std::snprintf(name, sizeof name, "square %d", mesh.cells);
        else
            std::snprintf(name, sizeof name, "box h=%g", mesh.size);
        if (!runApart(mesh, SolverMethod::Cholesky, c, cpeak) ||
            !runApart(mesh, SolverMethod::Amg, a, apeak)) {
            std::printf("%-12s failed\n", name);
            continue;
        }
        std::printf(
            "%-12s %8d %5d | %8.3f %8.1f %7.3f %7.3f | %8.3f %8.1f %7.3f %7.3f %4d%s | %6.2f "
            "%9.1e\n",
            name, c.nn, c.holes, c.seconds, cpeak, c.times.ordering + c.times.factorisation,
            c.times.solves, a.seconds, apeak, a.times.factorisation, a.times.solves, a.iterations,
            a.fallback ? "!" : "", a.seconds / c.seconds, (a.J - c.J) / c.J);
        std::fflush(stdout);
    }
    return 0;
}
