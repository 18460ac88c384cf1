#!/usr/bin/env bash
# Builds and starts the programs on this machine.
#   ./run.sh           a rehearsal: the console and two buzzers on 127.0.0.1
#   ./run.sh console   the host's console only
#   ./run.sh buzzer    one contestant's buzzer only
set -euo pipefail
cd "$(dirname "$0")"
. tools/install-deps.sh
qb_install_deps
qb_build

bin=$PWD/build/bin
what=${1:-rehearsal}
pids=()      # everything to stop at the end
programs=()  # what the rehearsal waits for
cleanup() { [ ${#pids[@]} -gt 0 ] && kill "${pids[@]}" 2>/dev/null || true; }
trap cleanup EXIT INT TERM

# Without a desktop (a server, a container) the programs get a virtual screen.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  for n in $(seq 90 99); do
    [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  echo "No display here: started a virtual one on $DISPLAY (screenshot: DISPLAY=$DISPLAY import -window root shot.png)"
fi

start() {  # each program looks for ip.txt and back.jpg in its own folder
  (cd "$bin" && exec "./$1") &
  pids+=($!)
  programs+=($!)
}

case "$what" in
  console) start console ;;
  buzzer) start buzzer ;;
  rehearsal)
    start console
    sleep 1   # let the console listen before the buzzers look for it
    start buzzer
    start buzzer
    ;;
  *) echo "usage: ./run.sh [console|buzzer]" >&2; exit 2 ;;
esac
echo "Running: $what (Ctrl+C ends it)."
wait "${programs[@]}" || true
