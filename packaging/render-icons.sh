#!/bin/sh
# Renders the application icon's PNG sizes for the hicolor theme from the SVG.
# The PNGs are committed, so a build needs no SVG renderer; run this after
# changing the SVG (needs rsvg-convert from librsvg2-bin).
set -eu
cd "$(dirname "$0")"
id=org.ovexchat.ThemeEditor
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "icons/${size}x${size}"
    rsvg-convert -w "$size" -h "$size" "$id.svg" -o "icons/${size}x${size}/$id.png"
done
