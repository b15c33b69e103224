#!/usr/bin/env bash
# The running game's start-up time and memory, headless, from the repository's root:
#  - start-up: `zobu4 --headless` with no script starts, composes and presents its first
#    frames, and closes at its first wait; the median wall time of 20 runs, beside /bin/true's
#    in the same run (goal: under 50 ms);
#  - memory: the peak resident size of a 60-second game (goal: under 20 MiB).
# Usage: bench/game_figures.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
python3 - "$build/zobu4" <<'PY'
import resource, statistics, subprocess, sys, tempfile, time, os
game = sys.argv[1]
def median_ms(command, runs=20):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append((time.perf_counter() - start) * 1000)
    return statistics.median(times)
true_ms = median_ms(["/bin/true"])
game_ms = median_ms([game, "--headless"])
print(f"start-up to the first frame: {game_ms:6.2f} ms   /bin/true: {true_ms:5.2f} ms   "
      f"ratio {game_ms / true_ms:5.1f}   (goal: under 50 ms)")
with tempfile.NamedTemporaryFile("w", suffix=".script", delete=False) as script:
    script.write("0 hold Right 3000\n500 key Space\n30000 key Space\n59999 snapshot /dev/null\n")
subprocess.run([game, "--headless", "--script", script.name], check=True)
os.unlink(script.name)
peak_kib = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
print(f"peak resident memory of a 60 s game: {peak_kib / 1024:5.1f} MiB   (goal: under 20 MiB)")
PY
