#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test inside a private network namespace under
# a virtual X display at 96 dpi. The display must not reset when a test's program quits: a
# program that connects during the reset cannot start GTK.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
exec tools/in-private-net.sh xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96 -noreset" \
    ctest --test-dir build --output-on-failure --timeout 300
