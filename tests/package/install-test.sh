#!/usr/bin/env bash
# Builds the Debian package from the source tree with dpkg-buildpackage (in a
# scratch copy, so that nothing lands beside the tree), checks it with
# lintian, and as root installs it with apt-get, runs both programs from it
# and removes it again. As any other user the installation is skipped.
# Usage: tests/package/install-test.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$here/../.." && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in dpkg-buildpackage dh lintian dpkg-deb; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs what is needed)"
done
version=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)
grep -q "^project(Orvalis VERSION $version " "$source/CMakeLists.txt" \
  || fail "debian/changelog's version $version is not the project's"

work=$(mktemp -d)
chmod 755 "$work" # apt reads the package as its own user
installed=no
cleanup() {
  if [ "$installed" = yes ]; then apt-get remove -y -q orvalis >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

echo "== building the package with dpkg-buildpackage"
mkdir "$work/src"
tar -C "$source" --exclude=./build --exclude=./.git -cf - . | tar -C "$work/src" -xf -
(cd "$work/src" && DEB_BUILD_OPTIONS="parallel=$(nproc)" dpkg-buildpackage -us -uc -b >"$work/build.log" 2>&1) \
  || { tail -n 40 "$work/build.log" >&2; fail "dpkg-buildpackage failed"; }
cd "$work"
deb=orvalis_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "dpkg-buildpackage made no $deb: $(ls)"

depends=$(dpkg-deb -f "$deb" Depends)
# Newer releases name the libraries with t64; ${shlibs:Depends} finds either.
needed=(libqt6widgets6 libqt6gui6 libqt6core6 libfreetype6 libgif7 fonts-liberation2)
for p in "${needed[@]}"; do
  grep -qE "(^|, |\\| )$p(t64)?( |,|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
done
# The distribution's hardening reached the programs and the renderer's
# module: bound at once, read-only relocations, position-independent.
module=$(dpkg-deb --contents "$deb" | grep -o '\./usr/lib/[^ ]*/orvalis/orvalis-plot-painter\.so$') \
  || fail "the package holds no orvalis-plot-painter.so under /usr/lib/<triplet>/orvalis"
for file in ./usr/bin/Orvalis ./usr/bin/orvalis-plot "$module"; do
  name=$(basename "$file")
  dpkg-deb --fsys-tarfile "$deb" | tar -xO "$file" >"$work/$name"
  readelf -d "$work/$name" | grep -q 'FLAGS.*BIND_NOW' || fail "$name is not linked with -z now"
  readelf -lW "$work/$name" | grep -q GNU_RELRO || fail "$name has no RELRO segment"
  readelf -h "$work/$name" | grep -q 'DYN ' || fail "$name is not position-independent"
done

echo "== lintian --pedantic $deb"
# Errors and warnings fail; information and pedantic tags are shown.
lintian --pedantic --fail-on error,warning "$deb" || fail "lintian reports errors or warnings"

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP installing the Debian package: apt-get install needs root"
  exit 0
fi
for tool in apt-get setpriv flock; do
  command -v "$tool" >/dev/null || fail "$tool is missing"
done
# Other worktrees on this machine install the same package: one at a time.
exec 9>/run/lock/orvalis-package-test.lock
flock -w 900 9 || fail "another package test held the lock for 15 minutes"
if dpkg-query -W -f='${Status}' orvalis 2>/dev/null | grep -q 'install ok installed'; then
  fail "a package orvalis is installed already; remove it (apt-get remove orvalis) and run again"
fi
[ ! -e /usr/bin/Orvalis.INI ] || fail "/usr/bin/Orvalis.INI exists already"

echo "== installing $deb"
installed=yes
# Without the recommended packages, which the test does not need and which
# would have to be downloaded.
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 \
  "./$deb" >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log" >&2; fail "apt-get install ./$deb failed"; }
dpkg-query -W -f='${Status} ${Version}' orvalis | grep -qx "install ok installed $version" \
  || fail "orvalis $version is not installed"

"$here/check-installed-files.sh" /usr "$version"

# The window, offscreen, as a user who cannot write to /usr/bin: it must stay
# up, and it makes its per-user settings folder on the way.
home=$work/home-offscreen
mkdir "$home" && chown 65534:65534 "$home"
setpriv --reuid=65534 --regid=65534 --clear-groups \
  env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen /usr/bin/Orvalis >"$work/orvalis.log" 2>&1 &
pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || { cat "$work/orvalis.log" >&2; fail "Orvalis ended within 2 s"; }
kill "$pid"
wait "$pid" || true
[ -d "$home/.config/Orvalis" ] || fail "Orvalis made no folder $home/.config/Orvalis"
echo "Orvalis offscreen: stayed up 2 s, settings folder made: OK"

# On a real X server the whole cycle: shown, closed, settings written.
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null && command -v python3 >/dev/null; then
  home=$work/home-x
  mkdir "$home" && chown 65534:65534 "$home"
  xvfb-run -a -s "-ac -screen 0 1280x1024x24" "$here/window-cycle.sh" "$home"
else
  echo "SKIP the window cycle on Xvfb: xvfb-run, xdotool or python3 missing"
fi

echo "== removing the package"
apt-get remove -y -q -o DPkg::Lock::Timeout=300 orvalis >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log" >&2; fail "apt-get remove orvalis failed"; }
installed=no
for f in /usr/bin/Orvalis /usr/bin/orvalis-plot /usr/share/applications/org.orvalis.Orvalis.desktop; do
  [ ! -e "$f" ] || fail "$f is still there after the removal"
done
echo "Debian package $deb: built, installed, run and removed: OK"
