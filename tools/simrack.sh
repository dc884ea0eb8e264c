# shellcheck shell=bash disable=SC2154  # $name and $work belong to the sourcing script
# Sourced by the scripts that run the device simulator in a private network of two namespaces
# (tools/simnet.sh): the network, a work folder and their removal on exit, and the wait for the
# simulator. Expects to run from the top of the tree with `set -euo pipefail`.

# simrack_up: brings up the network $name; it, the folder $work and the simulator whose process
# the script puts into $sim_pid go away when the script exits.
simrack_up() {
    sim_pid=
    trap simrack_down EXIT
    tools/simnet.sh up "$name"
}

simrack_down() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    tools/simnet.sh down "$name"
    rm -rf "$work"
}

# simrack_wait_ready TENTHS MESSAGE: waits up to TENTHS tenths of a second for the simulator's
# ready file in the work folder; without it, says MESSAGE and ends the script.
simrack_wait_ready() {
    for _ in $(seq "$1"); do
        [ -s "$work/ready" ] && break
        sleep 0.1
    done
    [ -s "$work/ready" ] || { echo "$2" >&2; exit 1; }
}
