#!/usr/bin/env bash
# Checks a built Debian package: its control fields, the files it unpacks
# (the same layout as an install), that the unpacked programs run, and that
# lintian finds no errors, and that both programs carry the full hardening
# (stack protector, fortified calls, PIE, read-only relocations bound now).
# Usage: package_check.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/layout_checks.sh"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail=0

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = vornix ] || layout_fault "package name: $(field Package)"
[ "$(field Section)" = utils ] || layout_fault "section: $(field Section)"
[ -n "$(field Maintainer)" ] || layout_fault "no maintainer"
depends=$(field Depends)
# libqt6svg6 is named by hand; the Qt and C++ libraries must come from the
# binaries themselves.
for lib in libqt6svg6 libqt6widgets6 libstdc++6; do
  [[ $depends == *"$lib"* ]] || layout_fault "Depends lacks $lib: $depends"
done
[ "$(basename "$deb")" = "vornix_$(field Version)_$(field Architecture).deb" ] ||
  layout_fault "file name $(basename "$deb") is not Debian's"

dpkg-deb -x "$deb" "$root"
check_layout "$root/usr"
version=$("$root/usr/bin/vornix-cli" --version) || layout_fault "unpacked vornix-cli does not run"
[[ $(field Version) == "${version#vornix-cli }"-* ]] ||
  layout_fault "package version $(field Version) is not the program's ($version)"
[ "$("$root/usr/bin/vornix" --version)" = "vornix ${version#vornix-cli }" ] ||
  layout_fault "unpacked vornix --version differs from vornix-cli's"
# Nothing outside /usr, and nothing owned by the packager.
stray=$(dpkg-deb --contents "$deb" | awk '$6 !~ /^\.\/(usr\/.*)?$/ || $2 != "root/root"')
[ -z "$stray" ] || layout_fault "unexpected entries: $stray"

# The AppStream data as a software centre meets it: beside the desktop entry
# it launches.
if command -v appstreamcli >/dev/null; then
  appstreamcli validate-tree --no-net "$root" || layout_fault "AppStream data invalid in the package"
fi
# hardening-check knows only some of glibc's fortified functions: a program
# that calls just others (explicit_bzero, as the secret wipe does) is
# fortified all the same, which its imports show.
hardened() {
  hardening-check --nocfprotection "$1" >/dev/null && return 0
  hardening-check --nocfprotection --nofortify "$1" || return 1
  # grep -c reads all its input: no early exit to fail the pipe.
  nm -D "$1" | grep -v -w __stack_chk_fail | grep -c '_chk@' >/dev/null ||
    { hardening-check --nocfprotection "$1"; return 1; }
}
if command -v hardening-check >/dev/null; then
  for program in vornix vornix-cli; do
    hardened "$root/usr/bin/$program" || layout_fault "$program lacks hardening"
  done
else
  echo "hardening-check not installed: programs not checked for hardening"
fi
if command -v lintian >/dev/null; then
  lintian --fail-on error --display-info "$deb" || layout_fault "lintian reports errors"
else
  echo "lintian not installed: package not linted"
fi
[ $fail -eq 0 ] && echo "PASS: package $(basename "$deb") complete"
exit $fail
