#!/usr/bin/env bash
# Makes the pictures of the host's guide: docs/guide/console.png and
# docs/guide/buzzer.png, and copies the programs' icons beside them.
#
#   tools/screenshots.sh [BIN_DIR]      BIN_DIR defaults to build/bin
#
# Starts a virtual screen with openbox, runs the console and one buzzer from
# BIN_DIR, connects the buzzer by clicking 连接服务器, plays one question
# (下一轮, the buzzer presses Enter, the host closes 请注意!! and scores the
# winner) and captures both windows. Needs what tools/install-deps.sh installs
# (Xvfb, openbox, xdotool, imagemagick). Runs in a network namespace of its
# own where it can, so a console already running here does not get in the way.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
# shellcheck source=tools/xsession.sh
. "$here/xsession.sh"
# The console's footer shows its LAN address: the guide's example one.
export QBX_SAMPLE_ADDRESS=192.168.1.20
qbx_isolate_network "$here/screenshots.sh" "$@"

bin=$(cd "${1:-$root/build/bin}" && pwd)
out=$root/docs/guide
for f in console buzzer back.jpg; do
  [ -e "$bin/$f" ] || { echo "screenshots: $bin/$f is missing: build first" >&2; exit 1; }
done
missing=$(qbx_missing_tools)
[ -z "$missing" ] || { echo "screenshots: missing $missing (tools/install-deps.sh installs them)" >&2; exit 1; }

# The console's footer shows where its guide is: a short, plain folder name
# looks best on the picture.
work=/tmp/quizbuzzer
mkdir "$work" 2>/dev/null || work=$(mktemp -d /tmp/quizbuzzer.XXXXXX)
cleanup() { qbx_stop; rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

# The programs in folders of their own, as on the machines of a quiz. The
# opener of the guide does nothing here: no browser on the pictures.
mkdir -p "$work/guide" "$work/contestant" "$work/fakebin"
cp "$bin/console" "$work/"
cp "$bin/buzzer" "$bin/back.jpg" "$work/contestant/"
printf '127.0.0.1' >"$work/contestant/ip.txt"
printf '#!/bin/sh\nexit 0\n' >"$work/fakebin/xdg-open"
chmod +x "$work/fakebin/xdg-open"
export PATH="$work/fakebin:$PATH"

qbx_start 1920x1080

(cd "$work" && exec ./console) &
console=$!
QBX_PIDS+=("$console")
cwin=$(qbx_wait_window 20 "$console" '主持人控制台')

(cd "$work/contestant" && exec ./buzzer) &
buzzer=$!
QBX_PIDS+=("$buzzer")
bwin=$(qbx_wait_window 20 "$buzzer" '^Kesta')
# The buzzer stays on top of everything: put it right of the console, so the
# console can be seen and clicked.
xdotool windowmove "$bwin" 1400 80

qbx_click_control "$bwin" 197 10 80 32                 # 连接服务器
qbx_wait 15 qbx_title_matches "$bwin" '127\.0\.0\.1' \
  || { echo "screenshots: the buzzer did not connect: $(qbx_title "$bwin")" >&2; exit 1; }

qbx_activate "$cwin"
qbx_click_control "$cwin" 159 12 80 32                 # 下一轮
sleep 0.3
qbx_key "$bwin" Return                                 # the contestant buzzes
box=$(qbx_wait_window 10 "$console" '^请注意!!$')
qbx_key "$box" Return
qbx_wait 5 qbx_no_window "$console" '^请注意!!$'
qbx_activate "$cwin"
qbx_click "$cwin" 420 82                               # the first roster row: one win
sleep 0.5

qbx_capture_window "$cwin" "$work/console.png"
# Without the console in the way, the buzzer sits on its backdrop.
xdotool windowminimize "$cwin"
sleep 0.5
qbx_capture_window "$bwin" "$work/buzzer.png" 48

mkdir -p "$out"
cp "$work/console.png" "$work/buzzer.png" "$out/"
icons=$(dirname "$bin")/icons
if [ -d "$icons" ]; then
  cp "$icons/quizbuzzer-console-128.png" "$out/console-icon.png"
  cp "$icons/quizbuzzer-buzzer-128.png" "$out/buzzer-icon.png"
fi
echo "Wrote $out/console.png and $out/buzzer.png"
