#!/usr/bin/env bash
# Runs the acceptance checks against the built program under a virtual display,
# with a session bus and the accessibility bus of its own.
# Usage: run.sh WORKLIST_EXE DEMO_DB_EXE SQL_EXE [check name ...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
worklist="$1" demodb="$2" sqltool="$3"
shift 3

work="$(mktemp -d /tmp/vantik-acceptance.XXXXXX)"
cleanup() {
    [ -n "${bus_pid:-}" ] && kill "$bus_pid" 2>/dev/null || true
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

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
# Debian's Python: the accessibility bindings live there.
/usr/bin/python3 "$here/acceptance.py" --worklist "$worklist" --demo-db "$demodb" --sql "$sqltool" --work "$work" "$@"
