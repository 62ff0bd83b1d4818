#!/usr/bin/env bash
# The Qt window against a minimal Qt program with the same 38 widgets, under Xvfb:
# time from fork to the first window mapped (the X server's MapNotify), PSS two
# seconds after showing, and CPU and voluntary wake-ups over 5 idle seconds with
# no countdown running and with one running. Usage: bench/qt/run.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-10}
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)" --target time-calculator map_watch minimal_window >/dev/null

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
dir=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$dir"' EXIT
sleep 1
export DISPLAY=$display
cp build/release/window/qt/time-calculator "$dir/"
watch=build/release/bench/qt/map_watch

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
measure() {  # label, program
  for _ in $(seq "$runs"); do "$watch" 2000 5000 "$2"; done > "$dir/$1.txt"
  for key in map_ms pss_kib idle_cpu_ms idle_wakeups; do
    printf '%s %s=%s\n' "$1" "$key" "$(grep -o "$key=[0-9.]*" "$dir/$1.txt" | cut -d= -f2 | median)"
  done
}
measure minimal build/release/bench/qt/minimal_window
rm -f "$dir/djs_cfg.ini"
measure calculator "$dir/time-calculator"
printf '[\xb5\xb9\xbc\xc6\xca\xb1]\r\n\xc4\xbf\xb1\xea\xca\xb1\xbc\xe4=2099\xc4\xea1\xd4\xc21\xc8\xd5\r\n' > "$dir/djs_cfg.ini"
# A longer window for the countdown: CPU time is counted in 10 ms clock ticks.
for _ in $(seq 3); do "$watch" 2000 20000 "$dir/time-calculator"; done > "$dir/counting.txt"
for key in idle_cpu_ms idle_wakeups; do
  printf "counting %s=%s (20 s, 20 ticks)\n" "$key" "$(grep -o "$key=[0-9.]*" "$dir/counting.txt" | cut -d= -f2 | median)"
done
