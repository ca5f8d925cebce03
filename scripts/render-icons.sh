#!/usr/bin/env bash
# Renders the PNG icons from resources/icons/velmora.svg; run after changing the SVG and commit the
# results. Needs rsvg-convert (Debian package librsvg2-bin); the build itself does not.
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" velmora.svg --output "velmora-$size.png"
done
