#!/usr/bin/env bash
# The whole round trip through real sound: on a private virtual display the recorder's Record key
# records about three seconds of the rig's 440 Hz microphone, Stop saves the message, Play plays
# it into the rig's sink while the sink's monitor is recorded, and closing the window ends the
# program. The cassette must then hold one message whose bytes are the tone, named with the skin's
# ticker colours, and the monitor must have heard the tone. A second start closes the window in
# the middle of a recording: the program must end by itself, keep that recording as a second
# message and leave the first one as it was.
#
# Sound goes through the PulseAudio rig of scripts/pulse-rig: the one whose environment it is
# given (scripts/test), or one of its own when PULSE_SERVER is unset. A screenshot of the playing
# panel, the monitor's recording (unsigned 8-bit mono, 11025 Hz) and the cassette are kept.
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
own_rig= xvfb= app= parecord=

cleanup() {
  local pid
  for pid in "$parecord" "$app" "$xvfb"; do [[ -z "$pid" ]] || kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  [[ -z "$own_rig" ]] || "$pulse_rig" stop "$own_rig" || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  [[ -f "${cassette:-}" ]] && cp "$cassette" "$artefacts/record-kivrec.cst"
  [[ -s "$work/app.log" ]] && { echo "--- the recorder's output:"; cat "$work/app.log"; }
  [[ -n "$own_rig" && -f "$own_rig/log" ]] && { echo "--- the sound server:"; tail -n 20 "$own_rig/log"; }
  exit 1
}

for tool in Xvfb xdotool import pactl parecord python3; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[[ -x "$cli" && -f "$skin_set" ]] || fail "no kivrec-cli or Default skin beside the recorder"

if [[ -z "${PULSE_SERVER:-}" ]]; then
  own_rig=$work/pulse
  rig_env=$("$pulse_rig" start "$own_rig") || fail "could not start a sound rig in $own_rig"
  eval "$rig_env"
fi
rig_info=$(timeout 10 pactl info 2>&1) || fail "the sound server does not answer: $rig_info"
grep -q '^Default Sink: kivsink$' <<<"$rig_info" && grep -q '^Default Source: kivmic$' <<<"$rig_info" ||
  fail "the sound server at $PULSE_SERVER is not the test rig"

Xvfb -displayfd 3 -screen 0 640x480x24 -br -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

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
  [[ -n "$(visible_panel)" && -f "$cassette" ]] || fail "the panel did not appear with a cassette"
  sleep 1  # let the panel paint
}

# The close box's request, WM_DELETE_WINDOW, as a window manager would send it (Xvfb has none).
close_panel() {
  local status=0
  python3 - "$(visible_panel)" <<'PY' || fail "could not send the close request to the panel"
import ctypes, ctypes.util, sys
x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]
class XEvent(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
d = x.XOpenDisplay(None)
e = XEvent()
e.xclient.type, e.xclient.window, e.xclient.format = 33, int(sys.argv[1]), 32  # ClientMessage
e.xclient.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
e.xclient.data[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
if not d or not x.XSendEvent(d, e.xclient.window, 0, 0, ctypes.byref(e)):
    sys.exit("XSendEvent failed")
x.XFlush(d)
PY
  for _ in $(seq 150); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app" 2>/dev/null && fail "closing the window did not end the program within 15 s"
  wait "$app" || status=$?
  app=
  ((status == 0)) || fail "the program ended with status $status after its window was closed"
}

# A left click in the middle of the key whose skin row and picture are given.
click_key() {
  local point file width height
  point=$(grep -i "^$1=" "$skin_set" | head -n1 | cut -d= -f2 | tr -d '\r')
  file=$(find "$bin/Skin/Default" -maxdepth 1 -iname "$2" | head -n1)
  [[ "$point" =~ ^[0-9]+,[0-9]+$ && -n "$file" ]] || fail "no $1 key in the Default skin"
  read -r width height < <(identify -format '%w %h\n' "$file")
  xdotool mousemove $((30 + ${point%%,*} + width / 2)) $((30 + ${point##*,} + height / 2)) click 1
}

# The rig's 440 Hz tone crosses the middle (128) of unsigned 8-bit sound 880 times a second.
cat >"$work/sound.py" <<'PY'
import json, re, sys
def crossings(s): return sum(1 for a, b in zip(s, s[1:]) if (a < 128) != (b < 128))
def rms(s): return (sum((v - 128) ** 2 for v in s) / len(s)) ** 0.5 if s else 0.0
def tone(s, rate): return len(s) >= rate // 10 and abs(crossings(s) * rate / len(s) - 880) < 132 and rms(s) > 8
def windows(s, rate):
    n = rate // 10
    return [tone(s[i:i + n], rate) for i in range(0, len(s) - n + 1, n)]
def skin_tag(skin_set, row):
    for line in open(skin_set, encoding="latin-1"):
        key, _, value = line.strip().partition("=")
        if key.lower() == row.lower():
            return "%d%%" % int(value.strip(), 16)
command, args = sys.argv[1], sys.argv[2:]
if command == "message":  # cassette list.json skin_set count index shortest longest
    messages = json.load(open(args[1]))
    if len(messages) != int(args[3]):
        sys.exit("the cassette holds %d messages, not %s" % (len(messages), args[3]))
    m = messages[int(args[4])]
    sound = open(args[0], "rb").read()[m["start"]:m["end"]]
    seconds = len(sound) / 11025
    tags = (skin_tag(args[2], "TickerTapeTextColor1"), skin_tag(args[2], "TickerTapeTextColor2"))
    name = re.fullmatch(r"(\d+%)\d\d\.\d\d\.\d{4}\|(\d+%)\d\d:\d\d:\d\d", m["name"])
    print("message %s: %r, %.2f s" % (int(args[4]) + 1, m["name"], seconds))
    if not float(args[5]) <= seconds <= float(args[6]):
        sys.exit("it lasts %.2f s, not %s to %s s" % (seconds, args[5], args[6]))
    if not name or name.groups() != tags:
        sys.exit("its name is not the date and time in the skin's ticker colours %s" % (tags,))
    w = windows(sound, 11025)
    if sum(w) < 0.8 * len(w):
        sys.exit("only %d of its %d tenths of a second are the tone" % (sum(w), len(w)))
elif command == "state":  # raw: silent, playing, or done (tone heard, then half a second quiet)
    s = open(args[0], "rb").read()
    heard = sum(windows(s, 11025))
    print("silent" if heard < 3 else "done" if rms(s[-5512:]) < 2 else "playing")
elif command == "monitor":  # raw message_seconds
    heard = sum(windows(open(args[0], "rb").read(), 11025)) / 10
    print("the monitor heard %.1f s of tone" % heard)
    if not 0.75 * float(args[1]) <= heard <= float(args[1]) + 0.5:
        sys.exit("that is not the message of %s s" % args[1])
PY

check_cassette() {  # count index shortest longest
  "$cli" info --json --cassette "$cassette" >"$work/info.json" 2>&1 &&
    "$cli" list --json --cassette "$cassette" >"$work/list.json" 2>&1 ||
    fail "kivrec-cli could not read the cassette: $(cat "$work/info.json" "$work/list.json")"
  grep -q '"inconsistent": *false' "$work/info.json" && grep -q '"sidecar": *false' "$work/info.json" ||
    fail "the cassette is inconsistent or keeps a sidecar: $(cat "$work/info.json")"
  python3 "$work/sound.py" message "$cassette" "$work/list.json" "$skin_set" "$@" ||
    fail "message $(($2 + 1)) of the cassette is not right"
}

wait_for_recording() {
  for _ in $(seq 100); do [[ -f "$sidecar" ]] && return 0; sleep 0.1; done
  fail "the Record key started no recording (no sidecar)"
}

start_app
click_key Record RecM.bmp
wait_for_recording
sleep 3
click_key Stop StopM.bmp
for _ in $(seq 100); do [[ -f "$sidecar" ]] || break; sleep 0.1; done
[[ -f "$sidecar" ]] && fail "the Stop key did not end the recording (the sidecar stays)"
check_cassette 1 0 2.0 4.5
seconds=$(python3 -c 'import json,sys; m=json.load(open(sys.argv[1]))[0]; print((m["end"]-m["start"])/11025)' "$work/list.json")

parecord -d kivsink.monitor --raw --format=u8 --channels=1 --rate=11025 >"$work/monitor.raw" 2>/dev/null &
parecord=$!
sleep 0.5
click_key Play PlayM.bmp
state=silent
for _ in $(seq 300); do
  state=$(python3 "$work/sound.py" state "$work/monitor.raw")
  [[ "$state" == playing ]] && import -window root "$artefacts/record-playing.png"
  [[ "$state" == done ]] && break
  sleep 0.1
done
[[ "$state" == done ]] || fail "the playback was not heard to its end within 30 s ($state)"
kill "$parecord"
wait "$parecord" 2>/dev/null || true
parecord=
cp "$work/monitor.raw" "$artefacts/record-monitor.u8"
python3 "$work/sound.py" monitor "$work/monitor.raw" "$seconds" || fail "the playback did not reach the sink"
close_panel
check_cassette 1 0 2.0 4.5
cp "$work/list.json" "$work/first-list.json"
cp "$cassette" "$work/first.cst"

start_app
click_key Record RecM.bmp
wait_for_recording
sleep 2
close_panel
check_cassette 2 1 1.0 3.5
python3 - "$work/first-list.json" "$work/first.cst" "$work/list.json" "$cassette" <<'PY' ||
import json, sys
before, now = json.load(open(sys.argv[1]))[0], json.load(open(sys.argv[3]))[0]
old, new = open(sys.argv[2], "rb").read(), open(sys.argv[4], "rb").read()
if now != before or old[before["start"]:before["end"]] != new[now["start"]:now["end"]]:
    sys.exit("the first message is not as it was")
PY
  fail "the second recording changed the first message"
cp "$cassette" "$artefacts/record-kivrec.cst"
echo "recorded, played and kept through real sound"
