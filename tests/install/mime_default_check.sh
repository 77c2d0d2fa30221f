#!/usr/bin/env bash
# A double-click on an ordinary ZIP file must not open Vornix: with an
# archive manager installed beside it, xdg-mime keeps application/zip with
# the archive manager and gives Vornix its vault type only. Runs in scratch
# XDG folders, so the machine's own associations play no part.
# Usage: mime_default_check.sh DESKTOP_ENTRY MIME_PACKAGE
# Exits 77 (skipped) when xdg-mime or update-mime-database is missing.
set -euo pipefail
entry=$1 package=$2
for tool in xdg-mime update-mime-database update-desktop-database; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
apps=$scratch/data/applications mime=$scratch/data/mime
mkdir -p "$apps" "$mime/packages" "$scratch/home" "$scratch/config" "$scratch/config-dirs"
cp /usr/share/mime/packages/freedesktop.org.xml "$package" "$mime/packages/"
cp "$entry" "$apps/"
# The archive manager as GNOME ships it, reduced to what the choice reads.
cat > "$apps/org.gnome.FileRoller.desktop" <<'DESKTOP'
[Desktop Entry]
Type=Application
Name=Archive Manager
Exec=file-roller %U
MimeType=application/x-tar;application/zip;application/x-7z-compressed;
DESKTOP
update-mime-database "$mime" >/dev/null
update-desktop-database "$apps"
export XDG_DATA_HOME=$scratch/home XDG_DATA_DIRS=$scratch/data
export XDG_CONFIG_HOME=$scratch/config XDG_CONFIG_DIRS=$scratch/config-dirs
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
fail=0
zip=$(xdg-mime query default application/zip)
vault=$(xdg-mime query default application/x-vornix-vault)
[ "$zip" = org.gnome.FileRoller.desktop ] ||
  { echo "FAIL: application/zip opens with '$zip'"; fail=1; }
[ "$vault" = "$(basename "$entry")" ] ||
  { echo "FAIL: the vault type opens with '$vault'"; fail=1; }
exit $fail
