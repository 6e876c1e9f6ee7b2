#!/usr/bin/env bash
# Builds the Debian package: a release build without tests in build/package, then CPack;
# the package is left as build/package/wirtor_VERSION_ARCH.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-shlibdeps (dpkg-dev) finds the libraries' packages; CPack picks the binaries with file.
bash scripts/setup.sh dpkg-dev file
cmake --preset package >/dev/null
cmake --build --preset package -j"$(nproc)"
rm -f build/package/wirtor_*.deb
cpack --preset package >/dev/null
deb=$(ls build/package/wirtor_*.deb)
echo "Pakiet: $deb"
echo "Instalacja: apt-get install ./$deb"
