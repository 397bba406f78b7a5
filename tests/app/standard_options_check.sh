#!/usr/bin/env bash
# Each program given after the version answers --help and --version alone with code 0, without a
# display or the home, and fails when its answer cannot be written.
set -euo pipefail
version=$1 home=$(mktemp -d "${TMPDIR:-/tmp}/options-XXXXXX") && shift && trap 'rm -rf "$home"' EXIT
fail() { echo "FAILED: $*" && exit 1; }
bare() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$home" XDG_CONFIG_HOME="$home/c" XDG_DATA_HOME="$home/d" "$@"; }
for program in "$@"; do
  name=$(basename "$program")
  out=$(bare "$program" --version) && [[ "$out" == "$name (Kiv Sound Recorder) $version" ]] || fail "$name --version: $out"
  out=$(bare "$program" --help) && [[ "$out" == "Usage: $name"*--version* ]] || fail "$name --help: $out"
  ! bare "$program" --version >/dev/full || fail "$name --version to a full disk ended with code 0"
done
[[ -z "$(ls -A "$home")" ]] || fail "answering left files in the home: $(ls -A "$home")"
