#!/usr/bin/env bash
# The real recorder on a private virtual display, with a desktop of its own: F1 on the panel
# starts the browser registered for web pages with the address of the help, and "Tell a friend"
# from the tray menu reaches the mail composer (xdg-email) with the subject and the text. The
# browser and xdg-email are scripts that write down what they were given.
#   real_help_mail_check.sh <KivRec> <artefact folder>
source "$(dirname "${BASH_SOURCE[0]}")/real_common.sh"

mkdir -p "$work/bin" "$work/data/applications" "$work/etc" "$work/share"
recorder() {  # a program that writes its arguments, one per NUL-terminated item, to $work/<name>.args
  printf '#!/bin/sh\nfor a in "$@"; do printf "%%s\\0" "$a"; done >"%s.part"\nmv "%s.part" "%s"\n' \
    "$work/$1.args" "$work/$1.args" "$work/$1.args" >"$work/bin/$1"
  chmod +x "$work/bin/$1"
}
recorder browser
recorder xdg-email
printf '[Desktop Entry]\nType=Application\nName=Browser\nExec=%s --new-window %%u\n' "$work/bin/browser" \
  >"$work/data/applications/browser.desktop"
printf '[Desktop Entry]\nType=Application\nName=Mailer\nExec=mailer %%u\n' >"$work/data/applications/mailer.desktop"
printf '[Default Applications]\ntext/html=browser.desktop;\nx-scheme-handler/mailto=mailer.desktop;\n' \
  >"$work/config/mimeapps.list"
export PATH="$work/bin:$PATH" XDG_CONFIG_DIRS="$work/etc" XDG_DATA_DIRS="$work/share"

arguments() {  # name: the recorded arguments, one per line, once the program has run
  local deadline=$((SECONDS + 20))
  until [[ -f "$work/$1.args" ]]; do
    ((SECONDS < deadline)) || fail "$1 was not started within 20 s"
    sleep 0.1
  done
  tr '\0' '\n' <"$work/$1.args"
}

trayer --edge bottom --align right --widthtype request --height 24 --SetDockType true \
  >"$work/trayer.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool search --class trayer >/dev/null 2>&1 && break; sleep 0.1; done
start_app

xdotool windowfocus --sync "$(visible_panel)" key F1
expected="--new-window
file://$bin/Help/index.html"
got=$(arguments browser)
[[ "$got" == "$expected" ]] || fail "F1 started the browser with: $got"

# The tray menu from the docked icon (the rightmost 24 pixels); "Tell a friend" is its first item.
xdotool mousemove 627 467 click 3
sleep 1
xdotool key Down Return
expected="--utf8
--subject
Kiv Sound Recorder
--body
Hi!

Just found this cool free software Kiv Sound Recorder by Zorvikware.
Might be interesting for you, too. Here is the link:
https://kivrec.example.org/"
got=$(arguments xdg-email)
[[ "$got" == "$expected"* ]] || fail "Tell a friend handed over: $got"
kill -0 "$app" || fail "the recorder ended"
echo "F1 opened the help in the registered browser; Tell a friend reached the mail composer"
