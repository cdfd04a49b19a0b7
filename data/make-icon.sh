#!/usr/bin/env bash
# Makes the PNG icons of the hicolor sizes from the scalable ones (Debian
# package librsvg2-bin): 16 to 32 px from the small drawing, whose lines stay
# thick enough to read there, 48 to 512 px from the full one. The PNGs are
# committed, so building needs no SVG renderer; run this after changing an SVG.
set -euo pipefail
cd "$(dirname "$0")/icons"
for size in 16 22 24 32 48 64 128 256 512; do
  if [ "$size" -le 32 ]; then svg=org.orvalis.Orvalis-small.svg; else svg=org.orvalis.Orvalis.svg; fi
  rsvg-convert --width "$size" --height "$size" "$svg" --output "org.orvalis.Orvalis-$size.png"
done
