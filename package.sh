#!/usr/bin/env bash
# Installs what is missing, builds the Release tree in build/ and makes the
# Debian package from it; prints the package's path.
# Usage: ./package.sh
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
install_missing "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

configure_release_build
cmake --build build
log=$(cd build && cpack -G DEB)
deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' <<<"$log")
[ -f "$deb" ] || { echo "$log"; echo "package.sh: cpack made no package" >&2; exit 1; }
echo "$deb"
