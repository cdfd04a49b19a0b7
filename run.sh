#!/usr/bin/env bash
# Builds Orvalis (native x86-64, with its Qt window) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVALIS_TESTS=OFF -DORVALIS_BENCHMARKS=OFF >/dev/null
cmake --build build/native --target Orvalis
exec build/native/Orvalis
