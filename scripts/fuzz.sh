#!/usr/bin/env bash
# Fuzzes the T-SQL translator and the embedded execution of what it accepts.
#
#   scripts/fuzz.sh [seconds]   build (clang, build-fuzz/) and fuzz for that long (default 600)
#   scripts/fuzz.sh merge       fold what the runs found into tests/fuzz/corpus, minimised
#                               (run it with no fuzzing going on: it reads build-fuzz/corpus)
#
# The fuzzer runs on one core at the lowest priority, so that builds keep theirs. New
# inputs collect in build-fuzz/corpus; a crash or an input that takes over a second is
# written under tests/fuzz/crashes, which the normal build replays (CTest fuzz_replay)
# together with tests/fuzz/corpus. Installs clang from Debian when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build-fuzz
if ! command -v clang++ >/dev/null 2>&1; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends clang
fi
if [ ! -f "$build_dir/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DVANTIK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build_dir" --target fuzz_translate
mkdir -p "$build_dir/corpus" tests/fuzz/crashes

fuzzer="$build_dir/tests/fuzz/fuzz_translate"
options=(-dict=tests/fuzz/tsql.dict -max_len=8192 -timeout=1 -rss_limit_mb=2048)

if [ "${1:-}" = "merge" ]; then
  # The program's own statement shapes stay whatever they cover; the rest is the fewest
  # inputs that reach every branch the runs reached (counters left out, so that the
  # kept corpus stays a few hundred files).
  rm -rf "$build_dir/corpus-merged" && mkdir -p "$build_dir/corpus-merged"
  cp tests/fuzz/corpus/program-*.sql "$build_dir/corpus-merged/" 2>/dev/null || true
  nice -n 19 "$fuzzer" "${options[@]}" -set_cover_merge=1 -use_counters=0 "$build_dir/corpus-merged" \
    tests/fuzz/corpus "$build_dir/corpus"
  rm -rf tests/fuzz/corpus && mv "$build_dir/corpus-merged" tests/fuzz/corpus
  echo "tests/fuzz/corpus now holds $(ls tests/fuzz/corpus | wc -l) inputs"
  exit 0
fi

seconds="${1:-600}"
end=$((SECONDS + seconds))
mkdir -p "$build_dir/spurious"
cd "$build_dir"
# A run ends at its first finding. A timeout may only mean the machine was busy (the run
# has the lowest priority): one that replays in under a second is set aside and the run
# goes on for the time that is left.
while [ "$SECONDS" -lt "$end" ]; do
  before=$(ls ../tests/fuzz/crashes | sort)
  nice -n 19 ./tests/fuzz/fuzz_translate "${options[@]/#-dict=/-dict=../}" -jobs=1 -workers=1 \
    -max_total_time=$((end - SECONDS)) -print_final_stats=1 -artifact_prefix=../tests/fuzz/crashes/ \
    corpus ../tests/fuzz/corpus || true
  { date; grep -E "cov:" fuzz-0.log | tail -n 1; grep -E "^stat::" fuzz-0.log; } >> runs.log
  tail -n 8 fuzz-0.log
  found=$(comm -13 <(echo "$before") <(ls ../tests/fuzz/crashes | sort))
  [ -z "$found" ] && break
  real=0
  for f in $found; do
    if [[ "$f" == timeout-* ]] && timeout 1 ./tests/fuzz/fuzz_translate "../tests/fuzz/crashes/$f" >/dev/null 2>&1; then
      echo "timeout-like stall of $f does not replay (machine busy): set aside in $build_dir/spurious"
      mv "../tests/fuzz/crashes/$f" spurious/
    else
      echo "FOUND: tests/fuzz/crashes/$f"
      real=1
    fi
  done
  [ "$real" -eq 1 ] && exit 1
done
