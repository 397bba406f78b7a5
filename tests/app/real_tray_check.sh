#!/usr/bin/env bash
# The real recorder with a real tray host (trayer) on a private virtual display: the icon docks,
# the OFF key sends the panel to the tray, a click on the icon brings it back. Screenshots of
# both moments are kept as test artefacts.
#   real_tray_check.sh <KivRec> <artefact folder>
source "$(dirname "${BASH_SOURCE[0]}")/real_common.sh"

# The tray host sits in the bottom right corner; its single icon is the rightmost 24 pixels.
trayer --edge bottom --align right --widthtype request --height 24 --SetDockType true \
  >"$work/trayer.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool search --class trayer >/dev/null 2>&1 && break; sleep 0.1; done
start_app
import -window root "$artefacts/tray-start.png"

# The OFF key of the Default skin, on the panel placed at 30,30.
off=$(grep -i '^Off=' "$bin/Skin/Default.set" | cut -d= -f2)
xdotool mousemove $((30 + ${off%%,*} + 6)) $((30 + ${off##*,} + 6)) click 1
for _ in $(seq 50); do [[ -z "$(visible_panel)" ]] && break; sleep 0.1; done
[[ -z "$(visible_panel)" ]] || fail "the OFF key left the panel on screen"
import -window root "$artefacts/tray-hidden.png"

# A click on the docked icon.
xdotool mousemove 627 467 click 1
for _ in $(seq 50); do [[ -n "$(visible_panel)" ]] && break; sleep 0.1; done
[[ -n "$(visible_panel)" ]] || fail "a click on the tray icon did not bring the panel back"
sleep 0.5
import -window root "$artefacts/tray-back.png"
kill -0 "$app" || fail "the recorder ended"
echo "the icon docked, the panel went to the tray and came back; screenshots in $artefacts"
