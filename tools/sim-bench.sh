#!/usr/bin/env bash
# Measures the device simulator at scale: how long COUNT simulated devices take to answer one
# broadcast discovery request, and how much memory the simulator needs for them.
#
#   tools/sim-bench.sh [BUILD_DIR] [COUNT] [ROUNDS]      (defaults: build 1000 10)
#
# Runs entirely inside private network namespaces; needs root.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${RIGWISE_PRIVATE_NET:-}" != "1" ]; then
    exec tools/in-private-net.sh "$0" "$@"
fi
build=${1:-build}
count=${2:-1000}
rounds=${3:-10}
sim=$build/tools/sim/rigwise-sim
probe=$build/tools/sim/rigwise-sim-probe
[ -x "$sim" ] && [ -x "$probe" ] || { echo "build first: cmake --build $build" >&2; exit 1; }

. tools/simrack.sh
name=b$$
work=$(mktemp -d /tmp/rigwise-bench-XXXXXX)
simrack_up

started=$(date +%s%N)
tools/simnet.sh sim "$name" "$sim" --generate "$count" --interface "rws-$name" \
    --ready-file "$work/ready" --duration 300 &
sim_pid=$!
simrack_wait_ready 300 "the simulator did not start"
ready=$(date +%s%N)

echo "cores: $(nproc); devices: $count; sockets: $((count * 3 + 3))"
echo "start-up (addresses added, every socket bound): $(( (ready - started) / 1000000 )) ms"
tools/simnet.sh prog "$name" "$probe" "$count" "$rounds"
grep -E 'VmHWM|VmRSS' "/proc/$sim_pid/status" | sed 's/^/simulator /'
