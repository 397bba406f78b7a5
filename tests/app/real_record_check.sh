#!/usr/bin/env bash
# Real sound on a private virtual display: Record records about three seconds of the sound rig's
# 440 Hz microphone, Stop saves it, Play plays it into the rig's sink (its monitor must hear the
# tone), closing the window ends the program. A second start is closed mid-recording: it must end
# by itself, keep that recording and leave the first message as it was. The rig is the one given
# in the environment, or one of its own when PULSE_SERVER is unset.
#   real_record_check.sh <KivRec> <artefact folder>
source "$(dirname "${BASH_SOURCE[0]}")/real_common.sh"
cli=$bin/kivrec-cli
sidecar="$(dirname "$cassette")/kivrec.zf"
use_sound_rig

# The close box's request, WM_DELETE_WINDOW, as a window manager would send it (Xvfb has none);
# the program must then end by itself with status 0.
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
  ((status == 0)) || fail "the program ended with status $status after its window was closed"
}

# A left click in the middle of the key whose skin row and picture are given.
click_key() {
  local point file width height
  point=$(grep -i "^$1=" "$bin/Skin/Default.set" | head -n1 | cut -d= -f2 | tr -d '\r')
  file=$(find "$bin/Skin/Default" -maxdepth 1 -iname "$2" | head -n1)
  [[ "$point" =~ ^[0-9]+,[0-9]+$ && -n "$file" ]] || fail "no $1 key in the Default skin"
  read -r width height < <(identify -format '%w %h\n' "$file")
  xdotool mousemove $((30 + ${point%%,*} + width / 2)) $((30 + ${point##*,} + height / 2)) click 1
}

# The rig's 440 Hz tone crosses the middle (128) of unsigned 8-bit sound 880 times a second.
cat >"$work/sound.py" <<'PY'
import json, sys
def tone(s):
    crossings = sum((a < 128) != (b < 128) for a, b in zip(s, s[1:]))
    rms = (sum((v - 128) ** 2 for v in s) / len(s)) ** 0.5
    return abs(crossings * 11025 / len(s) - 880) < 132 and rms > 8
def tenths(s): return [tone(s[i:i + 1102]) for i in range(0, len(s) - 1101, 1102)]
command, args = sys.argv[1], sys.argv[2:]
if command == "message":  # cassette list.json count index shortest longest [first.cst first-list.json]
    messages = json.load(open(args[1]))
    if len(messages) != int(args[2]):
        sys.exit("the cassette holds %d messages, not %s" % (len(messages), args[2]))
    m = messages[int(args[3])]
    sound = open(args[0], "rb").read()[m["start"]:m["end"]]
    print("message %s: %r, %.2f s" % (int(args[3]) + 1, m["name"], len(sound) / 11025))
    if not float(args[4]) <= len(sound) / 11025 <= float(args[5]):
        sys.exit("it is not %s to %s s long" % (args[4], args[5]))
    if sum(tenths(sound)) < 0.8 * len(tenths(sound)):
        sys.exit("less than four fifths of it are the tone")
    if len(args) > 6:
        before = json.load(open(args[7]))[0]
        if messages[0] != before or open(args[6], "rb").read()[before["start"]:before["end"]] != \
                open(args[0], "rb").read()[messages[0]["start"]:messages[0]["end"]]:
            sys.exit("the first message is not as it was")
elif command == "monitor":  # raw message_seconds
    heard = sum(tenths(open(args[0], "rb").read())) / 10
    print("the monitor heard %.1f s of tone" % heard)
    if not 0.75 * float(args[1]) <= heard <= float(args[1]) + 0.5:
        sys.exit("that is not the message of %s s" % args[1])
PY

check_cassette() {  # count index shortest longest [the first cassette and its list]
  "$cli" info --json --cassette "$cassette" >"$work/info.json" 2>&1 &&
    "$cli" list --json --cassette "$cassette" >"$work/list.json" 2>&1 ||
    fail "kivrec-cli could not read the cassette: $(cat "$work/info.json" "$work/list.json")"
  grep -q '"inconsistent": *false' "$work/info.json" && grep -q '"sidecar": *false' "$work/info.json" ||
    fail "the cassette is inconsistent or keeps a sidecar: $(cat "$work/info.json")"
  cp "$cassette" "$artefacts/record-kivrec.cst"
  python3 "$work/sound.py" message "$cassette" "$work/list.json" "$@" ||
    fail "the cassette's message $(($2 + 1)) is not right"
}

record_for() {
  click_key Record RecM.bmp
  for _ in $(seq 100); do [[ -f "$sidecar" ]] && break; sleep 0.1; done
  [[ -f "$sidecar" ]] || fail "the Record key started no recording (no sidecar)"
  sleep "$1"
}

start_app
record_for 3
click_key Stop StopM.bmp
for _ in $(seq 100); do [[ -f "$sidecar" ]] || break; sleep 0.1; done
[[ -f "$sidecar" ]] && fail "the Stop key did not end the recording (the sidecar stays)"
check_cassette 1 0 2.0 4.5
seconds=$(python3 -c 'import json,sys; m=json.load(open(sys.argv[1]))[0]; print((m["end"]-m["start"])/11025)' "$work/list.json")

parecord -d kivsink.monitor --raw --format=u8 --channels=1 --rate=11025 >"$work/monitor.raw" 2>/dev/null &
pids+=($!)
sleep 0.5
click_key Play PlayM.bmp
sleep "$(python3 -c "print($seconds + 2)")"
kill "${pids[-1]}"
cp "$work/monitor.raw" "$artefacts/record-monitor.u8"
python3 "$work/sound.py" monitor "$work/monitor.raw" "$seconds" || fail "the playback did not reach the sink"
close_panel
cp "$work/list.json" "$work/first-list.json"
cp "$cassette" "$work/first.cst"

start_app
record_for 2
close_panel
check_cassette 2 1 1.0 3.5 "$work/first.cst" "$work/first-list.json"
echo "recorded, played and kept through real sound"
