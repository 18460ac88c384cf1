#!/usr/bin/env bash
# End to end: the console and two buzzers on a virtual desktop, driven with
# the mouse and the keyboard as the host and two contestants would.
#
#   quiz_e2e.sh CONSOLE BUZZER BACK_JPG
#
# Exit 0 when every step holds, 1 on the first that does not (the screen is
# captured into the work folder, which is kept and named), 77 when the
# desktop tools are missing.
#
# Every wait polls with a time limit; the run takes well under a minute.
# QB_E2E_KEEP=1 keeps the work folder (a capture of the screen before each
# step, the programs' output) also when every step holds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tools=$(cd "$here/../../tools" && pwd)
# shellcheck source=tools/xsession.sh
. "$tools/xsession.sh"

missing=$(qbx_missing_tools)
command -v python3 >/dev/null 2>&1 || missing="$missing python3"
if [ -n "${missing// /}" ]; then
  echo "SKIP: missing $missing (tools/install-deps.sh installs them)"
  exit 77
fi
[ $# -eq 3 ] || { echo "usage: quiz_e2e.sh CONSOLE BUZZER BACK_JPG" >&2; exit 2; }

# The console always listens on 6767: give the run a loopback of its own.
qbx_isolate_network "$here/quiz_e2e.sh" "$@"
if [ -z "${QBX_IN_NETNS:-}" ] && ss -ltn 2>/dev/null | grep -q ':6767 '; then
  echo "SKIP: port 6767 is taken on this machine and no network namespace can be made"
  exit 77
fi

console_exe=$1 buzzer_exe=$2 back_jpg=$3
work=$(mktemp -d /tmp/qb-e2e.XXXXXX)
step="setting up"

finish() {
  local rc=$?
  if [ "$rc" -ne 0 ]; then
    [ -n "${DISPLAY:-}" ] && qbx_capture "$work/failure.png"
    echo "FAILED at: $step (exit $rc). Work folder with captures: $work" >&2
  fi
  qbx_stop
  if [ "$rc" -eq 0 ] && [ -z "${QB_E2E_KEEP:-}" ]; then rm -rf "$work"; fi
  [ -n "${QB_E2E_KEEP:-}" ] && echo "Work folder kept: $work"
  exit "$rc"
}
trap finish EXIT
trap 'exit 130' INT TERM

fail() { echo "FAIL: $step: $*" >&2; exit 1; }
shots=0
check() {  # a new step; the screen as the previous one left it goes to the work folder
  [ -n "${DISPLAY:-}" ] && qbx_capture "$work/$(printf %02d $shots).png"
  shots=$((shots + 1))
  step=$1
  echo "-- $step"
}

# --- Layout: each program in its own folder, as on the machines of a quiz ---
mkdir -p "$work/host/guide" "$work/选手01" "$work/选手02" "$work/fakebin"
cp "$console_exe" "$work/host/console"
echo '<html></html>' >"$work/host/guide/index.html"
for c in 选手01 选手02; do
  cp "$buzzer_exe" "$work/$c/buzzer"
  cp "$back_jpg" "$work/$c/back.jpg"
  printf '127.0.0.1' >"$work/$c/ip.txt"
done
# The console opens its guide with xdg-open: record the request instead.
cat >"$work/fakebin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$work/opened.txt"
EOF
chmod +x "$work/fakebin/xdg-open"
export PATH="$work/fakebin:$PATH"

check "starting the virtual desktop"
qbx_start 1920x1080 || fail "no desktop"

started=
start_in() {  # start_in FOLDER PROGRAM: the process id in $started
  (cd "$1" && exec "./$2" >"$work/$2-$(basename "$1").log" 2>&1) &
  started=$!
  QBX_PIDS+=("$started")
}

# --- The console starts, listens and opens its guide -------------------------
check "console shows its window"
start_in "$work/host" console; console=$started
cwin=$(qbx_wait_window 20 "$console" '^Kesta简洁抢答器 beta1\.0 主持人控制台') || fail "no console window"

check "console listens on TCP 6767"
listening() { ss -ltn 2>/dev/null | grep -q ':6767 '; }
qbx_wait 10 listening || fail "nothing listens on 6767"

check "console opens the guide beside it"
opened() { grep -qxF "$work/host/guide/index.html" "$work/opened.txt" 2>/dev/null; }
qbx_wait 10 opened || fail "xdg-open got: $(cat "$work/opened.txt" 2>/dev/null || echo nothing)"

# The roster's first column, below the header: three lines of text (header,
# two rows) once both contestants are in; only the header now.
roster_lines() {
  qbx_capture_client "$cwin" 362 50 148 90 "$work/roster.png"
  convert "$work/roster.png" -colorspace Gray -depth 8 "pgm:$work/roster.pgm"
  python3 "$here/text_lines.py" "$work/roster.pgm"
}
qbx_activate "$cwin"
empty_lines=$(roster_lines)
echo "   roster before the contestants: $empty_lines line(s) of text"

# --- Two contestants connect ---------------------------------------------------
check "two buzzers show their windows"
start_in "$work/选手01" buzzer; b1=$started
w1=$(qbx_wait_window 20 "$b1" '^Kesta简洁抢答器 beta1\.0') || fail "no window of buzzer 1"
start_in "$work/选手02" buzzer; b2=$started
w2=$(qbx_wait_window 20 "$b2" '^Kesta简洁抢答器 beta1\.0') || fail "no window of buzzer 2"
# Both open centred and stay on top: put them left of the console, apart.
xdotool windowmove "$w1" 20 40
xdotool windowmove "$w2" 20 360
sleep 0.3

check "contestant 2 renames himself 选手02"
qbx_click_control "$w2" 72 15 112 23          # the name box
xdotool key --clearmodifiers End BackSpace 2
name_box() { qbx_capture_client "$1" 74 17 108 19 "$2"; }
renamed() {
  name_box "$w1" "$work/name1.png"; name_box "$w2" "$work/name2.png"
  [ "$(compare -metric AE "$work/name1.png" "$work/name2.png" null: 2>&1 || true)" != "0" ]
}
qbx_wait 5 renamed || fail "both name boxes look the same"

check "both buzzers connect"
qbx_click_control "$w1" 197 10 80 32          # 连接服务器
qbx_wait 10 qbx_title_matches "$w1" '^Kesta简洁抢答器 beta1\.0 .*  127\.0\.0\.1$' \
  || fail "buzzer 1 title: $(qbx_title "$w1")"
qbx_click_control "$w2" 197 10 80 32
qbx_wait 10 qbx_title_matches "$w2" '^Kesta简洁抢答器 beta1\.0 .*  127\.0\.0\.1$' \
  || fail "buzzer 2 title: $(qbx_title "$w2")"
established() { [ "$(ss -tnH state established '( dport = :6767 )' 2>/dev/null | wc -l)" -eq 2 ]; }
qbx_wait 5 established || fail "$(ss -tn)"

check "the console lists both contestants"
qbx_activate "$cwin"
two_rows() { [ "$(roster_lines)" -eq $((empty_lines + 2)) ]; }
qbx_wait 5 two_rows || fail "roster shows $(roster_lines) lines of text, $empty_lines before the contestants"

# --- One question ------------------------------------------------------------------
check "下一轮, then contestant 1 buzzes first"
qbx_click_control "$cwin" 159 12 80 32        # 下一轮
sleep 0.3                                     # OpenBuzzers on its way over loopback
title2=$(qbx_title "$w2")
qbx_key "$w1" Return
announce=$(qbx_wait_window 10 "$console" '^请注意!!$') || fail "the host got no 请注意!! box"

check "every buzzer is locked after the first buzz"
# 人数标签 reads 1 now; a Buzz that got through the lock would make it 2.
qbx_capture_client "$cwin" 96 368 80 20 "$work/count-before.png"
qbx_key "$w2" Return
sleep 0.5                                     # ample for a stray Buzz over loopback
qbx_capture_client "$cwin" 96 368 80 20 "$work/count-after.png"
diff_px=$(compare -metric AE "$work/count-before.png" "$work/count-after.png" null: 2>&1 || true)
[ "$diff_px" = "0" ] || fail "the buzz count changed after contestant 2 pressed Enter ($diff_px pixels)"
[ "$(qbx_title "$w2")" = "$title2" ] || fail "buzzer 2 title changed: $(qbx_title "$w2")"
qbx_window "$console" '^请注意!!$' >/dev/null || fail "the 请注意!! box went away by itself"
[ "$(qbx_window "$console" '^请注意!!$')" = "$announce" ] || fail "a second 请注意!! box"

check "the host closes 请注意!! with Enter"
qbx_key "$announce" Return
qbx_wait 5 qbx_no_window "$console" '^请注意!!$' || fail "the box stays open"

# --- A contestant leaves -----------------------------------------------------------
check "Esc asks contestant 2 to confirm; N keeps the buzzer"
qbx_key "$w2" Escape
ask=$(qbx_wait_window 5 "$b2" ' 提醒您:$') || fail "no confirmation box"
qbx_key "$ask" n
qbx_wait 5 qbx_no_window "$b2" ' 提醒您:$' || fail "the box stays open"
sleep 0.3
kill -0 "$b2" 2>/dev/null || fail "the buzzer ended on No"
qbx_window "$b2" '^Kesta' >/dev/null || fail "the buzzer's window went away on No"

quit_buzzer() {  # quit_buzzer PID WINDOW: Esc, Y, and the program ends with exit code 0
  qbx_key "$2" Escape
  local ask rc=0
  ask=$(qbx_wait_window 5 "$1" ' 提醒您:$') || fail "no confirmation box"
  qbx_key "$ask" y
  qbx_wait 5 qbx_gone "$1" || fail "the buzzer still runs"
  wait "$1" || rc=$?
  [ "$rc" -eq 0 ] || fail "exit code $rc"
}

check "Esc, then Y ends the buzzer with exit code 0"
quit_buzzer "$b2" "$w2"

check "the console tells the host that a contestant left"
left=$(qbx_wait_window 5 "$console" '^信息：$') || fail "no box about the departure"
qbx_key "$left" Return
qbx_wait 5 qbx_no_window "$console" '^信息：$' || fail "the box stays open"

# --- The host closes the console ------------------------------------------------------
check "closing the console asks first; N keeps it"
qbx_key "$cwin" alt+F4
ask=$(qbx_wait_window 5 "$console" '^提示$') || fail "no 提示 box"
qbx_key "$ask" n
qbx_wait 5 qbx_no_window "$console" '^提示$' || fail "the box stays open"
sleep 0.3
kill -0 "$console" 2>/dev/null || fail "the console ended on No"
qbx_title_matches "$w1" '127\.0\.0\.1$' || fail "buzzer 1 lost the console on No: $(qbx_title "$w1")"

check "Y closes the console and the buzzer sees the connection broken"
qbx_key "$cwin" alt+F4
ask=$(qbx_wait_window 5 "$console" '^提示$') || fail "no 提示 box"
qbx_key "$ask" y
qbx_wait 5 qbx_gone "$console" || fail "the console still runs"
qbx_wait 5 qbx_title_matches "$w1" '^连接断开,点击重连!$' || fail "buzzer 1 title: $(qbx_title "$w1")"

check "the last buzzer ends with Esc, Y"
quit_buzzer "$b1" "$w1"

step="done"
echo "e2e: every step held"
