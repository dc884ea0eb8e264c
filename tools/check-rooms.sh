#!/usr/bin/env bash
# Checks that each room of the code includes only the rooms docs/architecture.md allows it:
# every project include ("room/file.h") of every C++ file in the room is matched against the
# room's list of allowed prefixes. Prints each include that breaks the map.
set -euo pipefail
cd "$(dirname "$0")/.."

# room | allowed include prefixes (a prefix ending in / is a folder, else one file's path start)
rules=(
    "net/|net/"
    "common/controls/|common/controls/ common/displayscale"
    "devices/|devices/ net/ common/controls/ common/appstate common/overlay discovery/ dialogs/ resources/"
    "discovery/|discovery/ devices/ net/ common/controls/canvascontrol common/appstate"
    "dialogs/|dialogs/ devices/ net/ common/controls/ common/overlay common/appstate"
    "rig/|rig/ devices/ net/"
    "common/rack/|common/rack/ common/controls/ devices/ discovery/"
)

broken=0
for rule in "${rules[@]}"; do
    room=${rule%%|*}
    read -r -a allowed <<<"${rule#*|}"
    while IFS=: read -r file line include; do
        target=$(sed -n 's/^#include "\([^"]*\)".*/\1/p' <<<"$include")
        ok=0
        for prefix in "${allowed[@]}"; do
            [[ $target == "$prefix"* ]] && ok=1 && break
        done
        if [ "$ok" -eq 0 ]; then
            echo "check-rooms: $file:$line includes $target, which $room may not" >&2
            broken=1
        fi
    done < <(git grep -n '^#include "' -- "$room*.cpp" "$room*.h")
done
[ "$broken" -eq 0 ] || exit 1
echo "check-rooms: every room includes only what it may"
