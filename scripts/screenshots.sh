#!/usr/bin/env bash
# Makes the pictures of the clerk's guide (docs/user-guide.md) afresh from the real
# program: builds it, makes a fresh demo database and drives vantik-worklist under a
# virtual display of its own, one window at a time (scripts/screenshots.py).
# Usage: scripts/screenshots.sh [OUTDIR]   (default docs/images; VANTIK_BUILD_DIR
# names the build folder, default build)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
out="${1:-docs/images}"
case "$out" in /*) ;; *) out="$root/$out" ;; esac
build="${VANTIK_BUILD_DIR:-build}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac

# The project's packages (the display, the accessibility bus and ImageMagick among
# them), what only the pictures need (raising windows without a window manager, a
# clock that stands still) and an up-to-date build.
VANTIK_EXTRA_PACKAGES="xdotool faketime" scripts/setup.sh "$build"
faketime_lib="$(dpkg -L libfaketime | grep '/libfaketime\.so\.1$' | head -n1 || true)"

work="$(mktemp -d /tmp/vantik-screenshots.XXXXXX)"
trap 'rm -rf "$work"' EXIT

# The same files for the same seed: the pictures show the same patients every run.
"$build/vantik-demo-db" --out "$work/demo-db" --seed 1 >/dev/null

source tests/acceptance/desktop.sh

# Into a folder of the run first: a run that fails half-way leaves the old pictures.
# Debian's Python: the accessibility bindings live there.
/usr/bin/python3 scripts/screenshots.py --worklist "$build/vantik-worklist" --work "$work" \
    --out "$work/images" --faketime-lib "$faketime_lib"
mkdir -p "$out"
cp "$work"/images/*.png "$out"/
echo "The pictures are in $out"
