#!/usr/bin/env bash
# Builds and runs every test: release first, then under Address- and UB-Sanitizer; then the
# core, its tests and the fuzz target's seeds with clang (the program is built by g++ only).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
for preset in release debug-asan clang; do
    echo "== $preset =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)"
    ctest --preset "$preset" -j"$(nproc)"
done
