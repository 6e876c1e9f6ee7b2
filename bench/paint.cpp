// Times the picture (processor time, best of five): a full paint of square patches with the tau map
// at 200 levels and the default switches into 1280 x 1024 (also zoomed in 10 notches, and with the
// map off), and the copy of a finished picture that a repaint nothing caused costs. Then the large
// meshes (1000 x 1000 and 1000 x 2000 cells, two triangles each: 2 and 4 million elements) with a
// smooth stress field filled in instead of a solve: the first picture after the model is made,
// then the best of three, fitted and zoomed. Runs without a display. Arguments: the largest number
// of cells along a side of the solved patches (default 200), then "large" to add the large ones.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "mesh/rectangle.h"
#include "solver/driver.h"
#include "view/paint_model.h"

namespace {

double since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Processor time of this process: on a shared machine it says more than the wall clock.
double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

/// Best of `runs` processor times of f, in milliseconds.
template <class F>
double best(int runs, F&& f) {
    double b = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double t0 = cpuSeconds();
        f();
        b = std::min(b, (cpuSeconds() - t0) * 1e3);
    }
    return b;
}

QImage renderPicture(QSize size, const Model& m, const ViewOptions& o, ViewMapping map) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    paintModel(p, size, m, o, map);
    return img;
}

/// Stresses of the square's Prandtl-like function phi = x(1-x) y(1-y) over the unit square,
/// written as results: a smooth field with the peak at mid-sides, as a solve would leave it.
void fillSmoothStresses(Model& m) {
    auto tau = [](float x, float y, float* t) {
        t[1] = x * (1 - x) * (1 - 2 * y);
        t[2] = -(1 - 2 * x) * y * (1 - y);
        t[3] = std::hypot(t[1], t[2]);
    };
    for (int n = 1; n <= m.nn; ++n)
        tau(m.x[n][1], m.x[n][2], m.ww[n]);
    for (int e = 1; e <= m.ne; ++e) {
        float cx = 0, cy = 0;
        for (int k = 1; k <= 3; ++k) {
            cx += m.x[m.noc[e][k]][1] / 3;
            cy += m.x[m.noc[e][k]][2] / 3;
        }
        tau(cx, cy, m.napr[e]);
    }
    m.obliczono = 1;
}

void largeMeshes(QSize size) {
    std::printf("\n%-10s %8s %8s %12s %12s %10s %10s %10s\n", "cells", "nn", "ne", "first[ms]",
                "first-cpu", "map[ms]", "zoom[ms]", "nomap[ms]");
    for (int rows : {1000, 2000}) {
        Model m;
        newProject(m);
        RectanglePatch p;
        p.dx = 1.0;
        p.dy = rows / 1000.0;
        p.ix = 1000;
        p.iy = rows;
        if (!appendRectangle(m, p).ok()) return;
        fillSmoothStresses(m);
        ViewOptions o;  // default switches: edges, node marks, node numbers
        o.p_napr = 1;
        const ViewMapping fitted;
        const auto w0 = std::chrono::steady_clock::now();
        const double c0 = cpuSeconds();
        QImage picture = renderPicture(size, m, o, fitted);
        const double first = since(w0) * 1e3, firstCpu = (cpuSeconds() - c0) * 1e3;
        const double map = best(3, [&] { picture = renderPicture(size, m, o, fitted); });
        ViewMapping zoomed;
        zoomed.fit(m, static_cast<float>(size.width()), static_cast<float>(size.height()));
        zoomed.zoomAt(200.0f, 900.0f, 17);
        const double zoom = best(3, [&] { renderPicture(size, m, o, zoomed); });
        ViewOptions plain = o;
        plain.p_napr = 0;
        const double nomap = best(3, [&] { renderPicture(size, m, plain, fitted); });
        std::printf("%-10s %8d %8d %12.1f %12.1f %10.1f %10.1f %10.1f\n",
                    (std::to_string(p.ix) + "x" + std::to_string(p.iy)).c_str(), m.nn, m.ne, first,
                    firstCpu, map, zoom, nomap);
        std::fflush(stdout);
        releaseModel(m);
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int largest = argc > 1 ? std::atoi(argv[1]) : 200;
    const QSize size(1280, 1024);
    std::printf("%-6s %8s %8s %10s %10s %10s %10s %10s %10s\n", "cells", "nn", "ne", "solve[ms]",
                "map[ms]", "zoom[ms]", "nomap[ms]", "3lev[ms]", "copy[ms]");
    for (int cells : {50, 100, 200, 400}) {
        if (cells > largest) continue;
        Model m;
        newProject(m);
        RectanglePatch p;
        p.dx = p.dy = 1.0;
        p.ix = p.iy = cells;
        if (!appendRectangle(m, p).ok()) return 1;
        const auto t0 = std::chrono::steady_clock::now();
        if (!Obliczenia(m).ok()) return 1;
        const double solve = since(t0) * 1e3;

        ViewOptions o;
        o.p_napr = 1;
        o.p_rn = 3;
        o.iizol = 200;
        const ViewMapping fitted;
        ViewMapping zoomed;
        renderPicture(size, m, o, zoomed);  // first paint: fonts and caches warm up
        zoomed.fit(m, 1280.0f, 1024.0f);
        zoomed.zoomAt(200.0f, 900.0f, 10);
        QImage picture;
        const double map = best(5, [&] { picture = renderPicture(size, m, o, fitted); });
        const double zoom = best(5, [&] { renderPicture(size, m, o, zoomed); });
        ViewOptions plain = o;
        plain.p_napr = 0;
        const double nomap = best(5, [&] { renderPicture(size, m, plain, fitted); });
        ViewOptions flat = o;
        flat.iizol = 3;  // four-triangle colouring without level bands
        const double bandless = best(5, [&] { renderPicture(size, m, flat, fitted); });
        // A repaint that nothing caused: the finished picture is copied to the screen.
        QImage screen(size, QImage::Format_RGB32);
        const double copy = best(10, [&] {
            QPainter s(&screen);
            s.drawImage(0, 0, picture);
        });
        std::printf("%-6d %8d %8d %10.1f %10.1f %10.1f %10.1f %10.1f %10.2f\n", cells, m.nn, m.ne,
                    solve, map, zoom, nomap, bandless, copy);
        std::fflush(stdout);
        releaseModel(m);
    }
    if (argc > 2 && std::string(argv[2]) == "large") largeMeshes(size);
    return 0;
}
