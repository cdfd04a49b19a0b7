#!/usr/bin/env bash
# Runs the Orca screen reader on an X display and buses of its own while
# graph-on-the-bus.py plots, focuses the picture and steps the trace, then
# prints what Orca said (its "SPEECH OUTPUT" debug lines) and the events it
# got for the picture. Speech goes to speech-dispatcher's silent dummy
# module. A one-off check by hand, not part of the test run; needs orca.
# Usage: tests/manual/orca-reads-the-graph.sh PROGRAM [OUTPUT_FOLDER]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
time_limit=180
# Orca needs a moment to register its listeners before the program starts.
orca_settle=8
# Time for Orca to speak between the listener's steps.
step_pause=1.5

if [ "${1:-}" = --inside ]; then
  program=$2 out=$3
  started=()
  finish() { for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done; }
  trap finish EXIT
  export HOME=$out/home
  export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache \
         XDG_RUNTIME_DIR=$HOME/runtime
  mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_DATA_HOME"
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
  # A copy in a folder of its own keeps its settings there, not in the build folder.
  mkdir -p "$HOME/bin"
  cp "$program" "$HOME/bin/Orvalis"
  program=$HOME/bin/Orvalis
  printf 'AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\nAudioOutputMethod "libao"\n' \
    >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$out/display" 2>"$out/xvfb.log" &
  started+=($!)
  for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.1; done
  export DISPLAY=:$(cat "$out/display") QT_QPA_PLATFORM=xcb GTK_A11Y=atspi
  /usr/libexec/at-spi-bus-launcher --launch-immediately 2>"$out/bus.log" &
  started+=($!)
  orca --replace --debug-file "$out/orca-debug.out" >"$out/orca.log" 2>&1 &
  orca=$!
  sleep "$orca_settle"
  ORVALIS_BUS_PAUSE=$step_pause /usr/bin/python3 "$here/../accessibility/graph-on-the-bus.py" "$program" \
    >"$out/listener.log" 2>&1 || echo "the listener failed: see $out/listener.log"
  # Orca writes the end of its debug file only when it ends on its own
  # terms, which needs the buses still there.
  kill -TERM "$orca"
  for _ in $(seq 50); do kill -0 "$orca" 2>/dev/null || break; sleep 0.1; done
  exit 0
fi

program=$(realpath "${1:?usage: orca-reads-the-graph.sh PROGRAM [OUTPUT_FOLDER]}")
out=$(realpath -m "${2:-$(mktemp -d)}")
mkdir -p "$out"
timeout -k 5 "$time_limit" dbus-run-session -- "$0" --inside "$program" "$out" 2>"$out/session.log" || true
echo "== what Orca said, and what it refused to say (from $out/orca-debug.out) =="
grep -a "SPEECH OUTPUT\|bad content sent to speak\|is the same as new" "$out/orca-debug.out" || echo "(nothing)"
echo "== listener =="
cat "$out/listener.log"
