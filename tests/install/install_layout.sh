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
if command -v desktop-file-validate >/dev/null; then
  for entry in "$prefix"/share/applications/*.desktop; do
    [ -f "$entry" ] && { desktop-file-validate "$entry" || fail=1; }
  done
fi
[ $fail -eq 0 ] && echo "PASS: installed layout complete"
exit $fail
