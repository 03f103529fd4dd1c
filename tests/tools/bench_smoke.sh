#!/bin/sh
# One pass of the benchmark on a tiny demo database: every case must run and report,
# in the default mode and through the real window.
set -eu
demo_db=$1
bench=$2
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
"$demo_db" --out "$folder/db" --admissions 300 >/dev/null
"$bench" --db "$folder/db" --repeat 1 >"$folder/out"
cat "$folder/out"
for case in '^1 refresh.*unsorted' '^1 refresh.*sorted' '^2 refresh' 'grid model:' '^8 accomplishment' \
    '^3 refresh with vitals' '^4 height' '^5 course' '^6 GU' '^7 drug run.*Simulate' '^7 drug run.*Route' \
    '^9 translation.*worklist' '^9 translation.*height' '^10 validation' '^11 refresh with vitals' \
    '^12 drug listing' '^13 drug run' '^14 log-in.*100,000' '^15 eCF4 check' '^16 eCF4 export' '^17 eCF4 pass in the window' \
    '^18 eCF4 export in the window' '^peak memory'; do
    grep -q "$case" "$folder/out" || { echo "missing: $case" >&2; exit 1; }
done
QT_QPA_PLATFORM=offscreen "$bench" --db "$folder/db" --repeat 1 --window >"$folder/window"
cat "$folder/window"
for case in 'on the "offscreen" display' '^1 refresh' '^3 refresh with vitals' '^4 height' '^5 course' \
    '^10 validation' '^6 GU' '^7 drug run.*Simulate' '^7 drug run.*saving' '^11 refresh with vitals' '^2 refresh' \
    '^12 drug listing' '^13 drug run' '^17 eCF4 pass' '^18 eCF4 export'; do
    grep -q "$case" "$folder/window" || { echo "missing in --window: $case" >&2; exit 1; }
done
