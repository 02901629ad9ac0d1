#!/usr/bin/env bash
# Draws the PNG sizes of the desktop icon from corvelian.svg. The PNGs are
# committed, so the build needs no converter; run this again only after
# changing the drawing. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
for lado in 16 32 48 64 128 256; do
    # Rendered large and reduced, so the small sizes keep smooth edges.
    convert -background none -density 288 corvelian.svg -resize "${lado}x${lado}" \
        -define png:exclude-chunks=date,time -strip "PNG32:corvelian-${lado}.png"
done
