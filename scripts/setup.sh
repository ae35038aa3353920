#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when one is missing.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libsqlite3-dev
  fonts-wqy-microhei
)
if [ "${1:-}" = "--tests" ]; then
  packages+=(xvfb xdotool imagemagick clang libclang-rt-14-dev hyperfine time poppler-utils)
  # The install and package tests.
  packages+=(desktop-file-utils appstream dpkg-dev file)
  # The screen-reader test: a private D-Bus session, the accessibility bus
  # and the AT-SPI Python bindings.
  packages+=(dbus dbus-x11 at-spi2-core python3-pyatspi gir1.2-atspi-2.0)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
