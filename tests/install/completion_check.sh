#!/usr/bin/env bash
# Drives the bash completion of vornix-cli the way bash does: COMP_WORDS and
# COMP_CWORD set, the completion function called, COMPREPLY read.
# Usage: completion_check.sh COMPLETION_FILE VORNIX_CLI
# Exits 77 (skipped) when bash-completion is not installed.
set -uo pipefail
completion=$(realpath "$1")
cli_dir=$(cd "$(dirname "$2")" && pwd)
framework=/usr/share/bash-completion/bash_completion
[ -r "$framework" ] || { echo "SKIP: bash-completion is not installed"; exit 77; }
# shellcheck source=/dev/null
source "$framework"
# shellcheck source=../../packaging/completion/vornix-cli
source "$completion"
PATH=$cli_dir:$PATH

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch keys.zip OLD.ZIP notes.txt
mkdir folder
fail=0

# expect "WANTED WORDS" WORD... : completes the last WORD; COMPREPLY must be
# exactly the wanted words, in any order.
expect() {
  local wanted=$1
  shift
  COMP_WORDS=(vornix-cli "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _vornix_cli
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort | tr '\n' ' ')
  wanted=$(tr ' ' '\n' <<<"$wanted" | sed '/^$/d' | sort | tr '\n' ' ')
  if [ "$got" != "$wanted" ]; then
    echo "vornix-cli $* <Tab>: got '$got', wanted '$wanted'"
    fail=1
  fi
}

expect "edit export" e
expect "generate" gen
expect "--version" --v
expect "passwd" help pa
# The archive operand offers archives and folders, not other files.
expect "keys.zip OLD.ZIP folder" list ""
expect "keys.zip OLD.ZIP folder" add --user joe ""
expect "" add keys.zip ""
# Options belong to their command.
expect "--generate" add keys.zip Bank --ge
expect "--length --lower" generate --l
expect "" rm keys.zip Bank --ge
# Option values: listed words, any file, or a free value (nothing offered).
expect "password" show keys.zip Bank --field pa
expect "keys.zip OLD.ZIP folder notes.txt" export keys.zip --csv ""
expect "" add keys.zip Bank --user ""
expect "aes256 hardened traditional" create keys.zip --encryption ""
expect "--force" passwd keys.zip --backups 2 --f
# Format names come from the usage's list of formats.
expect "bitwarden bitwarden-json" import keys.zip --format bit
expect "keepass-xml" export keys.zip --format k
expect "--ignore-columns" import keys.zip --ig
# A site that starts with "-" after "--" is an operand, not an option.
expect "" rm -- keys.zip ""
expect "" nonsense ""
[ $fail -eq 0 ] && echo "PASS: bash completion of vornix-cli"
exit $fail
