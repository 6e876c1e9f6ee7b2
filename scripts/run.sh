#!/usr/bin/env bash
# Builds the program alone (release configuration, no tests) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" --target wirtor
exec build/release/src/app/wirtor "$@"
