#!/usr/bin/env bash
# Renders the bitmap icons from the SVG. The PNGs are committed so that building needs no
# ImageMagick; run this again after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 128; do
    # -strip drops the time stamps, so an unchanged SVG gives byte-identical PNGs.
    convert -background none -density 288 org.trv.Trv.svg -resize "${size}x${size}" -depth 8 -strip \
        "org.trv.Trv-${size}.png"
done
