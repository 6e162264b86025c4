#!/usr/bin/env bash
# The run command: installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build-release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF
cmake --build "$build" -j "$(nproc)" --target quorvane

# True when Qt will find a display: a platform chosen by hand, a Wayland
# session, or an X display whose local socket exists (remote displays such
# as "host:0" or SSH forwarding are taken on trust).
have_display() {
  [ -n "${QT_QPA_PLATFORM:-}" ] && return 0
  [ -n "${WAYLAND_DISPLAY:-}" ] && return 0
  [ -z "${DISPLAY:-}" ] && return 1
  case "$DISPLAY" in
    :*) local n="${DISPLAY#:}"; n="${n%%.*}"; [ -S "/tmp/.X11-unix/X$n" ] ;;
    *) return 0 ;;
  esac
}

if ! have_display; then
  cat >&2 <<MSG
Quorvane is built ($build/src/app/quorvane), but there is no display to show
its window on (DISPLAY is "${DISPLAY:-}", WAYLAND_DISPLAY is "${WAYLAND_DISPLAY:-}").
Run it from a desktop session, or under a virtual display:
  apt-get install -y xvfb xauth && xvfb-run -a $build/src/app/quorvane
or serve it over VNC with Qt's own platform and connect a VNC viewer to port 5900:
  QT_QPA_PLATFORM=vnc $build/src/app/quorvane
To add it to your desktop's menu (icon and entry), build the rest and install it:
  cmake --build $build && cmake --install $build --prefix ~/.local
MSG
  exit 1
fi
exec "$build/src/app/quorvane"
