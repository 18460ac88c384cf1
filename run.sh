#!/usr/bin/env bash
# Builds and starts the programs on this machine.
#   ./run.sh           a rehearsal: the console and two buzzers on 127.0.0.1
#   ./run.sh console   the host's console only
#   ./run.sh buzzer    one contestant's buzzer only
# Ctrl+C ends everything this script started.
set -euo pipefail
cd "$(dirname "$0")"
. tools/install-deps.sh
qb_install_deps
qb_build

bin=$PWD/build/bin
what=${1:-rehearsal}
case "$what" in
  console|buzzer|rehearsal) ;;
  *) echo "usage: ./run.sh [console|buzzer]" >&2; exit 2 ;;
esac

pids=()      # everything to stop at the end: programs, virtual screen, window manager
programs=()  # what the script waits for
cleanup() {
  trap - EXIT INT TERM
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Without a desktop (a server, a container) the programs get a virtual screen
# with a window manager, so windows have frames, take the focus and close.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
  [ -s "$fdfile" ] || { echo "Xvfb did not start" >&2; exit 1; }
  DISPLAY=":$(tr -dc 0-9 <"$fdfile")"
  export DISPLAY
  rm -f "$fdfile"
  openbox --sm-disable >/dev/null 2>&1 &
  pids+=($!)
  echo "No display here: started a virtual one on $DISPLAY with openbox."
  echo "  Screenshot: DISPLAY=$DISPLAY import -window root shot.png"
  echo "  Clicks and keys: DISPLAY=$DISPLAY xdotool ..."
fi

start() {  # start FOLDER PROGRAM: each program reads its files from its own folder
  (cd "$1" && exec "./$2") &
  pids+=($!)
  programs+=($!)
}

# A rehearsal gives each buzzer a folder of its own, as on a contestant's
# machine: a real copy of the program (the program folder is that of the
# executable file, so a symlink would lead back to build/bin), ip.txt and
# back.jpg.
contestant_folder() {
  local dir=$PWD/build/rehearsal/$1
  mkdir -p "$dir"
  rm -f "$dir/buzzer"
  ln "$bin/buzzer" "$dir/buzzer" 2>/dev/null || cp "$bin/buzzer" "$dir/buzzer"
  cp "$bin/back.jpg" "$dir/back.jpg"
  printf '127.0.0.1' >"$dir/ip.txt"
  echo "$dir"
}

case "$what" in
  console) start "$bin" console ;;
  buzzer) start "$bin" buzzer ;;
  rehearsal)
    one=$(contestant_folder 选手01)
    two=$(contestant_folder 选手02)
    start "$bin" console
    sleep 1   # let the console listen before the buzzers look for it
    start "$one" buzzer
    start "$two" buzzer
    cat <<'EOF'
Rehearsal: the console and two buzzers (build/rehearsal/选手01 and 选手02).
  1. In the second buzzer, change the name 选手01 to 选手02.
  2. In each buzzer click 连接服务器: both appear in the console's list.
  3. Console: 下一轮. Then press Enter (or the big button) in one buzzer: it wins,
     every buzzer locks, the console shows 请注意!!.
  4. Console: left click a row for +1 win, right click for -1.
  5. Esc in a buzzer asks to quit; closing the console asks too.
EOF
    ;;
esac
echo "Running: $what (Ctrl+C ends it)."
wait "${programs[@]}" || true
