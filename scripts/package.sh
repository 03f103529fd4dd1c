#!/usr/bin/env bash
# Builds the Debian package: a Release build of the programs in build-package/
# (Debian's hardening flags, no tests), CPack's .deb of it, and then lintian,
# desktop-file-validate and appstreamcli look at the package.
# Usage: scripts/package.sh [extra cmake args...]   (e.g. -DVANTIK_PACKAGE_MAINTAINER="IT <it@hospital>")
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-package

# The project's packages, and lintian, which only the package's check needs.
VANTIK_EXTRA_PACKAGES="lintian" scripts/setup.sh --packages

# Debian's compiler and linker flags, with every hardening option.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DVANTIK_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" "$@"
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/vantik_*.deb
(cd "$build" && cpack -G DEB)
deb="$(ls "$build"/vantik_*.deb)"

work="$(mktemp -d /tmp/vantik-package.XXXXXX)"
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work"
desktop-file-validate "$work"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$work"/usr/share/metainfo/*.metainfo.xml
# An error fails the script; every other finding is listed with its explanation.
lintian --info --display-info "$deb"
echo
echo "The package: $deb"
dpkg-deb --field "$deb"
