#!/usr/bin/env bash
# The real program, started twice in this private namespace on this X display: the first copy
# opens its window with the title and size, the second shows "Oops!" once and ends when it is
# answered, while the first stays.
set -u
program="$1"
[ -n "${DISPLAY:-}" ] || { echo "no X display"; exit 1; }

pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null; }
trap cleanup EXIT

wait_for_window() { # name pattern, tries of 100 ms
    for _ in $(seq "$2"); do
        xdotool search --name "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}
fail() { echo "FAIL: $*"; exit 1; }

"$program" & pids+=($!)
first=$(wait_for_window '^Merrow Rigwise 1\.16$' 100) || fail "no main window"
geometry=$(xwininfo -id "$first" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
[ "$geometry" = "777x480" ] || fail "main window is $geometry, expected 777x480"

"$program" & second_pid=$!; pids+=($second_pid)
oops=$(wait_for_window '^Oops!$' 100) || fail "second copy showed no Oops! box"
[ "$(echo "$oops" | wc -l)" -eq 1 ] || fail "more than one Oops! box"
sleep 0.5
[ "$(xdotool search --name '^Oops!$' | wc -l)" -eq 1 ] || fail "Oops! shown more than once"
xdotool windowfocus --sync "$oops" key Return

for _ in $(seq 50); do kill -0 "$second_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$second_pid" 2>/dev/null && fail "second copy still running after Oops!"
kill -0 "${pids[0]}" 2>/dev/null || fail "first copy ended too"
[ "$(xdotool search --name '^Merrow Rigwise 1\.16$' | wc -l)" -eq 1 ] || fail "window count"
echo "PASS"
