#!/usr/bin/env bash
# What the clock costs to keep open, side by side with the lightest X clock
# and bare Qt windows, on one private Xvfb display, all in one run:
#   - CPU over one idle minute (after the start-up has settled), all threads,
#     from the scheduler's own nanoseconds (/proc/PID/task/*/schedstat);
#   - wake-ups of the main thread over that minute (its context switches);
#   - label lag: how many milliseconds after each second of the system clock
#     the new text reaches the X server (bench/damagelag, from X damage);
#   - beside soramado: `xclock -digital -update 1`; the toolkit's floor, a
#     bare Qt window that sets one label once a second (bareqt --second); the
#     old floor of a ten-a-second tick (bareqt --tick); an idle bare window;
#   - resident memory (VmRSS), soramado against the bare Qt window;
#   - time from start to the window shown, median of several starts, soramado
#     against the bare Qt window (STARTS 0 skips it).
# All figures are ratios from one run: the machines this runs on are noisy.
#
#   bench/idle.sh [BUILD_DIR] [SECONDS] [STARTS]     (defaults build/default 60 5)
#   SORAMADO_BEFORE=path runs an older build of the clock beside the others.
set -euo pipefail

build=${1:-build/default}
seconds=${2:-60}
starts=${3:-5}
settle=5
# SORAMADO=path measures another build of the clock, e.g. an older one.
soramado=${SORAMADO:-$build/src/qt/soramado}
bareqt=$build/bench/bareqt
damagelag=$build/bench/damagelag
for exe in "$soramado" "$bareqt" "$damagelag"; do
    [ -x "$exe" ] || { echo "missing $exe: build first" >&2; exit 1; }
done
for tool in Xvfb xclock xdotool; do
    command -v "$tool" >/dev/null || { echo "missing $tool: see scripts/setup.sh" >&2; exit 1; }
done

work=$(mktemp -d /tmp/soramado-idle.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
# A timeout or Ctrl+C must not leave the programs and the display running.
trap "exit 130" INT TERM HUP

# A display of our own, so nothing else draws or wakes the programs.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
# The clock keeps its settings in the user's store: give it a throwaway one.
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# CPU time of the whole process in nanoseconds, all threads: the scheduler's
# own count, finer than the 10 ms steps of utime + stime.
cpu_ns() {
    cat /proc/"$1"/task/*/schedstat | awk '{ n += $1 } END { printf "%d", n }'
}
# utime + stime in milliseconds (fields 14 and 15, after the command name).
cpu_stat_ms() {
    sed 's/^.*) //' /proc/"$1"/stat |
        awk -v hz="$(getconf CLK_TCK)" '{ printf "%d", ($12 + $13) * 1000 / hz }'
}
# Wake-ups of the main thread: each time it went to sleep (and so was woken).
main_wakeups() {
    awk '/^voluntary_ctxt_switches:/ { print $2 }' /proc/"$1"/task/"$1"/status
}
# Times the main thread was taken off the processor while running: the
# machine's load, not the program's doing.
main_preempted() {
    awk '/^nonvoluntary_ctxt_switches:/ { print $2 }' /proc/"$1"/task/"$1"/status
}
rss_kb() {
    awk '/^VmRSS:/ { print $2 }' /proc/"$1"/status
}
ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'
}
now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

# Milliseconds from exec to a visible window with the given name.
start_ms() {
    local name=$1
    shift
    local t0 t1
    t0=$(now_ms)
    "$@" >"$work/start.out" 2>&1 &
    local pid=$!
    # Polled every 10 ms: xdotool's own --sync looks only twice a second.
    until xdotool search --onlyvisible --name "^${name}\$" >/dev/null 2>&1; do
        if ! kill -0 "$pid" 2>/dev/null || [ $(($(now_ms) - t0)) -gt 20000 ]; then
            echo "$name: no window within 20 s; it said:" >&2
            tail -5 "$work/start.out" >&2
            kill "$pid" 2>/dev/null || true
            return 1
        fi
        sleep 0.01
    done
    t1=$(now_ms)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo $((t1 - t0))
}
median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

if [ "$starts" -gt 0 ]; then
    echo "Start-up to the window shown, $starts starts each, alternating:"
    : >"$work/start.soramado"
    : >"$work/start.bareqt"
    for _ in $(seq "$starts"); do
        start_ms Soramado "$soramado" >>"$work/start.soramado"
        start_ms bareqt "$bareqt" >>"$work/start.bareqt"
    done
    s_med=$(median <"$work/start.soramado")
    b_med=$(median <"$work/start.bareqt")
    echo "  soramado ms: $(tr '\n' ' ' <"$work/start.soramado") median $s_med"
    echo "  bareqt   ms: $(tr '\n' ' ' <"$work/start.bareqt") median $b_med"
    echo "  ratio soramado / bareqt: $(ratio "$s_med" "$b_med")  (target <= 1.3)"
    echo
fi

# name, window title, command...
names=() titles=() ppids=()
launch() {
    local name=$1 title=$2
    shift 2
    "$@" >/dev/null 2>&1 &
    pids+=($!)
    names+=("$name") titles+=("$title") ppids+=($!)
}
launch soramado Soramado "$soramado"
[ -n "${SORAMADO_BEFORE:-}" ] && launch "soramado before" Soramado "$SORAMADO_BEFORE"
launch xclock xclock xclock -digital -update 1
launch "bareqt --second" bareqt-second "$bareqt" --second
launch "bareqt --tick" bareqt-tick "$bareqt" --tick
launch bareqt bareqt "$bareqt"

n=${#names[@]}
declare -a c0 c1 s0 s1 w0 w1 p0 p1 wids
# Without a window manager every window opens at (0, 0): spread them out, as a
# covered window draws nothing and would cost less than a visible one.
for i in $(seq 0 $((n - 1))); do
    for _ in $(seq 200); do
        # By process where the window says it (two clocks share a title), else by title.
        wids[$i]=$(xdotool search --onlyvisible --pid "${ppids[$i]}" 2>/dev/null | head -1) ||
            wids[$i]=$(xdotool search --onlyvisible --name "^${titles[$i]}\$" 2>/dev/null | head -1) ||
            true
        [ -n "${wids[$i]}" ] && break
        sleep 0.05
    done
    [ -n "${wids[$i]}" ] || { echo "${names[$i]}: no window" >&2; exit 1; }
    [ "$i" -gt 0 ] && xdotool windowmove "${wids[$i]}" $((200 + 200 * i)) 0
done
sleep "$settle"
for i in $(seq 0 $((n - 1))); do
    wid=${wids[$i]}
    # Damage is watched from the X server's side, so it costs the program nothing.
    "$damagelag" "$wid" "$seconds" >"$work/lag.$i" 2>&1 &
    pids+=($!)
done
for i in $(seq 0 $((n - 1))); do
    p=${ppids[$i]}
    c0[$i]=$(cpu_ns "$p") s0[$i]=$(cpu_stat_ms "$p") w0[$i]=$(main_wakeups "$p") p0[$i]=$(main_preempted "$p")
done
sleep "$seconds"
for i in $(seq 0 $((n - 1))); do
    p=${ppids[$i]}
    c1[$i]=$(cpu_ns "$p") s1[$i]=$(cpu_stat_ms "$p") w1[$i]=$(main_wakeups "$p") p1[$i]=$(main_preempted "$p")
done
sleep 2 # the damage watchers start on a whole second and end a minute later

echo "Idle running, $seconds s after ${settle} s to settle; CPU over all threads (and per"
echo "minute), wake-ups of the main thread (and preemptions), lag of the first drawing"
echo "after each second of the system clock (median / 90 % / max):"
printf "  %-16s %7s %13s %8s %9s %7s %15s\n" program "CPU ms" "(utime+stime)" "per min" wake-ups "(preempted)" "lag ms"
declare -a cpu
for i in $(seq 0 $((n - 1))); do
    cpu[$i]=$(((c1[$i] - c0[$i]) / 1000000))
    per_min=$(awk -v c="${cpu[$i]}" -v s="$seconds" 'BEGIN { printf "%.0f", c * 60 / s }')
    lag=$(awk '/^seconds/ { if ($2 > 0) printf "%s / %s / %s", $4, $6, $8; else print "none" }' "$work/lag.$i")
    printf "  %-16s %7s %13s %8s %9s %7s %15s\n" "${names[$i]}" "${cpu[$i]}" \
        "($((s1[$i] - s0[$i])))" "$per_min" $((w1[$i] - w0[$i])) "($((p1[$i] - p0[$i])))" "${lag:-?}"
done
at() { # the index of a program by name
    for j in $(seq 0 $((n - 1))); do [ "${names[$j]}" = "$1" ] && echo "$j"; done
}
ix=$(at xclock) ifl=$(at "bareqt --second") ib=$(at bareqt)
echo "  ratio soramado / bareqt --second (the floor): $(ratio "${cpu[0]}" "${cpu[$ifl]}")  (target <= 1.2)"
echo "  ratio soramado / xclock: $(ratio "${cpu[0]}" "${cpu[$ix]}")"
echo "  main-thread wake-ups of soramado per minute: $(((w1[0] - w0[0]) * 60 / seconds))  (target <= 62)"

s_rss=$(rss_kb "${ppids[0]}") x_rss=$(rss_kb "${ppids[$ix]}") b_rss=$(rss_kb "${ppids[$ib]}")
echo
echo "Resident memory (VmRSS) at the end:"
echo "  soramado: $s_rss kB"
echo "  xclock:   $x_rss kB"
echo "  bareqt:   $b_rss kB"
echo "  ratio soramado / bareqt: $(ratio "$s_rss" "$b_rss")  (target <= 1.2)"
