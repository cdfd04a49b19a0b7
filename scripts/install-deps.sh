#!/usr/bin/env bash
# Installs the Debian packages Orvalis needs, when any is missing:
#   scripts/install-deps.sh run   what building and running the program needs
#   scripts/install-deps.sh       that and what every test needs
set -euo pipefail

# Building and running.
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libjpeg-dev fonts-liberation2
  libfontconfig-dev                         # orvalis-plot's fonts: the program's faces alone
  libfreetype-dev                           # SVG pages measure their texts in the faces' files
  libgif-dev qt6-svg-dev                    # GIF animations; Qt's SVG pages against the own in tests
)
if [ "${1:-test}" != run ]; then
  packages+=(
    g++-multilib                              # the i386 build of the core
    libgtest-dev libbenchmark-dev libmuparser-dev
    xvfb xauth
    appstream desktop-file-utils groff-base   # validate the menu and catalogue entries, the manual page
    build-essential debhelper dpkg-dev file   # dpkg-buildpackage makes the Debian package
    lintian man-db                            # check the package and the manual pages
    xdotool python3                           # the installed window shown and closed on Xvfb
    librsvg2-bin                              # data/make-icon.sh; rsvg-convert renders the SVG pages in the tests
    poppler-utils                             # pdftotext and pdftoppm read back the PDF pages in the tests
    imagemagick                               # identify reads back the pictures' resolution and transparency
    fonts-noto-core fonts-dejavu-core fonts-dejavu-extra  # common faces: windows and pictures the same with and without them
    hyperfine gnuplot-nox                     # bench/against-gnuplot.sh
    qemu-user   # runs the i386 tests where the kernel cannot run i386 programs
    clang libclang-rt-dev     # the fuzz targets: libFuzzer and the sanitizer runtimes
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them as root, then run this again:" >&2
  echo "  apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
