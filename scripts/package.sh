#!/usr/bin/env bash
# Builds the Debian package: a release build without tests in build/package, then CPack;
# the package is left as build/package/wirtor_VERSION_ARCH.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# dpkg-shlibdeps (dpkg-dev) finds the libraries' packages; CPack picks the binaries with file.
missing=()
for p in dpkg-dev file; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Instaluję: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
cmake --preset package >/dev/null
cmake --build --preset package -j"$(nproc)"
rm -f build/package/wirtor_*.deb
cpack --preset package >/dev/null
deb=$(ls build/package/wirtor_*.deb)
echo "Pakiet: $deb"
echo "Instalacja: apt-get install ./$deb"
