#!/usr/bin/env bash
# Installs what is missing, builds the Release tree in build/ and makes the
# Debian package from it. Prints the package's path on standard output and
# everything else on standard error.
# Usage: ./package.sh
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
install_missing "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}" >&2

configure_release_build >&2
cmake --build build >&2
log=$(cd build && cpack -G DEB)
deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' <<<"$log")
[ -f "$deb" ] || { echo "$log" >&2; echo "package.sh: cpack made no package" >&2; exit 1; }
echo "$deb"
