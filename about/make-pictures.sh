#!/usr/bin/env bash
# Makes the About window's two pictures, once; the JPEG files are committed
# and this script records how they were made.
# usage: about/make-pictures.sh [path to orvalis-plot]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
plot="${1:-$here/../build/native/orvalis-plot}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The picture behind the texts: an eight-petal polar rose in pale grey on
# white, 335 x 279, with the polar axis names R(x).
"$plot" --polar --size 335x279 --xlow 0 --xhigh 6.2832 --no-ticks --no-boundary \
  --background white --axis "#D0D0D0" --good silver --bad silver --line-width 2 \
  'sin(4*x)' "$work/rose.png"
convert "$work/rose.png" -strip -quality 90 "$here/pictures/Rose.jpg"

# The banner, 200 x 48: a small sine curve and the program's name.
curve=$(awk 'BEGIN { for (i = 0; i <= 40; i++) { x = 6 + i; y = 24 - 13 * sin(i * 3.14159265 / 20);
                     printf "%s%.1f,%.1f", (i ? " " : ""), x, y } }')
convert -size 200x48 xc:white \
  -stroke '#9090C0' -strokewidth 1 -draw "line 4,24 50,24" -draw "line 6,44 6,4" \
  -fill none -stroke navy -strokewidth 2 -draw "polyline $curve" \
  -stroke none -fill navy -font Liberation-Sans-Bold -pointsize 28 -annotate +58+34 'Orvalis' \
  -strip -quality 90 "$here/pictures/Banner.jpg"
