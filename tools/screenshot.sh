#!/bin/sh
# Starts the editor under Xvfb with a window manager and saves a screenshot.
# Usage: tools/screenshot.sh BINARY OUT.png [SECONDS]
set -eu
bin=$1; out=$2; wait=${3:-2}
export DISPLAY=:${OVEX_DISPLAY:-77}
Xvfb "$DISPLAY" -screen 0 800x600x24 >/dev/null 2>&1 & xvfb=$!
trap 'kill $app $wm $xvfb 2>/dev/null || true' EXIT
sleep 1
openbox >/dev/null 2>&1 & wm=$!
sleep 0.5
"$bin" & app=$!
sleep "$wait"
import -window root "$out"
