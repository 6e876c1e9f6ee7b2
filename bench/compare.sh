#!/usr/bin/env bash
# Times wirtor-calc --times against FreeFEM (UMFPACK) on the same triangles, whole process, with
# /usr/bin/time; by hand, after a release build. FreeFEM is not a dependency of the project:
# apt-get install freefem++ first. Usage: bench/compare.sh [BUILD_DIR] [CELLS:TRIANGLES ...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
shift || true
meshes=("$@")
((${#meshes[@]})) || meshes=(100:2 200:2 400:2 400:4 1000:2 1000:4)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
timed() { /usr/bin/time -f "  %C: %e s wall, %U s user, %S s sys, %M KB peak" "$@"; }
for mesh in "${meshes[@]}"; do
    cells=${mesh%:*} tri=${mesh#*:}
    "$build/bench/wirtor-mesh" square "$cells" "$tri" "$dir/m.WT" "$dir/m.msh" >/dev/null
    echo "== unit square, $cells x $cells cells, $tri triangles per cell"
    timed "$build/tools/wirtor-calc/wirtor-calc" --times "$dir/m.WT" 2>&1 | sed 's/^/  /'
    command -v FreeFem++-nw >/dev/null &&
        timed FreeFem++-nw -nw -v 0 bench/torsion.edp "$dir/m.msh" 2>&1 | sed 's/^/  /'
done
