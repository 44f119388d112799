#!/usr/bin/env bash
# Instructions per call of one core function, counted by callgrind while a
# benchmark runs it: steadier than any timing on a shared machine.
#   bench/callgrind_tick.sh BUILD_DIR BENCHMARK FUNCTION [CASE]
#   e.g. bench/callgrind_tick.sh build/default OrdinaryTick 'soramado::ClockCore::tick()'
#        bench/callgrind_tick.sh build/default VisitorTick 'soramado::ClockCore::tick()' cloud
# BENCHMARK is the benchmark's function name in bench_tick.cpp; FUNCTION is
# the function it calls, as callgrind names it; CASE picks one of the
# benchmark's captured cases.
set -euo pipefail
build=${1:?build folder}
bench=${2:?benchmark function}
func=${3:?function to count}
filter="^${bench}"
[ -n "${4:-}" ] && filter="^${bench}/${4}\$"
out=$(mktemp /tmp/callgrind.XXXXXX)
trap 'rm -f "$out"' EXIT

# Collect only inside the benchmark's function, so start-up and the library's
# own bookkeeping stay out; the function's calls then carry their inclusive cost.
valgrind --tool=callgrind --toggle-collect="*::${bench}(benchmark::State&*" \
    --callgrind-out-file="$out" \
    "$build/bench/bench_tick" --benchmark_filter="$filter" --benchmark_min_time=0.1 \
    >/dev/null 2>&1
callgrind_annotate --tree=calling --inclusive=yes "$out" 2>/dev/null |
    awk -v f="$func" '
        index($0, f) && /^ *[0-9,]+ .*> / && /\([0-9,]+x\)/ {
            cost = $1; gsub(",", "", cost)
            match($0, /\(([0-9,]+)x\)/); n = substr($0, RSTART + 1, RLENGTH - 3); gsub(",", "", n)
            total += cost; calls += n
        }
        END {
            if (calls == 0) { print "no calls of " f " counted" > "/dev/stderr"; exit 1 }
            printf "%s: %d instructions in %d calls, %d per call\n", f, total, calls, total / calls
        }'
