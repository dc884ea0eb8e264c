#!/usr/bin/env bash
# Measures the real program under load from outside, as a user meets it: its own process against
# COUNT simulated NodeBetas in a private network, on a virtual display of its own.
#
#   tools/load-bench.sh [--build DIR] [--tools DIR] [--slow] [--flood] [--idle-seconds N]
#                       [--flood-seconds N] [--flood-rate N] [--readback-timeout N]
#                       [--screenshots DIR] [--records DIR] [COUNT...]
#
#   --build DIR         the build whose merrow-rigwise is measured (default build; paths are
#                       taken from the top of this tree)
#   --tools DIR         the build holding rigwise-sim, rigwise-flood and rigwise-uiprobe
#                       (default: --build when it has them, else build)
#   --slow              slow devices, as real ones are: every answer waits a random 0 to 200 ms
#                       (so answers overtake each other) and each device drops 20 % of what it
#                       receives (rigwise-sim --jitter 200 --drop 20); adds the slow figures below
#   --flood             after the idle figures, flood the program (rigwise-flood) and measure
#                       it during and after the flood
#   --idle-seconds N    idle CPU window (default 20)
#   --flood-seconds N   flood duration (default 60); --flood-rate N datagrams/s (default 20000)
#   --readback-timeout N  seconds to wait for the read-back (default 60)
#   --screenshots DIR   keep pictures of the screen: after the read-back, during and after the
#                       flood
#   --records DIR       keep the simulator's record of what the program sent, one file per
#                       COUNT (DIR/record-COUNT)
#   COUNT...            rack sizes (default 300 1000); 0 measures the idle program alone
#
# For each COUNT it prints the read-back time (first discovery request to the last device's
# first ArtPoll, from the simulator's record), the UDP receive buffer errors of the program's
# namespace, idle CPU, memory and, with --flood, CPU, click-to-dialog latency, errors and memory
# during and after the flood and how long a device that starts answering afterwards takes to be
# read back. With --slow it adds, from the same record, how many of the COUNT devices are fully
# read back (they have had the program's ArtPoll, the last step of a node's read-back, and no
# identify or settings request since: the program has stopped asking them) 10 s after the first
# discovery request, when the last of them got there (or "not within 70 s"), how many are after
# one more minute left idle (70 s), and the last request each of the others had by then. Runs
# entirely inside private network namespaces; needs root.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${RIGWISE_PRIVATE_NET:-}" != "1" ]; then
    exec tools/in-private-net.sh "$0" "$@"
fi

usage() {
    awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0" >&2
    exit 2
}

build=build
tools=
flood=0
slow=0
slow_jitter_ms=200
slow_drop_percent=20
idle_seconds=20
flood_seconds=60
flood_rate=20000
readback_timeout=60
screenshots=
records=
counts=()
while [ "$#" -gt 0 ]; do
    case "$1" in
    --build) build=${2:?}; shift 2 ;;
    --tools) tools=${2:?}; shift 2 ;;
    --slow) slow=1; shift ;;
    --flood) flood=1; shift ;;
    --idle-seconds) idle_seconds=${2:?}; shift 2 ;;
    --flood-seconds) flood_seconds=${2:?}; shift 2 ;;
    --flood-rate) flood_rate=${2:?}; shift 2 ;;
    --readback-timeout) readback_timeout=${2:?}; shift 2 ;;
    --screenshots) screenshots=$(realpath -m "${2:?}"); mkdir -p "$screenshots"; shift 2 ;;
    --records) records=$(realpath -m "${2:?}"); mkdir -p "$records"; shift 2 ;;
    -h | --help | '' | *[!0-9]*) usage ;;
    *) counts+=("$1"); shift ;;
    esac
done
[ "${#counts[@]}" -gt 0 ] || counts=(300 1000)
if [ -z "$tools" ]; then
    tools=$build
    [ -x "$tools/tools/sim/rigwise-flood" ] || tools=build
fi
program=$build/merrow-rigwise
sim=$tools/tools/sim/rigwise-sim
flooder=$tools/tools/sim/rigwise-flood
probe=$tools/tools/bench/rigwise-uiprobe
for binary in "$program" "$sim" "$flooder" "$probe"; do
    [ -x "$binary" ] || { echo "load-bench: $binary is missing; build it first" >&2; exit 1; }
done

clk_tck=$(getconf CLK_TCK)
extra_address=10.202.200.1 # the stopped device that starts answering after the flood
name='' work='' sim_pid='' xvfb_pid='' prog_pid='' flood_pid='' click_pid='' display=''
figures=()

now_ns() { date +%s%N; }
say() { echo "load-bench: $*" >&2; }
figure() { figures+=("$(printf '  %-46s %s' "$1:" "$2")"); }

# Stops what the current count started, by process id, and removes its network and folder.
count_down() {
    local pid
    for pid in "$click_pid" "$flood_pid" "$prog_pid" "$sim_pid" "$xvfb_pid"; do
        [ -n "$pid" ] || continue
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    click_pid='' flood_pid='' prog_pid='' sim_pid='' xvfb_pid=''
    if [ -n "$name" ]; then tools/simnet.sh down "$name"; fi
    if [ -n "$work" ]; then rm -rf "$work"; fi
    name='' work=''
}

wait_for_file() { # FILE TENTHS
    for _ in $(seq "$2"); do
        [ -s "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# UDP receive buffer errors and all UDP input errors of the program's namespace.
udp_errors() {
    ip netns exec "rwprog-$name" cat /proc/net/snmp |
        awk '$1 == "Udp:" { if (!named) { for (i = 2; i <= NF; i++) at[$i] = i; named = 1 }
                            else print $at["RcvbufErrors"], $at["InErrors"] }'
}

program_alive() {
    local state
    state=$(awk '{ sub(/^.*\) /, ""); print $1 }' "/proc/$prog_pid/stat" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "$state" != Z ] && [ "$state" != X ]
}

# User plus system time of the program in clock ticks (fields 14 and 15 of its stat line).
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$prog_pid/stat" 2>/dev/null; }

# The program's CPU since the time T0 (ns) when it had used TICKS0, in % of one core.
cpu_since() { # T0 TICKS0
    local t1 c1
    t1=$(now_ns)
    c1=$(cpu_ticks) || { echo "n/a (program gone)"; return; }
    awk -v c="$((c1 - $2))" -v t="$((t1 - $1))" -v hz="$clk_tck" \
        'BEGIN { printf "%.1f %% of one core over %.1f s\n", 100 * c / hz / (t / 1e9), t / 1e9 }'
}

# The program's CPU over SECONDS.
cpu_percent() {
    local t0 c0
    t0=$(now_ns)
    c0=$(cpu_ticks) || { echo "n/a (program gone)"; return; }
    sleep "$1"
    cpu_since "$t0" "$c0"
}

memory() { # VmRSS VmHWM in kB
    awk '/^VmRSS:/ { rss = $2 } /^VmHWM:/ { hwm = $2 } END { print rss + 0, hwm + 0 }' \
        "/proc/$prog_pid/status" 2>/dev/null || echo "0 0"
}

# From the simulator's record: how many of the generated devices have had an ArtPoll to their
# own address, the ms from the first discovery request to the last of those first polls, and
# how many have had any Kivnet request (the program has found them).
readback_state() {
    awk -v extra="$extra_address" '
        $3 ~ /:6464$/ && !started && substr($4, 1, 12) == "4d2d52000010" { started = 1; start = $1 }
        $3 ~ /:6454$/ && substr($4, 1, 20) == "4172742d4e6574000020" {
            split($3, to, ":")
            if (to[1] !~ /\.255$/ && to[1] != extra && !(to[1] in polled)) {
                polled[to[1]] = 1; polls++; last = $1
            }
        }
        $3 ~ /:6517$/ {
            split($3, to, ":")
            if (to[1] !~ /\.255$/ && to[1] != extra && !(to[1] in asked)) {
                asked[to[1]] = 1; found++
            }
        }
        END {
            printf "%d %d %d\n", polls, (polls && started) ? (last - start) * 1000 + 0.5 : -1, found
        }
    ' "$work/record"
}

# From the simulator's record up to SECONDS after the first discovery request: how many of the
# generated devices are fully read back (they have had an ArtPoll at their own address, and no
# identify or settings request since), the ms from the first discovery request to the moment
# the last of them got there (-1 for none), and for the others the last request they
# had: none at all, the device settings request or a port settings request, with the count for
# each wire port ("2:7,0:1", "-" for none).
fully_read_back() { # SECONDS COUNT
    awk -v extra="$extra_address" -v within="$1" -v count="$2" '
        function device(field) { split(field, to, ":"); return to[1] }
        function own(ip) { return ip !~ /\.255$/ && ip != extra }
        function byte(hex,  digits) {
            digits = "0123456789abcdef"
            return (index(digits, substr(hex, 1, 1)) - 1) * 16 + index(digits, substr(hex, 2, 1)) - 1
        }
        !started && $3 ~ /:6464$/ && substr($4, 1, 12) == "4d2d52000010" {
            started = 1; start = $1
        }
        started && $1 > start + within { exit }
        $3 ~ /:6454$/ && substr($4, 1, 20) == "4172742d4e6574000020" {
            ip = device($3)
            if (own(ip) && !done[ip]) { done[ip] = 1; at[ip] = $1 }
        }
        $3 ~ /:6517$/ && substr($4, 1, 12) == "003693160001" {
            code = substr($4, 13, 4)
            ip = device($3)
            if (own(ip) && (code == "0010" || code == "0021" || code == "0031" || code == "0041")) {
                done[ip] = 0; asked[ip] = code; port[ip] = byte(substr($4, 17, 2))
            }
        }
        END {
            for (ip in done) if (done[ip]) { finished++; if (at[ip] > last) last = at[ip] }
            for (ip in asked) if (!done[ip]) {
                if (asked[ip] == "0021") device_stage++
                else if (asked[ip] == "0031") { port_stage++; by_port[port[ip]]++ }
            }
            ports = ""
            for (p in by_port) ports = ports (ports == "" ? "" : ",") p ":" by_port[p]
            seen = 0
            for (ip in done) seen++
            for (ip in asked) if (!(ip in done)) seen++
            printf "%d %d %d %d %d %s\n", finished,
                (finished && started) ? (last - start) * 1000 + 0.5 : -1,
                count - seen, device_stage, port_stage, ports == "" ? "-" : ports
        }
    ' "$work/record"
}

# Waits until the record holds a datagram received SECONDS after the first discovery request
# (the program asks for discovery every second); fails after LIMIT seconds of waiting.
wait_for_record_time() { # SECONDS LIMIT
    local deadline=$(($(now_ns) + $2 * 1000000000))
    until awk -v within="$1" '
            !started && $3 ~ /:6464$/ && substr($4, 1, 12) == "4d2d52000010" {
                started = 1; start = $1
            }
            started && $1 > start + within { found = 1; exit }
            END { exit !found }' "$work/record"; do
        [ "$(now_ns)" -lt "$deadline" ] || return 1
        sleep 0.5
    done
}

# Waits (polling every 10 ms) for a record line holding TEXT that comes after byte OFFSET;
# prints the ms waited, or fails after SECONDS.
wait_for_record() { # TEXT OFFSET SECONDS
    local text=$1 offset=$2 start size chunk
    start=$(now_ns)
    while :; do
        size=$(stat -c %s "$work/record")
        if [ "$size" -gt "$offset" ]; then
            chunk=$(tail -c +"$((offset + 1))" "$work/record" | head -c "$((size - offset))")
            if [[ "$chunk" == *"$text"* ]]; then
                echo $((($(now_ns) - start) / 1000000))
                return 0
            fi
            # A line may be cut at the chunk's end: look at its tail again next time.
            offset=$((size > offset + 4096 ? size - 4096 : offset))
        fi
        [ $(($(now_ns) - start)) -lt $(($3 * 1000000000)) ] || return 1
        sleep 0.01
    done
}

# A point of the first device's drawing in window pixels: design units of the element plus
# units inside it, zoomed as the rack zooms its widest device (770 units) to the window.
rack_point() { # ELEMENT_X ELEMENT_Y INSIDE_X INSIDE_Y
    awk -v ex="$1" -v ey="$2" -v ix="$3" -v iy="$4" 'BEGIN {
        s = 0.96; zoom = (1000 - 40) / int(770 * s)
        printf "%d %d\n", 20 + int(zoom * (int(ex * s) + ix * s)),
                          57 + 20 + int(zoom * (int(ey * s) + iy * s)) }'
}

screenshot() { # NAME
    [ -n "$screenshots" ] || return 0
    tools/simnet.sh prog "$name" sh -c "xwd -root -silent -display :$display |
        convert xwd:- '$screenshots/$1.png'" || say "no screenshot $1"
}

uiprobe() { tools/simnet.sh prog "$name" env DISPLAY=":$display" "$probe" "$@"; }

# Click-to-dialog latency on the first device's front-panel display (its device settings).
click_dialog() { # TIMEOUT_MS
    local point
    point=$(rack_point 370 15 60 25)
    # shellcheck disable=SC2086  # two numbers
    uiprobe click-dialog $point --timeout-ms "$1" 2>&1 || true
}

start_count() { # COUNT INDEX
    name=lb$$x$2
    name=${name:0:10}
    work=$(mktemp -d /tmp/rigwise-load-XXXXXX)
    tools/simnet.sh up "$name"

    tools/simnet.sh prog "$name" Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -noreset \
        -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_for_file "$work/display" 100 || { say "Xvfb did not start"; exit 1; }
    display=$(head -n 1 "$work/display")

    cat >"$work/rack.json" <<JSON
{"devices": [{"model": "0x0103", "unit": 60000, "ip": "$extra_address", "mask": "255.255.0.0",
              "mac": "02:52:57:ff:ff:ff", "name": "Late Node", "stopped": true}]}
JSON
    local slowness=()
    [ "$slow" -eq 0 ] || slowness=(--jitter "$slow_jitter_ms" --drop "$slow_drop_percent")
    tools/simnet.sh sim "$name" "$sim" --devices "$work/rack.json" --generate "$1" \
        --model 0x0103 --interface "rws-$name" --record "$work/record" \
        --control "$work/control" --ready-file "$work/ready" --duration 7200 \
        "${slowness[@]}" >"$work/sim.log" 2>&1 &
    sim_pid=$!
    wait_for_file "$work/ready" 300 || { say "the simulator did not start"; exit 1; }
}

# simnet.sh execs through ip netns exec and env, so the job's process is the program's.
start_program() {
    DISPLAY=":$display" NO_AT_BRIDGE=1 tools/simnet.sh prog "$name" "$program" \
        >"$work/program.log" 2>&1 &
    prog_pid=$!
    for _ in $(seq 100); do
        [[ "$(readlink "/proc/$prog_pid/exe" 2>/dev/null)" == */merrow-rigwise ]] && return 0
        sleep 0.05
    done
    say "the program did not start"
    exit 1
}

measure_readback() { # COUNT
    local count=$1 deadline polled=0 ms=-1 found=0 errors0 errors1
    read -r errors0 < <(udp_errors)
    start_program
    uiprobe window --size 1000x700 --timeout-ms 30000 >/dev/null ||
        say "no program window to click on"
    if [ "$count" -eq 0 ]; then
        figure "read-back" "n/a (no devices)"
        return
    fi
    deadline=$(($(now_ns) + readback_timeout * 1000000000))
    while :; do
        read -r polled ms found < <(readback_state)
        if [ "$polled" -ge "$count" ] || [ "$(now_ns)" -ge "$deadline" ]; then break; fi
        sleep 0.2
    done
    read -r errors1 < <(udp_errors)
    if [ "$polled" -ge "$count" ]; then
        figure "read-back (discovery to last first ArtPoll)" "$ms ms"
    else
        figure "read-back" \
            "incomplete: $polled of $count after $readback_timeout s ($found had Kivnet requests)"
    fi
    figure "UDP errors during read-back" "$(errors_delta "$errors0" "$errors1")"
    screenshot "rack-$count"
}

errors_delta() { # "RCVBUF INERRORS" before, after
    local r0 i0 r1 i1
    read -r r0 i0 <<<"$1"
    read -r r1 i1 <<<"$2"
    echo "RcvbufErrors $((r1 - r0)), InErrors $((i1 - i0))"
}

# With --slow: how many devices are fully read back 10 s after the first discovery request and
# after one more minute idle, when the last got there, and where the others stopped.
measure_slow() { # COUNT
    local count=$1 finished last never device_stage port_stage ports
    figure "simulated devices" \
        "answer after a random 0-$slow_jitter_ms ms, drop $slow_drop_percent % of what they receive"
    if [ "$count" -eq 0 ]; then
        measure_idle
        return
    fi
    wait_for_record_time 10 120 || say "no record 10 s after the first discovery request"
    read -r finished last _ < <(fully_read_back 10 "$count")
    if [ "$finished" -gt 0 ]; then
        figure "fully read back 10 s after discovery" "$finished of $count (the last at $last ms)"
    else
        figure "fully read back 10 s after discovery" "0 of $count"
    fi
    measure_idle
    wait_for_record_time 70 120 || say "no record 70 s after the first discovery request"
    read -r finished last never device_stage port_stage ports < <(fully_read_back 70 "$count")
    if [ "$finished" -ge "$count" ]; then
        figure "last device fully read back" "$last ms after the first discovery request"
    else
        figure "last device fully read back" "not within 70 s"
    fi
    figure "fully read back after a minute idle (70 s)" "$finished of $count"
    if [ "$finished" -lt "$count" ]; then
        figure "the others' last request at 70 s" "$never none, $device_stage device settings, \
$port_stage port settings (wire port:devices $ports)"
    fi
}

measure_idle() {
    local errors0 errors1 rss hwm
    sleep 2
    read -r errors0 < <(udp_errors)
    figure "idle CPU over $idle_seconds s" "$(cpu_percent "$idle_seconds")"
    read -r errors1 < <(udp_errors)
    figure "UDP errors while idle" "$(errors_delta "$errors0" "$errors1")"
    read -r rss hwm < <(memory)
    figure "memory after idle" "VmRSS $rss kB, VmHWM $hwm kB"
}

measure_flood() { # COUNT
    local count=$1 rss0 rss1 hwm errors0 errors1 half click_limit offset waited t0 c0
    figure "click to dialog before the flood" "$(click_dialog 5000)"
    read -r rss0 _ < <(memory)
    read -r errors0 < <(udp_errors)
    tools/simnet.sh sim "$name" "$flooder" --target 10.202.0.1 --rate "$flood_rate" \
        --duration "$flood_seconds" --seed 1 --first 10.202.1.1 --count "$count" \
        --model 0x0103 --interface "rws-$name" >"$work/flood.out" 2>&1 &
    flood_pid=$!
    half=$(awk -v s="$flood_seconds" 'BEGIN { h = s / 2 - 2.5; print (h > 0 ? h : 0) }')
    sleep "$half"
    figure "CPU during the flood (5 s at half-time)" "$(cpu_percent 5)"
    screenshot "flood-$count"
    # A click during the flood may be answered only after it: its probe waits until 30 s after
    # the flood's end, so that no click is left pending to open a dialog during the next one.
    click_limit=$(awk -v s="$flood_seconds" -v h="$half" \
        'BEGIN { printf "%d", (s - h - 5 + 30) * 1000 }')
    click_dialog "$click_limit" >"$work/click-during" &
    click_pid=$!
    wait "$flood_pid" || true
    flood_pid=''
    read -r errors1 < <(udp_errors)
    read -r rss1 hwm < <(memory)
    while read -r line; do figure "flood" "${line#rigwise-flood: }"; done <"$work/flood.out"
    figure "UDP errors during the flood" "$(errors_delta "$errors0" "$errors1")"
    figure "memory growth over the flood" "VmRSS $((rss1 - rss0)) kB (now $rss1 kB, VmHWM $hwm kB)"

    offset=$(stat -c %s "$work/record")
    t0=$(now_ns)
    c0=$(cpu_ticks) || c0=0
    "$sim" --tell "$work/control" resume 0 >/dev/null
    if waited=$(wait_for_record " $extra_address:6454 4172742d4e6574000020" "$offset" 30); then
        figure "new device read back after the flood" "$waited ms after it started answering"
    else
        figure "new device read back after the flood" "not within 30 s"
    fi
    figure "CPU from the flood's end to that read-back" "$(cpu_since "$t0" "$c0")"
    wait "$click_pid" || true
    click_pid=''
    figure "click to dialog during the flood" "$(cat "$work/click-during")"
    figure "click to dialog after the flood" "$(click_dialog 5000)"
    screenshot "after-flood-$count"
    if program_alive; then
        figure "program alive after the flood" "yes"
    else
        figure "program alive after the flood" "NO"
    fi
}

bench_count() { # COUNT INDEX
    local count=$1 machine
    figures=()
    say "$count devices: starting"
    start_count "$count" "$2"
    # The receive buffer the program asks for is capped by net.core.rmem_max, which decides
    # how many replies a burst may leave unread before they are dropped.
    machine="$(nproc) cores, net.core.rmem_max $(cat /proc/sys/net/core/rmem_max)"
    figure "machine" "$machine, load average $(cut -d' ' -f1-3 /proc/loadavg) at start"
    figure "program" "$(readlink -f "$program")"
    measure_readback "$count"
    if [ "$slow" -eq 1 ]; then
        measure_slow "$count" # the idle figures come within its minute
    else
        measure_idle
    fi
    if [ "$flood" -eq 1 ]; then
        say "$count devices: flooding for $flood_seconds s"
        measure_flood "$count"
    fi
    echo "== $count devices =="
    printf '%s\n' "${figures[@]}"
    if [ -n "$records" ]; then cp "$work/record" "$records/record-$count"; fi
    count_down
}

trap count_down EXIT
for index in "${!counts[@]}"; do
    bench_count "${counts[$index]}" "$index"
done
