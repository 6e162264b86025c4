#!/usr/bin/env bash
# The run command: installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build-release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF
cmake --build "$build" -j "$(nproc)" --target quorvane

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
Quorvane is built (build-release/src/app/quorvane), but this machine has no
display to show its window on (neither DISPLAY nor WAYLAND_DISPLAY is set).
Run it from a desktop session, or under a virtual display:
  apt-get install -y xvfb && xvfb-run -a build-release/src/app/quorvane
or serve it over VNC with Qt's own platform and connect a VNC viewer to port 5900:
  QT_QPA_PLATFORM=vnc build-release/src/app/quorvane
MSG
  exit 1
fi
exec "$build/src/app/quorvane"
