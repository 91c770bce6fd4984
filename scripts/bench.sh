#!/usr/bin/env bash
# Runs every benchmark: the executables bench_* built under BUILD/bench, and the scripts
# bench/*/run.sh (given BUILD). Each prints its own figures.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
for exe in "$build"/bench/*/bench_*; do
  [ -x "$exe" ] && [ -f "$exe" ] || continue
  echo "== $(basename "$exe")"
  "$exe" --build "$build"
done
for script in "$top"/bench/*/run.sh; do
  echo "== $script"
  bash "$script" "$build"
done
