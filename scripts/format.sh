#!/usr/bin/env bash
# Formats every C++ file of the project in place with the pinned clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/pinned-clang-format.sh
formatter=$(pinned_clang_format)
if [[ -z "$formatter" ]]; then
    echo "scripts/format.sh needs clang-format $pinned_clang_format_major; another version would lay out the code differently." >&2
    exit 1
fi
git ls-files -co --exclude-standard -z -- '*.cpp' '*.h' | xargs -0 -r "$formatter" -i
