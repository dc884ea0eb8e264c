#!/usr/bin/env bash
# Builds the fuzz harnesses with clang's libFuzzer, AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/, and runs each one for SECONDS (or RUNS inputs)
# inside a private network namespace under a virtual X display. Prints, per harness, the inputs
# executed and the findings; exits non-zero when any harness found something. Findings are kept
# in build-fuzz/findings/<harness>/; a fixed one belongs in tools/fuzz/regressions/<harness>/,
# which the test suite replays.
#
# usage: tools/fuzz.sh [--runs RUNS] SECONDS [HARNESS...]
#        (update, kivnet, artnet, dialogs, rigfile)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=-1
if [ "${1:-}" = "--runs" ]; then
    runs=$2
    shift 2
fi
if [ "$#" -lt 1 ]; then
    echo "usage: $0 [--runs RUNS] SECONDS [HARNESS...]" >&2
    exit 2
fi
seconds=$1
shift
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(update kivnet artnet dialogs rigfile)

tools/setup.sh >/dev/null
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DRIGWISE_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" >/dev/null

export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$PWD/tools/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=0
for harness in "${harnesses[@]}"; do
    program=build-fuzz/tools/fuzz/rigwise-fuzz-$harness
    [ -x "$program" ] || { echo "no harness '$harness'" >&2; exit 2; }
    # The corpus grows in the build folder; the seeds and the kept findings are read only.
    corpus=build-fuzz/corpus/$harness
    findings=build-fuzz/findings/$harness
    rm -rf "$findings"
    mkdir -p "$corpus" "$findings" "tools/fuzz/regressions/$harness"
    log=build-fuzz/fuzz-$harness.log
    # Datagrams and scripts fit in 512 bytes; a rig file needs room for a few devices.
    max_len=512
    [ "$harness" = rigfile ] && max_len=4096
    set +e
    tools/in-private-net.sh tools/virtual-display.sh \
        "$program" -max_total_time="$seconds" -runs="$runs" -timeout=20 -max_len="$max_len" \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "tools/fuzz/corpus/$harness" \
        "tools/fuzz/regressions/$harness" >"$log" 2>&1
    status=$?
    set -e
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    found=$(find "$findings" -type f | wc -l)
    printf '%-8s %12s inputs executed in %ss, %s finding(s), exit %s\n' \
        "$harness" "${executed:-?}" "$seconds" "$found" "$status"
    if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
        failed=1
        grep -E "ERROR|finding:|runtime error|SUMMARY" "$log" | head -20 || true
        echo "  log: $log; inputs: $findings/"
    fi
done
exit $failed
