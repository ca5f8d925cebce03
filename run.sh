#!/usr/bin/env bash
# Installs what is missing, builds Velmora (Release) into build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF >/dev/null
cmake --build build
exec build/bin/velmora "$@"
