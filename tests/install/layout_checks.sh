# shellcheck shell=bash
# The files an installed Vornix must have, checked under a root folder (an
# install prefix, or usr/ of an unpacked package). Sourced by the install and
# package checks; sets fail=1 and says why for each fault.
# Usage: check_layout ROOT

# shellcheck disable=SC2034  # fail is the calling script's verdict
layout_fault() { echo "$*"; fail=1; }

expect_file() {  # root path [x]
  if [ ! -f "$1/$2" ]; then layout_fault "missing: $2"; return 1; fi
  if [ "${3:-}" = x ] && [ ! -x "$1/$2" ]; then layout_fault "not executable: $2"; fi
  return 0
}

# A manual page or changelog must be gzip data that starts like the text it
# holds, not a plain file renamed.
expect_gzip() {  # root path first-line-pattern
  expect_file "$1" "$2" || return
  if ! gzip -t "$1/$2" 2>/dev/null; then layout_fault "not gzip data: $2"; return; fi
  zcat "$1/$2" | head -n 1 | grep -Eq "$3" || layout_fault "unexpected first line in $2"
}

check_layout() {
  local root=$1 metainfo app_id
  expect_file "$root" bin/vornix x
  expect_file "$root" bin/vornix-cli x
  # One AppStream file, and the desktop entry named after the same id.
  metainfo=$(cd "$root" && echo share/metainfo/*.metainfo.xml)
  expect_file "$root" "$metainfo"
  app_id=$(basename "$metainfo" .metainfo.xml)
  expect_file "$root" "share/applications/$app_id.desktop"
  expect_file "$root" share/icons/hicolor/scalable/apps/vornix.svg
  local size got
  for size in 16 32 48 128 256; do
    expect_file "$root" share/icons/hicolor/${size}x${size}/apps/vornix.png || continue
    if command -v identify >/dev/null; then
      got=$(identify -format '%wx%h' "$root/share/icons/hicolor/${size}x${size}/apps/vornix.png")
      [ "$got" = "${size}x${size}" ] || layout_fault "icon ${size}: is $got"
    fi
  done
  expect_gzip "$root" share/man/man1/vornix.1.gz '^(\.\\"|\.TH VORNIX )'
  expect_gzip "$root" share/man/man1/vornix-cli.1.gz '^(\.\\"|\.TH VORNIX\\-CLI )'
  [ -e "$root/share/man/man1/vornix.1" ] && layout_fault "uncompressed manual page installed"
  if expect_file "$root" share/bash-completion/completions/vornix-cli; then
    grep -q '^ *complete -F [_a-z]* vornix-cli$' "$root/share/bash-completion/completions/vornix-cli" ||
      layout_fault "completion file does not register vornix-cli"
  fi
  if expect_file "$root" share/doc/vornix/copyright; then
    head -n 1 "$root/share/doc/vornix/copyright" |
      grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
      layout_fault "copyright file is not in the machine-readable format"
  fi
  # The changelog names the version the programs report.
  local version
  version=$("$root/bin/vornix-cli" --version | sed -n 's/^vornix-cli //p')
  expect_gzip "$root" share/doc/vornix/changelog.Debian.gz "^vornix \\(${version//./\\.}-[0-9]+\\) "

  local entry=$root/share/applications/$app_id.desktop
  if [ -f "$entry" ]; then
    grep -qx 'Exec=vornix %f' "$entry" || layout_fault "desktop entry: wrong Exec"
    grep -qx 'Icon=vornix' "$entry" || layout_fault "desktop entry: wrong Icon"
    # Its own vault type only: with application/zip it would take every ZIP
    # file from the archive manager on some desktops.
    grep -qx 'MimeType=application/x-vornix-vault;' "$entry" ||
      layout_fault "desktop entry: not the vault type alone"
    grep -q 'type="application/x-vornix-vault"' "$root/share/mime/packages/vornix.xml" ||
      layout_fault "vault MIME type not installed"
  fi
}
