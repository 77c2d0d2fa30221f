#!/usr/bin/env bash
# Two Syncthing devices on loopback share a folder with an AES archive. Both
# change it while their connection is paused; once resumed, Syncthing keeps
# one version as keys.zip and the other as a conflict copy. vornix-cli merge
# folds the copy in, and both folders end up with the same files: every
# change of both sides, no conflict copy left.
# Usage: syncthing_merge.sh VORNIX_CLI
# Exit 77 (skip) when Syncthing is missing or cannot start, except under CI.
set -euo pipefail
cli=$(realpath "$1")

skip_or_fail() {
  [ -n "${work:-}" ] && tail -n 5 "$work"/*.log 2>/dev/null
  if [ "${CI:-}" = true ]; then echo "FAIL: $1"; exit 1; fi
  echo "SKIP: $1"; exit 77
}
for tool in syncthing python3 curl; do
  command -v "$tool" >/dev/null || skip_or_fail "$tool missing"
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work STNOUPGRADE=1 STNORESTART=1

# Four free loopback ports: GUI and listen port of each device.
read -r gui_a listen_a gui_b listen_b < <(python3 - <<'PY'
import socket
socks = []
for _ in range(4):
    s = socket.socket(); s.bind(("127.0.0.1", 0)); socks.append(s)
print(*[s.getsockname()[1] for s in socks])
PY
)

for dev in a b; do
  syncthing generate --home="$work/$dev" --no-default-folder --skip-port-probing >/dev/null 2>&1 \
    || skip_or_fail "syncthing generate failed"
  mkdir -p "$work/vault-$dev"
done
id_a=$(syncthing serve --home="$work/a" --device-id)
id_b=$(syncthing serve --home="$work/b" --device-id)

# Loopback only: no discovery, relays, NAT traversal or reporting.
configure() {  # home gui listen folder other_id other_listen own_id
  python3 - "$@" <<'PY'
import sys, xml.etree.ElementTree as ET
home, gui, listen, folder, other, other_listen, own = sys.argv[1:]
path = home + "/config.xml"
tree = ET.parse(path); root = tree.getroot()
g = root.find("gui"); g.set("tls", "false"); g.find("address").text = "127.0.0.1:" + gui
o = root.find("options")
def put(name, value):
    for old in o.findall(name): o.remove(old)
    ET.SubElement(o, name).text = value
put("listenAddress", "tcp://127.0.0.1:" + listen)
for name in ("globalAnnounceEnabled", "localAnnounceEnabled", "relaysEnabled", "natEnabled",
             "crashReportingEnabled", "startBrowser"):
    put(name, "false")
put("urAccepted", "-1"); put("autoUpgradeIntervalH", "0")
d = ET.SubElement(root, "device", id=other, name="other", compression="metadata",
                  introducer="false")
ET.SubElement(d, "address").text = "tcp://127.0.0.1:" + other_listen
f = ET.SubElement(root, "folder", id="vault", label="vault", path=folder, type="sendreceive",
                  rescanIntervalS="3600", fsWatcherEnabled="true", fsWatcherDelayS="1")
ET.SubElement(f, "device", id=own); ET.SubElement(f, "device", id=other)
# A folder written by hand gets no defaults: without this, no conflict copy is kept.
ET.SubElement(f, "maxConflicts").text = "10"
tree.write(path)
print(g.find("apikey").text)
PY
}
key_a=$(configure "$work/a" "$gui_a" "$listen_a" "$work/vault-a" "$id_b" "$listen_b" "$id_a")
key_b=$(configure "$work/b" "$gui_b" "$listen_b" "$work/vault-b" "$id_a" "$listen_a" "$id_b")

for dev in a b; do
  syncthing serve --home="$work/$dev" --no-browser --no-restart --no-upgrade \
    --logfile="$work/$dev.log" >/dev/null 2>&1 &
  pids+=($!)
done

api() {  # device method path
  local port key
  if [ "$1" = a ]; then port=$gui_a key=$key_a; else port=$gui_b key=$key_b; fi
  curl -sf --noproxy "*" --max-time 5 -X "$2" -H "X-API-Key: $key" "http://127.0.0.1:$port$3"
}
# wait_for SECONDS DESCRIPTION COMMAND...: every wait is bounded.
wait_for() {
  local limit=$1 what=$2; shift 2
  for _ in $(seq 1 $((limit * 4))); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.25
  done
  echo "FAIL: timed out after ${limit}s waiting for $what"
  tail -n 20 "$work/a.log" "$work/b.log" || true
  exit 1
}
ping_ok() { api "$1" GET /rest/system/ping | grep -q pong; }
started() {
  for _ in $(seq 1 120); do
    if ping_ok a && ping_ok b; then return 0; fi
    sleep 0.25
  done
  return 1
}
started || skip_or_fail "syncthing did not start"
connected() { api a GET /rest/system/connections | python3 -c \
  'import json,sys; c=json.load(sys.stdin)["connections"]; sys.exit(0 if any(v["connected"] for v in c.values()) else 1)'; }
wait_for 60 "the devices to connect" connected

# in_sync DEV: the folder is scanned and nothing is left to fetch.
in_sync() { api "$1" GET "/rest/db/status?folder=vault" | python3 -c \
  'import json,sys; s=json.load(sys.stdin); sys.exit(0 if s["state"]=="idle" and s["needTotalItems"]==0 else 1)'; }
# The non-hidden files of a folder with their checksums.
listing() { (cd "$1" && find . -maxdepth 1 -type f ! -name '.*' -exec sha256sum {} + | sort -k2); }
same_files() { [ "$(listing "$work/vault-a")" = "$(listing "$work/vault-b")" ]; }
settled() { api a POST "/rest/db/scan?folder=vault" && api b POST "/rest/db/scan?folder=vault" \
  && in_sync a && in_sync b && same_files; }

cd "$work/vault-a"
printf 'pw\npw\n' | "$cli" create keys.zip --encryption aes256 >/dev/null
printf 'pw\nm1\n' | "$cli" add keys.zip Mail --user ann
printf 'pw\nb1\n' | "$cli" add keys.zip Bank
wait_for 60 "the archive to reach device b" settled

api a POST /rest/system/pause && api b POST /rest/system/pause
not_connected() { ! connected; }
wait_for 30 "the devices to pause" not_connected
printf 'pw\nm2\n' | "$cli" edit keys.zip Mail --ask-password
printf 'pw\ns1\n' | "$cli" add keys.zip Shop
sleep 2  # Syncthing keeps the version with the later modification time
cd "$work/vault-b"
printf 'pw\n' | "$cli" rm keys.zip Bank
printf 'pw\nw1\n' | "$cli" add keys.zip Web
printf 'pw\nm3\n' | "$cli" edit keys.zip Mail --ask-password
# Each side indexes its own change before they meet again.
api a POST "/rest/db/scan?folder=vault" && api b POST "/rest/db/scan?folder=vault"
api a POST /rest/system/resume && api b POST /rest/system/resume
wait_for 60 "the devices to reconnect" connected

has_copy() { ls "$work/vault-a" | grep -q '^keys\.sync-conflict-.*\.zip$'; }
wait_for 90 "the conflict copy" has_copy
wait_for 90 "both folders to settle" settled
cd "$work/vault-a"
ls
printf 'pw\n' | "$cli" merge keys.zip
no_copy_and_settled() { ! ls "$work/vault-a" "$work/vault-b" | grep -q 'conflict'; settled; }
wait_for 90 "the merged archive on both devices" no_copy_and_settled

for dev in a b; do
  sites=$(printf 'pw\n' | "$cli" dump "$work/vault-$dev/keys.zip")
  for want in "Shop=" "Web=" "Mail=ann"; do
    grep -q "^$want" <<<"$sites" || { echo "FAIL: $want missing on $dev"; exit 1; }
  done
  grep -q '^Bank=' <<<"$sites" && { echo "FAIL: the deleted Bank is back on $dev"; exit 1; }
  [ "$(grep -c '^Mail=ann' <<<"$sites")" = 1 ] || { echo "FAIL: two Mail lines on $dev"; exit 1; }
done
echo "both devices hold every change:"
ls "$work/vault-b"
