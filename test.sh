#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test, then runs the process-runner tests again under
# ThreadSanitizer. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
scripts/check-format.sh

jobs=$(nproc)
# A compiler cache, where the machine has one, makes a second run build only what changed.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
run_suite() {
    local folder=$1 sanitizer=$2
    cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_SANITIZE="$sanitizer" \
        -DVELMORA_WERROR=ON "${launcher[@]}" >/dev/null
    cmake --build "$folder"
    ctest --test-dir "$folder" --output-on-failure --no-tests=error -j "$jobs"
}

run_suite build-asan address
run_suite build-tsan thread
echo "All tests passed."
