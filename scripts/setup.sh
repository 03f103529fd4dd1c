#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs (only those missing) and
# configures and builds it. Usage: scripts/setup.sh [BUILD_DIR] [extra cmake args...]
# With --packages it only installs the packages.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ libgtest-dev libgmock-dev
  qt6-base-dev libqt6opengl6-dev qt6-charts-dev libqt6sql6-sqlite libqt6sql6-odbc
  libsqlite3-dev sqlite3 libssl-dev unixodbc unixodbc-dev tdsodbc libsqliteodbc
  libgl-dev libxkbcommon-dev fonts-dejavu-core fonts-dejavu-extra
  xvfb xauth imagemagick poppler-utils
  at-spi2-core python3-pyatspi dbus-x11
  libxlsxwriter-dev qt6-svg-dev unzip libxml2-dev
  dpkg-dev desktop-file-utils appstream
  g++-mingw-w64-x86-64-posix
)
# Scripts that need more than the build and the tests name it here.
read -r -a extra <<< "${VANTIK_EXTRA_PACKAGES:-}"
packages+=("${extra[@]}")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

[ "${1:-}" = "--packages" ] && exit 0

build_dir="${1:-build}"
shift || true
cmake -S . -B "$build_dir" -G Ninja "$@"
cmake --build "$build_dir" -j"$(nproc)"
