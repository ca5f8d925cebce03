#!/bin/bash
# Takes the pictures the help pages show, once per language, from a program folder already built:
#   scripts/take-help-pictures.sh PROGRAM_FOLDER [LANGUAGE...]
# e.g. scripts/take-help-pictures.sh build/bin            (every language)
#      scripts/take-help-pictures.sh build/bin ru ko       (only these)
# LANGUAGE is a language file's base name (en gb jp fr de es it pt ru ko tw). The pictures go to
# resources/help/pictures/<name>-<language>.png; English keeps the plain <name>.png.
#
# Needs (test tools only, not dependencies of Velmora): xvfb-run (xvfb), xdotool, import and convert
# (imagemagick), unshare and mount (util-linux), the fonts the languages use (fonts-noto-cjk), and
# root or unprivileged user namespaces, for a private mount namespace. optipng is used when present.
#   apt-get install xvfb xdotool imagemagick fonts-noto-cjk
#
# Each language runs in a copy of the program folder in a temporary folder, with HOME and the XDG
# folders there too, so neither the real home nor the build's own config.ini is written. A small
# memory stick (a tmpfs holding a PSP folder) is mounted at /media/PSPSTICK in a mount namespace of
# the script's own, so the PSP button shows; nothing is mounted on the machine itself.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
pictures="$here/resources/help/pictures"

if [ "${1:-}" = "--inside" ]; then
    # Second stage: in the private mount namespace, under Xvfb.
    shift
    work=$1 lang=$2 number=$3
    mount -t tmpfs -o size=4m tmpfs /media
    mkdir -p /media/PSPSTICK
    mount -t tmpfs -o size=32m tmpfs /media/PSPSTICK
    mkdir -p /media/PSPSTICK/PSP /media/PSPSTICK/VIDEO
    # A plain home and no machine-specific mounts, as a user's folder choosers would show them.
    findmnt -rn -o TARGET | grep '^/mnt/' | sort -r | while read -r target; do umount -l "$target"; done
    mount -t tmpfs -o size=4m tmpfs /home
    mkdir -p /home/psp/Desktop /home/psp/Downloads /home/psp/Music /home/psp/Videos/Series
    export HOME=/home/psp

    suffix="-$lang"
    [ "$lang" = en ] && suffix=""
    ini="$work/program/language/$lang.ini"
    caption() { # the caption of one window in the language file
        awk -v want="[$1]" '/^\[/ { in_section = ($0 == want) } in_section && /^caption=/ {
            sub(/^caption=/, ""); print; exit }' "$ini"
    }
    save() { # optimise a picture into its place
        convert "$1" -strip -colors 256 "PNG8:$pictures/$2$suffix.png"
        if command -v optipng > /dev/null; then optipng -quiet -o2 "$pictures/$2$suffix.png"; fi
    }
    window_named() { # the visible window with exactly this title
        xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
    }

    "$work/program/velmora" > "$work/velmora.log" 2>&1 &
    velmora=$!
    trap 'kill $velmora 2> /dev/null && wait $velmora 2> /dev/null || true' EXIT
    main=$(window_named "$(awk -F= '/^caption=/ { print $2; exit }' "$ini")")
    sleep 3 # the first stick scan and the skin
    eval "$(xdotool getwindowgeometry --shell "$main")"
    area="${WIDTH}x${HEIGHT}+${X}+${Y}"
    import -window root -crop "$area" +repage "$work/shot.png"
    save "$work/shot.png" main-window
    save "$work/shot.png" psp-button

    open_menu() { # the menu-bar menu at this position (0 is File), by click and arrow keys
        xdotool mousemove $((X + 12)) $((Y + 8)) click 1
        sleep 0.5
        local i
        for ((i = 0; i < $1; ++i)); do xdotool key Right; done
        sleep 0.7
    }
    open_menu 2 # the Skin menu
    xdotool mousemove $((X + WIDTH - 2)) $((Y + HEIGHT - 2))
    sleep 0.5
    import -window root -crop "$area" +repage "$work/shot.png"
    save "$work/shot.png" skin-menu
    xdotool key Escape Escape
    sleep 0.5

    dialog() { # picture the dialog an item of a menu opens, reached by Down presses
        open_menu "$1"
        local i
        for ((i = 0; i < $2; ++i)); do xdotool key Down; done
        xdotool key Return
        local id
        id=$(window_named "$(caption "$3")")
        sleep 1
        import -window "$id" "$work/shot.png"
        save "$work/shot.png" "$4"
        xdotool key Escape
        sleep 0.5
    }
    # A menu opened by click has no item chosen yet; one reached by Right has its first item chosen.
    dialog 0 2 frmBatchAdd batch-add
    dialog 1 0 frmSetting settings
    dialog 1 1 frmTracks tracks
    exit 0
fi

[ $# -ge 1 ] || {
    sed -n '2,6p' "$0"
    exit 2
}
program=$(cd "$1" && pwd)
shift
[ -x "$program/velmora" ] || {
    echo "no velmora in $program" >&2
    exit 2
}
for tool in xvfb-run xdotool import convert unshare; do
    command -v "$tool" > /dev/null || {
        echo "$tool is missing (see the header of $0)" >&2
        exit 2
    }
done

numbers=(gb:1 en:2 jp:3 fr:4 de:5 es:6 it:7 pt:8 ru:9 ko:10 tw:11)
languages=("$@")
[ ${#languages[@]} -gt 0 ] || languages=(en gb jp fr de es it pt ru ko tw)
namespace=(unshare --mount --propagation private)
[ "$(id -u)" = 0 ] || namespace=(unshare --map-root-user --mount --propagation private)

for lang in "${languages[@]}"; do
    number=""
    for pair in "${numbers[@]}"; do [ "${pair%%:*}" = "$lang" ] && number=${pair#*:}; done
    [ -n "$number" ] && [ -f "$program/language/$lang.ini" ] || {
        echo "skipping $lang: no such language in $program" >&2
        continue
    }
    work=$(mktemp -d /tmp/velmora-pictures.XXXXXX)
    cp -a "$program" "$work/program"
    rm -f "$work/program/config.ini"
    printf '[common]\nlanguage=%s\n[setting]\noutputFolder=/media/PSPSTICK/VIDEO/\n' "$number" \
        > "$work/program/config.ini"
    mkdir -m 700 -p "$work/home"
    echo "taking the $lang pictures"
    HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
        XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/home" QT_QPA_PLATFORM=xcb \
        "${namespace[@]}" xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$work" "$lang" "$number" ||
        echo "the $lang pictures failed; see $work/velmora.log" >&2
    [ -s "$work/velmora.log" ] || rm -rf "$work" || true
done
