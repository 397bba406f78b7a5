#!/usr/bin/env bash
# The real recorder worked with the keyboard alone, on a private virtual display with real sound:
# Insert records and Backspace stops (twice), Enter plays and Backspace stops, Alt+M opens the
# message list and Escape closes it, Delete answered Yes removes the current message and packs
# the cassette, F12 opens the shortcut window.
#   real_keyboard_check.sh <KivRec> <artefact folder>
source "$(dirname "${BASH_SOURCE[0]}")/real_common.sh"
cli=$bin/kivrec-cli
sidecar="$(dirname "$cassette")/kivrec.zf"
use_sound_rig

window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }

wait_for() {  # what, then a command that succeeds once it is so
  local what=$1 deadline=$((SECONDS + 20))
  shift
  until "$@"; do
    kill -0 "$app" 2>/dev/null || fail "the recorder ended while waiting until $what"
    ((SECONDS < deadline)) || fail "not so within 20 s: $what"
    sleep 0.1
  done
}
shown() { [[ -n "$(window_named "$1")" ]]; }
gone() { [[ -z "$(window_named "$1")" ]]; }

# Keys go to the window with the X input focus; without a window manager nobody else moves it.
keys_to() {  # window-name-pattern keys...
  local name=$1 window
  shift
  wait_for "a window named $name is shown" shown "$name"
  window=$(window_named "$name")
  xdotool windowfocus --sync "$window" key --delay 150 "$@"
}
panel_keys() { keys_to '^Kiv Sound Recorder$' "$@"; }

messages() { "$cli" list --json --cassette "$cassette" | python3 -c 'import json,sys; print(len(json.load(sys.stdin)))'; }

record_message() {
  panel_keys Insert
  wait_for "Insert starts a recording" test -f "$sidecar"
  sleep 2
  panel_keys BackSpace
  wait_for "Backspace ends the recording" test ! -f "$sidecar"
}

start_app
record_message
record_message
[[ $(messages) == 2 ]] || fail "two recordings did not make two messages: $("$cli" list --cassette "$cassette")"

panel_keys Return
wait_for "Enter plays into the sound rig" playing
panel_keys BackSpace
sleep 1

panel_keys alt+m
keys_to '^Messages \(' Escape
wait_for "Escape closes the message list" gone '^Messages'

panel_keys Delete
keys_to '^Confirm Delete$' y
wait_for "Yes closes the confirmation" gone '^Confirm Delete$'
cp "$cassette" "$artefacts/keyboard-kivrec.cst"
[[ $(messages) == 1 ]] || fail "Delete did not leave one message: $("$cli" list --cassette "$cassette")"
"$cli" list --json --cassette "$cassette" >"$work/list.json"
python3 - "$cassette" "$work/list.json" <<'PY' || fail "the cassette was not packed"
import json, os, sys
(message,) = json.load(open(sys.argv[2]))
sound = message["end"] - message["start"]
if message["start"] != 0 or os.path.getsize(sys.argv[1]) != sound + 8 + 140:
    sys.exit("%d bytes, for %d bytes of sound from %d" % (os.path.getsize(sys.argv[1]), sound, message["start"]))
PY

panel_keys F12
wait_for "F12 shows the shortcut window" shown '^Available Keyboard Shortcuts$'
keys_to '^Available Keyboard Shortcuts$' Escape
wait_for "Escape closes the shortcut window" gone '^Available Keyboard Shortcuts$'
echo "recorded, played, listed, deleted and found the shortcuts with the keyboard alone"
