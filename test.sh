#!/usr/bin/env bash
# Builds and runs every test: the native x86-64 build with all tests, then the
# i386 build of the toolkit-free core, which executes the IA-32 code for real,
# then the Debian package made from the native build (as root only).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
jobs=$(nproc)

echo "== native x86-64 build =="
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure -j "$jobs"

echo "== i386 build of the core =="
cmake -S . -B build/i386 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/i386.cmake -DORVALIS_GUI=OFF -DORVALIS_BENCHMARKS=OFF
cmake --build build/i386 -j "$jobs"
ctest --test-dir build/i386 --output-on-failure -j "$jobs"

echo "== Debian package from the native build =="
tests/package/install-test.sh build/native
