#!/usr/bin/env bash
# Builds Velmora (Release, no tests) into build-deb/ and makes the Debian package there:
# build-deb/velmora_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF >/dev/null
cmake --build build-deb
(cd build-deb && cpack -G DEB)
