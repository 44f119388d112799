#!/usr/bin/env bash
# What the clock costs to keep open, side by side with the lightest X clock
# and a bare Qt window, on one private Xvfb display:
#   - CPU over one idle minute (after the start-up has settled), soramado
#     against `xclock -digital -update 1`;
#   - the same for a bare Qt window that wakes every 100 ms as the clock does
#     (bench/bareqt --tick): the toolkit's floor for a ten-a-second tick;
#   - resident memory (VmRSS), soramado against the bare Qt window;
#   - time from start to the window shown, median of several starts, soramado
#     against the bare Qt window.
# All figures are ratios from one run: the machines this runs on are noisy.
#
#   bench/idle.sh [BUILD_DIR] [SECONDS] [STARTS]     (defaults build/default 60 5)
set -euo pipefail

build=${1:-build/default}
seconds=${2:-60}
starts=${3:-5}
settle=5
soramado=$build/src/qt/soramado
bareqt=$build/bench/bareqt
for exe in "$soramado" "$bareqt"; do
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
wakeups() {
    cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt_switches:/ { n += $2 } END { print n }'
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
    "$@" >/dev/null 2>&1 &
    local pid=$!
    # Polled every 10 ms: xdotool's own --sync looks only twice a second.
    until xdotool search --onlyvisible --name "^${name}\$" >/dev/null 2>&1; do
        if ! kill -0 "$pid" 2>/dev/null || [ $(($(now_ms) - t0)) -gt 20000 ]; then
            echo "$name: no window within 20 s" >&2
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

"$soramado" >/dev/null 2>&1 &
s_pid=$!
pids+=($s_pid)
xclock -digital -update 1 >/dev/null 2>&1 &
x_pid=$!
pids+=($x_pid)
"$bareqt" >/dev/null 2>&1 &
b_pid=$!
pids+=($b_pid)
"$bareqt" --tick >/dev/null 2>&1 &
t_pid=$!
pids+=($t_pid)

sleep "$settle"
s0=$(cpu_ns $s_pid) x0=$(cpu_ns $x_pid) b0=$(cpu_ns $b_pid) t0=$(cpu_ns $t_pid)
s0s=$(cpu_stat_ms $s_pid) x0s=$(cpu_stat_ms $x_pid) t0s=$(cpu_stat_ms $t_pid)
s0w=$(wakeups $s_pid) x0w=$(wakeups $x_pid) t0w=$(wakeups $t_pid)
sleep "$seconds"
s1=$(cpu_ns $s_pid) x1=$(cpu_ns $x_pid) b1=$(cpu_ns $b_pid) t1=$(cpu_ns $t_pid)
s1s=$(cpu_stat_ms $s_pid) x1s=$(cpu_stat_ms $x_pid) t1s=$(cpu_stat_ms $t_pid)
s1w=$(wakeups $s_pid) x1w=$(wakeups $x_pid) t1w=$(wakeups $t_pid)

s_cpu=$(((s1 - s0) / 1000000)) x_cpu=$(((x1 - x0) / 1000000))
b_cpu=$(((b1 - b0) / 1000000)) t_cpu=$(((t1 - t0) / 1000000))
row() { # name, cpu ms, utime+stime ms, wake-ups, cpu since start ms
    printf "  %-15s %6s ms  (utime+stime %5s ms)  %6s wake-ups  since start %5s ms\n" "$@"
}
echo
echo "CPU over $seconds s of idle running (after ${settle} s to settle):"
row soramado "$s_cpu" $((s1s - s0s)) $((s1w - s0w)) $((s1 / 1000000))
row xclock "$x_cpu" $((x1s - x0s)) $((x1w - x0w)) $((x1 / 1000000))
row "bareqt --tick" "$t_cpu" $((t1s - t0s)) $((t1w - t0w)) $((t1 / 1000000))
row bareqt "$b_cpu" - - $((b1 / 1000000))
echo "  ratio soramado / xclock: $(ratio "$s_cpu" "$x_cpu")  (target <= 1.5)"
echo "  ratio soramado / bareqt --tick: $(ratio "$s_cpu" "$t_cpu")"

s_rss=$(rss_kb $s_pid) x_rss=$(rss_kb $x_pid) b_rss=$(rss_kb $b_pid)
echo
echo "Resident memory (VmRSS) at the end:"
echo "  soramado: $s_rss kB"
echo "  xclock:   $x_rss kB"
echo "  bareqt:   $b_rss kB"
echo "  ratio soramado / bareqt: $(ratio "$s_rss" "$b_rss")  (target <= 1.2)"
