#!/usr/bin/env bash
# The Qt window under Xvfb, beside a minimal Qt program with the same 38 widgets
# (with plain captions, and again with the calculator's Chinese captions)
# started alternately in the same run (medians of RUNS starts each):
#   start-up   fork to the first window mapped (the X server's MapNotify)
#   memory     PSS two seconds after showing
#   key        key press in 编辑框5 to the repaint of 增减结果 (XTest in, XDamage
#              out), p50 and p95 of PRESSES digit presses
#   tick       CPU per countdown tick, every thread, over 20 s with a target set,
#              less the idle rate, divided by the ticks seen (repaints of 标签2)
#   idle       CPU and voluntary wake-ups over 5 s with no countdown
# Usage: bench/qt/run.sh [RUNS] [PRESSES]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-10}
presses=${2:-300}
cmake --preset release >/dev/null
cmake --build --preset release -j 2 --target time-calculator map_watch minimal_window key_latency >/dev/null

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
dir=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$dir"' EXIT
sleep 1
export DISPLAY=$display
cp build/release/window/qt/time-calculator "$dir/"
watch=build/release/bench/qt/map_watch
minimal=build/release/bench/qt/minimal_window
calculator=$dir/time-calculator

# Client coordinates from window/definition.cpp: 编辑框5 (225,40 50x20 in
# 分组框1 at 10,211), 增减结果 (12,71 335x24 in 分组框1), 标签2 (15,148 170x30
# in 分组框2 at 258,29).
edit5_centre="260 261"
result_box="22 282 335 24"
clock_box="273,177,170,30"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
field() { grep -o "$1=[-0-9.]*" "$2" | cut -d= -f2; }

rm -f "$dir/djs_cfg.ini"
for _ in $(seq "$runs"); do
  "$watch" 2000 5000 "$minimal" 2>/dev/null >> "$dir/minimal.txt"
  "$watch" 2000 5000 "$minimal" --captions 2>/dev/null >> "$dir/captions.txt"
  "$watch" 2000 5000 "$calculator" 2>/dev/null >> "$dir/calculator.txt"
done
# shellcheck disable=SC2086
build/release/bench/qt/key_latency "$presses" $edit5_centre $result_box "$calculator" 2>/dev/null > "$dir/key.txt" || true
printf '[\xb5\xb9\xbc\xc6\xca\xb1]\r\n\xc4\xbf\xb1\xea\xca\xb1\xbc\xe4=2099\xc4\xea1\xd4\xc21\xc8\xd5\r\n' > "$dir/djs_cfg.ini"
for _ in $(seq 3); do
  "$watch" --repaints "$clock_box" 2000 20000 "$calculator" 2>/dev/null >> "$dir/counting.txt"
done

for p in minimal captions calculator; do
  for key in map_ms pss_kib idle_cpu_ms idle_wakeups; do
    eval "${p}_${key}=$(field "$key" "$dir/$p.txt" | median)"
  done
done
# shellcheck disable=SC2154
awk -v mm="$minimal_map_ms" -v cm="$calculator_map_ms" -v mp="$minimal_pss_kib" -v cp="$calculator_pss_kib" \
  'BEGIN {
    printf "start-up  fork to first map: calculator %.1f ms, minimal %.1f ms, ratio %.2f (goal 1.3)\n", cm, mm, cm / mm
    printf "memory    PSS after 2 s:     calculator %.1f MiB, minimal %.1f MiB, ratio %.3f (goal 1.15)\n", cp / 1024, mp / 1024, cp / mp
  }'
# The same against the minimal program showing the calculator's Chinese captions
# and large label fonts, which loads the CJK font as the calculator does.
# shellcheck disable=SC2154
awk -v mm="$captions_map_ms" -v cm="$calculator_map_ms" -v mp="$captions_pss_kib" -v cp="$calculator_pss_kib" \
  'BEGIN {
    printf "          against the minimal program with the same captions: start-up %.1f ms, ratio %.2f; PSS %.1f MiB, ratio %.3f\n", mm, cm / mm, mp / 1024, cp / mp
  }'
printf 'key       %s press to repaint: p50 %s ms, p95 %s ms, max %s ms, missed %s (goal p95 under 5 ms)\n' \
  "$(field presses "$dir/key.txt")" "$(field digit_p50_ms "$dir/key.txt")" "$(field digit_p95_ms "$dir/key.txt")" \
  "$(field digit_max_ms "$dir/key.txt")" "$(field missed "$dir/key.txt")"
# Per tick, each counting run on its own, then the median of the three.
idle_rate=$(awk -v c="$calculator_idle_cpu_ms" 'BEGIN {print c / 5000}')
per_tick=$(awk -v r="$idle_rate" '{
    for (i = 1; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] }
    if (v["repaints"] > 0) printf "%.3f\n", (v["idle_cpu_ms"] - r * 20000) / v["repaints"]
  }' "$dir/counting.txt" | median)
printf 'tick      CPU per countdown tick: %s ms (runs of 20 s: %s) (goal under 1 ms)\n' "$per_tick" \
  "$(awk '{printf "%s%s/%s ticks", (NR > 1 ? ", " : ""), $3, $5}' "$dir/counting.txt" | sed 's/idle_cpu_ms=//g; s/repaints=//g')"
printf 'idle      no countdown, 5 s: calculator %s ms CPU, %s wake-ups; minimal %s ms, %s wake-ups (goal no periodic wake-ups)\n' \
  "$calculator_idle_cpu_ms" "$calculator_idle_wakeups" "$minimal_idle_cpu_ms" "$minimal_idle_wakeups"
