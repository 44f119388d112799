#!/usr/bin/env bash
# What soramado.exe costs under Wine, beside a bare Win32 window that wakes
# every 100 ms as the clock does (bench/win32/barewin32.cpp), on one private
# Xvfb display and one private Wine prefix:
#   - time from start to the window mapped on the X server, median of STARTS;
#   - resident memory (VmRSS) of the program's process after it settled;
#   - CPU over SECONDS at rest, and the main thread's wake-ups (voluntary
#     context switches) in that time.
# Wine's own services (wineserver, explorer, services) are shared by both and
# not counted. The machines this runs on are noisy: compare, don't quote alone.
#
#   bench/win32/idle-windows.sh [BUILD_DIR] [SECONDS] [STARTS]   (build/windows 20 5)
set -euo pipefail

build=${1:-build/windows}
seconds=${2:-20}
starts=${3:-5}
soramado=$build/src/win32/soramado.exe
bare=$build/bench/win32/barewin32.exe
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
for exe in "$soramado" "$bare"; do
    [ -f "$exe" ] || { echo "missing $exe: cmake --build --preset windows" >&2; exit 1; }
done

work=$(mktemp -d /tmp/soramado-idle-windows.XXXXXX)
pids=()
cleanup() {
    WINEPREFIX=$work/prefix wineserver -k >/dev/null 2>&1 || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap "exit 130" INT TERM HUP

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")" WINEPREFIX=$work/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
echo "preparing a Wine prefix..." >&2
"$wine" wineboot -i </dev/null >/dev/null 2>&1
# The services stay up between the runs, as they would on a desktop.
wineserver -p </dev/null >/dev/null 2>&1 || true # already up after wineboot

# Starts a program; milliseconds from start to its window mapped in $elapsed,
# its process id in $pid.
start() {
    local exe=$1 title=$2 t0 t1
    t0=$(date +%s%N)
    "$wine" "$exe" </dev/null >/dev/null 2>&1 &
    pid=$!
    # Polled, not --sync: that one looks only every half second.
    until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do
        sleep 0.01
    done
    t1=$(date +%s%N)
    elapsed=$(((t1 - t0) / 1000000))
}

stop() {
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

rss_kb() { awk '/^VmRSS/ { print $2 }' /proc/"$1"/status; }
cpu_ms() {
    sed 's/^.*) //' /proc/"$1"/stat |
        awk -v hz="$(getconf CLK_TCK)" '{ printf "%d", ($12 + $13) * 1000 / hz }'
}

wakes() { awk '/^voluntary_ctxt_switches/ { print $2 }' /proc/"$1"/task/"$1"/status; }

measure() {
    local name=$1 exe=$2 title=$3 times=() i
    for i in $(seq "$starts"); do
        start "$exe" "$title"
        times+=("$elapsed")
        stop
    done
    local start
    start=$(printf '%s\n' "${times[@]}" | median)
    start "$exe" "$title"
    sleep 3
    local rss c0 c1 w0 w1
    rss=$(rss_kb "$pid")
    c0=$(cpu_ms "$pid")
    w0=$(wakes "$pid")
    sleep "$seconds"
    c1=$(cpu_ms "$pid")
    w1=$(wakes "$pid")
    stop
    printf '%-10s start %5d ms (median of %d)   VmRSS %6d KiB   CPU %5.2f %% over %d s   main-thread wake-ups %d\n' \
        "$name" "$start" "$starts" "$rss" "$(awk -v c=$((c1 - c0)) -v s="$seconds" 'BEGIN { print c / s / 10 }')" "$seconds" $((w1 - w0))
}

# The first start of any program in a prefix starts the services: not counted.
start "$bare" BareWin32
stop
measure barewin32 "$bare" BareWin32
measure soramado "$soramado" Soramado
