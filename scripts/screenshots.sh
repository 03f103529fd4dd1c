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
# them) and an up-to-date build.
scripts/setup.sh "$build"

# What only the pictures need: raising windows without a window manager, a clock
# that stands still.
extra=(xdotool faketime)
missing=()
for p in "${extra[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
faketime_lib="$(dpkg -L libfaketime | grep '/libfaketime\.so\.1$' | head -n1 || true)"

work="$(mktemp -d /tmp/vantik-screenshots.XXXXXX)"
cleanup() {
    [ -n "${bus_pid:-}" ] && kill "$bus_pid" 2>/dev/null || true
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The same files for the same seed: the pictures show the same patients every run.
"$build/vantik-demo-db" --out "$work/demo-db" --seed 1 >/dev/null

# A free display: Xvfb writes the number it took.
exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$work/display")"
eval "$(dbus-launch --sh-syntax)"
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
bus_pid=$!
# A program started before the accessibility bus answers never joins it.
for _ in $(seq 100); do
    dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done
/usr/bin/python3 -c "import pyatspi; pyatspi.Registry.getDesktop(0).childCount" >/dev/null 2>&1 || true

unset QT_QPA_PLATFORM
# Into a folder of the run first: a run that fails half-way leaves the old pictures.
# Debian's Python: the accessibility bindings live there.
/usr/bin/python3 scripts/screenshots.py --worklist "$build/vantik-worklist" --work "$work" \
    --out "$work/images" --faketime-lib "$faketime_lib"
mkdir -p "$out"
cp "$work"/images/*.png "$out"/
echo "The pictures are in $out"
