#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed layout:
# the programs, the desktop entry and AppStream data, the icon in the hicolor
# sizes, the compressed manual pages, the bash completion, the copyright and
# the changelog.
# Usage: install_layout.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/layout_checks.sh"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
check_layout "$prefix"
entry=$prefix/share/applications/example.vornix.Vornix.desktop
if [ -f "$entry" ] && command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail=1
fi
[ $fail -eq 0 ] && echo "PASS: installed layout complete"
exit $fail
