#!/usr/bin/env bash
# Start-up time and memory of the program beside a bare wxWidgets window of the same size: the
# time from starting the process until its window is on the screen, and its resident memory two
# seconds later, as the median of ROUNDS starts each. No devices answer; the program runs in a
# private network namespace of its own on a virtual display at 96 dpi. Needs root.
#
#   tools/startup-bench.sh [BUILD_DIR] [ROUNDS]      (defaults: build 10)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${RIGWISE_PRIVATE_NET:-}" != "1" ]; then
    exec tools/in-private-net.sh tools/virtual-display.sh "$0" "$@"
fi
build=${1:-build}
rounds=${2:-10}
program=$build/merrow-rigwise
bare=$build/tools/bench/rigwise-bare-window
[ -x "$program" ] && [ -x "$bare" ] || { echo "build first: cmake --build $build" >&2; exit 1; }

# one_start COMMAND TITLE: prints "MILLISECONDS RSS_KB" for one start.
one_start() {
    local started pid window="" shown rss
    started=$(date +%s%N)
    "$1" >/dev/null 2>&1 &
    pid=$!
    while [ -z "$window" ]; do
        window=$(xdotool search --onlyvisible --pid "$pid" --name "$2" 2>/dev/null | head -1) || true
        kill -0 "$pid" 2>/dev/null || { echo "$1 ended at start" >&2; exit 1; }
    done
    shown=$(date +%s%N)
    sleep 2
    rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$(( (shown - started) / 1000000 )) $rss"
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }

measure() {
    local label=$1 command=$2 title=$3 results
    results=$(for _ in $(seq "$rounds"); do one_start "$command" "$title"; done)
    ms=$(cut -d' ' -f1 <<<"$results" | median)
    kb=$(cut -d' ' -f2 <<<"$results" | median)
    printf '%-16s start-up %5d ms   RSS %7d kB   (median of %d)\n' "$label" "$ms" "$kb" "$rounds"
}

echo "cores: $(nproc)"
measure "bare window" "$bare" "Bare Window"
bare_ms=$ms bare_kb=$kb
measure "merrow-rigwise" "$program" "Merrow Rigwise"
awk -v a="$ms" -v b="$bare_ms" -v c="$kb" -v d="$bare_kb" \
    'BEGIN {printf "program / bare:  start-up %.2f   RSS %.2f\n", a / b, c / d}'
