#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need. Idempotent:
# does nothing when everything is already there. With --packaging it also
# installs what making and checking the Debian packages takes (the test command
# and scripts/package.sh ask for it; the run command does not).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcli11-dev nlohmann-json3-dev libutf8proc-dev
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libqt6svg6
  fonts-liberation
  clang-format git
)
if [ "${1:-}" = "--packaging" ]; then
  packages+=(dpkg-dev file lintian desktop-file-utils appstream man-db)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
