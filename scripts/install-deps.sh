#!/usr/bin/env bash
# Installs the Debian packages Orvalis needs, when any is missing:
#   scripts/install-deps.sh run   what building and running the program needs
#   scripts/install-deps.sh       that and what every test needs
set -euo pipefail

# How long to wait for the package manager's lock: unattended upgrades on a
# fresh desktop hold it for minutes.
lock_wait=300
lock_poll=2
lock_files=(/var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock /var/cache/apt/archives/lock)

# Building and running.
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libjpeg-dev fonts-liberation2
  libfontconfig-dev                         # orvalis-plot's fonts: the program's faces alone
  libfreetype-dev                           # SVG pages measure their texts in the faces' files
  libgif-dev qt6-svg-dev                    # GIF animations; Qt's SVG pages against the own in tests
  qt6-multimedia-dev                        # the window plays the curve as sound
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
    dbus at-spi2-core python3-pyatspi         # the picture heard on an accessibility bus of its own
    librsvg2-bin                              # data/make-icon.sh; rsvg-convert renders the SVG pages in the tests
    poppler-utils                             # pdftotext and pdftoppm read back the PDF pages in the tests
    sox                                       # soxi and sox read back the WAV sound in the tests
    texlive-latex-base texlive-latex-recommended texlive-pictures  # pdflatex and PGFPlots compile the LaTeX pictures in the tests
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
# "PID (NAME)" of a process holding one of the package manager's locks, read
# from /proc/locks (apt's fcntl locks and flock's alike), or failure.
lock_holder() {
  local file inode pid
  for file in "${lock_files[@]}"; do
    [ -e "$file" ] || continue
    inode=$(stat -c %i "$file")
    pid=$(awk -v inode="$inode" '$2 != "->" { n = split($6, id, ":"); if (id[n] == inode) { print $5; exit } }' /proc/locks)
    if [ -n "$pid" ]; then
      echo "$pid ($(cat "/proc/$pid/comm" 2>/dev/null || echo unknown))"
      return 0
    fi
  done
  return 1
}

# apt-get update does not wait for its lock by itself, so wait here for
# all of them; apt-get install waits too, for a lock taken in between.
wait_for_package_lock() {
  local holder start=$SECONDS
  holder=$(lock_holder) || return 0
  echo "Waiting for the package manager's lock, held by process $holder (at most $lock_wait s)..."
  while holder=$(lock_holder); do
    if [ $((SECONDS - start)) -ge "$lock_wait" ]; then
      echo "The package manager's lock is still held by process $holder after $lock_wait s." >&2
      echo "Run this again once that process has finished." >&2
      exit 1
    fi
    sleep "$lock_poll"
  done
  echo "The lock is free after $((SECONDS - start)) s."
}

echo "Installing: ${missing[*]}"
wait_for_package_lock
"${sudo[@]}" apt-get update -q
wait_for_package_lock
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
  -o DPkg::Lock::Timeout="$lock_wait" "${missing[@]}"
