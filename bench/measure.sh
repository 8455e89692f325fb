#!/usr/bin/env bash
# Runs every measurement inside an X server (scripts/bench starts one) and
# leaves the raw results in OUT: bench.json, peers.txt, startup.txt,
# xrequests.txt, memory.txt, machine.txt.
# Usage: measure.sh BUILD OUT
set -euo pipefail
build=$(cd "$1" && pwd)
out=$(cd "$2" && pwd)
play_seconds=${SKITTERBAT_BENCH_PLAY_SECONDS:-60}
export ALSOFT_DRIVERS=null

{
  echo "cpu $(lscpu | sed -n 's/^Model name:[[:space:]]*//p' | head -1)"
  echo "cores $(nproc)"
  echo "memory_kb $(sed -n 's/^MemTotal:[[:space:]]*\([0-9]*\).*/\1/p' /proc/meminfo)"
  echo "kernel $(uname -r)"
  echo "load $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$out/machine.txt"

echo "benchmarks..." >&2
"$build/skitterbat_bench" --benchmark_out="$out/bench.json" --benchmark_out_format=json \
  --benchmark_filter="${SKITTERBAT_BENCH_FILTER:-.}" >"$out/bench.txt" 2>&1

echo "sprites against SDL2 and the one-array floor..." >&2
"$build/skitterbat_peers" "$build/data" "${SKITTERBAT_BENCH_PEER_ROUNDS:-3}" >"$out/peers.txt"

echo "start-up, alternating with a bare GLFW window..." >&2
"$build/skitterbat_startup" "$build/skitterbat" "$build/libskitterbat_probe.so" "$build/data" 5 \
  "$build/skitterbat_bare_window" >"$out/startup.txt"

echo "X requests a frame in steady play..." >&2
python3 "$(dirname "${BASH_SOURCE[0]}")/x_requests.py" "$build/skitterbat" "$build/data" >"$out/xrequests.txt"

echo "a played stretch of ${play_seconds} s..." >&2
work=$(mktemp -d)
ln -s "$build/data" "$work/data"
(cd "$work" && exec "$build/skitterbat" >/dev/null 2>&1) &
pid=$!
cleanup() {
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
window=$(timeout 60 xdotool search --sync --onlyvisible --name "Cobalt Game" | head -1)
if [ -z "$window" ]; then
  echo "the program's window never appeared" >&2
  exit 1
fi
sleep 2 # past the loader
geometry=$(xdotool getwindowgeometry --shell "$window")
eval "$geometry"
end=$((SECONDS + play_seconds))
step=0
while [ $SECONDS -lt $end ]; do
  # Sweep the pointer along the paddle's row; the fire key starts games and
  # launches balls, so play goes on through lost lives and new games.
  x=$((X + 20 + (step * 37) % (WIDTH - 40)))
  xdotool mousemove "$x" $((Y + HEIGHT - 40))
  if [ $((step % 10)) -eq 0 ]; then xdotool key --window "$window" space; fi
  step=$((step + 1))
  sleep 0.1
done
{
  echo "play_seconds $play_seconds"
  echo "play_peak_kb $(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\).*/\1/p' "/proc/$pid/status")"
  echo "play_rss_kb $(sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\).*/\1/p' "/proc/$pid/status")"
} >"$out/memory.txt"
