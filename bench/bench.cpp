// Times the computation on unit squares of two and four triangles per cell and on a fan of
// 20 000 triangles round one node; reports the Cholesky factor (millions of entries of L and
// the megabytes its blocks take), the peak memory and where the time went. Each mesh runs in a
// child process so that its peak resident size is its own. Argument: the largest number of cells
// along a side (default 400; 1000 adds the largest squares).

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "mesh/rectangle.h"
#include "mesh/ring.h"
#include "solver/driver.h"

namespace {

struct Figures {
    double seconds = 0;
    double cpu_seconds = 0;
    double factor_entries = 0;
    std::size_t factor_bytes = 0;
    SolverTimes times;
    int nn = 0;
    int ne = 0;
    long rss_before_kb = 0;
    double J = 0;
    bool ok = false;
};

long currentRssKb() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Processor time of this process: on a shared machine it says more than the wall clock.
double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

// cells = 0: the fan.
Figures run(int cells, bool p4) {
    Figures r;
    Model m;
    newProject(m);
    if (cells > 0) {
        RectanglePatch p;
        p.dx = p.dy = 1.0;
        p.ix = p.iy = cells;
        p.p4 = p4;
        if (!appendRectangle(m, p).ok()) return r;
    } else {
        RingPatch p;
        p.rz = 1.0;
        p.ix = 1;
        p.iy = 20000;
        p.kk = 360.0;
        if (!appendRing(m, p).ok()) return r;
    }
    r.rss_before_kb = currentRssKb();
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = cpuSeconds();
    const ComputeOutcome out = Obliczenia(m);
    r.cpu_seconds = cpuSeconds() - c0;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.ok = out.ok();
    r.J = out.J;
    r.factor_entries = out.factor_entries;
    r.factor_bytes = out.factor_bytes;
    r.times = out.times;
    r.nn = m.nn;
    r.ne = m.ne;
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    int largest = 400;
    if (argc > 1) largest = std::atoi(argv[1]);
    std::printf("%-6s %-4s %8s %8s %9s %8s %8s %10s %10s %10s %6s %12s   %s\n", "cells", "tri",
                "nn", "ne", "L[M]", "wall[s]", "cpu[s]", "factor[MB]", "before[MB]", "peak[MB]",
                "peak/f", "J", "ordering assembly factorisation solves smoothing [s]");
    struct Mesh {
        int cells;
        bool p4;
    };
    const Mesh meshes[] = {{50, false},   {50, true},   {100, false}, {100, true},
                           {200, false},  {200, true},  {400, false}, {400, true},
                           {1000, false}, {1000, true}, {0, false}};
    for (const Mesh& mesh : meshes) {
        if (mesh.cells > largest) continue;
        int fd[2];
        if (pipe(fd) != 0) return 1;
        const pid_t pid = fork();
        if (pid < 0) return 1;
        if (pid == 0) {
            close(fd[0]);
            const Figures f = run(mesh.cells, mesh.p4);
            if (write(fd[1], &f, sizeof f) != static_cast<ssize_t>(sizeof f)) _exit(2);
            _exit(0);
        }
        close(fd[1]);
        Figures f;
        const bool got = read(fd[0], &f, sizeof f) == static_cast<ssize_t>(sizeof f);
        close(fd[0]);
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        char name[16], tri[8];
        std::snprintf(name, sizeof name, "%d", mesh.cells);
        std::snprintf(tri, sizeof tri, "%d", mesh.p4 ? 4 : 2);
        if (mesh.cells == 0) {
            std::snprintf(name, sizeof name, "fan");
            std::snprintf(tri, sizeof tri, "-");
        }
        if (!got || !f.ok) {
            std::printf("%-6s %-4s failed\n", name, tri);
            continue;
        }
        const double factor_mb = static_cast<double>(f.factor_bytes) / (1 << 20);
        const double peak_mb = usage.ru_maxrss / 1024.0;
        const SolverTimes& t = f.times;
        std::printf(
            "%-6s %-4s %8d %8d %9.2f %8.3f %8.3f %10.1f %10.1f %10.1f %6.2f %12.9f   %.3f %.3f "
            "%.3f %.3f %.3f\n",
            name, tri, f.nn, f.ne, f.factor_entries / 1e6, f.seconds, f.cpu_seconds, factor_mb,
            f.rss_before_kb / 1024.0, peak_mb, peak_mb / factor_mb, f.J, t.ordering, t.assembly,
            t.factorisation, t.solves, t.smoothing);
        std::fflush(stdout);
    }
    return 0;
}
