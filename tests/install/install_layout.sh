#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed layout:
# the programs, the application entry and the icon in the hicolor sizes.
# Usage: install_layout.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail=0
expect() {  # path [executable]
  if [ ! -f "$prefix/$1" ]; then echo "missing: $1"; fail=1; return; fi
  if [ "${2:-}" = x ] && [ ! -x "$prefix/$1" ]; then echo "not executable: $1"; fail=1; fi
}
expect bin/vornix x
expect bin/vornix-cli x
expect share/applications/vornix.desktop
expect share/icons/hicolor/scalable/apps/vornix.svg
for size in 16 32 48 128 256; do
  expect share/icons/hicolor/${size}x${size}/apps/vornix.png
  if command -v identify >/dev/null && [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/vornix.png" ]; then
    got=$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x${size}/apps/vornix.png")
    [ "$got" = "${size}x${size}" ] || { echo "icon ${size}: is $got"; fail=1; }
  fi
done

entry=$prefix/share/applications/vornix.desktop
if [ -f "$entry" ]; then
  grep -qx 'Exec=vornix %f' "$entry" || { echo "desktop entry: wrong Exec"; fail=1; }
  grep -qx 'Icon=vornix' "$entry" || { echo "desktop entry: wrong Icon"; fail=1; }
  grep -q '^MimeType=.*application/zip' "$entry" || { echo "desktop entry: no zip type"; fail=1; }
  if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry" || fail=1; fi
fi
[ $fail -eq 0 ] && echo "PASS: installed layout complete"
exit $fail
