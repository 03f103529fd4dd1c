#!/usr/bin/env bash
# Sets everything up, makes the demo HIS database when it is missing, and starts
# the program on it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh build
if [ ! -f demo-db/Patient_Data.sqlite ]; then
  build/vantik-demo-db --out demo-db
fi
exec build/vantik-worklist
