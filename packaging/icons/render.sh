#!/bin/sh
# Renders the committed PNG icons from their SVG drawings (needs rsvg-convert, librsvg2-bin).
# Run it after changing a drawing; the build uses the committed files.
set -eu
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "$size"
    for icon in cz.orvento.Orvento application-x-orvento-backup; do
        rsvg-convert -w "$size" -h "$size" "$icon.svg" -o "$size/$icon.png"
    done
done
