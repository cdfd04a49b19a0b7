#!/usr/bin/env bash
# Runs graph-on-the-bus.py against the built window program on a D-Bus
# session, an accessibility bus and an X display of its own, with a home
# folder of its own so that no settings are touched, and ends it all within
# a hard time limit. Exits 77 (skipped) when a tool it needs is missing.
# Usage: graph-on-the-bus.sh PROGRAM
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
time_limit=120
skipped=77

# Inside the session: the X display, the accessibility bus, the listener.
if [ "${1:-}" = --inside ]; then
  shift
  python=$1 launcher=$2 program=$3
  shift 3
  started=()
  finish() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$HOME"
  }
  HOME=$(mktemp -d)
  trap finish EXIT
  export HOME XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share \
         XDG_CACHE_HOME=$HOME/.cache XDG_RUNTIME_DIR=$HOME/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  # A copy run from a folder of its own keeps its settings beside it: there,
  # not in the build folder, where other tests' runs read them.
  mkdir "$HOME/bin"
  cp "$program" "$HOME/bin/Orvalis"
  # Without a display the toolkit's bridge to the bus is not loaded: the
  # offscreen platform has none.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$HOME/display" 2>"$HOME/xvfb.log" &
  started+=($!)
  for _ in $(seq 100); do [ -s "$HOME/display" ] && break; sleep 0.1; done
  [ -s "$HOME/display" ] || { cat "$HOME/xvfb.log" >&2; echo "FAIL: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$(cat "$HOME/display") QT_QPA_PLATFORM=xcb
  "$launcher" --launch-immediately 2>"$HOME/bus.log" &
  started+=($!)
  "$python" "$here/graph-on-the-bus.py" "$HOME/bin/Orvalis" "$@"
  exit
fi

program=${1:?usage: graph-on-the-bus.sh PROGRAM}
skip() { echo "SKIP: $* (scripts/install-deps.sh installs it)"; exit "$skipped"; }
for tool in dbus-run-session Xvfb xdotool timeout; do
  command -v "$tool" >/dev/null || skip "$tool is missing"
done
launcher=
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [ -x "$candidate" ] && { launcher=$candidate; break; }
done
[ -n "$launcher" ] || skip "at-spi-bus-launcher (at-spi2-core) is missing"
# The system's Python holds the distribution's pyatspi; another on the PATH may not.
python=
for candidate in /usr/bin/python3 "$(command -v python3 || true)"; do
  [ -x "$candidate" ] && "$candidate" -c 'import pyatspi' 2>/dev/null && { python=$candidate; break; }
done
[ -n "$python" ] || skip "python3-pyatspi is missing"

exec timeout -k 5 "$time_limit" dbus-run-session -- "$0" --inside "$python" "$launcher" "$program" "${@:2}"
