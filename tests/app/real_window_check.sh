#!/usr/bin/env bash
# Starts the real recorder on a private virtual display in a throw-away home, saves a screenshot
# of the screen as a test artefact and checks that the window is shaped: the panel's rounded
# corner shows the root window behind it, its middle shows the panel. A second start must end at
# once with code 0 and leave the first copy running.
#   real_window_check.sh <KivRec> <artefact folder>
source "$(dirname "${BASH_SOURCE[0]}")/real_common.sh"
start_app
shot="$artefacts/panel.png"
import -window root "$shot"

read -r width height < <(identify -format '%w %h\n' "$bin/Skin/Default/DictaphoneA.BMP")
pixel() { convert "$shot" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
corner=$(pixel 30 30)
middle=$(pixel $((30 + width / 2)) $((30 + height / 2)))
echo "corner $corner, middle $middle"
[[ "$corner" == "0,0,0" ]] || fail "the corner is not see-through: the window is not shaped"
[[ "$middle" != "0,0,0" ]] || fail "no panel in the middle of the window"

in_home timeout 30 "$program" ignored-argument.cst >>"$work/app.log" 2>&1 ||
  fail "a second start did not end at once with code 0"
kill -0 "$app" || fail "a second start ended the first copy"
echo "the panel is shaped and drawn, and a second start left it alone"
