// wirtor-section-bench: times the automatic mesher (meshSection) on sections of about 200 000
// triangles, stage by stage, beside the computation (Obliczenia) of the mesh it makes; with
// a folder argument also writes each section as a Gmsh .geo file of the same outline and the
// same size, for timing Gmsh on it (bench/mesh_compare.sh).
//
//   wirtor-section-bench [GEO_DIR]

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "geometry/arc.h"
#include "geometry/section.h"
#include "mesh/section_mesh.h"
#include "solver/driver.h"

namespace {

using geometry::Section;
using geometry::Shape;

struct Case {
    const char* name;
    Section section;
};

Section circle(double d, std::optional<double> size) {
    Shape s;
    s.kind = Shape::Kind::Okrag;
    s.circle = {0, 0, 0.5 * d};
    Section sec;
    sec.shapes = {s};
    sec.siatka = size;
    return sec;
}

Section iSection(std::optional<double> size) {
    Shape s;
    s.kind = Shape::Kind::Profil;
    s.profile.kind = geometry::ProfileKind::I;
    s.profile.dims = {200, 100, 5.6, 8.5, 12};  // IPE 200
    Section sec;
    sec.shapes = {s};
    sec.siatka = size;
    return sec;
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The loops as Gmsh geometry: the first loop the outline, the others its holes; arcs by
// their centres. Gmsh's size is its target edge: 0.9 h, the spacing our interior takes.
bool writeGeo(const std::string& path, const Section& s, double h) {
    const geometry::Loops loops = geometry::sectionLoops(s);
    if (!loops.ok()) return false;
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    std::fprintf(f, "lc = %.17g;\n", 0.9 * h);
    int point = 0, curve = 0;
    std::vector<int> curveLoops;
    for (const geometry::Loop& l : loops.loops) {
        const std::vector<geometry::Vertex>& v = l.outline.v;
        const int first = point + 1;
        for (const geometry::Vertex& p : v)
            std::fprintf(f, "Point(%d) = {%.17g, %.17g, 0, lc};\n", ++point, p.x, p.y);
        std::vector<int> curves;
        for (std::size_t i = 0; i < v.size(); ++i) {
            const int a = first + static_cast<int>(i);
            const int b = first + static_cast<int>((i + 1) % v.size());
            if (v[i].r == 0) {
                std::fprintf(f, "Line(%d) = {%d, %d};\n", ++curve, a, b);
            } else {
                const geometry::Vertex& q = v[(i + 1) % v.size()];
                const auto arc = geometry::makeArc(v[i].x, v[i].y, q.x, q.y, v[i].r);
                if (!arc) return std::fclose(f), false;
                std::fprintf(f, "Point(%d) = {%.17g, %.17g, 0, lc};\n", ++point, arc->cx, arc->cy);
                std::fprintf(f, "Circle(%d) = {%d, %d, %d};\n", ++curve, a, point, b);
            }
            curves.push_back(curve);
        }
        std::fprintf(f, "Curve Loop(%d) = {", ++curve);
        for (std::size_t i = 0; i < curves.size(); ++i)
            std::fprintf(f, "%s%d", i ? ", " : "", curves[i]);
        std::fprintf(f, "};\n");
        curveLoops.push_back(curve);
    }
    std::fprintf(f, "Plane Surface(1) = {");
    for (std::size_t i = 0; i < curveLoops.size(); ++i)
        std::fprintf(f, "%s%d", i ? ", " : "", curveLoops[i]);
    std::fprintf(f, "};\nMesh.MeshSizeMin = lc;\nMesh.MeshSizeMax = lc;\n");
    std::fprintf(f, "Mesh.MeshSizeFromCurvature = 0;\n");
    return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string geoDir = argc > 1 ? argv[1] : "";
    const Case cases[] = {
        {"circle d=100, h=0.334", circle(100, 0.334)},
        {"IPE 200 (fillets r=12), h=0.2", iSection(0.2)},
        {"circle d=100, automatic", circle(100, std::nullopt)},
        {"IPE 200, automatic", iSection(std::nullopt)},
    };
    std::printf("%-32s %8s %8s %9s %9s %9s %9s  %s\n", "section", "nodes", "elements", "mesh[s]",
                "cpu[s]", "solve[s]", "J", "stages [s]");
    int geo = 0;
    for (const Case& c : cases) {
        // Best of three: the mesher's own time on a shared machine.
        double best = 1e300, bestCpu = 0;
        std::string stages;
        Model m;
        MeshOutcome out;
        for (int run = 0; run < 3; ++run) {
            newProject(m);
            std::string seen, line;
            double mark = now();
            const double t0 = mark, c0 = cpuSeconds();
            out = meshSection(c.section, m, [&](const char* stage, double) {
                if (seen != stage) {
                    const double t = now();
                    if (!seen.empty()) {
                        char buf[96];
                        std::snprintf(buf, sizeof buf, " %s %.3f;", seen.c_str() + 13, t - mark);
                        line += buf;
                    }
                    seen = stage;
                    mark = t;
                }
                return true;
            });
            const double wall = now() - t0, cpu = cpuSeconds() - c0;
            if (!out.ok()) break;
            if (wall < best) best = wall, bestCpu = cpu, stages = line;
        }
        if (!out.ok()) {
            std::printf("%-32s failed: %s\n", c.name, out.message.c_str());
            continue;
        }
        const double s0 = now();
        const ComputeOutcome solved = Obliczenia(m);
        const double solve = now() - s0;
        std::printf("%-32s %8d %8d %9.3f %9.3f %9.3f %9.6g %s\n", c.name, m.nn, m.ne, best, bestCpu,
                    solve, solved.J, stages.c_str());
        std::fflush(stdout);
        if (!geoDir.empty() && c.section.siatka) {
            const std::string path = geoDir + "/section" + std::to_string(++geo) + ".geo";
            if (!writeGeo(path, c.section, *c.section.siatka))
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
        }
    }
    return 0;
}
