// wirtor-mesh: writes the benchmark meshes as model files, and optionally the same triangles
// in FreeFEM's mesh format (every boundary edge labelled 1), for timing against other tools.
//
//   wirtor-mesh square CELLS {2|4} OUT.WT [OUT.msh]   unit square, 2 or 4 triangles per cell
//   wirtor-mesh fan TRIANGLES OUT.WT [OUT.msh]        unit disc fanned round its centre node
//   wirtor-mesh tube ACROSS AROUND OUT.WT [OUT.msh]   ring of radii 0.5 and 1 (one hole)

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "mesh/rectangle.h"
#include "mesh/ring.h"
#include "model/model_file.h"
#include "solver/assembly.h"
#include "solver/boundary.h"

namespace {

bool writeFreeFem(const std::string& path, const Model& m) {
    const std::vector<BoundaryEdge> edges = boundaryEdges(m);
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    std::fprintf(f, "%d %d %zu\n", m.nn, m.ne, edges.size());
    for (int i = 1; i <= m.nn; ++i)
        std::fprintf(f, "%.9g %.9g 0\n", m.x[i][1], m.x[i][2]);
    for (int e = 1; e <= m.ne; ++e) {
        // FreeFEM wants the corners counter-clockwise.
        const bool ccw = elementGeometry(m, e).detj > 0;
        std::fprintf(f, "%d %d %d 0\n", m.noc[e][1], m.noc[e][ccw ? 2 : 3], m.noc[e][ccw ? 3 : 2]);
    }
    for (const BoundaryEdge& b : edges)
        std::fprintf(f, "%d %d 1\n", edgeFrom(m, b), edgeTo(m, b));
    return std::fclose(f) == 0;
}

int usage() {
    std::fputs(
        "usage: wirtor-mesh square CELLS {2|4} OUT.WT [OUT.msh]\n"
        "       wirtor-mesh fan TRIANGLES OUT.WT [OUT.msh]\n"
        "       wirtor-mesh tube ACROSS AROUND OUT.WT [OUT.msh]\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return usage();
    Model m;
    newProject(m);
    int out = 0;
    if (std::strcmp(argv[1], "square") == 0 && argc >= 5) {
        RectanglePatch p;
        p.dx = p.dy = 1.0;
        p.ix = p.iy = std::atoi(argv[2]);
        p.p4 = std::atoi(argv[3]) == 4;
        if (!appendRectangle(m, p).ok()) return usage();
        out = 4;
    } else if (std::strcmp(argv[1], "fan") == 0) {
        RingPatch p;
        p.rz = 1.0;
        p.ix = 1;
        p.iy = std::atoi(argv[2]);
        p.kk = 360.0;
        if (!appendRing(m, p).ok()) return usage();
        out = 3;
    } else if (std::strcmp(argv[1], "tube") == 0 && argc >= 5) {
        RingPatch p;
        p.rz = 1.0;
        p.rw = 0.5;
        p.ix = std::atoi(argv[2]);
        p.iy = std::atoi(argv[3]);
        p.kk = 360.0;
        if (!appendRing(m, p).ok()) return usage();
        out = 4;
    } else {
        return usage();
    }
    if (out >= argc) return usage();
    const FileOutcome w = writeModelFile(argv[out], m);
    if (!w.ok()) {
        std::fprintf(stderr, "%s\n", w.message.c_str());
        return 1;
    }
    if (out + 1 < argc && !writeFreeFem(argv[out + 1], m)) {
        std::fprintf(stderr, "cannot write %s\n", argv[out + 1]);
        return 1;
    }
    std::printf("%d nodes, %d elements\n", m.nn, m.ne);
    return 0;
}
