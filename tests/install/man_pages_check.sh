#!/usr/bin/env bash
# The manual pages format without a single warning, and vornix-cli's page
# documents every command and option that `vornix-cli --help` shows.
# Usage: man_pages_check.sh VORNIX_CLI PAGE.1...
# Exits 77 (skipped) when man is not installed.
set -euo pipefail
cli=$1
shift
command -v man >/dev/null || { echo "SKIP: man is not installed"; exit 77; }
fail=0

# man exits 0 on formatting warnings; they only show on standard error.
for page in "$@"; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$page:"; echo "$warnings"; fail=1; }
done

cli_page=
for page in "$@"; do [[ $(basename "$page") == vornix-cli.* ]] && cli_page=$page; done
[ -n "$cli_page" ] || { echo "no vornix-cli page given"; exit 1; }
# Plain ASCII, wide enough that no option is hyphenated across lines.
text=$(LC_ALL=C.UTF-8 MANWIDTH=1000 man -E ascii -l "$cli_page" 2>/dev/null | col -bx)

# The lines from a subsection heading "   NAME ..." to the next heading.
subsection() { awk -v name="$1" '
  /^[^ ]/ || /^   [^ ]/ { inside = ($0 ~ "^   " name "( |$)") }
  inside' <<<"$text"; }
section() { awk -v name="$1" '/^[^ ]/ { inside = ($0 == name) } inside' <<<"$text"; }
shared_options=$(section "GENERATOR OPTIONS"; section "OPTIONS OF CHANGING COMMANDS")

commands=$("$cli" --help | sed -n '/^COMMANDS/,/^$/s/^ \{1,\}\([a-z][a-z0-9-]*\) .*/\1/p')
[ "$(wc -w <<<"$commands")" -ge 10 ] || { echo "could not read the commands from --help"; exit 1; }
for command in $commands; do
  documented=$(subsection "$command")
  if [ -z "$documented" ]; then echo "manual page lacks command $command"; fail=1; continue; fi
  for option in $("$cli" "$command" --help | grep -o -- '--[a-z][a-z0-9-]*' | sort -u); do
    grep -q -- "$option\\b" <<<"$documented"$'\n'"$shared_options" ||
      { echo "manual page lacks $command $option"; fail=1; }
  done
done
[ $fail -eq 0 ] && echo "PASS: manual pages clean and complete ($(wc -w <<<"$commands") commands)"
exit $fail
