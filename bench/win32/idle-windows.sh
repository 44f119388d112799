#!/usr/bin/env bash
# What soramado.exe costs under Wine, beside a bare Win32 window that wakes
# once a second as the clock does at rest (bench/win32/barewin32.cpp), on one
# private Xvfb display and one private Wine prefix:
#   - time from start to the window mapped on the X server, median of STARTS;
#   - resident memory (VmRSS) of the program's process after it settled;
#   - CPU over SECONDS at rest, and the main thread's wake-ups (voluntary
#     context switches) in that time;
#   - those wake-ups split into wakes from idle (after a sleep of 50 ms or
#     more, from the scheduler's record: perf sched) and short waits (the
#     rest: waits for Wine's server or the X server inside a call); "quick"
#     counts the wakes from idle after less than 0.9 s, a visitor's or a hit's.
# Both run at a faked night moment in Tokyo (libfaketime), when the sky is
# still; a run of the clock in which a visitor flew is measured again.
# Wine's own services (wineserver, explorer, services) are shared by both and
# not counted. The machines this runs on are noisy: compare, don't quote alone.
#
#   bench/win32/idle-windows.sh [BUILD_DIR] [SECONDS] [STARTS]   (build/windows 20 5)
#   MOMENT='2003-05-01 01:30:00' overrides the faked moment; SORAMADO=path
#   measures another build of the clock.
set -euo pipefail

build=${1:-build/windows}
seconds=${2:-20}
starts=${3:-5}
moment=${MOMENT:-2003-05-01 01:30:00}
soramado=${SORAMADO:-$build/src/win32/soramado.exe}
bare=$build/bench/win32/barewin32.exe
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
for exe in "$soramado" "$bare"; do
    [ -f "$exe" ] || { echo "missing $exe: cmake --build --preset windows" >&2; exit 1; }
done
faketime=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
[ -n "$faketime" ] || { echo "libfaketime is missing (package faketime)" >&2; exit 1; }
split=yes
command -v perf >/dev/null && perf sched record -q -o /dev/null -- true >/dev/null 2>&1 ||
    { echo "perf sched cannot record here: no split of the wake-ups" >&2; split=; }

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
# A home of its own, and no menu entries for the user's desktop.
mkdir -p "$work/home"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_CACHE_HOME=$work/home/.cache
export DISPLAY=":$(cat "$work/display")" WINEPREFIX=$work/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
echo "preparing a Wine prefix..." >&2
"$wine" wineboot -i </dev/null >/dev/null 2>&1
# The services stay up between the runs, as they would on a desktop.
wineserver -p </dev/null >/dev/null 2>&1 || true # already up after wineboot

# Starts a program at the faked moment; milliseconds from start to its window
# mapped in $elapsed, its process id in $pid.
start() {
    local exe=$1 title=$2 t0 t1
    t0=$(date +%s%N)
    # NO_FAKE_STAT: with faked file times Wine takes the prefix for outdated.
    env TZ=Asia/Tokyo LD_PRELOAD="$faketime" FAKETIME="@$moment" NO_FAKE_STAT=1 \
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

# Sleeps SECONDS while the scheduler records; then prints how many of the
# main thread's runs followed a sleep of 50 ms or more ("idle") and how many
# of those a sleep under 0.9 s ("quick"). A line of timehist is one run of the
# thread, led by the time it waited for it.
record() {
    if [ -z "$split" ]; then
        sleep "$seconds"
        echo "- -"
        return
    fi
    perf sched record -q -o "$work/sched.data" -- sleep "$seconds" >/dev/null 2>&1
    perf sched timehist -i "$work/sched.data" -t "$pid" 2>/dev/null | awk '
        $2 ~ /^\[/ && $(NF - 2) + 0 >= 50 { idle++; if ($(NF - 2) + 0 < 900) quick++ }
        END { printf "%d %d\n", idle, quick }'
    rm -f "$work/sched.data"
}

measure() {
    local name=$1 exe=$2 title=$3 times=() i
    for i in $(seq "$starts"); do
        start "$exe" "$title"
        times+=("$elapsed")
        stop
    done
    local start_ms tries=0
    start_ms=$(printf '%s\n' "${times[@]}" | median)
    local rss c0 c1 w0 w1 idle quick short
    while :; do
        start "$exe" "$title"
        sleep 3
        rss=$(rss_kb "$pid")
        c0=$(cpu_ms "$pid")
        w0=$(wakes "$pid")
        read -r idle quick < <(record)
        c1=$(cpu_ms "$pid")
        w1=$(wakes "$pid")
        stop
        short=-
        [ "$idle" = - ] || short=$((w1 - w0 - idle))
        tries=$((tries + 1))
        # A visitor's flight wakes the clock every tick: not the idle cost.
        [ "$quick" = - ] || [ "$quick" -lt 3 ] || [ "$tries" -ge 3 ] && break
        echo "$name: a visitor flew ($quick quick wakes); again" >&2
    done
    printf '%-10s start %5d ms (median of %d)   VmRSS %6d KiB   CPU %5.2f %% over %d s   main-thread wake-ups %d: from idle %s (quick %s), short waits %s\n' \
        "$name" "$start_ms" "$starts" "$rss" \
        "$(awk -v c=$((c1 - c0)) -v s="$seconds" 'BEGIN { print c / s / 10 }')" "$seconds" \
        $((w1 - w0)) "$idle" "$quick" "$short"
    results+=("$name $rss $((w1 - w0)) $idle")
}

echo "at $moment in Tokyo (faked), $seconds s at rest each" >&2
# The first start of any program in a prefix starts the services: not counted.
start "$bare" BareWin32
stop
results=()
measure barewin32 "$bare" BareWin32
measure soramado "$soramado" Soramado
# soramado against the bare window: memory, all wake-ups, wakes from idle.
read -r _ rb wb ib <<<"${results[0]}"
read -r _ rs ws is <<<"${results[1]}"
awk -v rb="$rb" -v rs="$rs" -v wb="$wb" -v ws="$ws" -v ib="$ib" -v is="$is" 'BEGIN {
    ratio = "%.2f x"
    printf "soramado / barewin32: VmRSS " ratio "   wake-ups " ratio "   from idle %s against %s\n",
        rs / rb, (wb ? ws / wb : 0), is, ib
}'
