#!/usr/bin/env bash
# Installs the Debian packages Velmora needs that are not there yet.
# Usage: scripts/install-deps.sh run|test|package
set -euo pipefail

build_packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-qpa-plugins
    libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libswresample-dev libavutil-dev
    libuchardet-dev libass-dev
)
# The CJK fonts show Chinese, Japanese and Korean; Qt's own translations put its dialogs' buttons in
# the window's language.
run_packages=(fonts-noto-cjk qt6-translations-l10n)
# The tests also run and package the program. x11-utils reads the installed program's window titles;
# desktop-file-utils and appstream check the install, lintian the Debian package; git lists the files
# the format check reads.
test_packages=(libgtest-dev libgmock-dev ffmpeg xvfb xauth x11-utils dbus-daemon clang-format git
    desktop-file-utils appstream lintian)
# CPack's Debian generator reads the binaries' dependencies with dpkg-shlibdeps and `file`.
package_packages=(dpkg-dev file)

case "${1:-}" in
    run) wanted=("${build_packages[@]}" "${run_packages[@]}") ;;
    test) wanted=("${build_packages[@]}" "${run_packages[@]}" "${package_packages[@]}" "${test_packages[@]}") ;;
    package) wanted=("${build_packages[@]}" "${package_packages[@]}") ;;
    *) echo "usage: $0 run|test|package" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
# An apt run already going (the desktop's own updates) is waited for: install waits for its lock by
# itself, update gives up at once, so it is tried again while that lock is what stopped it. Its
# messages name the lock's path in every language.
waits=0
while true; do
    status=0
    errors=$({ "${as_root[@]}" apt-get update -q 2>&1 1>&3; } 3>&1) || status=$?
    [[ -z "$errors" ]] || echo "$errors" >&2
    [[ $status -ne 0 && "$errors" == *lists/lock* && $((++waits)) -le 40 ]] || break
    echo "Waiting 15 s for another program that is using the package manager."
    sleep 15
done
[[ $status -eq 0 ]] || exit "$status"
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
