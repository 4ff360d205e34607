#!/bin/sh
# Starts the editor under Xvfb with a window manager, moves the main window
# aside, opens Help, About through the menu and saves a screenshot of both.
# Usage: tools/screenshot-about.sh BINARY OUT.png
set -eu
bin=$1; out=$2
export DISPLAY=:${OVEX_DISPLAY:-78}
Xvfb "$DISPLAY" -screen 0 1280x720x24 >/dev/null 2>&1 & xvfb=$!
app=""; wm=""
trap 'kill $app $wm $xvfb 2>/dev/null || true' EXIT
sleep 1
openbox >/dev/null 2>&1 & wm=$!
sleep 0.5
"$bin" & app=$!
main=$(xdotool search --sync --onlyvisible --name '^Ovex Theme Editor$' | head -n 1)
# The About box opens at a fixed place near the top left; the main window
# goes to its right so that the two stand side by side.
xdotool windowmove --sync "$main" 560 40
xdotool windowactivate --sync "$main"
xdotool key --window "$main" alt+h
sleep 0.5
xdotool key a
xdotool search --sync --onlyvisible --name '^About Ovex Theme Editor$' >/dev/null
sleep 1
import -window root "$out"
