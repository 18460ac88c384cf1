#!/usr/bin/env bash
# Installs, with apt-get, whatever the build, the tests and the rehearsal need
# and this machine lacks. Sourced by test.sh and run.sh; safe to run again.
set -euo pipefail

QB_PACKAGES=(
  g++ cmake make
  qt6-base-dev libgl-dev libvulkan-dev   # Qt 6 Widgets, Test; Gui's CMake config wants GL and Vulkan headers
  qt6-qpa-plugins                        # xcb and offscreen platforms
  libjpeg-dev
  xvfb xauth                             # end-to-end tests and a rehearsal without a display
  openbox                                # a window manager on that virtual screen: frames, focus, Alt+F4
  xdotool x11-utils imagemagick          # e2e tests and tools/screenshots.sh: find windows, click, type, capture
  python3 iproute2                       # e2e tests: read captured pixels; a loopback of their own (ip, ss)
  dpkg-dev                               # cpack -G DEB reads the programs' library needs with dpkg-shlibdeps
  xdg-utils                              # xdg-open: the console opens its guide with it
  fonts-wqy-microhei                     # Chinese must never show as boxes
)

qb_missing_packages() {
  local p missing=()
  for p in "${QB_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]:-}"
}

qb_install_deps() {
  local missing
  missing=$(qb_missing_packages)
  [ -z "$missing" ] && return 0
  echo "Installing: $missing"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  # shellcheck disable=SC2086
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends $missing
}

qb_build() {
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  cmake -S . -B build -DCMAKE_BUILD_TYPE="${QB_BUILD_TYPE:-Release}" >/dev/null
  cmake --build build -j "$jobs"
}
