#!/usr/bin/env bash
# The SDL host's figures under Xvfb (CPU only), from the repository's root:
#  - start-up: process start to the first picture on screen, median of 10, beside a bare SDL
#    window's (bench/bare_window.cpp) in the same run (goal: at most 1.5 times the bare
#    window's);
#  - idle CPU: the game left alone in a window for 20 s (about 13 frames a second), beside
#    the same with the whole picture sent on every present, and beside the headless host
#    playing the same 20 s (goal: at most 0.3 % of one core), with the pixels sent per
#    picture against the whole screen's 307,200;
#  - key-to-screen: 200 key presses, from SDL's key event to the picture that shows its
#    effect (goal: median under 1 ms plus one refresh).
#  Idle CPU is measured three ways: the default path sending the changed rectangles, the same
#  sending the whole picture (ZOBU_SDL_FULL_UPLOAD=1), and --gpu.
# Usage: bench/sdl_figures.sh [build dir]; needs xvfb and xdotool (tools/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
game="$(pwd)/${1:-build/release}/zobu4"
bare="$(pwd)/${1:-build/release}/bench/bare_window"
work=$(mktemp -d /tmp/zobu4-figures-XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
python3 - "$game" "$work" "$bare" <<'PY'
import os, re, resource, statistics, subprocess, sys, time
game, work, bare = sys.argv[1], sys.argv[2], sys.argv[3]
def run_window(extra_env, seconds, keys=0, options=()):
    env = dict(os.environ, ZOBU_SDL_STATS="1", **extra_env)
    started = time.monotonic()
    p = subprocess.Popen([game, "--windowed", "--scale", "1", *options], env=env,
                         stderr=subprocess.PIPE, text=True)
    window = subprocess.run(["xdotool", "search", "--sync", "--name", "^Zobu 4$"],
                            capture_output=True, text=True, timeout=10).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    time.sleep(1)
    def cpu():  # seconds on a CPU of all its threads, to the nanosecond (stat counts 10 ms ticks)
        tasks = f"/proc/{p.pid}/task"
        return sum(int(open(f"{tasks}/{t}/schedstat").read().split()[0]) for t in os.listdir(tasks)) / 1e9
    cpu_before, wall_before = cpu(), time.monotonic()
    if keys:
        subprocess.run(["xdotool", "key", "--delay", "40"] + ["Left", "Right"] * (keys // 2), check=True)
    time.sleep(seconds)
    used = (cpu() - cpu_before) / (time.monotonic() - wall_before)
    subprocess.run(["xdotool", "key", "Escape"], check=True)
    err = p.communicate(timeout=10)[1]
    stats = re.search(r"first picture at ([0-9.]+) s; key-to-screen over (\d+) keys: median (\d+) ms, "
                      r"90th (\d+) ms, max (\d+) ms; (\d+) pictures, (\d+) pixels sent; refresh (\d+) ms", err)
    first = float(stats.group(1)) - started
    return first, used, stats
def first_picture(command, env=None):
    # Nothing else runs meanwhile (no xdotool looking for the window): start-up alone.
    started = time.monotonic()
    err = subprocess.run(command, env=env, stderr=subprocess.PIPE, text=True, check=True).stderr
    return (float(re.search(r"first picture at ([0-9.]+) s", err).group(1)) - started) * 1000
with open(f"{work}/start.script", "w") as f:
    f.write("300 close\n")
starts, bare_starts = [], []
for _ in range(10):  # taken in turns, so that both meet the same machine
    bare_starts.append(first_picture([bare]))
    starts.append(first_picture([game, "--windowed", "--scale", "1", "--script", f"{work}/start.script"],
                                dict(os.environ, ZOBU_SDL_STATS="1")))
game_ms, bare_ms = statistics.median(starts), statistics.median(bare_starts)
print(f"start-up to the first picture under Xvfb, median of 10: {game_ms:6.1f} ms; a bare SDL "
      f"window {bare_ms:6.1f} ms; ratio {game_ms / bare_ms:4.2f} (goal: at most 1.5)")
_, rects_cpu, rects = run_window({}, 20)
_, full_cpu, full = run_window({"ZOBU_SDL_FULL_UPLOAD": "1"}, 20)
_, gpu_cpu, gpu = run_window({}, 20, options=("--gpu",))
with open(f"{work}/idle.script", "w") as f:
    f.write("20000 close\n")
def children_cpu():  # to the microsecond
    used = resource.getrusage(resource.RUSAGE_CHILDREN)
    return used.ru_utime + used.ru_stime
before = children_cpu()
subprocess.run([game, "--headless", "--script", f"{work}/idle.script"], check=True)
headless = (children_cpu() - before) / 20
def per_picture(stats):
    return f"{int(stats.group(7)) / max(1, int(stats.group(6))):8.0f} pixels a picture of 307200"
print(f"idle CPU, 20 s in a window, % of one core (goal: at most 0.3 %):\n"
      f"  window surface, changed rectangles (the default): {rects_cpu * 100:5.2f}  "
      f"({per_picture(rects)}, {rects.group(6)} pictures)\n"
      f"  window surface, the whole picture:                {full_cpu * 100:5.2f}  ({per_picture(full)})\n"
      f"  --gpu, SDL's renderer:                            {gpu_cpu * 100:5.2f}  ({per_picture(gpu)})\n"
      f"  headless host, the same 20 s of play:             {headless * 100:5.2f}")
_, _, keys = run_window({}, 1, keys=200)
print(f"key-to-screen over {keys.group(2)} keys: median {keys.group(3)} ms, 90th {keys.group(4)} ms, "
      f"max {keys.group(5)} ms; refresh {keys.group(8)} ms (goal: median under 1 ms plus one refresh)")
PY
