#!/usr/bin/env bash
# A private test network for the program and the device simulator: two network namespaces
# joined by a veth pair, with addresses that exist only inside them.
#
#   tools/simnet.sh up NAME [PROGRAM_ADDRESS/PREFIX]   (default 10.202.0.1/16)
#   tools/simnet.sh prog NAME COMMAND...   run COMMAND on the program's side
#   tools/simnet.sh sim NAME COMMAND...    run COMMAND on the devices' side
#   tools/simnet.sh down NAME              stop what runs there and remove both namespaces
#   tools/simnet.sh sweep                  remove networks left by test runs that have ended
#
# NAME is up to 10 letters, digits or dashes; the namespaces are rwprog-NAME and rwsim-NAME,
# the veth ends rwp-NAME (program side) and rws-NAME (devices side). The program's side gets
# its address and a default route through the veth, so 255.255.255.255 leaves towards the
# devices and nowhere else. The devices' side gets no address of its own: the simulator adds
# the device addresses to rws-NAME (rigwise-sim --interface rws-NAME). Needs root.
set -euo pipefail

usage() {
    sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

[ "$#" -ge 1 ] || usage
if [ "$(id -u)" -ne 0 ]; then
    exec sudo --preserve-env "$0" "$@"
fi
command=$1
shift

check_name() {
    [[ "${1:-}" =~ ^[A-Za-z0-9-]{1,10}$ ]] || { echo "simnet: bad network name '${1:-}'" >&2; exit 2; }
}

# The simulator and its probe refuse to run unless they know the namespace they must not use.
outer_netns=${RIGWISE_OUTER_NETNS:-$(readlink /proc/self/ns/net)}

down() {
    local name=$1 ns pid
    for ns in "rwsim-$name" "rwprog-$name"; do
        [ -e "/run/netns/$ns" ] || continue
        # Only what this network's users started runs in there.
        for pid in $(ip netns pids "$ns" 2>/dev/null); do
            kill "$pid" 2>/dev/null || true
        done
        ip netns delete "$ns" 2>/dev/null || true
    done
}

case "$command" in
up)
    check_name "${1:-}"
    name=$1
    program_address=${2:-10.202.0.1/16}
    down "$name"
    trap 'down "$name"' ERR
    ip netns add "rwprog-$name"
    ip netns add "rwsim-$name"
    ip link add "rwp-$name" type veth peer name "rws-$name"
    ip link set "rwp-$name" netns "rwprog-$name"
    ip link set "rws-$name" netns "rwsim-$name"
    ip -n "rwprog-$name" link set lo up
    ip -n "rwprog-$name" link set "rwp-$name" up
    ip -n "rwprog-$name" address add "$program_address" dev "rwp-$name"
    ip -n "rwprog-$name" route add default dev "rwp-$name"
    ip -n "rwsim-$name" link set lo up
    ip -n "rwsim-$name" link set "rws-$name" up
    # Devices on any subnet answer the program through the veth.
    ip -n "rwsim-$name" route add default dev "rws-$name"
    trap - ERR
    ;;
prog | sim)
    check_name "${1:-}"
    name=$1
    shift
    [ "$#" -ge 1 ] || usage
    ns=rwprog-$name
    [ "$command" = sim ] && ns=rwsim-$name
    exec ip netns exec "$ns" env RIGWISE_OUTER_NETNS="$outer_netns" "$@"
    ;;
down)
    check_name "${1:-}"
    down "$1"
    ;;
sweep)
    # Test networks are named t<pid>x<n> after the test process that made them.
    for path in /run/netns/rwprog-t* /run/netns/rwsim-t*; do
        [ -e "$path" ] || continue
        ns=${path##*/}
        name=${ns#*-}
        pid=${name#t}
        pid=${pid%%x*}
        [[ "$pid" =~ ^[0-9]+$ ]] && [ ! -d "/proc/$pid" ] && down "$name"
    done
    ;;
*)
    usage
    ;;
esac
