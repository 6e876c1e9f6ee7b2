#!/usr/bin/env bash
# Installs the Debian packages the build needs, and any named as arguments, only those that
# are missing.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev qt6-translations-l10n fonts-liberation2 fonts-dejavu-core
          shared-mime-info libgtest-dev libgmock-dev libsuitesparse-dev libopenblas0-serial libcgal-dev libdxflib-dev libhypre-dev pkg-config
          clang libclang-rt-dev desktop-file-utils "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Instaluję: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
