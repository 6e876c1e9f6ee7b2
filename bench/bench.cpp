// Times the computation on rectangle patches and reports the band width and the peak memory.
// Each size runs in a child process so that its peak resident size is its own.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "mesh/rectangle.h"
#include "solver/driver.h"

namespace {

struct Figures {
    double seconds = 0;
    double cpu_seconds = 0;
    int nbw = 0;
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

Figures run(int cells, bool p4) {
    Figures r;
    Model m;
    newProject(m);
    RectanglePatch p;
    p.dx = p.dy = 1.0;
    p.ix = p.iy = cells;
    p.p4 = p4;
    if (!appendRectangle(m, p).ok()) return r;
    r.rss_before_kb = currentRssKb();
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = cpuSeconds();
    const ComputeOutcome out = Obliczenia(m);
    r.cpu_seconds = cpuSeconds() - c0;
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.ok = out.ok();
    r.J = out.J;
    r.nbw = m.nbw;
    r.nn = m.nn;
    r.ne = m.ne;
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    int largest = 400;
    if (argc > 1) largest = std::atoi(argv[1]);
    std::printf("%-6s %-4s %8s %8s %6s %9s %9s %10s %10s %10s %6s %12s\n", "cells", "tri", "nn",
                "ne", "nbw", "wall[s]", "cpu[s]", "band[MB]", "before[MB]", "peak[MB]", "peak/b",
                "J");
    for (int cells : {50, 100, 200, 400}) {
        if (cells > largest) break;
        for (bool p4 : {false, true}) {
            int fd[2];
            if (pipe(fd) != 0) return 1;
            const pid_t pid = fork();
            if (pid < 0) return 1;
            if (pid == 0) {
                close(fd[0]);
                const Figures f = run(cells, p4);
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
            if (!got || !f.ok) {
                std::printf("%-6d %-4d failed\n", cells, p4 ? 4 : 2);
                continue;
            }
            const double band_mb = double(f.nn) * f.nbw * sizeof(double) / (1 << 20);
            const double peak_mb = usage.ru_maxrss / 1024.0;
            std::printf("%-6d %-4d %8d %8d %6d %9.3f %9.3f %10.1f %10.1f %10.1f %6.2f %12.9f\n",
                        cells, p4 ? 4 : 2, f.nn, f.ne, f.nbw, f.seconds, f.cpu_seconds, band_mb,
                        f.rss_before_kb / 1024.0, peak_mb, peak_mb / band_mb, f.J);
            std::fflush(stdout);
        }
    }
    return 0;
}
