#!/usr/bin/env bash
# Installs what is missing, builds a Release build in build/ and starts Vornix.
# Usage: ./run.sh [archive.zip]
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
install_missing "${BUILD_PACKAGES[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORNIX_BUILD_TESTS=OFF -DVORNIX_BUILD_BENCH=OFF >/dev/null
cmake --build build --target vornix vornix-cli
exec ./build/app/vornix "$@"
