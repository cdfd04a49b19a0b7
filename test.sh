#!/usr/bin/env bash
# Builds and runs every test: the native x86-64 build with all tests, then the
# i386 build of the toolkit-free core, which executes the IA-32 code for real
# (natively where the kernel can, and always under qemu-i386), then the core
# under AddressSanitizer and UndefinedBehaviorSanitizer, every fuzz target
# for a short fixed time (ORVALIS_FUZZ_SECONDS, 20), and last the Debian
# package, built by dpkg-buildpackage, checked by lintian and (as root)
# installed, run and removed.
#   ./test.sh           everything, as CI runs it
#   ./test.sh --quick   the native build and its tests only
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
jobs=$(nproc)

# The quick developer loop: the native tree and its tests, nothing else.
if [ "${1:-}" = --quick ]; then
  cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVALIS_TESTS=ON -DORVALIS_BENCHMARKS=ON
  cmake --build build/native -j "$jobs"
  ctest --test-dir build/native --output-on-failure -j "$jobs"
  exit 0
fi
[ $# -eq 0 ] || { echo "usage: ./test.sh [--quick]" >&2; exit 2; }

echo "== native x86-64 build =="
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVALIS_TESTS=ON -DORVALIS_BENCHMARKS=ON
cmake --build build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure -j "$jobs"

# The windows, dialogs and pictures do not depend on the machine's other
# fonts: their tests run again without the Noto and DejaVu faces, and the
# pictures of both runs must be identical.
echo "== the windows and pictures under another set of fonts =="
tests/fonts/same-under-other-fonts.sh build/native

echo "== i386 build of the core =="
cmake -S . -B build/i386 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/i386.cmake -DORVALIS_GUI=OFF -DORVALIS_BENCHMARKS=OFF
cmake --build build/i386 -j "$jobs"
ctest --test-dir build/i386 --output-on-failure -j "$jobs"
# Where the kernel ran them itself, the i386 tests run once more under
# qemu-i386, which runs them on kernels without 32-bit support, and the
# x86-64 core tests under qemu-x86_64: the formula code must behave the same
# under an emulator that caches its translations of code.
echo "== the core tests under qemu =="
if build/i386/i386-probe 2>/dev/null; then
  for tests in build/i386/tests/orvalis_core_tests build/i386/tests/orvalis_plot_core_tests \
               build/i386/tests/settings/orvalis_settings_tests; do
    qemu-i386 "$tests" --gtest_brief=1
  done
fi
qemu-x86_64 build/native/tests/orvalis_core_tests --gtest_brief=1

echo "== sanitizer build of the core (AddressSanitizer, UndefinedBehaviorSanitizer) =="
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALIS_SANITIZE=ON \
  -DORVALIS_GUI=OFF -DORVALIS_BENCHMARKS=OFF
cmake --build build/asan -j "$jobs"
ctest --test-dir build/asan --output-on-failure -j "$jobs"

echo "== fuzz targets (libFuzzer with both sanitizers) =="
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVALIS_GUI=OFF -DORVALIS_BENCHMARKS=OFF -DORVALIS_TESTS=OFF -DORVALIS_FUZZ=ON
cmake --build build/fuzz -j "$jobs"
fuzz/run.sh build/fuzz "${ORVALIS_FUZZ_SECONDS:-20}"

echo "== Debian package =="
tests/package/install-test.sh
