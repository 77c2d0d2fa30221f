#!/usr/bin/env bash
# Starts the real vornix binary under a virtual X server with an encrypted
# archive on its command line, answers the password prompt with xdotool,
# checks the main window and that the program exits cleanly when closed.
# Usage: vornix_e2e.sh VORNIX_BINARY [SCREENSHOT.png]
set -euo pipefail
vornix=$1
shot=${2:-}

for tool in xvfb-run xdotool zip; do
  if ! command -v "$tool" >/dev/null; then echo "SKIP: $tool missing"; exit 77; fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DESKTOP_DIR=$work/desktop
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
unset QT_QPA_PLATFORM

# An archive written by another ZIP tool, with a password.
printf 'Bank=joe\tpw1\thttps://bank.example\tnote\r\nMail=ann\tsecret\t\t\r\n' >"$work/Data"
(cd "$work" && zip -q -P 'open sesame' "safe archive.zip" Data)

cat >"$work/drive.sh" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
vornix=$1; archive=$2; shot=$3
"$vornix" "$archive" &
pid=$!
find_window() {  # name -> window id, waiting up to 20 s
  for _ in $(seq 1 200); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
prompt=$(find_window "Vornix password") || { echo "FAIL: no password prompt"; kill $pid; exit 1; }
# Keys go through the XTEST extension to the focused window, as typing does.
xdotool windowfocus --sync "$prompt"
xdotool type --delay 20 'open sesame'
xdotool key Return
# The title names the open archive.
main=$(find_window "$(basename "$archive") - Vornix - Keyvorn") ||
  { echo "FAIL: no main window titled after the archive"; kill $pid; exit 1; }
# The prompt must be gone once the archive is open.
for _ in $(seq 1 100); do
  xdotool search --onlyvisible --name "^Vornix password\$" >/dev/null 2>&1 || break
  sleep 0.1
done
if xdotool search --onlyvisible --name "^Vornix password\$" >/dev/null 2>&1; then
  echo "FAIL: password was not accepted"; kill $pid; exit 1
fi
sleep 0.5
if [ -n "$shot" ] && command -v import >/dev/null; then import -window root "$shot" || true; fi
xdotool windowfocus --sync "$main"
xdotool key alt+F4
for _ in $(seq 1 100); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if kill -0 $pid 2>/dev/null; then echo "FAIL: program did not exit"; kill $pid; exit 1; fi
wait $pid
INNER
chmod +x "$work/drive.sh"

xvfb-run -a -s "-screen 0 1024x768x24" "$work/drive.sh" "$vornix" "$work/safe archive.zip" "$shot"
# A read that succeeded puts the archive at the top of the Reopen list,
# which the program stores when it exits.
conf=$XDG_CONFIG_HOME/Kestrum/Vornix.conf
if ! grep -q "safe archive.zip" "$conf" 2>/dev/null; then
  echo "FAIL: the archive did not reach the Reopen list in $conf"; exit 1
fi
echo "PASS: archive opened with the password, program exited cleanly, Reopen list stored"
