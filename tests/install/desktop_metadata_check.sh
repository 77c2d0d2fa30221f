#!/usr/bin/env bash
# Validates the AppStream file and the desktop entry with the platform's own
# validators, and checks what those cannot know: that the two name the same
# application, and that each screenshot is one we ship.
# Usage: desktop_metadata_check.sh METAINFO DESKTOP_ENTRY SCREENSHOT_DIR
# Exits 77 (skipped) when neither validator is installed.
set -euo pipefail
metainfo=$1 entry=$2 shots=$3
fail=0
if ! command -v appstreamcli >/dev/null && ! command -v desktop-file-validate >/dev/null; then
  echo "SKIP: neither appstreamcli nor desktop-file-validate is installed"
  exit 77
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" || fail=1
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail=1
fi

# Software centres find the desktop entry through the AppStream id.
tag() { sed -n "s:.*<$1[^>]*>\\([^<]*\\)</$1>.*:\\1:p" "$metainfo"; }
id=$(tag id)
[ "$(basename "$entry")" = "$id.desktop" ] || { echo "desktop entry $(basename "$entry") does not match id $id"; fail=1; }
[ "$(tag launchable)" = "$id.desktop" ] || { echo "launchable $(tag launchable) is not $id.desktop"; fail=1; }

images=$(tag image)
[ -n "$images" ] || { echo "no screenshot"; fail=1; }
for url in $images; do
  [[ $url == https://* ]] || { echo "screenshot not https: $url"; fail=1; }
  [ -f "$shots/$(basename "$url")" ] || { echo "screenshot $url: no $(basename "$url") in $shots"; fail=1; }
done
for program in vornix vornix-cli; do
  grep -q "<binary>$program</binary>" "$metainfo" || { echo "binary $program not provided"; fail=1; }
done
[ $fail -eq 0 ] && echo "PASS: desktop entry and AppStream data"
exit $fail
