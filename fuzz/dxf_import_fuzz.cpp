// libFuzzer target for the DXF importer. Whatever the bytes, importing them must either
// refuse them with a message and no outlines, or give closed outlines with finite
// coordinates, outer ones counter-clockwise and holes clockwise, inside their box.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "io/dxf_import.h"

namespace {

void require(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const io::DxfImport r =
        io::importDxfText(std::string_view(reinterpret_cast<const char*>(data), size));
    require(!r.cancelled);
    if (!r.ok()) {
        require(r.outlines.empty() && r.holes == 0);
        return 0;
    }
    require(!r.outlines.empty() && r.holes >= 0 && r.holes < static_cast<int>(r.outlines.size()) &&
            r.ignored >= 0);
    require(r.minX <= r.maxX && r.minY <= r.maxY);
    int clockwise = 0;
    for (const geometry::Outline& o : r.outlines) {
        require(o.v.size() >= 2);
        for (const geometry::Vertex& v : o.v)
            require(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.r) &&
                    v.x >= r.minX && v.x <= r.maxX && v.y >= r.minY && v.y <= r.maxY);
        const double area = geometry::outlineArea(o);
        require(std::isfinite(area) && area != 0);
        clockwise += area < 0;
    }
    require(clockwise == r.holes);
    return 0;
}
