#!/usr/bin/env bash
# Runs the frame benchmark once and prints RenderFrame's cost as a ratio to the raw memory
# work a frame implies, measured side by side. Usage: bench/frame_ratios.sh [build dir]
set -euo pipefail
build="${1:-build/release}"
json=$(mktemp)
"$build/bench/frame_bench" --benchmark_format=json --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true >"$json"
python3 - "$json" <<'PY'
import json, sys
runs = {b["run_name"]: b["real_time"] for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
print(f"BM_RenderFrame / BM_FrameMemoryWork = {runs['BM_RenderFrame'] / runs['BM_FrameMemoryWork']:5.2f}"
      "   (goal: at most 1.5)")
PY
rm -f "$json"
