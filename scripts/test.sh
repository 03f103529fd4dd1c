#!/usr/bin/env bash
# Sets everything up, builds and runs every test (offscreen). With --sanitize the
# build and the tests run under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--sanitize" ]; then
  build_dir=build-sanitize
  scripts/setup.sh "$build_dir" -DVANTIK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
  export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
else
  build_dir=build
  scripts/setup.sh "$build_dir"
fi

export QT_QPA_PLATFORM=offscreen
export LANG=C.UTF-8
ctest --test-dir "$build_dir" --output-on-failure -j2
