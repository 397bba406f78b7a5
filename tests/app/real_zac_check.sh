#!/usr/bin/env bash
# The external converter against the real recorder, on a private virtual display: with
# "UseZACexe" set, the settings menu's "Export Message to WAV" and a file typed into the save
# dialog start ZAC, which shows its own notice, writes the message as a WAV file and tells the
# panel it is done; the panel then takes its keys again (Enter plays into the sound rig).
#   real_zac_check.sh <KivRec> <artefact folder>
source "$(dirname "${BASH_SOURCE[0]}")/real_common.sh"
cli=$bin/kivrec-cli
use_sound_rig
printf 'UseZACexe=YES\n' >>"$work/config/Zorvikware/Kiv Sound Recorder.conf"

window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
wait_for() {  # what, then a command that succeeds once it is so
  local what=$1 deadline=$((SECONDS + 30))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || fail "not so within 30 s: $what"
    sleep 0.1
  done
}
shown() { [[ -n "$(window_named "$1")" ]]; }
keys_to() {  # window-name-pattern keys...
  local name=$1
  shift
  wait_for "a window named $name is shown" shown "$name"
  xdotool windowfocus --sync "$(window_named "$name")" key --delay 150 "$@"
}

# A cassette with one message: a second of a 440 Hz tone, imported by the companion tool.
python3 - "$work/tone.wav" <<'PY'
import math, struct, sys
rate, sound = 11025, bytes(int(128 + 60 * math.sin(2 * math.pi * 440 * i / 11025)) for i in range(11025))
header = b"RIFF" + struct.pack("<I", 36 + len(sound)) + b"WAVEfmt " + struct.pack("<IHHIIHH", 16, 1, 1, rate, rate, 1, 8)
open(sys.argv[1], "wb").write(header + b"data" + struct.pack("<I", len(sound)) + sound)
PY
mkdir -p "$(dirname "$cassette")"
in_home "$cli" --cassette "$cassette" import "$work/tone.wav" >"$work/cli.log" 2>&1 ||
  fail "kivrec-cli could not import the tone: $(cat "$work/cli.log")"

start_app
target=$work/exported.wav
keys_to '^Kiv Sound Recorder$' alt+s
sleep 0.5
xdotool key --delay 150 Down Down Return
keys_to '^Save As$' ctrl+a
xdotool type --delay 20 "$target"
xdotool key Return
keys_to '^Kiv Sound Recorder - ZAC$' Return
wait_for "ZAC writes $target" test -s "$target"
python3 - "$cassette" "$target" <<'PY' || fail "the exported file is not the message"
import sys
cassette, wav = open(sys.argv[1], "rb").read(), open(sys.argv[2], "rb").read()
if wav[:4] != b"RIFF" or wav[8:12] != b"WAVE" or wav[44:44 + 11025] != cassette[:11025]:
    sys.exit("%d bytes, not the message's 11025 after a 44-byte header" % len(wav))
PY
cp "$target" "$artefacts/zac-exported.wav"

# Until ZAC reports back every tape key is ignored; afterwards Enter plays again.
sleep 1
playing && fail "the recorder plays before Enter"
keys_to '^Kiv Sound Recorder$' Return
wait_for "the panel plays again once ZAC has reported back" playing
echo "ZAC exported the message and the panel heard that it was done"
