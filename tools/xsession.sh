#!/usr/bin/env bash
# A virtual desktop for driving the programs as a person would: Xvfb with the
# openbox window manager, windows found by process and title, clicks at a
# control's position in a window's client area, keys, and captures.
# Sourced by tools/screenshots.sh and tests/e2e/quiz_e2e.sh.
#
# Everything started here is recorded in QBX_PIDS; qbx_stop ends it.

QBX_PIDS=()
QBX_POLL=0.1

qbx_log() { printf '[%s] %s\n' "$(date +%T)" "$*" >&2; }

# The tools this needs; prints those missing.
qbx_missing_tools() {
  local t absent=()
  for t in Xvfb openbox xdotool xprop xwininfo import convert compare; do
    command -v "$t" >/dev/null 2>&1 || absent+=("$t")
  done
  echo "${absent[@]:-}"
}

# Runs the calling script again in a network namespace of its own with only a
# loopback interface, so that the console's fixed port 6767 cannot clash with
# a console already running on this machine (a rehearsal, another test), and
# nothing can reach past the loopback. Returns when that is not possible; the
# caller then runs on the machine's own network.
#   qbx_isolate_network SCRIPT ARGS...
# With QBX_SAMPLE_ADDRESS set (say 192.168.1.20), the namespace also gets a
# pair of virtual interfaces joined to each other with that address on one of
# them, so the console has a LAN address to show; nothing leaves the namespace.
qbx_isolate_network() {
  [ -n "${QBX_IN_NETNS:-}" ] && return 0
  command -v unshare >/dev/null 2>&1 || return 0
  command -v ip >/dev/null 2>&1 || return 0
  local flags=(--net)
  [ "$(id -u)" -ne 0 ] && flags=(--map-root-user --net)
  if unshare "${flags[@]}" true 2>/dev/null; then
    # shellcheck disable=SC2016  # expanded by the inner shell
    exec unshare "${flags[@]}" env QBX_IN_NETNS=1 bash -c '
      ip link set lo up || exit 1
      if [ -n "${QBX_SAMPLE_ADDRESS:-}" ]; then
        { ip link add qb0 type veth peer name qb1 &&
          ip addr add "$QBX_SAMPLE_ADDRESS/24" dev qb0 &&
          ip link set qb1 up && ip link set qb0 up; } 2>/dev/null || true
      fi
      exec bash "$0" "$@"' "$@"
  fi
}

# qbx_start WIDTHxHEIGHT: a virtual screen on a free display, and openbox on it.
qbx_start() {
  local size=${1:-1920x1080} fdfile
  fdfile=$(mktemp)
  # Xvfb picks a free display itself and writes its number when it is ready.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  QBX_PIDS+=($!)
  if ! qbx_wait 10 test -s "$fdfile"; then
    qbx_log "Xvfb did not start"; rm -f "$fdfile"; return 1
  fi
  DISPLAY=":$(tr -dc 0-9 <"$fdfile")"
  export DISPLAY
  rm -f "$fdfile"
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
  openbox --sm-disable >/dev/null 2>&1 &
  QBX_PIDS+=($!)
  if ! qbx_wait 10 qbx_wm_running; then
    qbx_log "openbox did not start"; return 1
  fi
}

qbx_wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# Ends everything recorded in QBX_PIDS (programs included, when the caller
# added them), first politely, then for good.
qbx_stop() {
  local p alive=()
  for p in "${QBX_PIDS[@]}"; do
    kill "$p" 2>/dev/null && alive+=("$p")
  done
  for p in "${alive[@]}"; do
    qbx_wait 3 qbx_gone "$p" || kill -9 "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
  QBX_PIDS=()
}

qbx_gone() { ! kill -0 "$1" 2>/dev/null; }

# qbx_wait SECONDS COMMAND...: polls until COMMAND succeeds; fails at the timeout.
qbx_wait() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  while true; do
    "$@" && return 0
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep "$QBX_POLL"
  done
}

# qbx_window PID TITLE_REGEX: the first visible window of that process whose
# title matches; nothing (and failure) when there is none yet.
qbx_window() {
  local id
  id=$(xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -n 1)
  [ -n "$id" ] && echo "$id"
}

# qbx_wait_window SECONDS PID TITLE_REGEX: waits for qbx_window and prints it.
qbx_wait_window() {
  local limit=$1 pid=$2 re=$3 end=$((SECONDS + $1)) id
  while true; do
    id=$(qbx_window "$pid" "$re") && { echo "$id"; return 0; }
    [ "$SECONDS" -ge "$end" ] && { qbx_log "no window '$re' of process $pid after ${limit}s"; return 1; }
    sleep "$QBX_POLL"
  done
}

qbx_no_window() { ! qbx_window "$1" "$2" >/dev/null; }

qbx_title() { xdotool getwindowname "$1" 2>/dev/null; }

# qbx_title_matches WINDOW REGEX
qbx_title_matches() { [[ "$(qbx_title "$1")" =~ $2 ]]; }

# Raises the window and gives it the keyboard focus, as a click on its frame would.
qbx_activate() {
  timeout 5 xdotool windowactivate --sync "$1" >/dev/null 2>&1 \
    || qbx_wait 5 qbx_is_active "$1"
}

qbx_is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# qbx_click WINDOW X Y [BUTTON]: a click at X,Y of the window's client area.
# The window must be the topmost at that place: the click is a real pointer
# event, like a person's.
qbx_click() {
  local b=${4:-1}
  xdotool mousemove --window "$1" "$2" "$3" sleep 0.05 click "$b"
}

# qbx_click_control WINDOW LEFT TOP WIDTH HEIGHT [BUTTON]: the control's centre.
qbx_click_control() {
  qbx_click "$1" $(($2 + $4 / 2)) $(($3 + $5 / 2)) "${6:-1}"
}

# qbx_key WINDOW KEY...: activates the window, then presses the keys.
qbx_key() {
  local w=$1; shift
  qbx_activate "$w" || return 1
  xdotool key --clearmodifiers "$@"
}

# The window's outer rectangle on the screen, frame included: "X Y W H".
# (xwininfo, not xdotool: xdotool counts the frame into the position twice.)
qbx_outer_rect() {
  local info x y w h l=0 r=0 t=0 b=0 ext
  info=$(xwininfo -id "$1")
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/.*Width: *//p' <<<"$info")
  h=$(sed -n 's/.*Height: *//p' <<<"$info")
  ext=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' ')
  if [ -n "$ext" ]; then IFS=, read -r l r t b <<<"$ext"; fi
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# qbx_capture FILE: the whole screen.
qbx_capture() { import -window root "$1" 2>/dev/null; }

# qbx_capture_window WINDOW FILE [MARGIN]: the window with its frame and MARGIN
# pixels of what is around it.
qbx_capture_window() {
  local x y w h m=${3:-0} full
  read -r x y w h <<<"$(qbx_outer_rect "$1")"
  full=$(mktemp --suffix=.png)
  qbx_capture "$full"
  x=$((x - m)); y=$((y - m)); w=$((w + 2 * m)); h=$((h + 2 * m))
  [ "$x" -lt 0 ] && x=0
  [ "$y" -lt 0 ] && y=0
  convert "$full" -crop "${w}x${h}+${x}+${y}" +repage "$2"
  rm -f "$full"
}

# qbx_capture_client WINDOW X Y W H FILE: a part of the window's client area.
qbx_capture_client() {
  import -window "$1" -crop "${4}x${5}+${2}+${3}" +repage "$6" 2>/dev/null
}
