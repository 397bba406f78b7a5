# What the checks with the real recorder share: a throw-away home, a private virtual display, the
# recorder started in them, and the end of everything they started.
#   source real_common.sh <KivRec> <artefact folder>
set -euo pipefail
program=$1
artefacts=$2
bin=$(cd "$(dirname "$program")" && pwd)
mkdir -p "$artefacts" "${TMPDIR:-/tmp}"
work=$(mktemp -d "${TMPDIR:-/tmp}/real-check-XXXXXX")
cassette="$work/data/Zorvikware/Kiv Sound Recorder/kivrec.cst"
pids=() app= own_rig=
pulse_rig=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/pulse-rig

cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  [[ -z "$own_rig" ]] || "$pulse_rig" stop "$own_rig" || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  if [[ -s "$work/app.log" ]]; then echo "--- the recorder's output:"; cat "$work/app.log"; fi
  exit 1
}

# -displayfd picks a free display number and tells it once the server is ready. -noreset: by
# default the server resets when its last client leaves, and a recorder started again in that
# moment cannot connect.
Xvfb -displayfd 3 -screen 0 640x480x24 -br -noreset -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"
mkdir -p "$work"/{home,config,data,tmp,runtime}
chmod 700 "$work/runtime"
# The start-up panel would stand in front of the panel at every showing: off, unless a check wants it.
mkdir -p "$work/config/Zorvikware"
printf '[3.4]\nInfo=OFF\n' >"$work/config/Zorvikware/Kiv Sound Recorder.conf"

# Runs a command in the throw-away home, on the virtual display.
in_home() {
  env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
    XDG_DATA_HOME="$work/data" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime" "$@"
}

visible_panel() { xdotool search --onlyvisible --name '^Kiv Sound Recorder$' 2>/dev/null | head -n1; }

# Starts the recorder, its id in $app, and waits for its panel and its cassette.
start_app() {
  in_home "$program" >>"$work/app.log" 2>&1 &
  app=$!
  pids+=("$app")
  # Timed by the clock, not by a number of tries: on a busy machine every xdotool search is slow
  # too. The file test goes first, and a recorder that ended stops the wait at once.
  local deadline=$((SECONDS + 75))
  until [[ -f "$cassette" && -n "$(visible_panel)" ]]; do
    kill -0 "$app" 2>/dev/null || fail "the recorder ended before its panel appeared"
    ((SECONDS < deadline)) || fail "the panel did not appear with a cassette in 75 s" \
      "(cassette file: $([[ -f "$cassette" ]] && echo present || echo missing))"
    sleep 0.1
  done
  sleep 1  # let the panel paint
}

# Real sound goes through the rig given in the environment, or one of the check's own when
# PULSE_SERVER is unset.
use_sound_rig() {
  if [[ -z "${PULSE_SERVER:-}" ]]; then
    own_rig=$work/pulse
    rig_env=$("$pulse_rig" start "$own_rig") || fail "could not start a sound rig in $own_rig"
    eval "$rig_env"
  fi
  rig_info=$(timeout 10 pactl info 2>&1) || fail "the sound server does not answer: $rig_info"
  grep -q '^Default Sink: kivsink$' <<<"$rig_info" && grep -q '^Default Source: kivmic$' <<<"$rig_info" ||
    fail "the sound server at $PULSE_SERVER is not the test rig"
}

# The recorder plays into the rig's sink (besides the rig's own tone and clock streams).
playing() { pactl list sink-inputs 2>/dev/null | grep -q 'application.process.binary = "KivRec"'; }
