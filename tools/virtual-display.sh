#!/usr/bin/env bash
# Runs a command on a virtual X display of its own at 96 dpi, 24-bit colour.
#
#   tools/virtual-display.sh [--size WIDTHxHEIGHT] COMMAND [ARGS...]     (default 1280x1024)
#
# -noreset: an X server resets each time its last client disconnects, and a program connecting
# during the reset cannot start GTK. With one program after another on the display, as the tests
# and benchmarks run them, that happened now and then.
set -euo pipefail
size=1280x1024
if [ "${1:-}" = "--size" ]; then
    size=$2
    shift 2
fi
if [ "$#" -eq 0 ]; then
    echo "usage: $0 [--size WIDTHxHEIGHT] COMMAND [ARGS...]" >&2
    exit 2
fi
exec xvfb-run -a -s "-screen 0 ${size}x24 -dpi 96 -noreset" "$@"
