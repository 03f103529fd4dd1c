#!/bin/sh
# One pass of the benchmark on a tiny demo database: every case must run and report.
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
    '^9 translation.*worklist' '^9 translation.*height' '^peak memory'; do
    grep -q "$case" "$folder/out" || { echo "missing: $case" >&2; exit 1; }
done
