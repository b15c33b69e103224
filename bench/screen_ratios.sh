#!/usr/bin/env bash
# Runs the screen benchmarks once and prints each cost as a ratio to its yardstick,
# measured side by side in the same run. Usage: bench/screen_ratios.sh [build dir]
set -euo pipefail
build="${1:-build/release}"
json=$(mktemp)
"$build/bench/screen_bench" --benchmark_format=json --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true >"$json"
python3 - "$json" <<'PY'
import json, sys
runs = {b["run_name"]: b["real_time"] for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
def ratio(a, b, goal):
    print(f"{a:26} / {b:24} = {runs[a] / runs[b]:6.2f}   ({goal})")
ratio("BM_FullScreenBlt", "BM_FullScreenMemcpy", "goal: at most 1.1")
ratio("BM_ColorFillBackBuffer", "BM_FullScreenMemset", "goal: at most 1.3")
ratio("BM_SpriteKeyed", "BM_SpritePlain", "per pixel; goal: at most 1.5")
ratio("BM_MakeTextImage12", "BM_FullScreenBlt", "a fraction of a full-screen blit")
ratio("BM_DecodeBackgroundBmp", "BM_ReadBackgroundFile", "640 x 480 x 24 decode against reading the file")
PY
rm -f "$json"
