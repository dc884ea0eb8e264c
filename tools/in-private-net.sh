#!/usr/bin/env bash
# Runs a command in a network namespace of its own, never on the machine's network: loopback up,
# plus a veth pair with a private address and a default route, so that the program's broadcasts
# (255.255.255.255 and the adapter's directed broadcast) have somewhere to go and go nowhere else.
# Needs root (or sudo) for the namespace.
set -euo pipefail
if [ "$#" -eq 0 ]; then
    echo "usage: $0 COMMAND [ARGS...]" >&2
    exit 2
fi
if [ "${RIGWISE_PRIVATE_NET:-}" != "1" ]; then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo --preserve-env)
    outer=$(readlink /proc/self/ns/net)
    exec "${sudo_cmd[@]}" env RIGWISE_PRIVATE_NET=1 RIGWISE_OUTER_NETNS="$outer" \
        unshare --net -- "$0" "$@"
fi
ip link set lo up
ip link add rigwise0 type veth peer name rigwise1
ip addr add 10.201.0.1/24 dev rigwise0
ip link set rigwise0 up
ip link set rigwise1 up
ip route add default dev rigwise0
exec "$@"
