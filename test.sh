#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test, then runs the process-runner tests again under
# ThreadSanitizer. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
scripts/check-format.sh

jobs=$(nproc)
run_suite() {
    local folder=$1 sanitizer=$2
    cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_SANITIZE="$sanitizer" >/dev/null
    cmake --build "$folder"
    ctest --test-dir "$folder" --output-on-failure --no-tests=error -j "$jobs"
}

run_suite build-asan address
run_suite build-tsan thread
echo "All tests passed."
