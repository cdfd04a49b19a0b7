#!/usr/bin/env bash
# Plays the curve through a PulseAudio null sink on an X display of its own
# and records the sink: how long after P the sound begins, against paplay's
# click started at a known moment (so the figure is P's delay beyond
# paplay's own), that Esc stops it, and that a full play lasts its seconds.
# A check by hand, not part of the test run; needs pulseaudio,
# pulseaudio-utils, sox, openbox, xdotool, xvfb.
# Usage: tests/manual/sound-latency.sh PROGRAM
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" = --inside ]; then
  program=$2 out=$3
  export HOME=$out/home XDG_RUNTIME_DIR=$out/run QT_QPA_PLATFORM=xcb
  mkdir -p "$HOME/bin"; mkdir -m 700 -p "$XDG_RUNTIME_DIR"
  cp "$program" "$HOME/bin/Orvalis"   # its settings stay in the copy's folder
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=out" >"$out/pulse.log" 2>&1 &
  sleep 2; pactl set-default-sink out
  openbox >/dev/null 2>&1 & sleep 1
  "$HOME/bin/Orvalis" >/dev/null 2>&1 & sleep 3
  xdotool windowactivate --sync "$(xdotool search --onlyvisible --name Orvalis | head -1)"; sleep 0.5
  for _ in 1 2 3 4; do xdotool key Tab; sleep 0.2; done        # to the picture
  sox -n -r 44100 -c 2 -b 16 "$out/click.wav" synth 0.05 sine 1000
  parec -d out.monitor --format=s16le --rate=44100 --channels=2 --raw --latency-msec=10 >"$out/rec.raw" &
  sleep 1.5
  date +%s.%N >"$out/t1"; paplay "$out/click.wav" & sleep 1
  date +%s.%N >"$out/t2"; xdotool key p; sleep 1; xdotool key Escape; sleep 1
  date +%s.%N >"$out/t3"; paplay "$out/click.wav" & sleep 1
  date +%s.%N >"$out/t4"; xdotool key p; sleep 3.5
  kill %1 %2 %3 %4 2>/dev/null || true
  exit 0
fi
program=$(realpath "${1:?usage: sound-latency.sh PROGRAM}")
out=$(mktemp -d)
timeout -k 5 60 xvfb-run -a -s "-screen 0 1000x750x24" "$0" --inside "$program" "$out" || true
python3 - "$out" <<'PY'
import math, struct, sys
out = sys.argv[1]
data = open(out + "/rec.raw", "rb").read()
n = len(data) // 4
left = struct.unpack("<%dh" % (2 * n), data[:4 * n])[0::2]
rate = 44100
t = [float(open("%s/t%d" % (out, k)).read()) for k in (1, 2, 3, 4)]
onsets, quiet = [], 0
for i, v in enumerate(left):
    loud = abs(v) > 100
    if loud and quiet >= rate // 5:
        onsets.append(i / rate)
    quiet = 0 if loud else quiet + 1
if len(onsets) < 4:
    sys.exit("expected four onsets (click, P, click, P), heard %s" % onsets)
for a, b, ta, tb in ((onsets[0], onsets[1], t[0], t[1]), (onsets[2], onsets[3], t[2], t[3])):
    print("P to sound: %.0f ms after paplay's own delay" % (1000 * ((b - a) - (tb - ta))))
window = rate // 10
print("loudness every 0.1 s:", " ".join("%d" % math.sqrt(sum(x * x for x in left[i:i + window]) / window)
                                          for i in range(0, n - window, window)))
PY
