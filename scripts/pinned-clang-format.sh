# Sourced by the format scripts. Formatters of different major versions lay out the same code
# differently, so only the pinned one may judge or rewrite it; the one on Debian 12 is pinned.
pinned_clang_format_major=14

# Prints the command of the pinned formatter, or nothing when this machine has none.
pinned_clang_format() {
    local candidate version
    for candidate in "clang-format-$pinned_clang_format_major" clang-format; do
        command -v "$candidate" >/dev/null || continue
        version=$("$candidate" --version 2>/dev/null | sed -n 's/.*version \([0-9]*\)\..*/\1/p')
        if [[ "$version" == "$pinned_clang_format_major" ]]; then
            echo "$candidate"
            return
        fi
    done
}
