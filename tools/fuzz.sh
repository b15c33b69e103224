#!/usr/bin/env bash
# Runs every fuzzer for the given number of seconds (default 60) on its committed corpus,
# with new findings kept in build/fuzz/corpus-run (never in the committed seeds).
# Usage: tools/fuzz.sh [SECONDS]      e.g. tools/fuzz.sh 1800 for a long run
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in bmp res path script; do
    seeds="fuzz/corpus/$target"
    [ "$target" = script ] && seeds=tests/scripts # the scripts the tests replay
    work="build/fuzz/corpus-run/$target"
    mkdir -p "$work"
    echo "fuzz: $target for ${seconds}s"
    "build/fuzz/fuzz/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="build/fuzz/${target}-" "$work" "$seeds" 2>&1 |
        grep -E '^(stat::number_of_executed_units|stat::new_units_added|#[0-9]+ +DONE)|ERROR|SUMMARY' || true
    if ls "build/fuzz/${target}-"* >/dev/null 2>&1; then
        echo "fuzz: $target found a crash: build/fuzz/${target}-*"
        exit 1
    fi
done
