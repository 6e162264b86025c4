#!/usr/bin/env bash
# Makes the Debian packages from a release build: quorvane (the desktop program
# with its companion, manual pages, completion, AppStream data and examples)
# and quorvane-cli (the companion alone, without Qt). They are written to
# build-package/packages/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --packaging

build=build-package
# Debian's own hardening flags (stack protector, fortified functions, full RELRO).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF \
      -DQV_BUILD_BENCH=OFF
cmake --build "$build" -j "$(nproc)"

rm -rf "$build/packages"
(cd "$build" && cpack -G DEB && cpack -G DEB -D QV_PACKAGE=cli)
ls "$build"/packages/*.deb
