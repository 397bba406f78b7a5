#!/usr/bin/env bash
# Starts the real recorder on a private virtual display in a throw-away home, saves a screenshot
# of the screen as a test artefact and checks that the window is shaped: the panel's rounded
# corner shows the root window behind it, its middle shows the panel.
#   real_window_check.sh <KivRec> <artefact folder>
set -euo pipefail
program=$1
artefacts=$2
mkdir -p "$artefacts"
work=$(mktemp -d "${TMPDIR:-/tmp}/real-window-XXXXXX")
cleanup() {
  [[ -n "${app:-}" ]] && kill "$app" 2>/dev/null || true
  [[ -n "${xvfb:-}" ]] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# -displayfd picks a free display number and tells it once the server is ready.
Xvfb -displayfd 3 -screen 0 640x480x24 -br -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
display=":$(head -n1 "$work/display")"

mkdir -p "$work"/{home,config,data,tmp,runtime}
chmod 700 "$work/runtime"
env -u QT_QPA_PLATFORM DISPLAY="$display" HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
  XDG_DATA_HOME="$work/data" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime" \
  "$program" >"$work/app.log" 2>&1 &
app=$!

cassette="$work/data/Zorvikware/Kiv Sound Recorder/kivrec.cst"
for _ in $(seq 300); do [[ -f "$cassette" ]] && break; sleep 0.1; done
[[ -f "$cassette" ]] || { echo "the recorder did not start"; cat "$work/app.log"; exit 1; }
sleep 2  # let the window map and paint
kill -0 "$app" || { echo "the recorder ended"; cat "$work/app.log"; exit 1; }

shot="$artefacts/panel.png"
DISPLAY="$display" import -window root "$shot"
echo "screenshot: $shot"

panel=$(dirname "$program")/Skin/Default/DictaphoneA.BMP
read -r width height < <(identify -format '%w %h\n' "$panel")
pixel() { convert "$shot" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
corner=$(pixel 30 30)
middle=$(pixel $((30 + width / 2)) $((30 + height / 2)))
echo "corner $corner, middle $middle"
[[ "$corner" == "0,0,0" ]] || { echo "the corner is not see-through: the window is not shaped"; exit 1; }
[[ "$middle" != "0,0,0" ]] || { echo "no panel in the middle of the window"; exit 1; }
echo "the panel is shaped and drawn"
