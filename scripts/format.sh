#!/usr/bin/env bash
# Formats every C++ file of the project in place.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -co --exclude-standard -z -- '*.cpp' '*.h' | xargs -0 -r clang-format -i
