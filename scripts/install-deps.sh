#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# With --checks it also installs the big tools that only some tests use (a
# spreadsheet program that converts our workbooks headless).
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
PACKAGES=(
  cmake ninja-build g++ pkg-config ccache
  libwxgtk3.2-dev libgtk-3-dev libserialport-dev libxlsxwriter-dev libzip-dev libtinyxml2-dev libfreexl-dev
  libgtest-dev libgmock-dev libmodbus-dev
  xvfb xauth openbox x11-utils
  fonts-wqy-zenhei
  dbus dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0
)
if [ "${1:-}" = "--checks" ]; then
  PACKAGES+=(libreoffice-calc-nogui)
fi
missing=()
for package in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
