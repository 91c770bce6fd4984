#!/usr/bin/env bash
# Runs every libFuzzer target of BUILD (a SUITE_FUZZ=ON build) for SECONDS each, starting from
# its seed corpus in fuzz/corpus/<target>. New inputs go to BUILD/fuzz-work/<target>, so the
# tree's corpora stay as committed; a crash leaves its input in BUILD/fuzz-crashes/ and makes
# the script fail. Prints executions and coverage per target.
set -euo pipefail
build=${1:?usage: fuzz.sh BUILD SECONDS}
seconds=${2:-600}
top=$(cd "$(dirname "$0")/.." && pwd)
crashes="$build/fuzz-crashes"
mkdir -p "$crashes"
status=0
printf '%-26s %10s %8s %8s %s\n' target executions coverage features result
for binary in "$build"/fuzz/*_fuzz; do
    name=$(basename "$binary")
    seeds="$top/fuzz/corpus/$name"
    work="$build/fuzz-work/$name"
    mkdir -p "$work"
    log="$build/fuzz-work/$name.log"
    result=ok
    if ! "$binary" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$crashes/$name-" "$work" "$seeds" >"$log" 2>&1; then
        result="FAILED (see $log)"
        status=1
    fi
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*' || echo '?')
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*' || echo '?')
    printf '%-26s %10s %8s %8s %s\n' "$name" "$runs" "$cov" "$ft" "$result"
done
exit $status
