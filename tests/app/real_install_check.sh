#!/usr/bin/env bash
# Installs <build folder> into a throw-away prefix and starts the recorder there: its panel is
# shaped by the installed skin, recording loads the installed sound library, nothing is written
# into the prefix, and the installed kivrec-cli makes a cassette. Args: build and artefact
# folders, and cpack to check the package (lintian, desktop files, icons, man pages) unpacked.
root=$(mktemp -d "${TMPDIR:-/tmp}/install-XXXXXX") prefix=$root
if [[ -z "${3:-}" ]]; then
  cmake --install "$1" --prefix "$prefix" >/dev/null || exit 1
else
  (cd "$1" && "$3" -G DEB -B "$root/out" >/dev/null) && lintian --fail-on error "$root"/out/*.deb &&
    dpkg -x "$root"/out/*.deb "$root/deb" && prefix=$root/deb/usr && cd "$prefix/share" &&
    desktop-file-validate applications/KivRec.desktop && appstreamcli validate --no-net metainfo/* >/dev/null || exit 1
  icon=$(sed -n 's/^Icon=//p' applications/KivRec.desktop)
  for side in 16 22 24 32 48 64 128 256; do
    [[ "$(identify -format %w "icons/hicolor/${side}x$side/apps/$icon.png")" == "$side" ]] || { echo "no icon $side"; exit 1; }
  done
  for page in KivRec kivrec-cli ZAC; do
    zcat "man/man1/$page.1.gz" | grep -q "^.TH \"$page\" \"1\"" || { echo "no man page $page"; exit 1; }
  done
fi
source "$(dirname "${BASH_SOURCE[0]}")/real_common.sh" "$prefix/bin/KivRec" "$2"
trap 'cleanup; rm -rf "$root"' EXIT
[[ ! -e "$bin/Skin" ]] && touch "$work/installed" && use_sound_rig && start_app || fail "no installed layout in $prefix"
import -window root "$artefacts/${3:+package-}installed-panel.png"
read -r width height < <(identify -format '%w %h\n' "$prefix/share/kivrec/Skin/Default/DictaphoneA.BMP")
pixel() { convert "$artefacts/${3:+package-}installed-panel.png" -format "%[fx:p{$1,$2}.r+p{$1,$2}.g+p{$1,$2}.b]" info:; }
[[ "$(pixel 30 30)" == 0 && "$(pixel $((30 + width / 2)) $((30 + height / 2)))" != 0 ]] || fail "the panel is not shaped"
xdotool windowfocus --sync "$(visible_panel)" key Insert
maps="/proc/$(pgrep -P "$app" || echo "$app")/maps" module="$(realpath "$prefix")/lib/kivrec/libkivqtsound.so"
timeout 20 bash -c 'until grep -q "$0" "$1"; do sleep 0.2; done' "$module" "$maps" || fail "recording did not load $module"
[[ "$("$bin/kivrec-cli" --version)" == "kivrec-cli (Kiv Sound Recorder) "* ]] && "$bin/kivrec-cli" --cassette "$work/c.cst" create || fail "installed kivrec-cli"
[[ -z "$(find "$prefix" -newer "$work/installed")" ]] || fail "written into the install tree"
