#!/usr/bin/env bash
# Installs what is missing, builds a Release build in build/ and starts Vornix.
# Usage: ./run.sh [archive.zip]
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
install_missing "${BUILD_PACKAGES[@]}"

configure_release_build
cmake --build build --target vornix vornix-cli
exec ./build/app/vornix "$@"
