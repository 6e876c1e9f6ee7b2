#!/usr/bin/env bash
# Times the automatic mesher (wirtor-section-bench) and Gmsh on the same outlines at the same
# size, in one run; by hand, after a release build. Gmsh is not a dependency of the project:
# apt-get install gmsh first. Usage: bench/mesh_compare.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
echo "== $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $(nproc) cores," \
    "load $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/bench/wirtor-section-bench" "$dir"
command -v gmsh >/dev/null || exit 0
for geo in "$dir"/*.geo; do
    for algo in front2d del2d; do
        # Best of three, as the mesher's figure; the 2D meshing time as Gmsh reports it.
        best=""
        for run in 1 2 3; do
            log=$(gmsh -2 -algo "$algo" -nt 1 -format msh2 "$geo" -o "$dir/out.msh" 2>&1)
            t=$(sed -n 's/.*Done meshing 2D (Wall \([0-9.e-]*\)s.*/\1/p' <<<"$log")
            [[ -z $best ]] || awk "BEGIN{exit !($t < $best)}" && best=$t
        done
        tri=$(awk '/^\$EndElements/{e=0} e && $2 == 2 {n++} /^\$Elements/{getline; e=1}
                   END{print n}' "$dir/out.msh")
        echo "  gmsh $algo $(basename "$geo"): 2D meshing ${best} s (best of 3), $tri triangles"
    done
done
