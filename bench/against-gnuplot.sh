#!/usr/bin/env bash
# The whole process of orvalis-plot against gnuplot drawing the same picture,
# sin(x) over -10..10 at 507 x 266, as PNG, SVG and PDF, and a figure for a
# paper: five curves in a PNG of 90 x 60 mm at 300 dpi (1063 x 709 pixels):
# start, fonts, drawing, writing the file and exit, measured side by side in
# one hyperfine run. Prints hyperfine's table, then per format the ratio orvalis-plot /
# gnuplot of the wall time and of the processor time (user + system), which
# varies less on a busy machine.
# usage: bench/against-gnuplot.sh [orvalis-plot] [runs]   (hyperfine, gnuplot-nox)
set -euo pipefail
cd "$(dirname "$0")/.."
plot="$(realpath "${1:-build/native/orvalis-plot}")"
runs="${2:-30}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

declare -A terminal=([png]="pngcairo" [svg]="svg" [pdf]="pdfcairo")
# gnuplot sizes its cairo pages in inches; at 96 pixels per inch, as
# orvalis-plot's pages are, 507 x 266 pixels are 5.28 x 2.77 inches.
declare -A size=([png]="507,266" [svg]="507,266" [pdf]="5.28in,2.77in")
commands=()
for format in png svg pdf; do
  printf "set terminal %s size %s\nset output '%s'\nplot [-10:10] sin(x)\n" \
    "${terminal[$format]}" "${size[$format]}" "$work/gnuplot.$format" > "$work/$format.gp"
  commands+=("$plot sin(x) $work/orvalis.$format" "gnuplot $work/$format.gp")
done
# The five curves, the same functions in both programs' spelling.
printf "set terminal pngcairo size 1063,709\nset output '%s'\nplot [-10:10] sin(x), cos(x), x/4, sqrt(x), log(x)\n" \
  "$work/gnuplot-five.png" > "$work/five.gp"
commands+=("$plot --size 90mmx60mm --dpi 300 sin(x) cos(x) x/4 sqrt(x) ln(x) $work/orvalis-five.png"
           "gnuplot $work/five.gp")
hyperfine --shell=none --warmup 3 --runs "$runs" --export-json "$work/times.json" "${commands[@]}"

python3 - "$work/times.json" <<'PYTHON'
import json, statistics, sys
results = json.load(open(sys.argv[1]))["results"]
print("\nformat  wall (median) orvalis-plot / gnuplot      processor (mean) orvalis-plot / gnuplot")
for i, format in enumerate(["PNG", "SVG", "PDF", "5×PNG"]):
    ours, theirs = results[2 * i], results[2 * i + 1]
    wall = lambda r: statistics.median(r["times"])
    cpu = lambda r: r["user"] + r["system"]  # hyperfine gives their means
    print(f"{format:6}  {wall(ours) * 1e3:6.1f} / {wall(theirs) * 1e3:6.1f} ms = {wall(ours) / wall(theirs):.2f}"
          f"     {cpu(ours) * 1e3:6.1f} / {cpu(theirs) * 1e3:6.1f} ms = {cpu(ours) / cpu(theirs):.2f}")
PYTHON
