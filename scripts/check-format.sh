#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what the pinned clang-format makes of it. Skipped, with a
# note, where only another version is installed: the formatting is judged where the pinned one runs (CI).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/pinned-clang-format.sh
command -v git >/dev/null || { echo "The format check needs git: run scripts/install-deps.sh test" >&2; exit 1; }
formatter=$(pinned_clang_format)
if [[ -z "$formatter" ]]; then
    echo "Format check skipped: it needs clang-format $pinned_clang_format_major, which this machine does not have."
    exit 0
fi
# Listed first, so that a failing git fails the check instead of leaving it nothing to look at.
listing=$(git ls-files -co --exclude-standard -- '*.cpp' '*.h')
mapfile -t files <<<"$listing"
[[ -z "$listing" ]] && { echo "The format check found no C++ files" >&2; exit 1; }
if ! "$formatter" --dry-run --Werror "${files[@]}"; then
    echo "Unformatted code: run scripts/format.sh" >&2
    exit 1
fi
