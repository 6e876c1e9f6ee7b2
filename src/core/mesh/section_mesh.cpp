#include "mesh/section_mesh.h"

#include <cmath>
#include <utility>

#include "edit/resize.h"
#include "edit/selection.h"
#include "mesh/mesh_loops.h"

namespace {

constexpr const char* kNoMemory = "Brak pamięci na siatkę o takiej liczbie elementów";
constexpr const char* kTooFine =
    "Elementy siatki byłyby zbyt małe wobec współrzędnych przekroju (pojedyncza precyzja)";
constexpr const char* kValues =
    "Moduł G lub moment MS przekracza zakres liczb pojedynczej precyzji";

MeshOutcome failed(MeshStatus status, std::string message, int line = 0) {
    MeshOutcome o;
    o.status = status;
    o.message = std::move(message);
    o.line = line;
    return o;
}

}  // namespace

MeshOutcome meshSection(const geometry::Section& s, Model& m, const Postep& postep) {
    const float G = s.G ? static_cast<float>(*s.G) : m.G;
    const float MS = s.MS ? static_cast<float>(*s.MS) : m.MS;
    if (!std::isfinite(G) || !std::isfinite(MS)) return failed(MeshStatus::Refused, kValues);
    if (!modelConsistent(m)) return failed(MeshStatus::Refused, "");

    const geometry::Loops loops = geometry::sectionLoops(s);
    if (!loops.ok()) return failed(MeshStatus::Refused, loops.error, loops.line);

    mesh::LoopMesh mesh = mesh::meshLoops(loops.loops, s.siatka, postep);
    if (!mesh.ok()) {
        int line = 0;
        if (mesh.loop >= 0) {
            const int shape = loops.loops[mesh.loop].shape;
            if (shape >= 0 && shape < static_cast<int>(s.shapes.size()))
                line = s.shapes[shape].line;
        }
        return failed(mesh.status, mesh.message, line);
    }

    // The new arrays are built aside and moved in only when they are complete.
    Model fresh;
    const long nn = static_cast<long>(mesh.nodes.size());
    const long ne = static_cast<long>(mesh.triangles.size());
    if (EditOutcome grown = growModel(fresh, nn, ne); !grown.ok())
        return failed(MeshStatus::TooLarge, kNoMemory);
    for (long i = 1; i <= nn; ++i) {
        fresh.x[i][1] = static_cast<float>(mesh.nodes[i - 1].x);
        fresh.x[i][2] = static_cast<float>(mesh.nodes[i - 1].y);
    }
    for (long e = 1; e <= ne; ++e) {
        const std::array<int, 3>& t = mesh.triangles[e - 1];
        for (int k = 0; k < 3; ++k)
            fresh.noc[e][k + 1] = t[k] + 1;
        // Single precision must keep every element counter-clockwise.
        const float* a = fresh.x[t[0] + 1];
        const float* b = fresh.x[t[1] + 1];
        const float* c = fresh.x[t[2] + 1];
        const double twice = (double{b[1]} - a[1]) * (double{c[2]} - a[2]) -
                             (double{c[1]} - a[1]) * (double{b[2]} - a[2]);
        if (!(twice > 0)) return failed(MeshStatus::Refused, kTooFine);
    }
    if (postep && !postep("Siatkowanie: zapis", 1)) return failed(MeshStatus::Cancelled, "");

    m.x = std::move(fresh.x);
    m.noc = std::move(fresh.noc);
    m.si = std::move(fresh.si);
    m.f = std::move(fresh.f);
    m.napr = std::move(fresh.napr);
    m.ww = std::move(fresh.ww);
    m.nn = m.nq = fresh.nn;
    m.ne = fresh.ne;
    m.nbw = 0;
    m.G = G;
    m.MS = MS;
    m.obliczono = 0;
    clearSelection(m);

    MeshOutcome o;
    o.size = mesh.size;
    o.nodes = m.nn;
    o.elements = m.ne;
    return o;
}
