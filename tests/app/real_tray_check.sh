#!/usr/bin/env bash
# The real recorder with a real tray host (trayer) on a private virtual display: the icon docks,
# the OFF key sends the panel to the tray, a click on the icon brings it back. Screenshots of
# both moments are kept as test artefacts.
#   real_tray_check.sh <KivRec> <artefact folder>
set -euo pipefail
program=$1
artefacts=$2
mkdir -p "$artefacts"
work=$(mktemp -d "${TMPDIR:-/tmp}/real-tray-XXXXXX")
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 640x480x24 -br -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# The tray host sits in the bottom right corner; its single icon is the rightmost 24 pixels.
trayer --edge bottom --align right --widthtype request --height 24 --SetDockType true \
  >"$work/trayer.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool search --class trayer >/dev/null 2>&1 && break; sleep 0.1; done

mkdir -p "$work"/{home,config,data,tmp,runtime}
chmod 700 "$work/runtime"
env -u QT_QPA_PLATFORM HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
  XDG_DATA_HOME="$work/data" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime" \
  "$program" >"$work/app.log" 2>&1 &
app=$!
pids+=("$app")

visible_panel() { xdotool search --onlyvisible --name '^Kiv Sound Recorder$' 2>/dev/null | head -n1; }
for _ in $(seq 100); do [[ -n "$(visible_panel)" ]] && break; sleep 0.1; done
[[ -n "$(visible_panel)" ]] || { echo "the panel did not appear"; cat "$work/app.log"; exit 1; }
sleep 1
import -window root "$artefacts/tray-start.png"

# The OFF key of the Default skin, on the panel placed at 30,30.
off=$(grep -i '^Off=' "$(dirname "$program")/Skin/Default.set" | cut -d= -f2)
xdotool mousemove $((30 + ${off%%,*} + 6)) $((30 + ${off##*,} + 6)) click 1
for _ in $(seq 50); do [[ -z "$(visible_panel)" ]] && break; sleep 0.1; done
[[ -z "$(visible_panel)" ]] || { echo "the OFF key left the panel on screen"; exit 1; }
import -window root "$artefacts/tray-hidden.png"

# A click on the docked icon.
xdotool mousemove 627 467 click 1
for _ in $(seq 50); do [[ -n "$(visible_panel)" ]] && break; sleep 0.1; done
[[ -n "$(visible_panel)" ]] || { echo "a click on the tray icon did not bring the panel back"; cat "$work/app.log"; exit 1; }
sleep 0.5
import -window root "$artefacts/tray-back.png"
kill -0 "$app"
echo "the icon docked, the panel went to the tray and came back; screenshots in $artefacts"
