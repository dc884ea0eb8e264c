#!/usr/bin/env bash
# The real program on a virtual screen of its own at 96 dpi: at 100 %, at 200 % (GDK_SCALE=2,
# where GTK doubles every logical pixel itself) and with the desktop's text scaled by 1.5
# (GDK_DPI_SCALE). Checks its window's size in device pixels for each, and that the 200 %
# picture scaled down by two is the 100 % one, within a small tolerance per pixel.
set -u
program="$1"
# The program opens its ports: only inside the private namespace the test command made.
outer=${RIGWISE_OUTER_NETNS:-}
if [ -z "$outer" ] || [ "$(readlink /proc/self/ns/net)" = "$outer" ]; then
    echo "refusing to run outside a private network namespace"
    exit 1
fi
# A screen large enough for the 200 % window.
if [ "${RIGWISE_HIDPI_SCREEN:-}" != "1" ]; then
    exec env RIGWISE_HIDPI_SCREEN=1 \
        "$(dirname "$0")/../../tools/virtual-display.sh" --size 1700x1100 "$0" "$@"
fi

work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Starts the program with these environment settings, prints its window's size (WxH) and
# writes the window's picture to $work/NAME.png.
picture() { # NAME [VAR=VALUE...]
    local name=$1 window= geometry
    shift
    env "$@" "$program" 2>"$work/$name.err" &
    pid=$!
    # Up to 20 s, for a loaded machine; alone it maps in under half a second.
    for _ in $(seq 200); do
        window=$(xdotool search --onlyvisible --pid "$pid" --name '^Merrow Rigwise' 2>/dev/null |
            head -1)
        [ -n "$window" ] && break
        sleep 0.1
    done
    if [ -z "$window" ]; then
        echo "none"
        sed 's/^/  program: /' "$work/$name.err" >&2
        return
    fi
    sleep 1.5 # its first paint
    geometry=$(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
    xwd -id "$window" -silent | convert xwd:- "$work/$name.png"
    kill "$pid"
    wait "$pid" 2>/dev/null
    pid=
    echo "$geometry"
}

check_size() { # NAME EXPECTED [VAR=VALUE...]
    local name=$1 expected=$2 size
    shift 2
    size=$(picture "$name" "$@")
    echo "$name: $size"
    [ "$size" = "$expected" ] || fail "$name window is $size, expected $expected"
}

check_size plain 777x480
check_size double 1554x960 GDK_SCALE=2
check_size text150 1166x720 GDK_DPI_SCALE=1.5
check_size double-text150 2332x1440 GDK_SCALE=2 GDK_DPI_SCALE=1.5

# Text is drawn at twice the resolution at 200 %, so its edges differ a little after scaling
# down; everything else must match. Differences beyond 16 % of full scale on at most 2 % of the
# pixels, and the mean difference under 2 %.
if [ -f "$work/plain.png" ] && [ -f "$work/double.png" ]; then
    convert "$work/double.png" -filter box -resize 50% "$work/halved.png"
    pixels=$(identify -format '%[fx:w*h]' "$work/plain.png")
    differing=$(compare -metric AE -fuzz 16% "$work/plain.png" "$work/halved.png" null: 2>&1)
    mean=$(compare -metric MAE "$work/plain.png" "$work/halved.png" null: 2>&1 |
        sed 's/.*(\(.*\))/\1/')
    echo "200 % halved against 100 %: $differing of $pixels pixels differ, mean $mean"
    [ "$(identify -format '%wx%h' "$work/halved.png")" = \
        "$(identify -format '%wx%h' "$work/plain.png")" ] || fail "pictures of unequal size"
    [[ "$differing" =~ ^[0-9]+$ ]] || fail "no comparison: $differing"
    awk -v d="$differing" -v p="$pixels" 'BEGIN { exit !(d <= p * 0.02) }' ||
        fail "$differing pixels differ"
    awk -v m="$mean" 'BEGIN { exit !(m < 0.02) }' || fail "mean difference $mean"
fi
[ "$failures" -eq 0 ] && echo "PASS"
exit "$failures"
