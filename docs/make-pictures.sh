#!/usr/bin/env bash
# Makes the README's pictures with orvalis-plot (build first: ./test.sh or
# cmake --build build/native). The window screenshot is taken under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
plot=build/native/orvalis-plot
out=docs/pictures
"$plot" "sin(x)" "$out/sin.png"
"$plot" "sqrt(x)" "$out/sqrt.png"
"$plot" --polar --xlow 0 --xhigh 6.2832 --size 400x400 "5*sin(3*x)" "$out/rose.png"
# A page for documents, and z swept from 0 to 1 as an animation.
"$plot" "sqrt(x)" "$out/sqrt.svg"
"$plot" --z-from 0 --z-to 1 --frames 40 --frame-ms 50 "z*5*exp(-(x^2))+(1-z)*x" "$out/sweep.gif"
# The windows as they come up, for looking at, not committed (a build with
# -DORVALIS_TESTS=ON, as ./test.sh makes): the main window's client area,
# Preferences, About and the help window.
build/native/tests/orvalis_window_pictures build/native/screenshots
