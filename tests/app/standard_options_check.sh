#!/usr/bin/env bash
# Every program answers --help and --version given alone with code 0, before it needs a display or
# touches the home, and fails when its answer cannot be written.
#   standard_options_check.sh <version> <program>...
set -euo pipefail
version=$1
shift
home=$(mktemp -d "${TMPDIR:-/tmp}/options-XXXXXX")
trap 'rm -rf "$home"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
bare() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR HOME="$home" \
    XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" timeout 20 "$@"
}

for program in "$@"; do
  name=$(basename "$program")
  out=$(bare "$program" --version) || fail "$name --version ended with code $?"
  [[ "$out" == "$name (Kiv Sound Recorder) $version" ]] || fail "$name --version printed: $out"
  out=$(bare "$program" --help) || fail "$name --help ended with code $?"
  [[ "$out" == "Usage: $name"* && "$out" == *--version* ]] || fail "$name --help printed: $out"
  if bare "$program" --version >/dev/full 2>/dev/null; then fail "$name --version to a full disk ended with 0"; fi
done
[[ -z "$(ls -A "$home")" ]] || fail "answering left files in the home: $(ls -A "$home")"
echo "$# programs answer --help and --version"
