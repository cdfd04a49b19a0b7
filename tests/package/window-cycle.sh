#!/usr/bin/env bash
# Runs the installed Orvalis once as user nobody on an X display: waits for
# its window, closes it as a window manager would and checks that the
# settings were written at exit to nobody's configuration folder, not beside
# the program. Run under xvfb-run with access control off (-ac).
# Usage: window-cycle.sh HOME_OF_NOBODY
set -euo pipefail
home=$1
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAIL: $*" >&2; [ -s "$home/orvalis.log" ] && cat "$home/orvalis.log" >&2; exit 1; }

setpriv --reuid=65534 --regid=65534 --clear-groups \
  env -i HOME="$home" PATH=/usr/bin:/bin DISPLAY="$DISPLAY" /usr/bin/Orvalis >"$home/orvalis.log" 2>&1 &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Orvalis$' | head -n 1) \
  || { kill "$pid" 2>/dev/null; fail "no Orvalis window appeared within 20 s"; }
kill -0 "$pid" 2>/dev/null || fail "Orvalis ended after showing its window"
"$here/close-window.py" "$window"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then kill "$pid"; fail "Orvalis did not end when its window was closed"; fi
wait "$pid" || fail "Orvalis ended with status $?"

settings=$home/.config/Orvalis/Orvalis.INI
[ -f "$settings" ] || fail "no settings file at $settings"
grep -qx 'YFormula=sin(x)' "$settings" && grep -qx 'Cartesian=1' "$settings" \
  || fail "the settings file holds: $(cat "$settings")"
[ ! -e /usr/bin/Orvalis.INI ] || fail "a settings file appeared beside the installed program"
echo "window shown, closed, settings written to $settings: OK"
