#!/usr/bin/env bash
# Screenshots of the program showing the simulated rack of every model (the demo rack), page by
# page, for looking at the drawings. Runs everything on a virtual display inside private network
# namespaces; needs root (or sudo).
#
#   tools/screenshots.sh [OUTPUT_DIR]        (default: screenshots/; PNG files rack-N.png)
#
# Set RIGWISE_BUILD_DIR to use an existing build directory instead of tools/setup.sh's build/.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-screenshots}")
if [ "${RIGWISE_SCREENSHOTS_INNER:-}" != "1" ]; then
    [ -n "${RIGWISE_BUILD_DIR:-}" ] || tools/setup.sh
    exec tools/in-private-net.sh env RIGWISE_SCREENSHOTS_INNER=1 \
        RIGWISE_BUILD_DIR="${RIGWISE_BUILD_DIR:-build}" \
        tools/virtual-display.sh "$0" "$out"
fi
mkdir -p "$out"
pages=5
tools/demo.sh --seconds 120 >/dev/null 2>&1 &
demo=$!
window=
for _ in $(seq 100); do
    window=$(xdotool search --name '^Merrow Rigwise 1\.16$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the program did not start" >&2; exit 1; }
xdotool windowsize "$window" 1270 1010
sleep 5 # discovery and read-back of the whole rack
xdotool mousemove 640 500
for page in $(seq "$pages"); do
    xwd -root -display "$DISPLAY" | convert xwd:- "$out/rack-$page.png"
    # A wheel notch away from the user moves the view 6 units toward the end of the rack.
    xdotool click --repeat 130 --delay 2 4
    sleep 0.5
done
kill "$demo" 2>/dev/null || true
wait "$demo" 2>/dev/null || true
echo "screenshots in $out"
