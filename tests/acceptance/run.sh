#!/usr/bin/env bash
# Runs the acceptance checks against the built program under a virtual display,
# with a session bus and the accessibility bus of its own.
# Usage: run.sh WORKLIST_EXE DEMO_DB_EXE SQL_EXE [check name ...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
worklist="$1" demodb="$2" sqltool="$3"
shift 3

work="$(mktemp -d /tmp/vantik-acceptance.XXXXXX)"
source "$here/desktop.sh"

# Debian's Python: the accessibility bindings live there.
/usr/bin/python3 "$here/acceptance.py" --worklist "$worklist" --demo-db "$demodb" --sql "$sqltool" --work "$work" "$@"
