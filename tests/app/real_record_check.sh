#!/usr/bin/env bash
# The whole round trip through real sound: on a private virtual display the recorder's Record key
# records about three seconds of the rig's 440 Hz microphone, Stop saves the message, Play plays
# it into the rig's sink while the sink's monitor is recorded. Closing the window ends the
# program. Then the cassette must hold one message named with the date and time of the
# recording, its bytes must be the tone, and the monitor must have heard the tone.
# A second start records again and closes the window in the middle of the recording: the
# program must still end by itself and the cassette must hold that recording as a second message.
#
# Sound goes through the PulseAudio rig of scripts/pulse-rig: the one whose environment it is
# given (scripts/test), or one of its own in its temporary folder when PULSE_SERVER is unset.
# Screenshots of each moment, the monitor's recording (raw unsigned 8-bit mono, 11025 Hz) and the
# cassette are kept as test artefacts.
#   real_record_check.sh <KivRec> <artefact folder>
set -euo pipefail
program=$1
artefacts=$2
bin=$(cd "$(dirname "$program")" && pwd)
cli=$bin/kivrec-cli
skin_set=$bin/Skin/Default.set
pulse_rig=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/pulse-rig
mkdir -p "$artefacts" "${TMPDIR:-/tmp}"
work=$(mktemp -d "${TMPDIR:-/tmp}/real-record-XXXXXX")
own_rig=
xvfb=
app=
parecord=

cleanup() {
  local pid
  for pid in "$parecord" "$app" "$xvfb"; do
    if [[ -n "$pid" ]]; then kill "$pid" 2>/dev/null || true; fi
  done
  wait 2>/dev/null || true
  if [[ -n "$own_rig" ]]; then "$pulse_rig" stop "$own_rig" || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  if [[ -f "${cassette:-}" ]]; then cp "$cassette" "$artefacts/record-kivrec.cst" || true; fi
  if [[ -s "$work/app.log" ]]; then
    echo "--- the recorder's output:"
    cat "$work/app.log"
  elif [[ -f "$work/app.log" ]]; then
    echo "--- the recorder printed nothing"
  fi
  if [[ -f "$work/parecord.log" && -s "$work/parecord.log" ]]; then
    echo "--- parecord's output:"
    cat "$work/parecord.log"
  fi
  if [[ -n "$own_rig" && -f "$own_rig/log" ]]; then
    echo "--- the sound server's log:"
    tail -n 40 "$own_rig/log"
  fi
  exit 1
}

for tool in Xvfb xdotool import pactl parecord python3; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[[ -x "$cli" ]] || fail "no kivrec-cli beside the recorder ($cli)"
[[ -f "$skin_set" ]] || fail "no Default skin beside the recorder ($skin_set)"

# --- The sound rig ------------------------------------------------------------------------------

if [[ -z "${PULSE_SERVER:-}" ]]; then
  own_rig=$work/pulse
  rig_env=$("$pulse_rig" start "$own_rig") || fail "could not start a sound rig in $own_rig"
  eval "$rig_env"
  echo "started a sound rig of its own: $PULSE_SERVER"
else
  echo "using the sound rig at $PULSE_SERVER"
fi
# Only the rig may be played to and recorded from: its sink and microphone have names of their own.
rig_info=$(timeout 10 pactl info 2>&1) || fail "the sound server at $PULSE_SERVER does not answer: $rig_info"
if ! grep -q '^Default Sink: kivsink$' <<<"$rig_info" ||
  ! grep -q '^Default Source: kivmic$' <<<"$rig_info"; then
  fail "the sound server at $PULSE_SERVER is not the test rig (no kivsink/kivmic defaults)"
fi

# --- The display and the program ----------------------------------------------------------------

# -displayfd picks a free display number and tells it once the server is ready.
Xvfb -displayfd 3 -screen 0 640x480x24 -br -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY

mkdir -p "$work"/{home,config,data,tmp,runtime}
chmod 700 "$work/runtime"
data_folder="$work/data/Zorvikware/Kiv Sound Recorder"
cassette="$data_folder/kivrec.cst"
sidecar="$data_folder/kivrec.zf"

visible_panel() { xdotool search --onlyvisible --name '^Kiv Sound Recorder$' 2>/dev/null | head -n1; }

start_app() {
  env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
    XDG_DATA_HOME="$work/data" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime" \
    "$program" >>"$work/app.log" 2>&1 &
  app=$!
  for _ in $(seq 300); do [[ -n "$(visible_panel)" ]] && break; sleep 0.1; done
  [[ -n "$(visible_panel)" ]] || fail "the panel did not appear"
  [[ -f "$cassette" ]] || fail "the recorder made no cassette at $cassette"
  sleep 1  # let the panel paint
}

# The panel is frameless and no window manager runs, so the close request a window manager sends
# when the user closes a window (WM_DELETE_WINDOW, as for Alt+F4) goes to the panel directly.
close_panel() {
  local window status=0
  window=$(visible_panel)
  [[ -n "$window" ]] || fail "no panel to close"
  python3 - "$window" <<'PY' || fail "could not send the close request to the panel"
import ctypes, ctypes.util, sys

x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                           ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]


display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
window = int(sys.argv[1])
event = XEvent()
event.xclient.type = 33  # ClientMessage
event.xclient.window = window
event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
event.xclient.data[1] = 0  # CurrentTime
if not x11.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
    sys.exit("XSendEvent failed")
x11.XFlush(display)
x11.XCloseDisplay(display)
PY
  for _ in $(seq 150); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app" 2>/dev/null && fail "closing the window did not end the program within 15 s"
  wait "$app" || status=$?
  app=
  ((status == 0)) || fail "the program ended with status $status after its window was closed"
}

# The Default skin's key file gives each key's top left corner; the click goes to the middle of
# the key's picture, on the panel placed at 30,30.
click_key() {
  local row=$1 picture=$2 point width height file
  point=$(grep -i "^$row=" "$skin_set" | head -n1 | cut -d= -f2 | tr -d '\r')
  [[ "$point" =~ ^[0-9]+,[0-9]+$ ]] || fail "no usable $row row in $skin_set"
  file=$(find "$bin/Skin/Default" -maxdepth 1 -iname "$picture" | head -n1)
  [[ -n "$file" ]] || fail "no $picture in the Default skin"
  read -r width height < <(identify -format '%w %h\n' "$file")
  xdotool mousemove $((30 + ${point%%,*} + width / 2)) $((30 + ${point##*,} + height / 2)) click 1
}

# --- The sound analysis -------------------------------------------------------------------------

cat >"$work/sound.py" <<'PY'
"""Checks on unsigned 8-bit mono sound: the rig's 440 Hz tone crosses the middle (128) 880 times
a second; silence is a flat 128."""
import datetime
import json
import re
import sys

TONE_CROSSINGS = 880.0
TOLERANCE = 0.15
LOUD_RMS = 8.0  # the rig's tone is about 45; silence is 0
WINDOW = 0.1  # seconds


def crossings(samples):
    return sum(1 for a, b in zip(samples, samples[1:]) if (a < 128) != (b < 128))


def rms(samples):
    return (sum((s - 128) ** 2 for s in samples) / len(samples)) ** 0.5 if samples else 0.0


def is_tone_rate(rate):
    return abs(rate - TONE_CROSSINGS) <= TOLERANCE * TONE_CROSSINGS


def windows(samples, rate):
    """(start second, crossings per second, rms) of each whole 0.1 s window."""
    size = int(rate * WINDOW)
    return [(i / rate, crossings(samples[i:i + size]) * rate / size, rms(samples[i:i + size]))
            for i in range(0, len(samples) - size + 1, size)]


def tone_windows(samples, rate):
    return [is_tone_rate(r) and level >= LOUD_RMS for _, r, level in windows(samples, rate)]


def longest_run(flags):
    best = run = start = best_start = 0
    for i, flag in enumerate(flags):
        if flag:
            if run == 0:
                start = i
            run += 1
            if run > best:
                best, best_start = run, start
        else:
            run = 0
    return best, best_start


def fail(reason):
    print("FAILED: " + reason)
    sys.exit(1)


def ticker_tag(skin_set, row):
    for line in open(skin_set, encoding="latin-1"):
        key, _, value = line.strip().partition("=")
        if key.lower() == row.lower():
            return "%d%%" % int(value.strip(), 16)
    fail("no %s row in %s" % (row, skin_set))


def check_message(cassette, info_json, list_json, skin_set, count, index, t0, t1, shortest,
                  longest):
    """The cassette holds `count` messages; the one at `index` was recorded between t0 and t1,
    lasts between `shortest` and `longest` seconds and holds the tone."""
    info = json.load(open(info_json))
    messages = json.load(open(list_json))
    if info["inconsistent"]:
        fail("the cassette is inconsistent: %s" % info)
    if info["sidecar"]:
        fail("a recording sidecar is left beside the cassette")
    if len(messages) != count:
        fail("the cassette holds %d messages, not %d: %s" % (len(messages), count, messages))
    message = messages[index]
    rate = info["base_rate"]
    seconds = (message["end"] - message["start"]) / rate
    print("message %d: %r, bytes %d to %d, %.2f s at %d Hz (%.2f s from the Record key to its end)"
          % (index + 1, message["name"], message["start"], message["end"], seconds, rate,
             float(t1) - float(t0)))
    if not shortest <= seconds <= longest:
        fail("message %d lasts %.2f s, not %.1f to %.1f s" % (index + 1, seconds, shortest, longest))
    # The sound server may hand over a block early, but never a second more than ran.
    if seconds > float(t1) - float(t0) + 1.0:
        fail("message %d holds %.2f s of sound, but only %.2f s passed from the Record key to its end"
             % (index + 1, seconds, float(t1) - float(t0)))

    tag1 = ticker_tag(skin_set, "TickerTapeTextColor1")
    tag2 = ticker_tag(skin_set, "TickerTapeTextColor2")
    match = re.fullmatch(r"(\d+%)(\d\d)\.(\d\d)\.(\d{4})\|(\d+%)(\d\d):(\d\d):(\d\d)",
                         message["name"])
    if not match:
        fail("the name %r is not <colour>%%DD.MM.YYYY|<colour>%%HH:MM:SS" % message["name"])
    if (match.group(1), match.group(5)) != (tag1, tag2):
        fail("the name's colours are %s and %s, the skin's ticker colours %s and %s"
             % (match.group(1), match.group(5), tag1, tag2))
    day, month, year, hour, minute, second = (int(match.group(g)) for g in (2, 3, 4, 6, 7, 8))
    named = datetime.datetime(year, month, day, hour, minute, second)
    earliest = datetime.datetime.fromtimestamp(float(t0)).replace(microsecond=0)
    latest = datetime.datetime.fromtimestamp(float(t1))
    slack = datetime.timedelta(seconds=2)
    if not earliest - slack <= named <= latest + slack:
        fail("the name says %s, but the recording was made between %s and %s"
             % (named, earliest, latest.replace(microsecond=0)))

    with open(cassette, "rb") as f:
        f.seek(message["start"])
        sound = f.read(message["end"] - message["start"])
    if len(sound) != message["end"] - message["start"]:
        fail("the cassette ends before message %d does" % (index + 1))
    per_second = crossings(sound) * rate / len(sound)
    level = rms(sound)
    tone = tone_windows(sound, rate)
    share = sum(tone) / len(tone)
    print("message %d sound: %.0f crossings/s, rms %.1f, min %d, max %d, %.0f%% of it tone"
          % (index + 1, per_second, level, min(sound), max(sound), 100 * share))
    if not is_tone_rate(per_second):
        fail("message %d crosses the middle %.0f times a second, not about %.0f (440 Hz)"
             % (index + 1, per_second, TONE_CROSSINGS))
    if level < LOUD_RMS:
        fail("message %d is too quiet to be the tone (rms %.1f)" % (index + 1, level))
    if share < 0.8:
        fail("only %.0f%% of message %d is the tone" % (100 * share, index + 1))
    print("seconds=%.2f" % seconds)


def monitor_state(raw, rate):
    """silent: no tone yet; playing: tone heard, still sounding; done: tone heard, then 0.5 s of
    quiet."""
    samples = open(raw, "rb").read()
    tone = tone_windows(samples, rate)
    if sum(tone) < 3:
        print("silent")
    elif len(tone) >= 5 and all(level < 2 for _, _, level in windows(samples, rate)[-5:]):
        print("done")
    else:
        print("playing")


def check_monitor(raw, rate, message_seconds):
    samples = open(raw, "rb").read()
    if len(samples) < rate:
        fail("the monitor capture holds only %d bytes" % len(samples))
    tone = tone_windows(samples, rate)
    run, start = longest_run(tone)
    heard = sum(tone) * WINDOW
    size = int(rate * WINDOW)
    stretch = samples[start * size:(start + run) * size]
    per_second = crossings(stretch) * rate / len(stretch) if stretch else 0.0
    print("monitor: %.1f s captured, tone in %.1f s of it, longest stretch %.1f s from %.1f s: "
          "%.0f crossings/s, rms %.1f" % (len(samples) / rate, heard, run * WINDOW, start * WINDOW,
                                         per_second, rms(stretch)))
    if run * WINDOW < 1.0:
        fail("the sink's monitor heard no tone lasting a second while the message played "
             "(longest %.1f s)" % (run * WINDOW))
    if not is_tone_rate(per_second) or rms(stretch) < LOUD_RMS:
        fail("the stretch the monitor heard is not the tone")
    if not 0.75 * message_seconds <= heard <= message_seconds + 0.5:
        fail("the monitor heard %.1f s of tone for a message of %.2f s" % (heard, message_seconds))
    print("monitor_crossings=%.0f" % per_second)


command = sys.argv[1]
if command == "message":
    check_message(sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5], int(sys.argv[6]),
                  int(sys.argv[7]), sys.argv[8], sys.argv[9], float(sys.argv[10]),
                  float(sys.argv[11]))
elif command == "state":
    monitor_state(sys.argv[2], int(sys.argv[3]))
elif command == "monitor":
    check_monitor(sys.argv[2], int(sys.argv[3]), float(sys.argv[4]))
else:
    fail("unknown command " + command)
PY

# The cassette as kivrec-cli reads it; `message` checks one message of it.
check_cassette() {
  local count=$1 index=$2 t0=$3 t1=$4 shortest=$5 longest=$6
  "$cli" info --json --cassette "$cassette" >"$work/info.json" 2>"$work/cli.log" ||
    fail "kivrec-cli info failed: $(cat "$work/cli.log")"
  "$cli" list --json --cassette "$cassette" >"$work/list.json" 2>"$work/cli.log" ||
    fail "kivrec-cli list failed: $(cat "$work/cli.log")"
  python3 "$work/sound.py" message "$cassette" "$work/info.json" "$work/list.json" "$skin_set" \
    "$count" "$index" "$t0" "$t1" "$shortest" "$longest" >"$work/check.log" ||
    { cat "$work/check.log"; fail "message $((index + 1)) of the cassette is not right"; }
  cat "$work/check.log"
}

wait_for_recording() {
  for _ in $(seq 100); do [[ -f "$sidecar" ]] && return 0; sleep 0.1; done
  fail "the Record key started no recording (no sidecar $sidecar)"
}

started=$(date +%s)

# --- Record, stop, play, close ------------------------------------------------------------------

start_app
t0=$(date +%s.%N)
click_key Record RecM.bmp
wait_for_recording
sleep 1.5
import -window root "$artefacts/record-recording.png"
sleep 1.5
click_key Stop StopM.bmp
for _ in $(seq 100); do [[ -f "$sidecar" ]] || break; sleep 0.1; done
[[ -f "$sidecar" ]] && fail "the Stop key did not end the recording (the sidecar stays)"
t1=$(date +%s.%N)
sleep 0.5
import -window root "$artefacts/record-stopped.png"
# Between its operations the recorder leaves the cassette closed, so it can be read already.
echo "after the Stop key:"
check_cassette 1 0 "$t0" "$t1" 2.0 4.5

rate=11025
parecord -d kivsink.monitor --raw --format=u8 --channels=1 --rate=$rate \
  >"$work/monitor.raw" 2>"$work/parecord.log" &
parecord=$!
sleep 0.5
kill -0 "$parecord" 2>/dev/null || fail "parecord did not start"
click_key Play PlayM.bmp
state=silent
for _ in $(seq 100); do
  state=$(python3 "$work/sound.py" state "$work/monitor.raw" $rate)
  [[ "$state" == silent ]] || break
  sleep 0.1
done
[[ "$state" != silent ]] || fail "the sink's monitor heard no tone within 10 s of the Play key"
import -window root "$artefacts/record-playing.png"
# The message is about three seconds long; it has played when the monitor is quiet again.
for _ in $(seq 200); do
  state=$(python3 "$work/sound.py" state "$work/monitor.raw" $rate)
  [[ "$state" == "done" ]] && break
  sleep 0.1
done
[[ "$state" == "done" ]] || fail "the playback did not end within 20 s"
kill "$parecord"
wait "$parecord" 2>/dev/null || true
parecord=
cp "$work/monitor.raw" "$artefacts/record-monitor.u8"

close_panel
echo "closing the window ended the program; the cassette then:"
check_cassette 1 0 "$t0" "$t1" 2.0 4.5
seconds=$(grep '^seconds=' "$work/check.log" | cut -d= -f2)
python3 "$work/sound.py" monitor "$work/monitor.raw" $rate "$seconds" >"$work/monitor.log" ||
  { cat "$work/monitor.log"; fail "the playback did not reach the sink"; }
cat "$work/monitor.log"

# --- Closing the window in the middle of a recording saves it -----------------------------------

cp "$work/list.json" "$work/first-list.json"
cp "$cassette" "$work/first.cst"
start_app
t0=$(date +%s.%N)
click_key Record RecM.bmp
wait_for_recording
sleep 2
import -window root "$artefacts/record-closing.png"
close_panel
t1=$(date +%s.%N)
echo "closing the window during a recording ended the program"
check_cassette 2 1 "$t0" "$t1" 1.0 3.5
python3 - "$work/first-list.json" "$work/first.cst" "$work/list.json" "$cassette" <<'PY' ||
import json, sys
before, now = json.load(open(sys.argv[1]))[0], json.load(open(sys.argv[3]))[0]
if now != before:
    sys.exit("the first message was %s and is now %s" % (before, now))
with open(sys.argv[2], "rb") as old, open(sys.argv[4], "rb") as new:
    if old.read()[before["start"]:before["end"]] != new.read()[now["start"]:now["end"]]:
        sys.exit("the first message's sound bytes changed")
PY
  fail "the second recording changed the first message"

cp "$cassette" "$artefacts/record-kivrec.cst"
echo "recorded, played and saved through real sound in $(($(date +%s) - started)) s;" \
  "screenshots in $artefacts"
