#!/usr/bin/env bash
# Installs <build folder> into a throw-away prefix and starts the recorder there: its panel is
# shaped by the installed skin, recording loads the installed sound library, nothing is written
# into the prefix, and the installed kivrec-cli makes a cassette. Args: build and artefact folders.
prefix=$(mktemp -d "${TMPDIR:-/tmp}/install-XXXXXX") && cmake --install "$1" --prefix "$prefix" >/dev/null || exit 1
source "$(dirname "${BASH_SOURCE[0]}")/real_common.sh" "$prefix/bin/KivRec" "$2"
trap 'cleanup; rm -rf "$prefix"' EXIT
[[ ! -e "$bin/Skin" ]] && touch "$work/installed" && use_sound_rig && start_app || fail "no installed layout in $prefix"
import -window root "$artefacts/installed-panel.png"
read -r width height < <(identify -format '%w %h\n' "$prefix/share/kivrec/Skin/Default/DictaphoneA.BMP")
pixel() { convert "$artefacts/installed-panel.png" -format "%[fx:p{$1,$2}.r+p{$1,$2}.g+p{$1,$2}.b]" info:; }
[[ "$(pixel 30 30)" == 0 && "$(pixel $((30 + width / 2)) $((30 + height / 2)))" != 0 ]] || fail "the panel is not shaped"
xdotool windowfocus --sync "$(visible_panel)" key Insert
maps="/proc/$(pgrep -P "$app" || echo "$app")/maps" module="$(realpath "$prefix")/lib/kivrec/libkivqtsound.so"
timeout 20 bash -c 'until grep -q "$0" "$1"; do sleep 0.2; done' "$module" "$maps" || fail "recording did not load $module"
[[ "$("$bin/kivrec-cli" --version)" == "kivrec-cli (Kiv Sound Recorder) "* ]] && "$bin/kivrec-cli" --cassette "$work/c.cst" create || fail "installed kivrec-cli"
[[ -z "$(find "$prefix" -newer "$work/installed")" ]] || fail "written into the install tree"
