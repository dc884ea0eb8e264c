#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test inside a private network namespace under
# a virtual X display at 96 dpi.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
exec tools/in-private-net.sh tools/virtual-display.sh \
    ctest --test-dir build --output-on-failure --timeout 300
