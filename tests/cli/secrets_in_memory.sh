#!/usr/bin/env bash
# Reads a site with vornix-cli show and dumps the process's memory as it
# exits: neither the archive password nor the password of a site that was
# not shown may be found in it (freed buffers included). The shown site's
# password is in the output buffer, as asked.
# Usage: secrets_in_memory.sh VORNIX_CLI (a build without sanitizers)
set -euo pipefail
cli=$(realpath "$1")
command -v gdb >/dev/null || { echo "gdb is needed"; exit 1; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
archive_pw=ArchPassQ7xv
shown_pw=SitePassZ9kv
hidden_pw=SitePassW3mv
printf '%s\n%s\n' $archive_pw $archive_pw | "$cli" create keys.zip
printf '%s\n%s\n' $archive_pw $shown_pw | "$cli" add keys.zip Bank --user joe
printf '%s\n%s\n' $archive_pw $hidden_pw | "$cli" add keys.zip Mail
printf '%s\n' $archive_pw > input
cat > commands <<GDB
set pagination off
catch syscall exit_group
run show keys.zip bank < input > shown
gcore $dir/core
kill
quit
GDB
gdb -q -batch -x commands "$cli" > gdb.log 2>&1 || { cat gdb.log; exit 1; }
[ -s core ] || { echo "no core was written"; cat gdb.log; exit 1; }
grep -q $shown_pw shown || { echo "show printed no password"; exit 1; }
status=0
for secret in $archive_pw $hidden_pw; do
  hits=$( (grep -a -o $secret core || true) | wc -l)
  if [ "$hits" -ne 0 ]; then
    echo "FAIL: $secret found $hits time(s) in the memory of vornix-cli show"
    status=1
  fi
done
[ $status -eq 0 ] && echo "secrets_in_memory: no archive or unshown site password left in memory"
exit $status
