#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it, and when the check cannot run.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in git clang-format; do
    command -v "$tool" >/dev/null || { echo "The format check needs $tool: run scripts/install-deps.sh test" >&2; exit 1; }
done
# Listed first, so that a failing git fails the check instead of leaving it nothing to look at.
listing=$(git ls-files -co --exclude-standard -- '*.cpp' '*.h')
mapfile -t files <<<"$listing"
[[ -z "$listing" ]] && { echo "The format check found no C++ files" >&2; exit 1; }
if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "Unformatted code: run scripts/format.sh" >&2
    exit 1
fi
