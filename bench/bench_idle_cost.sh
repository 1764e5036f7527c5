#!/usr/bin/env bash
# What a waiting countdown costs: CPU ticks (utime + stime, 1/100 s) and
# resident memory of each program over the same span, one after the other under
# one Xvfb server:
#   zenkoro window      a 10-minute dry-run countdown in the window
#   zenkoro tray        the same with the tray option (the window hidden; under
#                       trayer when installed, else minimised)
#   zenkoro headless    the same without a display
#   minimal Qt window   one label updated once a second (reference)
#   minimal same work   the same with the clock label and the caption updated too:
#                       what the countdown window shows each second (reference)
#   KShutdown           kshutdown --test 10m, when installed (reference)
# Usage: bench_idle_cost.sh BUILD_DIR [SECONDS]   (default 60 s each)
# ZK_BENCH_ONLY="window tray" measures only the rows whose names hold one of the words.
set -euo pipefail
BUILD=${1:?build folder}
SECONDS_EACH=${2:-60}
ZENKORO=$BUILD/src/zenkoro
MINIMAL=$BUILD/bench/minimal_clock_window
HZ=$(getconf CLK_TCK)
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
if command -v trayer >/dev/null; then DISPLAY=$display trayer >/dev/null 2>&1 & fi

ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
# On-CPU time of every thread in microseconds (schedstat counts nanoseconds;
# the ticks above are sampled at 1/100 s, too coarse for a ratio of small figures).
cpu_us() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d", s / 1000}'; }
rss_kib() { awk '/^VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }

declare -A CPU RSS TICKS
# measure NAME DISPLAY COMMAND...: start, let it settle 5 s, count over SECONDS_EACH.
measure() {
  local name=$1 disp=$2; shift 2
  if [ -n "${ZK_BENCH_ONLY:-}" ]; then
    local want=0 w
    for w in $ZK_BENCH_ONLY; do [[ $name == *"$w"* ]] && want=1; done
    [ $want = 1 ] || return 0
  fi
  if [ -n "$disp" ]; then DISPLAY=$disp HOME=$work "$@" >/dev/null 2>&1 &
  else env -u DISPLAY -u WAYLAND_DISPLAY HOME=$work "$@" >/dev/null 2>&1 & fi
  local pid=$!
  sleep 5
  local t0 c0; t0=$(ticks $pid); c0=$(cpu_us $pid)
  sleep "$SECONDS_EACH"
  local t1 c1; t1=$(ticks $pid); c1=$(cpu_us $pid)
  TICKS[$name]=$((t1 - t0)); CPU[$name]=$(( (c1 - c0) / 1000 )); RSS[$name]=$(( $(rss_kib $pid) / 1024 ))
  kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true
  printf '%-18s %5d ticks (%d/s), %5d ms CPU in %d s   RSS %4d MiB\n' "$name" "${TICKS[$name]}" "$HZ" "${CPU[$name]}" "$SECONDS_EACH" "${RSS[$name]}"
}

conf=$work/Conf.txt
measure "zenkoro window" "$display" "$ZENKORO" --conf "$conf" --dry-run -auto -shutdown -time 10
measure "zenkoro tray" "$display" "$ZENKORO" --conf "$conf" --dry-run -auto -shutdown -time 10 -tasktray y
measure "zenkoro headless" "" "$ZENKORO" --conf "$conf" --dry-run -auto -shutdown -time 10
measure "minimal Qt window" "$display" "$MINIMAL"
measure "minimal same work" "$display" "$MINIMAL" --same-work
if command -v kshutdown >/dev/null; then
  measure "KShutdown" "$display" kshutdown --test 10m
else
  echo "KShutdown          not installed (apt-get install kshutdown for the reference)"
fi

ratio() { awk -v a="${1:-0}" -v b="${2:-0}" 'BEGIN { if (b == 0) print "n/a"; else printf "%.2f", a / b }'; }
echo "ratios of CPU time (ms):"
echo "window / minimal window CPU: $(ratio "${CPU[zenkoro window]:-}" "${CPU[minimal Qt window]:-}") (target <= 1.2)"
echo "window / minimal same work CPU: $(ratio "${CPU[zenkoro window]:-}" "${CPU[minimal same work]:-}");" \
  "minimal same work / minimal window: $(ratio "${CPU[minimal same work]:-}" "${CPU[minimal Qt window]:-}")"
[ -n "${CPU[KShutdown]:-}" ] && echo "window / KShutdown CPU: $(ratio "${CPU[zenkoro window]:-}" "${CPU[KShutdown]}") (target <= 1.0); RSS $(ratio "${RSS[zenkoro window]:-}" "${RSS[KShutdown]}")"
echo "tray / headless CPU: $(ratio "${CPU[zenkoro tray]:-}" "${CPU[zenkoro headless]:-}") (target <= 1.0)"
