#!/usr/bin/env bash
# The windows, dialogs and pictures are the same whatever other fonts the
# machine has. Runs the tests of every window, dialog and picture again under
# a font configuration that leaves out the Noto and DejaVu faces (installed
# as test dependencies, so the first run had them), and compares the
# pictures of both runs byte for byte: the main window's client area below
# the menu bar, Preferences and About at device pixel ratios 1 and 2, every
# picture of the picture tests, and orvalis-plot's PNG and SVG. The help
# window, a document in the desktop's fonts, is left out of the comparison.
# usage: tests/fonts/same-under-other-fonts.sh BUILD-FOLDER
set -euo pipefail
build="$(realpath "${1:-build/native}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cat > "$work/fonts.conf" <<'CONF'
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <selectfont>
    <rejectfont>
      <glob>/usr/share/fonts/truetype/noto/*</glob>
      <glob>/usr/share/fonts/opentype/noto/*</glob>
      <glob>/usr/share/fonts/truetype/dejavu/*</glob>
    </rejectfont>
  </selectfont>
</fontconfig>
CONF
other=(FONTCONFIG_FILE="$work/fonts.conf")

# The pictures of one run into $work/NAME; the rest are the run's variables.
pictures() {
  local out="$work/$1"
  shift
  env "$@" "$build/tests/orvalis_window_pictures" "$out/ratio-1"
  env "$@" QT_SCALE_FACTOR=2 "$build/tests/orvalis_window_pictures" "$out/ratio-2"
  rm -rf "$build/tests/pictures"
  env "$@" "$build/tests/orvalis_picture_tests" --gtest_brief=1
  cp -r "$build/tests/pictures" "$out/plots"
  for format in png svg; do
    env "$@" "$build/orvalis-plot" "sin(x)" "$out/sin.$format"
  done
}

echo "-- the machine's fonts as installed: $(fc-match -f '%{family}' sans-serif) for sans-serif"
pictures installed
echo "-- without Noto and DejaVu: $(env "${other[@]}" fc-match -f '%{family}' sans-serif) for sans-serif"
pictures other "${other[@]}"
for tests in orvalis_about_tests orvalis_preferences_tests orvalis_window_tests; do
  env "${other[@]}" "$build/tests/$tests" --gtest_brief=1
done
env "${other[@]}" QT_SCALE_FACTOR=2 "$build/tests/orvalis_window_tests" --gtest_brief=1 \
  --gtest_filter='WheelAndScale.*:MainWindow.FirstStart*:Navigation.ClickZoom*'

if ! diff -r -q -x 'HelpWindow*' "$work/installed" "$work/other"; then
  echo "The pictures above differ between the two sets of fonts." >&2
  exit 1
fi
echo "-- $(find "$work/installed" -type f ! -name 'HelpWindow*' | wc -l) pictures are the same under both sets of fonts"
