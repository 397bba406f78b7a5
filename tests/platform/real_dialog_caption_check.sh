#!/usr/bin/env bash
# Starts the real recorder on a private virtual display with a cassette it cannot open (a folder
# where the file should be) and reads the title of the message box it shows from the X server:
# both WM_NAME and _NET_WM_NAME must be exactly the program's text, with nothing appended.
#   real_dialog_caption_check.sh <KivRec>
set -euo pipefail
program=$1
expected="Kiv Sound Recorder - Error opening file"
work=$(mktemp -d "${TMPDIR:-/tmp}/real-caption-XXXXXX")
cleanup() {
  [[ -n "${app:-}" ]] && kill "$app" 2>/dev/null || true
  [[ -n "${xvfb:-}" ]] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 640x480x24 -noreset -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

mkdir -p "$work"/{home,config,tmp,runtime} "$work/data/Zorvikware/Kiv Sound Recorder/kivrec.cst"
chmod 700 "$work/runtime"
env -u QT_QPA_PLATFORM HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime" "$program" >"$work/app.log" 2>&1 &
app=$!

window=
for _ in $(seq 150); do
  window=$(xdotool search --name "^Kiv Sound Recorder - " 2>/dev/null | head -n1) && [[ -n "$window" ]] && break
  kill -0 "$app" 2>/dev/null || { echo "the recorder ended"; cat "$work/app.log"; exit 1; }
  sleep 0.1
done
[[ -n "$window" ]] || { echo "no message box came up"; cat "$work/app.log"; exit 1; }

for property in WM_NAME _NET_WM_NAME; do
  # xprop prints: NAME(TYPE) = "text"
  title=$(xprop -id "$window" "$property" | sed -n 's/^[^=]*= "\(.*\)"$/\1/p')
  [[ "$title" == "$expected" ]] || { echo "$property is \"$title\", not \"$expected\""; exit 1; }
done
