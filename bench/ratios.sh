#!/usr/bin/env bash
# Runs the screen and frame benchmarks once and prints each cost as a ratio to its yardstick,
# measured side by side in the same run. Usage: bench/ratios.sh [build dir]
set -euo pipefail
build="${1:-build/release}"
json_screen=$(mktemp)
json_frame=$(mktemp)
for bench in screen frame; do
    json_var="json_$bench"
    "$build/bench/${bench}_bench" --benchmark_format=json --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true >"${!json_var}"
done
python3 - "$json_screen" "$json_frame" <<'PY'
import json, sys
reports = [json.load(open(path)) for path in sys.argv[1:]]
runs = {b["run_name"]: b["real_time"] for report in reports
        for b in report["benchmarks"] if b.get("aggregate_name") == "median"}
print(f"keyed copies take the path of {reports[0]['context']['keyed_copy_path']}")
def ratio(a, b, goal):
    print(f"{a:26} / {b:24} = {runs[a] / runs[b]:6.2f}   ({goal})")
ratio("BM_FullScreenBlt", "BM_FullScreenMemcpy", "goal: at most 1.1")
ratio("BM_ColorFillBackBuffer", "BM_FullScreenMemset", "goal: at most 1.3")
ratio("BM_SpriteKeyed", "BM_SpritePlain", "per pixel; goal: at most 1.3")
for path, name in (("0", "16-byte lanes"), ("1", "32-byte lanes, AVX2")):
    if f"BM_SpriteKeyedOnPath/{path}" in runs:
        ratio(f"BM_SpriteKeyedOnPath/{path}", "BM_SpritePlain", f"the keyed copy alone, {name}")
ratio("BM_MakeTextImage12", "BM_FullScreenBlt", "a fraction of a full-screen blit")
ratio("BM_DecodeBackgroundBmp", "BM_ReadBackgroundFile", "640 x 480 x 24 decode against reading the file")
ratio("BM_RenderFrame", "BM_FrameMemoryWork", "a typical frame against its raw memory work; goal: at most 1.5")
PY
rm -f "$json_screen" "$json_frame"
