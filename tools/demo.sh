#!/usr/bin/env bash
# Try Merrow Rigwise without hardware: builds what is missing, brings up a private network of
# two namespaces with a simulated rack of one device of every model (two on a foreign subnet,
# one that goes lost after 30 seconds) and starts the program on this display, connected only
# to that rack. Closing the program takes the network down again. Needs root (or sudo).
#
#   tools/demo.sh [--seconds N]     (--seconds: close the program after N seconds)
#
# Set RIGWISE_BUILD_DIR to use an existing build directory instead of tools/setup.sh's build/.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
    export XAUTHORITY=${XAUTHORITY:-$HOME/.Xauthority}
    exec sudo --preserve-env "$0" "$@"
fi
seconds=
if [ "${1:-}" = "--seconds" ]; then
    seconds=${2:?--seconds needs a number}
fi
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || { echo "demo: no display to show the program on" >&2; exit 1; }

build=${RIGWISE_BUILD_DIR:-build}
if [ -n "${RIGWISE_BUILD_DIR:-}" ]; then
    cmake --build "$build" -j"$(nproc)" --target merrow-rigwise rigwise-sim
else
    tools/setup.sh
fi

. tools/simrack.sh
name=demo$$
work=$(mktemp -d /tmp/rigwise-demo-XXXXXX)
simrack_up

tools/simnet.sh sim "$name" "$build/tools/sim/rigwise-sim" --devices tools/sim/demo-rack.json \
    --interface "rws-$name" --control "$work/control" --record "$work/record" \
    --ready-file "$work/ready" &
sim_pid=$!
simrack_wait_ready 100 "demo: the simulator did not start"

cat <<INFO
Private network rwprog-$name (program, 10.202.0.1/16) <-> rwsim-$name (12 simulated devices).
While it runs, the simulator takes commands, for example a module in bay 3 of the SwitchKappa:
    $build/tools/sim/rigwise-sim --tell $work/control module 9 3 4
(stop N, resume N, module N BAY COUNT, address N IP MASK, drop PERCENT, delay MS; N counts the
devices of tools/sim/demo-rack.json from 0). Received datagrams are logged in $work/record.
INFO

program=("$build/merrow-rigwise")
[ -n "$seconds" ] && program=(timeout "$seconds" "${program[@]}")
tools/simnet.sh prog "$name" "${program[@]}" || true
