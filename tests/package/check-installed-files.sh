#!/usr/bin/env bash
# Checks an installed Orvalis under PREFIX: the files in place and pointing at
# each other, the icons at every size, the menu and catalogue entries valid,
# both manual pages free of warnings, orvalis-plot's covering every option,
# and orvalis-plot drawing a picture.
# Usage: check-installed-files.sh PREFIX VERSION
set -euo pipefail
prefix=$1 version=$2
id=org.orvalis.Orvalis
bin=$prefix/bin
desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
svg=$prefix/share/icons/hicolor/scalable/apps/$id.svg
icons=$prefix/share/icons/hicolor
man=$prefix/share/man/man1/orvalis-plot.1.gz
window_man=$prefix/share/man/man1/Orvalis.1.gz
source=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# The width and height of a PNG file, from its header chunk.
png_size() {
  [ "$(od -An -tx1 -N8 "$1" | tr -d ' \n')" = 89504e470d0a1a0a ] || { echo "not a PNG"; return; }
  local w h
  w=$(od -An -tu1 -j16 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
  h=$(od -An -tu1 -j20 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
  echo "${w}x${h}"
}

for f in "$bin/Orvalis" "$bin/orvalis-plot"; do
  [ -x "$f" ] || fail "$f is not an installed program"
done
for f in "$desktop" "$metainfo" "$svg" "$man" "$window_man"; do
  [ -s "$f" ] || fail "$f is missing"
done

# The entries point at what is installed.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ -x "$bin/${exec_line%% *}" ] || fail "the menu entry starts '$exec_line', which is not in $bin"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "the menu entry's icon is not $id"
grep -q "<id>$id</id>" "$metainfo" || fail "the catalogue entry's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
  || fail "the catalogue entry does not launch $id.desktop"
for b in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo"); do
  [ -x "$bin/$b" ] || fail "the catalogue entry provides $b, which is not in $bin"
done
grep -q "<release version=\"$version\"" "$metainfo" || fail "the catalogue entry has no release $version"
for size in 16 22 24 32 48 64 128 256 512; do
  png=$icons/${size}x$size/apps/$id.png
  [ -s "$png" ] || fail "no $size px icon $png"
  [ "$(png_size "$png")" = "${size}x$size" ] || fail "the $size px icon is $(png_size "$png")"
done
grep -q '<svg' "$svg" || fail "the scalable icon is no SVG"

# What a software centre shows: the homepage, the licence, screenshots that
# the project's pages hold (its folder docs/ under the homepage).
homepage=$(sed -n 's:.*<url type="homepage">\(.*\)</url>.*:\1:p' "$metainfo")
[ -n "$homepage" ] || fail "the catalogue entry has no homepage"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "the catalogue entry's licence is not MIT"
grep -q '<content_rating type="oars-1.1"' "$metainfo" || fail "the catalogue entry has no content rating"
shots=$(sed -n 's:.*<image>\(.*\)</image>.*:\1:p' "$metainfo")
[ "$(wc -l <<<"$shots")" -ge 2 ] || fail "the catalogue entry names fewer than two screenshots"
for url in $shots; do
  [ "${url#"$homepage"}" != "$url" ] || fail "the screenshot $url is not under $homepage"
  [ -s "$source/${url#"$homepage"}" ] || fail "the screenshot $url is not in the repository"
done

# The validators of the desktop and of software centres.
if command -v desktop-file-validate >/dev/null && command -v appstreamcli >/dev/null; then
  # desktop-file-validate's hints (two main categories, say) count too.
  hints=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate rejects $desktop: $hints"
  [ -z "$hints" ] || fail "desktop-file-validate: $hints"
  appstreamcli validate --pedantic --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
else
  echo "SKIP validation: desktop-file-validate or appstreamcli missing (scripts/install-deps.sh installs them)"
fi

# Both manual pages render without warnings, each with its sections, and
# orvalis-plot's names every option that its usage text lists.
for page in "$man" "$window_man"; do
  zcat "$page" > "$work/page.1"
  warnings=$(groff -man -ww -z "$work/page.1" 2>&1) || true
  [ -z "$warnings" ] || fail "$page has roff warnings: $warnings"
  if command -v man >/dev/null; then
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man cannot show $page"
    [ -z "$warnings" ] || fail "man --warnings on $page: $warnings"
  fi
  for section in NAME SYNOPSIS DESCRIPTION ENVIRONMENT "SEE ALSO"; do
    grep -q "^\.SH \"*$section" "$work/page.1" || fail "$page has no section $section"
  done
done
grep -q '^\.SH FILES' <(zcat "$window_man") || fail "Orvalis(1) has no section FILES"
grep -q 'Orvalis\.INI' <(zcat "$window_man") || fail "Orvalis(1) does not name the settings file"
zcat "$man" > "$work/page.1"
groff -man -Tascii -rLL=250n -P-cbou "$work/page.1" 2>/dev/null > "$work/page.txt"
usage=$("$bin/orvalis-plot" 2>&1 >/dev/null) && fail "orvalis-plot without arguments succeeded"
options=$(grep -o -- '--[a-z][a-z-]*' <<<"$usage" | sort -u)
[ -n "$options" ] || fail "no options found in the usage text: $usage"
for o in $options; do
  grep -q -- "$o" "$work/page.txt" || fail "the manual page does not describe $o"
done
sed -n '/^EXIT STATUS/,/^[A-Z]/p' "$work/page.txt" > "$work/statuses.txt"
for status in 0 1 2; do
  grep -qE "^ +$status( |$)" "$work/statuses.txt" || fail "the manual page does not explain exit status $status"
done

# The installed renderer draws the default picture with its painter module,
# and the SVG page without it.
"$bin/orvalis-plot" "sin(x)" "$work/sin.png" || fail "orvalis-plot failed"
[ "$(png_size "$work/sin.png")" = 507x266 ] || fail "orvalis-plot drew $(png_size "$work/sin.png"), not 507x266"
"$bin/orvalis-plot" "sin(x)" "$work/sin.svg" || fail "orvalis-plot failed on an SVG page"
grep -q '<svg' "$work/sin.svg" || fail "orvalis-plot wrote no SVG page"
echo "installed files under $prefix: OK ($(wc -w <<<"$options") options documented)"
