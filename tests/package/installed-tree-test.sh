#!/usr/bin/env bash
# Installs the build into a scratch prefix with cmake --install and checks
# what lands there. Usage: installed-tree-test.sh CMAKE BUILD_DIR VERSION
set -euo pipefail
cmake=$1 build=$2 version=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
"$(dirname "$0")/check-installed-files.sh" "$prefix" "$version"
