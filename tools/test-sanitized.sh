#!/usr/bin/env bash
# Builds everything with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ and runs the whole suite once more there, end-to-end tests included, inside a
# private network namespace under a virtual X display at 96 dpi. Any finding fails the run.
# Leaks inside the system's GTK, GLib, D-Bus, fontconfig, Pango and X libraries are suppressed
# (tools/sanitizer/lsan.supp); our own code's never are.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRIGWISE_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$PWD/tools/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec tools/in-private-net.sh tools/virtual-display.sh \
    ctest --test-dir build-sanitize --output-on-failure --timeout 600
