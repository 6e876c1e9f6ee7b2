#!/usr/bin/env bash
# Builds the release configuration and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
exec build/release/src/app/wirtor "$@"
