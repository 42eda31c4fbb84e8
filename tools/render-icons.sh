#!/usr/bin/env bash
# Renders the PNG sizes of the icon from its SVG (needs librsvg2-bin). The
# PNGs are kept in the repository so that building needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/../data/linux/icons"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" io.github.sedilo.Sedilo.svg -o "sedilo-$size.png"
done
