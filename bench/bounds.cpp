// Times the bracket of J (quadratic elements, both problems, section properties) against the
// plain linear computation on the same mesh: unit squares of two and four triangles per cell
// and the example sections meshed by the program. Each computation runs in a child process of
// its own, five times; the least times are printed. Argument: the largest number of cells along
// the square's side (default 400).

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "geometry/section_file.h"
#include "mesh/rectangle.h"
#include "mesh/section_mesh.h"
#include "solver/bounds.h"
#include "solver/driver.h"

namespace {

struct Figures {
    double wall = 0, cpu = 0;
    double J = 0, lower = 0, upper = 0;
    int nn = 0, ne = 0, unknowns = 0, iterations = 0;
    bool ok = false;
};

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

// cells > 0: the unit square; else the example section file `file`.
bool build(Model& m, int cells, bool p4, const char* file) {
    newProject(m);
    if (cells > 0) {
        RectanglePatch p;
        p.dx = p.dy = 1.0;
        p.ix = p.iy = cells;
        p.p4 = p4;
        return appendRectangle(m, p).ok();
    }
    const geometry::SectionRead s =
        geometry::readSectionFile(std::string(WIRTOR_EXAMPLES) + "/" + file);
    return s.ok() && meshSection(s.section, m).ok();
}

Figures run(int cells, bool p4, const char* file, bool bracket) {
    Figures f;
    Model m;
    if (!build(m, cells, p4, file)) return f;
    f.nn = m.nn;
    f.ne = m.ne;
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = cpuSeconds();
    if (bracket) {
        const SectionBounds b = computeBounds(m);
        f.ok = b.ok();
        f.lower = b.J_dolne;
        f.upper = b.J_gorne;
        f.unknowns = b.unknowns;
        f.iterations = b.iterations;
    } else {
        const ComputeOutcome out = Obliczenia(m);
        f.ok = out.ok();
        f.J = out.J;
    }
    f.cpu = cpuSeconds() - c0;
    f.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return f;
}

Figures inChild(int cells, bool p4, const char* file, bool bracket) {
    Figures f;
    int fd[2];
    if (pipe(fd) != 0) return f;
    const pid_t pid = fork();
    if (pid < 0) return f;
    if (pid == 0) {
        close(fd[0]);
        const Figures r = run(cells, p4, file, bracket);
        if (write(fd[1], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) _exit(2);
        _exit(0);
    }
    close(fd[1]);
    if (read(fd[0], &f, sizeof f) != static_cast<ssize_t>(sizeof f)) f.ok = false;
    close(fd[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return f;
}

// The best of five runs, wall and cpu time each their own: on a shared machine the least
// disturbed run says most.
Figures best(int cells, bool p4, const char* file, bool bracket) {
    Figures m = inChild(cells, p4, file, bracket);
    for (int k = 1; k < 5; ++k) {
        const Figures f = inChild(cells, p4, file, bracket);
        m.ok = m.ok && f.ok;
        m.wall = std::min(m.wall, f.wall);
        m.cpu = std::min(m.cpu, f.cpu);
    }
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    int largest = 400;
    if (argc > 1) largest = std::atoi(argv[1]);
    std::printf("%-22s %8s %8s %8s %5s %9s %9s %9s %9s %6s %6s %14s %14s %14s %9s\n", "mesh", "nn",
                "ne", "unknowns", "iter", "lin[s]", "lin cpu", "brk[s]", "brk cpu", "ratio", "cpu",
                "J", "J_dolne", "J_gorne", "width");
    struct Case {
        int cells;
        bool p4;
        const char* file;
    };
    const Case cases[] = {{100, false, nullptr},
                          {200, false, nullptr},
                          {200, true, nullptr},
                          {400, true, nullptr},
                          {0, false, "katownik_L100x10.wts"},
                          {0, false, "dwuteownik_IPE200.wts"},
                          {0, false, "ceownik_UPE200.wts"},
                          {0, false, "rura_prostokatna_RHS120x80x5.wts"},
                          {0, false, "obrys_z_otworem.wts"}};
    for (const Case& c : cases) {
        if (c.cells > largest) continue;
        char name[64];
        if (c.file)
            std::snprintf(name, sizeof name, "%.22s", c.file);
        else
            std::snprintf(name, sizeof name, "square %d² %s", c.cells, c.p4 ? "4" : "2");
        const Figures lin = best(c.cells, c.p4, c.file, false);
        const Figures brk = best(c.cells, c.p4, c.file, true);
        if (!lin.ok || !brk.ok) {
            std::printf("%-22s failed\n", name);
            continue;
        }
        std::printf(
            "%-22s %8d %8d %8d %5d %9.3f %9.3f %9.3f %9.3f %6.2f %6.2f %14.9g %14.9g %14.9g "
            "%9.2e\n",
            name, lin.nn, lin.ne, brk.unknowns, brk.iterations, lin.wall, lin.cpu, brk.wall,
            brk.cpu, brk.wall / lin.wall, brk.cpu / lin.cpu, lin.J, brk.lower, brk.upper,
            (brk.upper - brk.lower) / brk.lower);
        std::fflush(stdout);
    }
    return 0;
}
